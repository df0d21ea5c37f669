#include "model/SafeFileWriter.h"

#include "model/FileNameBytes.h"
#include "model/platform/FileSystemCalls.h"
#include "model/platform/NativeFiles.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

// Written out whenever this much has gathered, and at the commit.
constexpr int BufferSize = 64 * 1024;

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
        return QStringLiteral("Системная ошибка %1 (%2)")
            .arg(errorNumber)
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
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
    using Kind = NativeFiles::SaveTarget::Kind;
    const QByteArray named = FileNameBytes::encode(m_path);
    if (named.isEmpty())
        return failCreate(reasonText(ENOENT));
    m_inPlace = false;
    m_formerFile = false;
    const NativeFiles::SaveTarget target = NativeFiles::inspectSaveTarget(named);
    switch (target.kind) {
    case Kind::Failed:
        return failCreate(reasonText(target.error));
    case Kind::Folder:
        return failCreate(reasonText(EISDIR));
    case Kind::ThroughProcess:
        return openThroughProcess(named, target.ownDescriptor);
    case Kind::Device:
        if (m_devices == Devices::Refuse)
            return failCreate(notRegularText());
        m_fd = NativeFiles::openInPlace(named, false);
        if (m_fd < 0)
            return failCreate(reasonText(errno));
        m_inPlace = true;
        m_target = named;
        return true;
    case Kind::NotRegular:
        return failCreate(notRegularText());
    case Kind::RegularFile:
        // A file the user may not write is left alone, as the shell's ">"
        // leaves it, although the folder would let it be replaced.
        if (const int error = NativeFiles::writeAccess(named))
            return failCreate(reasonText(error));
        m_formerFile = true;
        m_former = target.former;
        break;
    case Kind::NewFile:
        break;
    }
    m_target = target.path;
    return createTemporary();
}

bool SafeFileWriter::openThroughProcess(const QByteArray &named, int ownDescriptor)
{
    if (m_devices == Devices::Refuse)
        return failCreate(notRegularText());
    m_inPlace = true;
    m_target = named;
    // Written through the descriptor itself, at its place in the file:
    // "-o /dev/stdout >> log" adds to the log.  Another process's file is
    // added to, never cut short.
    m_fd = ownDescriptor >= 0 ? NativeFiles::duplicateForWriting(ownDescriptor) : NativeFiles::openInPlace(named, true);
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
    const QByteArray folder = NativeFiles::folderOf(m_target);
    const QByteArray prefix = folder + "/." + NativeFiles::baseNameOf(m_target).left(200) + '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        m_fd = NativeFiles::createTemporary(name, m_formerFile ? &m_former : nullptr, &m_pendingSlot);
        if (m_fd >= 0) {
            m_temporary = name;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    const int error = errno;
    // Rights to the folder are what a user can do something about.
    if (error == EACCES || error == EPERM)
        return failCreate(QStringLiteral("Нет прав на запись в папку %1").arg(FileNameBytes::decode(folder)));
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
    const int error =
        NativeFiles::writeAll(m_fd, m_buffer.constData(), m_buffer.size(), NativeFiles::BrokenPipe::IsAnError);
    if (error != 0)
        return failWrite(error);
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
            NativeFiles::syncFolder(NativeFiles::folderOf(m_target));
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
    NativeFiles::forgetTemporary(std::exchange(m_pendingSlot, -1));
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

Result<> SafeFileWriter::writeFile(const QString &path, const QByteArray &bytes, Devices devices)
{
    SafeFileWriter file(path, devices);
    if (file.open() && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return Result<>::failure(file.reason());
}
