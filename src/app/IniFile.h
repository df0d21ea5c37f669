#pragma once

#include "model/Result.h"

#include <QString>
#include <QStringList>
#include <QVector>

// A settings file in the plain initialisation-file format: "[Section]"
// lines, then "key=value" lines.  Section and key names are matched without
// regard to case.  Lines it does not understand are kept as they are and
// never stop it; values are written exactly as given, never quoted.
class IniFile
{
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    // No settings file comes near this; a larger one is not read.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    // Reads the file; a missing or unreadable file reads as empty, and so
    // does anything that is no regular file or is larger than MaxFileSize.
    // Returns whether the file was read.
    bool load();
    // Writes the whole file all or nothing; the reason when it cannot be
    // written, the file that was there left as it was.  A file
    // that load() refused is never written over: its content would be lost.
    Result<> save() const;

    bool contains(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &fallback = QString()) const;
    // The value as a decimal integer, or the fallback when missing or not an
    // integer.
    int intValue(const QString &section, const QString &key, int fallback) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    void setValue(const QString &section, const QString &key, int value)
    {
        setValue(section, key, QString::number(value));
    }

private:
    struct Line
    {
        QString text;    // the line as read or written
        QString section; // the section it belongs to
        QString key;     // empty for anything but key=value lines
    };

    int find(const QString &section, const QString &key) const;

    QString m_path;
    QVector<Line> m_lines;
    QString m_refused; // why load() would not read an existing file
};
