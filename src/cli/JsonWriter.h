#pragma once

#include <QString>

// Writes one JSON document as text.  Numbers are written with 17 significant
// digits so that they read back to the same double; numbers that are not
// finite are written as null.
class JsonWriter
{
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    // The key of the next member of the current object.
    void key(const QString &name);

    void value(const QString &text);
    void value(const char *text) { value(QString::fromUtf8(text)); }
    void value(double number);
    void value(int number);
    void value(bool flag);
    void null();

    // Member shorthands.
    template <typename T>
    void member(const QString &name, const T &v)
    {
        key(name);
        value(v);
    }

    const QString &text() const { return m_text; }

    static QString quoted(const QString &text);
    static QString number(double value);

private:
    void separate();

    QString m_text;
    bool m_needComma = false;
    bool m_afterKey = false;
};
