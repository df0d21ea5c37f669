#pragma once

#include "refdata/DbResult.h"

#include <QString>
#include <QVector>

#include <cstdint>

class DbConnection;

// The one query of the reference database: an SQL text run on the connection, its
// rows read one at a time by column name.  NULL reads as 0 for a number and
// as the empty text for a text.
//
// Failures throw DatabaseError: open() one of kind Query; reading a column
// the result lacks, or a text that is no number as a number, one of kind
// Column.
class DbQuery
{
public:
    explicit DbQuery(DbConnection *connection = nullptr) : m_connection(connection) {}

    void setConnection(DbConnection *connection);

    // Replacing the text closes the query.
    void setSql(const QString &sql);
    const QString &sql() const { return m_sql; }

    // Runs the statement and stands on the first row.
    void open();
    void close();
    bool isActive() const { return m_active; }

    // The number of rows.
    int recordCount() const;
    void first();
    void next();
    // Past the last row (also when there are no rows).
    bool eof() const;

    double asDouble(const QString &column) const;
    std::int32_t asInteger(const QString &column) const;
    QString asText(const QString &column) const;
    // The stored value itself (null for NULL).
    QVariant value(const QString &column) const;
    bool hasColumn(const QString &column) const;

private:
    const QVariant &current(const QString &column) const;

    DbConnection *m_connection;
    QString m_sql;
    bool m_active = false;
    DbResult m_result;
    int m_position = 0;
};
