#include "app/IniFile.h"

#include "model/SafeFileWriter.h"

#include <QFile>
#include <QFileInfo>

bool IniFile::load()
{
    m_lines.clear();
    m_refused.clear();
    const QFileInfo info(m_path);
    if (!info.exists())
        return false;
    // A link to a device or a huge file must not fill the memory, and is not
    // replaced by a file of what could be read.
    if (!info.isFile()) {
        m_refused = QStringLiteral("Это не обычный файл");
        return false;
    }
    QFile file(m_path);
    if (info.size() > MaxFileSize) {
        m_refused = QStringLiteral("Файл больше 1 МБ и не прочитан");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_refused = QStringLiteral("Файл не читается");
        return false;
    }
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize || file.error() != QFileDevice::NoError) {
        m_refused = QStringLiteral("Файл не прочитан до конца");
        return false;
    }
    const QString text = QString::fromUtf8(bytes);
    QString section;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        Line entry{line, section, QString()};
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            section = trimmed.mid(1, trimmed.size() - 2).trimmed();
            entry.section = section;
        } else if (!trimmed.startsWith(QLatin1Char(';'))) {
            const int eq = trimmed.indexOf(QLatin1Char('='));
            if (eq > 0)
                entry.key = trimmed.left(eq).trimmed();
        }
        m_lines.append(entry);
    }
    while (!m_lines.isEmpty() && m_lines.last().text.trimmed().isEmpty())
        m_lines.removeLast();
    return true;
}

Result<> IniFile::save() const
{
    if (!m_refused.isEmpty())
        return Result<>::failure(m_refused);
    QByteArray bytes;
    for (const Line &line : m_lines)
        bytes += line.text.toUtf8() + "\n";
    return SafeFileWriter::writeFile(m_path, bytes, SafeFileWriter::Devices::Refuse);
}

int IniFile::find(const QString &section, const QString &key) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (!line.key.isEmpty() && line.section.compare(section, Qt::CaseInsensitive) == 0
            && line.key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return find(section, key) >= 0;
}

QString IniFile::value(const QString &section, const QString &key, const QString &fallback) const
{
    const int i = find(section, key);
    if (i < 0)
        return fallback;
    const QString &text = m_lines[i].text;
    return text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed();
}

int IniFile::intValue(const QString &section, const QString &key, int fallback) const
{
    bool ok = false;
    const int number = value(section, key).toInt(&ok);
    return ok ? number : fallback;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString text = key + QLatin1Char('=') + value;
    const int existing = find(section, key);
    if (existing >= 0) {
        m_lines[existing].text = text;
        return;
    }
    // After the last line of the section, or in a new section at the end.
    int last = -1;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].section.compare(section, Qt::CaseInsensitive) == 0
            && (!m_lines[i].key.isEmpty() || m_lines[i].text.trimmed().startsWith(QLatin1Char('['))))
            last = i;
    }
    if (last < 0) {
        if (!m_lines.isEmpty())
            m_lines.append({QString(), m_lines.last().section, QString()});
        m_lines.append({QLatin1Char('[') + section + QLatin1Char(']'), section, QString()});
        last = int(m_lines.size()) - 1;
    }
    m_lines.insert(last + 1, {text, section, key});
}
