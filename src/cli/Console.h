#pragma once

#include <QString>

// Standard output and standard error, written as UTF-8.  Every write is
// checked, as a user piping the tool into a file on a full disk must learn
// that the file is incomplete: text that standard output does not take ends
// the command with Console::Failure, and a failed write to standard error is
// remembered.  finish() closes standard output at the end, where a disk
// that took the bytes late says it could not keep them, and gives the exit
// status.
class Console
{
public:
    // Standard output did not take what was written; the reason in Russian.
    struct Failure
    {
        QString reason;
    };

    // Called first thing: a standard stream the tool was started without
    // (">&-") is taken by /dev/null, so that no file the tool opens becomes
    // it, and every write to it fails.
    static void guardStandardStreams();

    // Throws Failure when the text could not be written whole.
    static void out(const QString &text);
    static void err(const QString &text);

    // The message that standard output was not written.
    static QString failureText(const QString &reason);
    // Closes standard output and returns the status to end with: `status`,
    // or that of output not written when a write to either stream or the
    // closing failed (the reason then goes to standard error).
    static int finish(int status);
};
