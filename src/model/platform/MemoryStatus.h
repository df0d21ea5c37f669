#pragma once

#include <QString>

#include <cstdint>

// The machine's memory as the about box shows it.
struct MemoryStatus
{
    std::uint64_t totalKb = 0; // physical memory in kilobytes
    int loadPercent = 0;       // memory in use, 0 to 100

    // The machine's memory now; zero when the system does not tell.
    static MemoryStatus current();
    // From the text of Linux's /proc/meminfo.
    static MemoryStatus fromMeminfo(const QString &text);
};
