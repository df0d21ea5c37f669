#include "model/SafeFileWriter.h"

#include "model/FileNameBytes.h"
#include "model/FileSystemCalls.h"

#include <QRandomGenerator>

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

// Where a name that names no file yet puts its file: a dangling link names
// the place it points to.
QByteArray newFileTarget(const QByteArray &path)
{
    QByteArray current = path;
    for (int hop = 0; hop < MaxLinks; ++hop) {
        struct stat link;
        if (::lstat(current.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
            break;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.constData(), target, sizeof target - 1);
        if (length <= 0)
            break;
        const QByteArray next(target, int(length));
        current = next.startsWith('/') ? next : folderOf(current) + '/' + next;
    }
    return current;
}

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
        if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
            if (m_devices == Devices::Refuse)
                return failCreate(QStringLiteral("Это не обычный файл"));
            // Opening a FIFO waits for its reader, as a shell's redirection does.
            m_fd = FileSystemCalls::instance().open(named.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC, 0);
            if (m_fd < 0)
                return failCreate(reasonText(errno));
            m_inPlace = true;
            m_target = named;
            return true;
        }
        if (S_ISDIR(info.st_mode))
            return failCreate(reasonText(EISDIR));
        if (!S_ISREG(info.st_mode))
            return failCreate(QStringLiteral("Это не обычный файл"));
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
        m_fd = FileSystemCalls::instance().open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_fd >= 0) {
            m_temporary = name;
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
