#pragma once

#include "model/Result.h"
#include "refdata/DbResult.h"

#include <QString>
#include <QVector>

#include <cstdint>

class DbConnection;

// The one query of the reference database: an SQL text run on the connection, its
// rows read one at a time by column name.  NULL reads as 0 for a number and
// as the empty text for a text.
//
// open() fails as the connection's execute() does (a statement that ended
// the connection failed for the whole database); reading fails for a
// column the result lacks, or a text that is no number read as a number.
class DbQuery
{
public:
    explicit DbQuery(DbConnection *connection = nullptr) : m_connection(connection) {}

    void setConnection(DbConnection *connection);

    // Replacing the text closes the query.
    void setSql(const QString &sql);
    const QString &sql() const { return m_sql; }

    // Runs the statement and stands on the first row.
    Result<> open();
    void close();
    bool isActive() const { return m_active; }

    // The number of rows.
    int recordCount() const;
    void first();
    void next();
    // Past the last row (also when there are no rows).
    bool eof() const;

    Result<double> asDouble(const QString &column) const;
    Result<std::int32_t> asInteger(const QString &column) const;
    Result<QString> asText(const QString &column) const;
    // The stored value itself (null for NULL).
    Result<QVariant> value(const QString &column) const;
    bool hasColumn(const QString &column) const;

private:
    DbConnection *m_connection;
    QString m_sql;
    bool m_active = false;
    DbResult m_result;
    int m_position = 0;
};
