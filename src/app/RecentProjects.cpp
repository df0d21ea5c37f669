#include "app/RecentProjects.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The file a path names: its real path when it exists, else the path made
// absolute and clean.
QString identity(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// A line of the settings file holds one value: a path with a line break
// cannot be kept.
bool storable(const QString &path)
{
    return !path.trimmed().isEmpty() && !path.contains(QLatin1Char('\n')) && !path.contains(QLatin1Char('\r'));
}

} // namespace

RecentProjects::RecentProjects(const QStringList &paths)
{
    for (auto it = paths.crbegin(); it != paths.crend(); ++it)
        add(*it);
}

bool RecentProjects::sameFile(const QString &a, const QString &b)
{
    return identity(a) == identity(b);
}

void RecentProjects::add(const QString &path)
{
    if (!storable(path))
        return;
    remove(path);
    m_paths.prepend(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    while (m_paths.size() > MaxCount)
        m_paths.removeLast();
}

void RecentProjects::remove(const QString &path)
{
    const QString file = identity(path);
    m_paths.erase(
        std::remove_if(m_paths.begin(), m_paths.end(), [&file](const QString &p) { return identity(p) == file; }),
        m_paths.end());
}
