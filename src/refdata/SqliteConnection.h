#pragma once

#include "refdata/DbConnection.h"

#include <memory>

struct sqlite3;

// The SQLite backend: the database shipped with the program.
class SqliteConnection : public DbConnection
{
public:
    SqliteConnection();
    ~SqliteConnection() override;

    QString providerName() const override;
    DbResult execute(const QString &sql) override;

protected:
    void openFile(const QString &path) override;
    void closeFile() override;

private:
    struct Closer
    {
        void operator()(sqlite3 *db) const;
    };
    std::unique_ptr<sqlite3, Closer> m_db;
};
