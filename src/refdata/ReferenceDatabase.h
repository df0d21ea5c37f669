#pragma once

#include "model/Result.h"
#include "refdata/DbQuery.h"

#include <QString>

#include <memory>

class DbConnection;

// The reference database: the one connection to it and the
// one query that every loader and name lookup uses.
//
// The database lies in a base folder: "data.mdb" when the user has put a
// Microsoft Access file there, otherwise the "data.sqlite" that ships with
// the program.  Without a base folder of its own it looks in "Base"
// among the program's resources (ResourceLocator) at every connection: the
// first folder that holds either file wins, so a database the user put in
// their own data folder is taken before the installed one.  A file set with
// setDatabaseFile() is used instead of any search.  The backend is chosen by
// the content of the file, not by its name.
class ReferenceDatabase
{
public:
    // An empty base folder means the search among the program's resources.
    explicit ReferenceDatabase(const QString &baseDir = QString());
    ~ReferenceDatabase();
    ReferenceDatabase(const ReferenceDatabase &) = delete;
    ReferenceDatabase &operator=(const ReferenceDatabase &) = delete;

    static QString sqliteFileName() { return QStringLiteral("data.sqlite"); }
    static QString accessFileName() { return QStringLiteral("data.mdb"); }

    const QString &baseDir() const { return m_baseDir; }
    void setBaseDir(const QString &dir);
    void setDatabaseFile(const QString &path);

    // The file that connectDatabase() opens now.
    QString databaseFile() const;

    // Closes the connection when it is open, composes the connection string
    // anew and opens the connection.  Fails, with a text naming the file,
    // when the file is missing, unreadable or no database.
    Result<> connectDatabase();
    // The connection string composed by the last connectDatabase(): provider,
    // data source, mode and security parts, each ending with ";".
    const QString &connectionString() const { return m_connectionString; }

    DbConnection *connection() const { return m_connection.get(); }
    DbQuery &query() { return m_query; }

private:
    QString m_baseDir;
    QString m_explicitFile;
    QString m_connectionString;
    std::unique_ptr<DbConnection> m_connection;
    bool m_accessBackend = false;
    DbQuery m_query;
};
