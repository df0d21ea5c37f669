#pragma once

#include "refdata/DbConnection.h"

#include <memory>

struct sqlite3;

// The SQLite backend: the database shipped with the program, or one the
// user put in its place.
//
// Reading is bounded as the Access reader is: a statement that runs longer
// than the time limit, or whose rows take more memory than the memory
// limit (a table that is a recursive view yields rows without end), ends
// the connection with the failure "Справочная база данных ... повреждена
// или слишком велика", and the program carries on.  A file whose pages do not
// hold together is reported damaged when it is opened, never read as
// tables that happen to be empty.
class SqliteConnection : public DbConnection
{
public:
    struct Limits
    {
        qint64 memoryBytes = qint64(64) * 1024 * 1024; // the rows of one statement, and SQLite's own memory
        int seconds = 10;                              // for each statement
    };

    // For tests: other limits.
    static void setLimits(const Limits &limits);
    static Limits limits();

    SqliteConnection();
    ~SqliteConnection() override;

    QString providerName() const override;
    Result<DbResult> execute(const QString &sql) override;

protected:
    Result<> openFile(const QString &path) override;
    void closeFile() override;

private:
    // Checks the newly opened file: a database whose pages hold together.
    Result<> checkFile();
    // The message of a database damaged or too large to read.
    QString tooLargeText(const QString &detail) const;

    struct Closer
    {
        void operator()(sqlite3 *db) const;
    };
    std::unique_ptr<sqlite3, Closer> m_db;
    QString m_path;
};
