#pragma once

#include "cli/CommandResult.h"

#include <QString>

// Standard output and standard error, written as UTF-8.  Every write is
// checked, as a user piping the tool into a file on a full disk must learn
// that the file is incomplete: text that standard output does not take is a
// failure that ends the command with ExitCode::CannotWrite, and a failed
// write to standard error is remembered.  finish() closes standard output at
// the end, where a disk that took the bytes late says it could not keep
// them, and gives the exit status.
class Console
{
public:
    // Called first thing: a standard stream the tool was started without
    // (">&-") is taken by /dev/null, so that no file the tool opens becomes
    // it, and every write to it fails.
    static void guardStandardStreams();

    // A failure when the text could not be written whole.
    static CommandResult<> out(const QString &text);
    static void err(const QString &text);

    // Closes standard output and returns the status to end with: `status`,
    // or that of output not written when a write to either stream or the
    // closing failed (the reason then goes to standard error).
    static int finish(int status);

private:
    // Standard output was not written, for the reason given by errno `error`.
    static CommandResult<> notWritten(int error);
};
