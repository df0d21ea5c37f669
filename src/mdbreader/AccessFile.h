#pragma once

#include "model/Result.h"
#include "refdata/DbResult.h"

#include <QSet>
#include <QString>

#include <memory>

struct MdbSQL;

// A Microsoft Access file (Jet 3 and Jet 4 ".mdb") read in this process
// through mdbtools' libmdbsql, which opens it read-only.  libmdb trusts the
// file: a damaged one can make it take memory without end, so the program
// itself reads Access files only in the reader process (through MdbConnection).
// Failures are results with the Russian message; one that finds the file
// damaged also closes it, so isOpen() tells whose the failure is.
class AccessFile
{
public:
    AccessFile();
    ~AccessFile();
    AccessFile(const AccessFile &) = delete;
    AccessFile &operator=(const AccessFile &) = delete;

    // Opens the file and reads its list of tables; fails when the file
    // cannot be opened or is damaged.
    Result<> open(const QString &path);
    bool isOpen() const { return m_sql != nullptr; }
    // Runs a statement and returns all its rows; fails when it cannot be
    // run.  A table whose rows cannot all be read (fewer than its
    // definition holds) is a damaged file, which is closed, never a table
    // with fewer rows.
    Result<DbResult> execute(const QString &sql);

private:
    // Reads the rows of a table of the catalogue once for each opening of
    // the file; fails, closing the file, when they are not all there.
    Result<> checkTable(const QString &table);

    struct Closer
    {
        void operator()(MdbSQL *sql) const;
    };
    std::unique_ptr<MdbSQL, Closer> m_sql;
    QString m_path;
    QSet<QString> m_checkedTables; // in lower case
};
