#include "cli/Console.h"

#include "cli/ExitCode.h"
#include "model/SafeFileWriter.h"
#include "model/platform/FileSystemCalls.h"
#include "model/platform/NativeFiles.h"

#include <cerrno>

namespace {

bool errorStreamFailed = false;
bool outputFailed = false;
bool outputClosed = false;
bool errorStreamClosed = false;

// Writes all the bytes; the errno of the failure, or 0.
int writeAll(int fd, const QByteArray &bytes)
{
    if ((fd == NativeFiles::StandardOutput && outputClosed) || (fd == NativeFiles::StandardError && errorStreamClosed))
        return EBADF;
    return NativeFiles::writeAll(fd, bytes.constData(), bytes.size(), NativeFiles::BrokenPipe::EndsProgram);
}

} // namespace

void Console::guardStandardStreams()
{
    NativeFiles::occupyIfClosed(NativeFiles::StandardInput);
    outputClosed = NativeFiles::occupyIfClosed(NativeFiles::StandardOutput);
    errorStreamClosed = NativeFiles::occupyIfClosed(NativeFiles::StandardError);
}

CommandResult<> Console::out(const QString &text)
{
    if (const int error = writeAll(NativeFiles::StandardOutput, text.toUtf8())) {
        outputFailed = true;
        return notWritten(error);
    }
    return {};
}

void Console::err(const QString &text)
{
    if (writeAll(NativeFiles::StandardError, text.toUtf8()) != 0)
        errorStreamFailed = true;
}

CommandResult<> Console::notWritten(int error)
{
    return CommandResult<>::failure(
        ExitCode::CannotWrite,
        QStringLiteral("стандартный вывод не записан: %1.").arg(SafeFileWriter::reasonText(error)));
}

int Console::finish(int status)
{
    // A file system may keep written bytes back and fail only at the close.
    // Standard output that was never open has nothing to lose.
    if (FileSystemCalls::instance().close(NativeFiles::StandardOutput) != 0 && errno != EBADF && errno != EINTR) {
        const int error = errno;
        if (!outputFailed)
            notWritten(error).report();
        outputFailed = true;
    }
    // The descriptor stays taken, so that no file opened later becomes
    // standard output.
    NativeFiles::occupyWithNull(NativeFiles::StandardOutput);
    return outputFailed || errorStreamFailed ? ExitCode::CannotWrite : status;
}
