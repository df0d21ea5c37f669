#pragma once

#include "refdata/DbConnection.h"

#include <memory>

struct MdbSQL;

// The Microsoft Access backend (Jet 3 and Jet 4 ".mdb" files), read through
// mdbtools' libmdbsql.  libmdb opens the file read-only.
class MdbConnection : public DbConnection
{
public:
    MdbConnection();
    ~MdbConnection() override;

    QString providerName() const override;
    DbResult execute(const QString &sql) override;

protected:
    void openFile(const QString &path) override;
    void closeFile() override;

private:
    struct Closer
    {
        void operator()(MdbSQL *sql) const;
    };
    std::unique_ptr<MdbSQL, Closer> m_sql;
};
