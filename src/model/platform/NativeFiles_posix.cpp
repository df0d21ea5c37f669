#include "model/platform/NativeFiles.h"

#include "model/platform/FileSystemCalls.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

// Links followed from a name that names no file yet.
constexpr int MaxLinks = 40;

// What a symbolic link points to, made a path from the link's folder;
// empty when the name is no link.
QByteArray linkTarget(const QByteArray &path)
{
    struct stat link;
    if (::lstat(path.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
        return QByteArray();
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.constData(), target, sizeof target - 1);
    if (length <= 0)
        return QByteArray();
    const QByteArray next(target, int(length));
    return next.startsWith('/') ? next : NativeFiles::folderOf(path) + '/' + next;
}

// Where a name that names no file yet puts its file: a dangling link names
// the place it points to.
QByteArray newFileTarget(const QByteArray &path)
{
    QByteArray current = path;
    for (int hop = 0; hop < MaxLinks; ++hop) {
        const QByteArray next = linkTarget(current);
        if (next.isEmpty())
            break;
        current = next;
    }
    return current;
}

// The folder of /proc that lists this process's descriptors ("/proc/<pid>/fd"
// or a thread's "/proc/<pid>/task/<tid>/fd"), as realpath() gives it.
bool isOwnDescriptorFolder(const QByteArray &folder)
{
    const QByteArray process = "/proc/" + QByteArray::number(qint64(::getpid()));
    if (folder == process + "/fd")
        return true;
    if (!folder.startsWith(process + "/task/") || !folder.endsWith("/fd"))
        return false;
    const QByteArray thread = folder.mid(process.size() + 6, folder.size() - process.size() - 6 - 3);
    bool number = false;
    thread.toLongLong(&number);
    return number;
}

// Whether a name goes through /proc: a descriptor of this process
// (/dev/stdout, /dev/fd/1, /proc/self/fd/1), or another process's file.
// Such a name is no path of a file to be replaced: the file it reaches is
// written in place.
bool throughProcess(const QByteArray &path, int *ownDescriptor)
{
    *ownDescriptor = -1;
    QByteArray current = path;
    for (int hop = 0; hop < MaxLinks; ++hop) {
        char *folder = ::realpath(NativeFiles::folderOf(current).constData(), nullptr);
        const QByteArray realFolder = folder ? QByteArray(folder) : QByteArray();
        std::free(folder);
        if (realFolder.startsWith("/proc/")) {
            bool number = false;
            const int fd = NativeFiles::baseNameOf(current).toInt(&number);
            if (number && fd >= 0 && isOwnDescriptorFolder(realFolder))
                *ownDescriptor = fd;
            return true;
        }
        const QByteArray next = linkTarget(current);
        if (next.isEmpty())
            break;
        current = next;
    }
    return false;
}

// Temporary files being written, for the handler of the signals that end
// the program (an interrupt, a terminate, a hang-up) to remove before the
// program ends.  A fixed table, so that the handler only reads memory and
// calls unlink().
class PendingTemporaries
{
public:
    static constexpr int Capacity = 16;

    // Remembers a name; the slot, or -1 when the table is full (such a file
    // is then left behind by a signal).
    static int add(const QByteArray &name)
    {
        installHandlers();
        if (name.size() >= PATH_MAX)
            return -1;
        for (int i = 0; i < Capacity; ++i) {
            bool expected = false;
            if (s_slots[i].taken.compare_exchange_strong(expected, true)) {
                std::memcpy(s_slots[i].path, name.constData(), size_t(name.size()) + 1);
                s_slots[i].ready.store(true);
                return i;
            }
        }
        return -1;
    }

    static void remove(int slot)
    {
        if (slot < 0)
            return;
        s_slots[slot].ready.store(false);
        s_slots[slot].taken.store(false);
    }

private:
    struct Slot
    {
        std::atomic<bool> taken{false};
        std::atomic<bool> ready{false};
        char path[PATH_MAX];
    };

    // Only a signal that would end the program is taken over: one it
    // ignores (SIGHUP under nohup) ends nothing, and one it handles itself
    // may let the save go on.  Looked at for every save, as the program's
    // handling may change.
    static void installHandlers()
    {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction current;
            if (::sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO)
                || current.sa_handler != SIG_DFL)
                continue;
            struct sigaction action
            {};
            action.sa_handler = &PendingTemporaries::onSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            ::sigaction(signal, &action, nullptr);
        }
    }

    // Removes the files, then ends the program by the signal, as it would
    // have been.
    static void onSignal(int signal)
    {
        for (Slot &slot : s_slots) {
            if (slot.ready.load())
                ::unlink(slot.path);
        }
        struct sigaction fallback
        {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        ::sigaction(signal, &fallback, nullptr);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, signal);
        pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
        ::raise(signal);
    }

    static Slot s_slots[Capacity];
};

PendingTemporaries::Slot PendingTemporaries::s_slots[PendingTemporaries::Capacity];

// Holds back the signals that PendingTemporaries handles while it lives.
class SignalsHeldBack
{
public:
    SignalsHeldBack()
    {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&ending, signal);
        pthread_sigmask(SIG_BLOCK, &ending, &m_previous);
    }
    ~SignalsHeldBack() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    SignalsHeldBack(const SignalsHeldBack &) = delete;
    SignalsHeldBack &operator=(const SignalsHeldBack &) = delete;

private:
    sigset_t m_previous;
};

