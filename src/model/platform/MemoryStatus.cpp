#include "model/platform/MemoryStatus.h"

#include <QHash>
#include <QStringList>

#include <algorithm>

MemoryStatus MemoryStatus::fromMeminfo(const QString &text)
{
    QHash<QString, std::uint64_t> kb;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        const QStringList parts = line.mid(colon + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool ok = false;
        const std::uint64_t value = parts.isEmpty() ? 0 : parts.first().toULongLong(&ok);
        if (ok)
            kb.insert(line.left(colon).trimmed(), value);
    }
    MemoryStatus status;
    status.totalKb = kb.value(QStringLiteral("MemTotal"));
    if (status.totalKb == 0)
        return status;
    const std::uint64_t available = kb.contains(QStringLiteral("MemAvailable"))
                                        ? kb.value(QStringLiteral("MemAvailable"))
                                        : kb.value(QStringLiteral("MemFree")) + kb.value(QStringLiteral("Buffers"))
                                              + kb.value(QStringLiteral("Cached"));
    const std::uint64_t used = status.totalKb - std::min(available, status.totalKb);
    status.loadPercent = int((used * 100 + status.totalKb / 2) / status.totalKb);
    return status;
}
