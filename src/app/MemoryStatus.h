#pragma once

#include <QString>

#include <cstdint>

// The machine's memory as the about box shows it.
struct MemoryStatus
{
    std::uint64_t totalKb = 0; // physical memory in kilobytes
    int loadPercent = 0;       // memory in use, 0 to 100

    // Reads /proc/meminfo.
    static MemoryStatus current();
    // From the text of /proc/meminfo.
    static MemoryStatus fromMeminfo(const QString &text);
};
