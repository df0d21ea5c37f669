#include "model/platform/FileSystemCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

int FileSystemCalls::open(const char *path, Mode mode, int permissions)
{
    int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    if (mode == Mode::CreateNew)
        flags |= O_CREAT | O_EXCL;
    else if (mode == Mode::AppendExisting)
        flags |= O_APPEND;
    return ::open(path, flags, mode_t(permissions));
}

qint64 FileSystemCalls::write(int fd, const void *data, qint64 size)
{
    return ::write(fd, data, size_t(size));
}

int FileSystemCalls::fsync(int fd)
{
    return ::fsync(fd);
}

int FileSystemCalls::close(int fd)
{
    return ::close(fd);
}

int FileSystemCalls::rename(const char *from, const char *to)
{
    return ::rename(from, to);
}

int FileSystemCalls::unlink(const char *path)
{
    return ::unlink(path);
}
