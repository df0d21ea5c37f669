#include "cli/Console.h"

#include "cli/ExitCode.h"
#include "model/FileSystemCalls.h"
#include "model/SafeFileWriter.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool errorStreamFailed = false;
bool outputFailed = false;
bool outputClosed = false;
bool errorStreamClosed = false;

// Writes all the bytes; the errno of the failure, or 0.
int writeAll(int fd, const QByteArray &bytes)
{
    if ((fd == STDOUT_FILENO && outputClosed) || (fd == STDERR_FILENO && errorStreamClosed))
        return EBADF;
    const char *next = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = FileSystemCalls::instance().write(fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;
        next += written;
        left -= written;
    }
    return 0;
}

} // namespace

void Console::guardStandardStreams()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
        if (fd == STDOUT_FILENO)
            outputClosed = true;
        if (fd == STDERR_FILENO)
            errorStreamClosed = true;
    }
}

void Console::out(const QString &text)
{
    if (const int error = writeAll(STDOUT_FILENO, text.toUtf8())) {
        outputFailed = true;
        throw Failure{SafeFileWriter::reasonText(error)};
    }
}

void Console::err(const QString &text)
{
    if (writeAll(STDERR_FILENO, text.toUtf8()) != 0)
        errorStreamFailed = true;
}

QString Console::failureText(const QString &reason)
{
    return QStringLiteral("pipecalc-cli: стандартный вывод не записан: %1.\n").arg(reason);
}

int Console::finish(int status)
{
    // A file system may keep written bytes back and fail only at the close.
    // Standard output that was never open has nothing to lose.
    if (FileSystemCalls::instance().close(STDOUT_FILENO) != 0 && errno != EBADF && errno != EINTR) {
        const int error = errno;
        if (!outputFailed)
            err(failureText(SafeFileWriter::reasonText(error)));
        outputFailed = true;
    }
    // The descriptor stays taken, so that no file opened later becomes
    // standard output.
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0 && null != STDOUT_FILENO) {
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
    return outputFailed || errorStreamFailed ? ExitCode::CannotWrite : status;
}
