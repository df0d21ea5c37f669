#pragma once

#include <QString>
#include <QTemporaryDir>

// A small file system of its own (tmpfs) mounted on a temporary folder, to
// fill up for real.  Mounting needs the rights to do so; without them
// isMounted() is false and whyNot() says why.  Unmounted when it goes.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(int kilobytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool isMounted() const { return m_mounted; }
    const QString &whyNot() const { return m_whyNot; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QString path() const { return m_dir.path(); }

    // Makes the file system read-only; false when it cannot.
    bool makeReadOnly();

private:
    QTemporaryDir m_dir;
    QString m_options;
    bool m_mounted = false;
    QString m_whyNot;
};
