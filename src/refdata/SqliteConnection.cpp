#include "refdata/SqliteConnection.h"

#include "model/FileNameBytes.h"

#include <QDeadlineTimer>
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

SqliteConnection::Limits readingLimits;

// Statements are interrupted once their time is up.
class StatementDeadline
{
public:
    StatementDeadline(sqlite3 *db, int seconds) : m_db(db), m_deadline(qint64(seconds) * 1000)
    {
        sqlite3_progress_handler(m_db, 1000, &StatementDeadline::expired, this);
    }
    ~StatementDeadline() { sqlite3_progress_handler(m_db, 0, nullptr, nullptr); }
    StatementDeadline(const StatementDeadline &) = delete;
    StatementDeadline &operator=(const StatementDeadline &) = delete;

    bool hasExpired() const { return m_deadline.hasExpired(); }

private:
    static int expired(void *self) { return static_cast<StatementDeadline *>(self)->hasExpired() ? 1 : 0; }

    sqlite3 *m_db;
    QDeadlineTimer m_deadline;
};

// Roughly what a value takes once it is held among the rows.
qint64 heldSize(const QVariant &value)
{
    qint64 size = qint64(sizeof(QVariant));
    if (value.typeId() == QMetaType::QString)
        size += 2 * qint64(value.toString().size());
    else if (value.typeId() == QMetaType::QByteArray)
        size += value.toByteArray().size();
    return size;
}

} // namespace

void SqliteConnection::setLimits(const Limits &limits)
{
    readingLimits = limits;
}

SqliteConnection::Limits SqliteConnection::limits()
{
    return readingLimits;
}

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

Result<> SqliteConnection::openFile(const QString &path)
{
    // Read-only and immutable: SQLite then takes no locks and writes nothing,
    // so no "-wal" or "-shm" file appears beside the database, and one in a
    // read-only folder opens whatever its journal mode.
    const QByteArray uri =
        "file:" + FileNameBytes::encode(QFileInfo(path).absoluteFilePath()).toPercentEncoding("/") + "?immutable=1";
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    std::unique_ptr<sqlite3, Closer> guard(db);
    if (rc != SQLITE_OK) {
        return Result<>::failure(QStringLiteral("Не могу открыть справочную базу данных %1: %2")
                                     .arg(path, db ? lastError(db) : QString::fromUtf8(sqlite3_errstr(rc))));
    }
    m_db = std::move(guard);
    m_path = path;
    const Result<> checked = checkFile();
    if (!checked)
        closeFile();
    return checked;
}

Result<> SqliteConnection::checkFile()
{
    // SQLite's own memory (sorting, a recursive view's queue) has its limit
    // too; it holds for every database of the program, as one at a time is read.
    sqlite3_hard_heap_limit64(readingLimits.memoryBytes);
    // SQLite reads the file only on the first statement: a file that is no
    // database shows here, not at the open.  Its pages are checked, so that
    // a table whose pages were lost is not taken for an empty one.
    const StatementDeadline deadline(m_db.get(), readingLimits.seconds);
    char *message = nullptr;
    if (sqlite3_exec(m_db.get(), "PRAGMA query_only = ON; SELECT count(*) FROM sqlite_master;", nullptr, nullptr,
                     &message)
        != SQLITE_OK) {
        const QString detail = QString::fromUtf8(message);
        sqlite3_free(message);
        return Result<>::failure(QStringLiteral("Файл %1 не является справочной базой данных: %2").arg(m_path, detail));
    }
    QString problem;
    sqlite3_stmt *check = nullptr;
    int rc = sqlite3_prepare_v2(m_db.get(), "PRAGMA quick_check(1)", -1, &check, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(check);
        if (rc == SQLITE_ROW) {
            problem = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)));
            if (problem == QLatin1String("ok"))
                problem.clear();
        }
    }
    sqlite3_finalize(check);
    if (deadline.hasExpired())
        return Result<>::failure(
            tooLargeText(QStringLiteral("проверка файла не закончилась за %1 с").arg(readingLimits.seconds)));
    if (rc == SQLITE_NOMEM)
        return Result<>::failure(tooLargeText(
            QStringLiteral("проверка файла не уместилась в %1 МБ памяти").arg(readingLimits.memoryBytes >> 20)));
    if (problem.isEmpty() && rc != SQLITE_ROW && rc != SQLITE_DONE)
        problem = lastError(m_db.get());
    if (!problem.isEmpty())
        return Result<>::failure(QStringLiteral("Справочная база данных %1 повреждена: %2").arg(m_path, problem));
    return {};
}

QString SqliteConnection::tooLargeText(const QString &detail) const
{
    return QStringLiteral("Справочная база данных %1 повреждена или слишком велика: %2").arg(m_path, detail);
}

void SqliteConnection::closeFile()
{
    m_db.reset();
    m_path.clear();
}

Result<DbResult> SqliteConnection::execute(const QString &sql)
{
    if (!m_db)
        return failQuery(sql, QStringLiteral("нет подключения к базе данных"));
    sqlite3_stmt *statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db.get(), text.constData(), static_cast<int>(text.size()), &statement, nullptr)
            != SQLITE_OK
        || !statement) {
        sqlite3_finalize(statement);
        return failQuery(sql, lastError(m_db.get()));
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(statement, sqlite3_finalize);

    DbResult result;
    const int columnCount = sqlite3_column_count(statement);
    for (int c = 0; c < columnCount; ++c)
        result.columns << QString::fromUtf8(sqlite3_column_name(statement, c));

    QString tooLarge;
    {
        const StatementDeadline deadline(m_db.get(), readingLimits.seconds);
        qint64 held = 0;
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            QVector<QVariant> row;
            row.reserve(columnCount);
            for (int c = 0; c < columnCount; ++c) {
                row.append(columnValue(statement, c));
                held += heldSize(row.last());
            }
            result.rows.append(row);
            if (held > readingLimits.memoryBytes) {
                tooLarge = QStringLiteral("строки запроса «%1» не умещаются в %2 МБ памяти")
                               .arg(sql)
                               .arg(readingLimits.memoryBytes >> 20);
                break;
            }
            if (deadline.hasExpired())
                break;
        }
        if (tooLarge.isEmpty() && deadline.hasExpired())
            tooLarge = QStringLiteral("запрос «%1» не закончился за %2 с").arg(sql).arg(readingLimits.seconds);
        if (tooLarge.isEmpty() && rc == SQLITE_NOMEM)
            tooLarge =
                QStringLiteral("запрос «%1» не уместился в %2 МБ памяти").arg(sql).arg(readingLimits.memoryBytes >> 20);
        if (tooLarge.isEmpty() && rc != SQLITE_DONE)
            return failQuery(sql, lastError(m_db.get()));
    }
    if (tooLarge.isEmpty())
        return result;
    // The statement and its deadline are done with before the file is closed.
    guard.reset();
    return failFile(tooLargeText(tooLarge));
}
