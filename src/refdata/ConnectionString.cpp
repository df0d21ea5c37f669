#include "refdata/ConnectionString.h"

namespace {

bool needsQuotes(const QString &value)
{
    return value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('"')) || value.contains(QLatin1Char('\''))
           || value != value.trimmed();
}

} // namespace

QString ConnectionString::compose(const QVector<Part> &parts)
{
    QString text;
    for (const Part &part : parts) {
        QString value = part.second;
        if (needsQuotes(value))
            value = QLatin1Char('"') + value.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
        text += part.first + QLatin1Char('=') + value + QLatin1Char(';');
    }
    return text;
}

QVector<ConnectionString::Part> ConnectionString::parse(const QString &text)
{
    QVector<Part> parts;
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const int eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && text[i] == QLatin1Char(' '))
            ++i;
        QString value;
        if (i < n && text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        value += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            const int semicolon = text.indexOf(QLatin1Char(';'), i);
            i = semicolon < 0 ? n : semicolon + 1;
        } else {
            const int semicolon = text.indexOf(QLatin1Char(';'), i);
            const int end = semicolon < 0 ? n : semicolon;
            value = text.mid(i, end - i).trimmed();
            i = end + 1;
        }
        if (!key.isEmpty())
            parts.append({key, value});
    }
    return parts;
}

QString ConnectionString::value(const QString &text, const QString &key)
{
    for (const Part &part : parse(text)) {
        if (part.first.compare(key, Qt::CaseInsensitive) == 0)
            return part.second;
    }
    return QString();
}
