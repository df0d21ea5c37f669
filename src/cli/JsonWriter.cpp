#include "cli/JsonWriter.h"

#include <cmath>
#include <cstdio>

void JsonWriter::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_needComma)
        m_text += QLatin1Char(',');
}

void JsonWriter::beginObject()
{
    separate();
    m_text += QLatin1Char('{');
    m_needComma = false;
}

void JsonWriter::endObject()
{
    m_text += QLatin1Char('}');
    m_needComma = true;
}

void JsonWriter::beginArray()
{
    separate();
    m_text += QLatin1Char('[');
    m_needComma = false;
}

void JsonWriter::endArray()
{
    m_text += QLatin1Char(']');
    m_needComma = true;
}

void JsonWriter::key(const QString &name)
{
    separate();
    m_text += quoted(name) + QLatin1Char(':');
    m_afterKey = true;
}

void JsonWriter::value(const QString &text)
{
    separate();
    m_text += quoted(text);
    m_needComma = true;
}

void JsonWriter::value(double number)
{
    separate();
    m_text += JsonWriter::number(number);
    m_needComma = true;
}

void JsonWriter::value(int number)
{
    separate();
    m_text += QString::number(number);
    m_needComma = true;
}

void JsonWriter::value(bool flag)
{
    separate();
    m_text += flag ? QStringLiteral("true") : QStringLiteral("false");
    m_needComma = true;
}

void JsonWriter::null()
{
    separate();
    m_text += QStringLiteral("null");
    m_needComma = true;
}

QString JsonWriter::quoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString JsonWriter::number(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("null");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return QString::fromLatin1(buffer);
}
