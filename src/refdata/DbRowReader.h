#pragma once

#include "model/Result.h"

#include <QString>

#include <cstdint>

class DbQuery;

// Reads the fields of the query's current row one after another, as the
// row records do.  A field that cannot be read (a column the result lacks,
// a text that is no number) reads as 0 or the empty text, and the first
// such failure is the failure of the whole row.
class DbRowReader
{
public:
    explicit DbRowReader(const DbQuery &query) : m_query(query) {}

    double number(const QString &column);
    std::int32_t integer(const QString &column);
    QString text(const QString &column);

    // The row that was read, or the failure of its first field.
    template <class Row>
    Result<Row> row(Row value) const
    {
        if (!m_failure)
            return Result<Row>(m_failure);
        return value;
    }

private:
    template <class T>
    T take(const Result<T> &field);

    const DbQuery &m_query;
    Result<> m_failure;
};
