#include "refdata/SqliteConnection.h"

#include "model/FileNameBytes.h"
#include "refdata/DatabaseError.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace {

QString lastError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

QVariant columnValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qint64>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(bytes, sqlite3_column_bytes(statement, column)));
    }
    default:
        return QVariant();
    }
}

} // namespace

void SqliteConnection::Closer::operator()(sqlite3 *db) const
{
    sqlite3_close(db);
}

SqliteConnection::SqliteConnection() = default;

SqliteConnection::~SqliteConnection() = default;

QString SqliteConnection::providerName() const
{
    return QStringLiteral("SQLite");
}

void SqliteConnection::openFile(const QString &path)
{
    // Read-only and immutable: SQLite then takes no locks and writes nothing,
    // so no "-wal" or "-shm" file appears beside the database, and one in a
    // read-only folder opens whatever its journal mode.
    const QByteArray uri = "file:" + FileNameBytes::encode(QFileInfo(path).absoluteFilePath()).toPercentEncoding("/")
                           + "?immutable=1";
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    std::unique_ptr<sqlite3, Closer> guard(db);
    if (rc != SQLITE_OK) {
        throw DatabaseError(DatabaseError::Kind::Connection,
                            QStringLiteral("Не могу открыть справочную базу данных %1: %2")
                                .arg(path, db ? lastError(db) : QString::fromUtf8(sqlite3_errstr(rc))));
    }
    // SQLite reads the file only on the first statement: a file that is no
    // database shows here, not at the open.
    char *message = nullptr;
    if (sqlite3_exec(db, "PRAGMA query_only = ON; SELECT count(*) FROM sqlite_master;", nullptr, nullptr,
                     &message)
        != SQLITE_OK) {
        const QString detail = QString::fromUtf8(message);
        sqlite3_free(message);
        throw DatabaseError(DatabaseError::Kind::Connection,
                            QStringLiteral("Файл %1 не является справочной базой данных: %2").arg(path, detail));
    }
    m_db = std::move(guard);
}

void SqliteConnection::closeFile()
{
    m_db.reset();
}

DbResult SqliteConnection::execute(const QString &sql)
{
    if (!m_db)
        failQuery(sql, QStringLiteral("нет подключения к базе данных"));
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db.get(), text.constData(), static_cast<int>(text.size()), &statement, nullptr)
            != SQLITE_OK
        || !statement) {
        sqlite3_finalize(statement);
        failQuery(sql, lastError(m_db.get()));
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(statement, sqlite3_finalize);

    DbResult result;
    const int columnCount = sqlite3_column_count(statement);
    for (int c = 0; c < columnCount; ++c)
        result.columns << QString::fromUtf8(sqlite3_column_name(statement, c));

    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        QVector<QVariant> row;
        row.reserve(columnCount);
        for (int c = 0; c < columnCount; ++c)
            row.append(columnValue(statement, c));
        result.rows.append(row);
    }
    if (rc != SQLITE_DONE)
        failQuery(sql, lastError(m_db.get()));
    return result;
}
