#pragma once

#include "refdata/DbResult.h"

#include <QString>

// A read-only connection to one database file.  The file is named by the
// "Data Source" part of the connection string; every backend opens it for
// reading only and never writes to it.  Failures throw DatabaseError:
// opening one of kind Connection, running a statement one of kind Query.
class DbConnection
{
public:
    DbConnection() = default;
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;
    virtual ~DbConnection();

    void setConnectionString(const QString &text) { m_connectionString = text; }
    const QString &connectionString() const { return m_connectionString; }

    // Opens the file of the connection string (closing first when open).
    void open();
    void close();
    bool isOpen() const { return m_open; }
    // The file of the open connection.
    const QString &fileName() const { return m_fileName; }

    // The name that the "Provider" part of the connection string gives.
    virtual QString providerName() const = 0;

    // Runs a statement on the open connection and returns all its rows.
    virtual DbResult execute(const QString &sql) = 0;

protected:
    virtual void openFile(const QString &path) = 0;
    virtual void closeFile() = 0;

    // Throws the Query error for a statement that cannot be run.
    [[noreturn]] static void failQuery(const QString &sql, const QString &detail);

private:
    QString m_connectionString;
    QString m_fileName;
    bool m_open = false;
};
