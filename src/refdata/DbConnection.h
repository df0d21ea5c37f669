#pragma once

#include "model/Result.h"
#include "refdata/DbResult.h"

#include <QString>

// A read-only connection to one database file.  The file is named by the
// "Data Source" part of the connection string; every backend opens it for
// reading only and never writes to it.
//
// Opening fails when the file cannot be opened or is no database, and
// running a statement when the statement cannot be run (a missing table, a
// bad statement).  A statement that finds the file itself damaged, or too
// large to read, ends the connection as well: isOpen() is false after such
// a failure, which is the whole database's rather than the statement's.
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
    Result<> open();
    void close();
    bool isOpen() const { return m_open; }
    // The file of the open connection.
    const QString &fileName() const { return m_fileName; }

    // The name that the "Provider" part of the connection string gives.
    virtual QString providerName() const = 0;

    // Runs a statement on the open connection and returns all its rows.
    virtual Result<DbResult> execute(const QString &sql) = 0;

protected:
    // Opens the file; a backend that fails leaves it closed.
    virtual Result<> openFile(const QString &path) = 0;
    virtual void closeFile() = 0;

    // The failure of a statement that cannot be run.
    static Result<DbResult> failQuery(const QString &sql, const QString &detail);
    // The failure of a statement that found the file damaged or too large
    // to read: the connection ends.
    Result<DbResult> failFile(const QString &message);

private:
    QString m_connectionString;
    QString m_fileName;
    bool m_open = false;
};
