#pragma once

#include "model/platform/FileSystemCalls.h"

#include <cerrno>

// File-system calls of which one kind fails, as on a full or broken disk.
// Installed while it lives.
class FaultyFileSystem : public FileSystemCalls
{
public:
    enum class Fault {
        None,
        Create,     // no new file can be made
        Write,      // every write fails
        ShortWrite, // the disk fills part-way: half of the first write, then nothing
        Fsync,
        Close,
        Rename,
    };

    explicit FaultyFileSystem(Fault fault, int errorNumber = ENOSPC);
    ~FaultyFileSystem() override;

    int open(const char *path, Mode mode, int permissions) override;
    qint64 write(int fd, const void *data, qint64 size) override;
    int fsync(int fd) override;
    int close(int fd) override;
    int rename(const char *from, const char *to) override;

    // How many writes reached the calls, failed ones included.
    int writes() const { return m_writes; }

private:
    int fail();

    Fault m_fault;
    int m_error;
    int m_writes = 0;
};
