// pipecalc-mkdb SQL-FILE DATABASE
//
// Builds an SQLite database from an SQL text.  The result depends only on
// the text and the SQLite library, so the same text gives the same bytes.
// The database is written beside the target and renamed over it only when
// every statement succeeded; a failing statement (a CHECK that a row breaks,
// for instance) leaves no database and makes the build fail.

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int fail(const std::string &message, const std::string &tempPath)
{
    std::cerr << "pipecalc-mkdb: " << message << '\n';
    if (!tempPath.empty())
        std::remove(tempPath.c_str());
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::cerr << "usage: pipecalc-mkdb SQL-FILE DATABASE\n";
        return 2;
    }
    const std::string sqlPath = argv[1];
    const std::string dbPath = argv[2];
    const std::string tempPath = dbPath + ".tmp";

    std::ifstream in(sqlPath, std::ios::binary);
    if (!in)
        return fail("cannot read " + sqlPath, std::string());
    std::ostringstream text;
    text << in.rdbuf();

    std::remove(tempPath.c_str());
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(tempPath.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return fail("cannot create " + tempPath + ": " + message, tempPath);
    }

    const std::string script = "PRAGMA page_size = 4096;\nPRAGMA foreign_keys = ON;\n" + text.str();
    char *error = nullptr;
    int rc = sqlite3_exec(db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;", nullptr, nullptr, &error);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "VACUUM;", nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        sqlite3_close(db);
        return fail(sqlPath + ": " + message, tempPath);
    }
    if (sqlite3_close(db) != SQLITE_OK)
        return fail("cannot close " + tempPath, tempPath);
    if (std::rename(tempPath.c_str(), dbPath.c_str()) != 0)
        return fail("cannot replace " + dbPath, tempPath);
    return 0;
}
