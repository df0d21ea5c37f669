#include "model/platform/FileSystemCalls.h"

namespace {

FileSystemCalls *installed = nullptr;

} // namespace

FileSystemCalls::~FileSystemCalls() = default;

FileSystemCalls &FileSystemCalls::instance()
{
    static FileSystemCalls system;
    return installed ? *installed : system;
}

void FileSystemCalls::install(FileSystemCalls *calls)
{
    installed = calls;
}
