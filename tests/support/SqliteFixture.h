#pragma once

#include <QString>

// Small SQLite databases built by the tests themselves.
class SqliteFixture
{
public:
    // Creates the database file from the SQL text; fails the test (QFAIL
    // style, through a false result and a warning) when a statement fails.
    static bool create(const QString &path, const QString &sql);
    // Switches the database to write-ahead logging, which is kept in the
    // file's header.
    static bool useWriteAheadLog(const QString &path);

    // A small reference database: every table of the program, rows stored
    // out of diameter order, NULLs in numbers and texts, fiberglass tubes of
    // TypeID 0, 1 and 2, and materials 1, 4, 5 and 7.
    static QString referenceSql();
};
