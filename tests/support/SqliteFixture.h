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

    // Reference databases that a reader must survive, each the reference
    // database with its soils replaced:
    //  - a recursive view that yields rows of 100 000 characters without end;
    //  - a recursive view that counts without end and yields no row;
    //  - a table of 2000 soils, whose last pages damageLastPages() can
    //    overwrite.
    static QString endlessRowsSql();
    static QString endlessSearchSql();
    static QString manySoilsSql();
    // Overwrites the database's last `count` pages with a pattern, keeping
    // the file's size.
    static bool damageLastPages(const QString &path, int count);
};
