#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Small file helpers for the tests.
namespace TestFiles {

inline bool write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(content) == content.size();
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace TestFiles
