#pragma once

#include <QtGlobal>

// The file-system calls through which the program saves files, gathered in
// one place so that a test can make any of them fail the way a full, broken
// or read-only disk does.  Each returns what the system call returns and
// leaves the cause in errno.
class FileSystemCalls
{
public:
    // How open() opens a file.
    enum class Mode {
        CreateNew,      // for writing; fails when the name exists
        WriteExisting,  // for writing, from the start, without cutting short
        AppendExisting, // for writing at the end
    };

    FileSystemCalls() = default;
    FileSystemCalls(const FileSystemCalls &) = delete;
    FileSystemCalls &operator=(const FileSystemCalls &) = delete;
    virtual ~FileSystemCalls();

    // `permissions` (as chmod takes them) for a new file only.
    virtual int open(const char *path, Mode mode, int permissions);
    virtual qint64 write(int fd, const void *data, qint64 size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    // Puts `from` in the place of `to` in one step, replacing a file that is
    // there: a reader sees the old file or the new one, never neither.
    virtual int rename(const char *from, const char *to);
    virtual int unlink(const char *path);

    // The calls in use: the system's own unless a test installed others.
    static FileSystemCalls &instance();
    // Installs other calls; nullptr goes back to the system's.
    static void install(FileSystemCalls *calls);
};
