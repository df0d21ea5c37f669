#pragma once

#include "refdata/DbResult.h"

#include <QString>
#include <QVector>

#include <cstdint>

class DbConnection;

// The one query of the data module: an SQL text run on the connection, its
// rows read one at a time by column name.  NULL reads as 0 for a number and
// as the empty text for a text.  A row filter "Column = value" narrows the
// rows already read without running the statement again.
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

    // The number of rows, counting only those that pass the filter while it
    // is on.
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

    // "Column = value" with a number or a text in single quotes; texts are
    // compared without case.  An empty expression lets every row pass.  An
    // expression that cannot be applied throws and changes nothing.  Both
    // calls go back to the first row.
    void setFilter(const QString &expression);
    const QString &filter() const { return m_filter; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

private:
    // The rows that pass the expression, when filtered.
    QVector<int> visibleRows(const QString &expression, bool filtered) const;
    const QVariant &current(const QString &column) const;

    DbConnection *m_connection;
    QString m_sql;
    bool m_active = false;
    DbResult m_result;
    QVector<int> m_visible; // rows of m_result that pass the filter
    int m_position = 0; // index into m_visible
    QString m_filter;
    bool m_filtered = false;
};
