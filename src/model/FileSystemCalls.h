#pragma once

#include <QtGlobal>

#include <sys/types.h>

// The file-system calls through which the program saves files, gathered in
// one place so that a test can make any of them fail the way a full, broken
// or read-only disk does.  Each returns what the system call returns and
// leaves the cause in errno.
class FileSystemCalls
{
public:
    FileSystemCalls() = default;
    FileSystemCalls(const FileSystemCalls &) = delete;
    FileSystemCalls &operator=(const FileSystemCalls &) = delete;
    virtual ~FileSystemCalls();

    virtual int open(const char *path, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void *data, size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char *from, const char *to);
    virtual int unlink(const char *path);

    // The calls in use: the system's own unless a test installed others.
    static FileSystemCalls &instance();
    // Installs other calls; nullptr goes back to the system's.
    static void install(FileSystemCalls *calls);
};
