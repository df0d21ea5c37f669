#include "richtext/FormatKeys.h"

#include <QHash>

int FormatKeys::fontKey(const QString &family)
{
    return static_cast<int>(qHash(family) & 0x3FFFFFFF);
}

int FormatKeys::tabsKey(const QList<QTextOption::Tab> &tabs)
{
    std::size_t hash = static_cast<std::size_t>(tabs.size());
    for (const QTextOption::Tab &tab : tabs) {
        hash = hash * 1000003u ^ qHash(tab.position);
        hash = hash * 31u + static_cast<std::size_t>(tab.type) * 7u + tab.delimiter.unicode();
    }
    return static_cast<int>(hash & 0x3FFFFFFF);
}
