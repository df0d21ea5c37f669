#include "FaultyFileSystem.h"

FaultyFileSystem::FaultyFileSystem(Fault fault, int errorNumber) : m_fault(fault), m_error(errorNumber)
{
    FileSystemCalls::install(this);
}

FaultyFileSystem::~FaultyFileSystem()
{
    FileSystemCalls::install(nullptr);
}

int FaultyFileSystem::fail()
{
    errno = m_error;
    return -1;
}

int FaultyFileSystem::open(const char *path, Mode mode, int permissions)
{
    if (m_fault == Fault::Create && mode == Mode::CreateNew)
        return fail();
    return FileSystemCalls::open(path, mode, permissions);
}

qint64 FaultyFileSystem::write(int fd, const void *data, qint64 size)
{
    ++m_writes;
    if (m_fault == Fault::Write)
        return fail();
    if (m_fault == Fault::ShortWrite) {
        if (m_writes > 1 || size < 2)
            return fail();
        return FileSystemCalls::write(fd, data, size / 2);
    }
    return FileSystemCalls::write(fd, data, size);
}

int FaultyFileSystem::fsync(int fd)
{
    return m_fault == Fault::Fsync ? fail() : FileSystemCalls::fsync(fd);
}

int FaultyFileSystem::close(int fd)
{
    // The descriptor is gone either way, as with the system's close.
    const int result = FileSystemCalls::close(fd);
    return m_fault == Fault::Close ? fail() : result;
}

int FaultyFileSystem::rename(const char *from, const char *to)
{
    return m_fault == Fault::Rename ? fail() : FileSystemCalls::rename(from, to);
}
