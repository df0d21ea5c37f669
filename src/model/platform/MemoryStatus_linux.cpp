#include "model/platform/MemoryStatus.h"

#include <QFile>

MemoryStatus MemoryStatus::current()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromMeminfo(QString::fromLatin1(file.readAll()));
}
