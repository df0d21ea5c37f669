#include "refdata/DbRowReader.h"

#include "refdata/DbQuery.h"

template <class T>
T DbRowReader::take(const Result<T> &field)
{
    if (field)
        return *field;
    if (m_failure)
        m_failure = field.status();
    return T();
}

double DbRowReader::number(const QString &column)
{
    return take(m_query.asDouble(column));
}

std::int32_t DbRowReader::integer(const QString &column)
{
    return take(m_query.asInteger(column));
}

QString DbRowReader::text(const QString &column)
{
    return take(m_query.asText(column));
}