// A pipe whose reader went away is a failed write, not the end of the
// program: SIGPIPE is held back while writing and dropped afterwards.
class BrokenPipeGuard
{
public:
    explicit BrokenPipeGuard(bool active) : m_active(active)
    {
        if (!m_active)
            return;
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigpending(&m_pendingBefore);
        pthread_sigmask(SIG_BLOCK, &pipe, &m_previous);
    }
    ~BrokenPipeGuard()
    {
        if (!m_active)
            return;
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) && !sigismember(&m_pendingBefore, SIGPIPE)) {
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{0, 0};
            while (sigtimedwait(&pipe, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    BrokenPipeGuard(const BrokenPipeGuard &) = delete;
    BrokenPipeGuard &operator=(const BrokenPipeGuard &) = delete;

private:
    bool m_active;
    sigset_t m_previous;
    sigset_t m_pendingBefore;
};

} // namespace

QByteArray NativeFiles::folderOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray NativeFiles::baseNameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

NativeFiles::SaveTarget NativeFiles::inspectSaveTarget(const QByteArray &name)
{
    SaveTarget target;
    struct stat info;
    if (::stat(name.constData(), &info) != 0) {
        if (errno != ENOENT) {
            target.error = errno;
            return target;
        }
        target.kind = SaveTarget::Kind::NewFile;
        target.path = newFileTarget(name);
        return target;
    }
    target.path = name;
    if (S_ISDIR(info.st_mode)) {
        target.kind = SaveTarget::Kind::Folder;
    } else if (throughProcess(name, &target.ownDescriptor)) {
        target.kind = SaveTarget::Kind::ThroughProcess;
    } else if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
        target.kind = SaveTarget::Kind::Device;
    } else if (!S_ISREG(info.st_mode)) {
        target.kind = SaveTarget::Kind::NotRegular;
    } else {
        target.kind = SaveTarget::Kind::RegularFile;
        target.former.permissions = info.st_mode & 07777;
        target.former.owner = info.st_uid;
        target.former.group = info.st_gid;
        char *real = ::realpath(name.constData(), nullptr);
        if (real)
            target.path = QByteArray(real);
        std::free(real);
    }
    return target;
}

int NativeFiles::writeAccess(const QByteArray &path)
{
    return ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

int NativeFiles::openInPlace(const QByteArray &path, bool append)
{
    // Opening a FIFO waits for its reader, as a shell's redirection does.
    return FileSystemCalls::instance().open(
        path.constData(), append ? FileSystemCalls::Mode::AppendExisting : FileSystemCalls::Mode::WriteExisting, 0);
}

int NativeFiles::duplicateForWriting(int descriptor)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
        errno = EBADF;
        return -1;
    }
    return ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
}

int NativeFiles::createTemporary(const QByteArray &name, const FormerFile *former, int *slot)
{
    // A new file gets the usual rights less the umask; a former file's
    // rights are given to its replacement once it exists.
    const int permissions = former ? 0600 : 0666;
    // The file and its entry in the table appear together for a signal.
    const SignalsHeldBack held;
    const int fd = FileSystemCalls::instance().open(name.constData(), FileSystemCalls::Mode::CreateNew, permissions);
    if (fd < 0)
        return fd;
    *slot = PendingTemporaries::add(name);
    if (former) {
        if (::geteuid() == 0 && ::fchown(fd, uid_t(former->owner), gid_t(former->group)) != 0) {
            // Where the owner cannot be given back (a file system without
            // owners), the replacement stays root's: its contents are what
            // was asked for.
        }
        (void)::fchmod(fd, mode_t(former->permissions));
    }
    return fd;
}

void NativeFiles::forgetTemporary(int slot)
{
    PendingTemporaries::remove(slot);
}

void NativeFiles::syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

int NativeFiles::writeAll(int descriptor, const char *data, qint64 size, BrokenPipe brokenPipe)
{
    const BrokenPipeGuard guard(brokenPipe == BrokenPipe::IsAnError);
    while (size > 0) {
        const qint64 piece = std::min<qint64>(size, qint64(1) << 30);
        const qint64 written = FileSystemCalls::instance().write(descriptor, data, piece);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;
        data += written;
        size -= written;
    }
    return 0;
}

bool NativeFiles::readExactly(int descriptor, char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t got = ::read(descriptor, data, size_t(size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= got;
    }
    return true;
}

bool NativeFiles::occupyIfClosed(int descriptor)
{
    if (::fcntl(descriptor, F_GETFD) >= 0 || errno != EBADF)
        return false;
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0 && null != descriptor) {
        ::dup2(null, descriptor);
        ::close(null);
    }
    return true;
}

void NativeFiles::occupyWithNull(int descriptor)
{
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0 && null != descriptor) {
        ::dup2(null, descriptor);
        ::close(null);
    }
}

int NativeFiles::openForReading(QFile &file, const QByteArray &name)
{
    int fd = -1;
    // Without waiting: a FIFO opened for reading would wait for a writer.
    do {
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno;
    struct stat info;
    int failure = 0;
    if (::fstat(fd, &info) != 0)
        failure = errno;
    else if (S_ISDIR(info.st_mode))
        failure = EISDIR;
    else if (!S_ISREG(info.st_mode))
        failure = NotRegularFile;
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        failure = errno;
    else if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        failure = EIO;
    else
        return 0;
    ::close(fd);
    return failure;
}
