#pragma once

#include <QString>
#include <QStringList>

// The projects opened or saved last, newest first: at most MaxCount, each
// file once (two names of one file count as one), every path absolute.
// Kept in the settings file (SettingsStore).
class RecentProjects
{
public:
    static constexpr int MaxCount = 8;

    RecentProjects() = default;
    // The list from paths as stored, the same rules applied.
    explicit RecentProjects(const QStringList &paths);

    const QStringList &paths() const { return m_paths; }
    bool isEmpty() const { return m_paths.isEmpty(); }

    // Puts the file first; the same file further down goes, and the oldest
    // beyond MaxCount.
    void add(const QString &path);
    void remove(const QString &path);
    void clear() { m_paths.clear(); }

    // Whether two paths name the same file.
    static bool sameFile(const QString &a, const QString &b);

private:
    QStringList m_paths;
};
