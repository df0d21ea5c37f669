#include "model/SafeFileWriter.h"

#include "model/FileNameBytes.h"
#include "model/FileSystemCalls.h"

#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

// Written out whenever this much has gathered, and at the commit.
constexpr int BufferSize = 64 * 1024;
// Links followed from a name that names no file yet.
constexpr int MaxLinks = 40;

QByteArray folderOf(const QByteArray &path)
{
    const int slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray baseNameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

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
    return next.startsWith('/') ? next : folderOf(path) + '/' + next;
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

// What a name that goes through /proc stands for: a descriptor of this
// process (/dev/stdout, /dev/fd/1, /proc/self/fd/1), or another process's
// file.  Such a name is no path of a file to be replaced: the file it
// reaches is written in place.
struct ProcessName
{
    bool throughProc = false;
    int ownDescriptor = -1;
};

ProcessName processNameOf(const QByteArray &path)
{
    ProcessName name;
    QByteArray current = path;
    for (int hop = 0; hop < MaxLinks; ++hop) {
        char *folder = ::realpath(folderOf(current).constData(), nullptr);
        const QByteArray realFolder = folder ? QByteArray(folder) : QByteArray();
        std::free(folder);
        if (realFolder.startsWith("/proc/")) {
            name.throughProc = true;
            bool number = false;
            const int fd = baseNameOf(current).toInt(&number);
            if (number && fd >= 0 && isOwnDescriptorFolder(realFolder))
                name.ownDescriptor = fd;
            return name;
        }
        const QByteArray next = linkTarget(current);
        if (next.isEmpty())
            break;
        current = next;
    }
    return name;
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
            struct sigaction action{};
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
        struct sigaction fallback{};
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

PendingTemporaries::Slot PendingTemporaries::s_slots[PendingTemporaries::Capacity];

// The folder's entry of a renamed file reaches the disk too.  A folder
// that cannot be synced leaves the file in place all the same.
void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// A pipe whose reader went away is a failed write, not the end of the
// program: SIGPIPE is held back while writing and dropped afterwards.
class BrokenPipeGuard
{
public:
    BrokenPipeGuard()
    {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigpending(&m_pendingBefore);
        pthread_sigmask(SIG_BLOCK, &pipe, &m_previous);
    }
    ~BrokenPipeGuard()
    {
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
    sigset_t m_previous;
    sigset_t m_pendingBefore;
};

} // namespace

SafeFileWriter::SafeFileWriter(const QString &path, Devices devices) : m_path(path), m_devices(devices) {}

SafeFileWriter::~SafeFileWriter()
{
    discard();
}

QString SafeFileWriter::reasonText(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("На диске недостаточно места");
    case EDQUOT:
        return QStringLiteral("Превышена дисковая квота");
    case EFBIG:
        return QStringLiteral("Файл слишком велик для этого диска");
    case EACCES:
    case EPERM:
        return QStringLiteral("Нет прав на запись");
    case EROFS:
        return QStringLiteral("Диск доступен только для чтения");
    case ENOENT:
        return QStringLiteral("Папка не найдена");
    case ENOTDIR:
        return QStringLiteral("Часть пути не является папкой");
    case EISDIR:
        return QStringLiteral("Это папка, а не файл");
    case ENAMETOOLONG:
        return QStringLiteral("Слишком длинное имя файла");
    case ELOOP:
        return QStringLiteral("Слишком много символических ссылок в пути");
    case EIO:
        return QStringLiteral("Ошибка ввода-вывода");
    case EPIPE:
        return QStringLiteral("Канал закрыт читающей стороной");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Открыто слишком много файлов");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Файл занят");
    case EXDEV:
        return QStringLiteral("Временный файл оказался на другом диске");
    case EBADF:
        return QStringLiteral("Поток не открыт для записи");
    default:
        return QStringLiteral("Системная ошибка %1 (%2)").arg(errorNumber).arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

bool SafeFileWriter::open(OpenMode mode)
{
    if (isOpen() || (mode & ~Truncate) != WriteOnly)
        return false;
    m_failed = false;
    m_createFailed = false;
    m_reason.clear();
    m_buffer.clear();
    if (!openTarget())
        return false;
    return QIODevice::open(WriteOnly);
}

bool SafeFileWriter::openTarget()
{
    const QByteArray named = FileNameBytes::encode(m_path);
    if (named.isEmpty())
        return failCreate(reasonText(ENOENT));
    m_inPlace = false;
    m_formerFile = false;
    struct stat info;
    if (::stat(named.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return failCreate(reasonText(EISDIR));
        const ProcessName process = processNameOf(named);
        if (process.throughProc)
            return openThroughProc(named, process.ownDescriptor);
        if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
            if (m_devices == Devices::Refuse)
                return failCreate(notRegularText());
            // Opening a FIFO waits for its reader, as a shell's redirection does.
            m_fd = FileSystemCalls::instance().open(named.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC, 0);
            if (m_fd < 0)
                return failCreate(reasonText(errno));
            m_inPlace = true;
            m_target = named;
            return true;
        }
        if (!S_ISREG(info.st_mode))
            return failCreate(notRegularText());
        // A file the user may not write is left alone, as the shell's ">"
        // leaves it, although the folder would let it be replaced.
        if (::faccessat(AT_FDCWD, named.constData(), W_OK, AT_EACCESS) != 0)
            return failCreate(reasonText(errno));
        m_formerFile = true;
        m_formerMode = info.st_mode & 07777;
        m_formerOwner = info.st_uid;
        m_formerGroup = info.st_gid;
        char *real = ::realpath(named.constData(), nullptr);
        m_target = real ? QByteArray(real) : named;
        std::free(real);
    } else if (errno == ENOENT) {
        m_target = newFileTarget(named);
    } else {
        return failCreate(reasonText(errno));
    }
    return createTemporary();
}

bool SafeFileWriter::openThroughProc(const QByteArray &named, int ownDescriptor)
{
    if (m_devices == Devices::Refuse)
        return failCreate(notRegularText());
    m_inPlace = true;
    m_target = named;
    if (ownDescriptor >= 0) {
        // Written through the descriptor itself, at its place in the file:
        // "-o /dev/stdout >> log" adds to the log.
        const int flags = ::fcntl(ownDescriptor, F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY)
            return failCreate(reasonText(EBADF));
        m_fd = ::fcntl(ownDescriptor, F_DUPFD_CLOEXEC, 0);
    } else {
        // Another process's file is added to, never cut short.
        m_fd = FileSystemCalls::instance().open(named.constData(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC, 0);
    }
    if (m_fd < 0)
        return failCreate(reasonText(errno));
    return true;
}

QString SafeFileWriter::notRegularText()
{
    return QStringLiteral("Это не обычный файл");
}

bool SafeFileWriter::createTemporary()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QByteArray prefix = folderOf(m_target) + "/." + baseNameOf(m_target).left(200) + '.';
    // A new file gets the usual rights less the umask; a former file's
    // rights are given to its replacement once it exists.
    const mode_t mode = m_formerFile ? 0600 : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        // The file and its entry in the table appear together for a signal.
        const SignalsHeldBack held;
        m_fd = FileSystemCalls::instance().open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_fd >= 0) {
            m_temporary = name;
            m_pendingSlot = PendingTemporaries::add(name);
            if (m_formerFile) {
                if (::geteuid() == 0 && ::fchown(m_fd, m_formerOwner, m_formerGroup) != 0) {
                    // Where the owner cannot be given back (a file system
                    // without owners), the replacement stays root's: its
                    // contents are what was asked for.
                }
                (void)::fchmod(m_fd, m_formerMode);
            }
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    const int error = errno;
    // Rights to the folder are what a user can do something about.
    if (error == EACCES || error == EPERM)
        return failCreate(QStringLiteral("Нет прав на запись в папку %1").arg(FileNameBytes::decode(folderOf(m_target))));
    return failCreate(reasonText(error));
}

qint64 SafeFileWriter::readData(char *, qint64)
{
    return -1;
}

qint64 SafeFileWriter::writeData(const char *data, qint64 size)
{
    if (m_failed || m_fd < 0)
        return -1;
    m_buffer.append(data, size);
    if (m_buffer.size() >= BufferSize && !flushBuffer())
        return -1;
    return size;
}

bool SafeFileWriter::flushBuffer()
{
    if (m_failed)
        return false;
    const BrokenPipeGuard guard;
    const char *next = m_buffer.constData();
    qint64 left = m_buffer.size();
    while (left > 0) {
        const size_t piece = size_t(std::min<qint64>(left, qint64(1) << 30));
        const ssize_t written = FileSystemCalls::instance().write(m_fd, next, piece);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return failWrite(errno);
        }
        if (written == 0)
            return failWrite(EIO);
        next += written;
        left -= written;
    }
    m_buffer.clear();
    return true;
}

bool SafeFileWriter::commit()
{
    if (!isOpen() || m_fd < 0)
        return false;
    FileSystemCalls &calls = FileSystemCalls::instance();
    bool ok = flushBuffer();
    // Devices and pipes keep nothing to sync.
    if (ok && !m_inPlace && calls.fsync(m_fd) != 0)
        ok = failWrite(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (calls.close(fd) != 0 && ok)
        ok = failWrite(errno);
    if (ok && !m_inPlace) {
        if (calls.rename(m_temporary.constData(), m_target.constData()) != 0)
            ok = failWrite(errno);
        else
            syncFolder(folderOf(m_target));
    }
    if (ok)
        m_temporary.clear();
    discard();
    return ok;
}

void SafeFileWriter::close()
{
    discard();
}

void SafeFileWriter::discard()
{
    FileSystemCalls &calls = FileSystemCalls::instance();
    if (m_fd >= 0) {
        calls.close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        calls.unlink(m_temporary.constData());
        m_temporary.clear();
    }
    PendingTemporaries::remove(std::exchange(m_pendingSlot, -1));
    m_buffer.clear();
    if (isOpen())
        QIODevice::close();
}

bool SafeFileWriter::failCreate(const QString &reason)
{
    m_failed = true;
    m_createFailed = true;
    m_reason = reason;
    setErrorString(reason);
    discard();
    return false;
}

bool SafeFileWriter::failWrite(int errorNumber)
{
    if (!m_failed) {
        m_failed = true;
        m_reason = reasonText(errorNumber);
        setErrorString(m_reason);
    }
    return false;
}

bool SafeFileWriter::writeFile(const QString &path, const QByteArray &bytes, QString *reason, Devices devices)
{
    SafeFileWriter file(path, devices);
    const bool ok = file.open() && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && reason)
        *reason = file.reason();
    return ok;
}
