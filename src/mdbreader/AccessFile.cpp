#include "mdbreader/AccessFile.h"

#include "model/FileNameBytes.h"
#include "refdata/DatabaseMessages.h"

// mdbtools.h includes the glib headers inside its extern "C" block, which
// C++ headers of glib do not survive; included first they are skipped there.
#include <glib.h>
#include <mdbsql.h>

#include <QRegularExpression>

#include <locale.h>

namespace {

// libmdb writes numbers with the C library's printf, which follows the
// locale that QCoreApplication sets from the environment (a decimal comma in
// Russian).  The reading runs with the C locale on this thread instead.
class CLocaleScope
{
public:
    CLocaleScope()
        : m_c(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))),
          m_previous(m_c ? uselocale(m_c) : static_cast<locale_t>(nullptr))
    {}
    ~CLocaleScope()
    {
        if (m_c) {
            uselocale(m_previous);
            freelocale(m_c);
        }
    }
    CLocaleScope(const CLocaleScope &) = delete;
    CLocaleScope &operator=(const CLocaleScope &) = delete;

private:
    locale_t m_c;
    locale_t m_previous;
};

QString unbracket(const QString &name)
{
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        return name.mid(1, name.size() - 2);
    return name;
}

const QString kName = QStringLiteral(R"((\[[^\]]+\]|[^\W\d]\w*))");

// The table after "from" in a statement; empty when there is none.
QString tableOf(const QString &sql)
{
    static const QRegularExpression re(QStringLiteral(R"(\bfrom\s+)") + kName,
                                       QRegularExpression::CaseInsensitiveOption
                                           | QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = re.match(sql);
    return match.hasMatch() ? unbracket(match.captured(1)) : QString();
}

// The columns that the "where" part of a statement compares.  libmdbsql
// ignores a condition on a column the table does not have and returns every
// row; these names are checked before the rows are trusted.
QStringList conditionColumnsOf(const QString &sql)
{
    static const QRegularExpression where(QStringLiteral(R"(\bwhere\b)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression comparison(kName + QStringLiteral(R"(\s*(=|<>|<=|>=|<|>|\blike\b))"),
                                               QRegularExpression::CaseInsensitiveOption
                                                   | QRegularExpression::UseUnicodePropertiesOption);
    QStringList names;
    const QRegularExpressionMatch start = where.match(sql);
    if (!start.hasMatch())
        return names;
    QRegularExpressionMatchIterator it = comparison.globalMatch(sql, start.capturedEnd());
    while (it.hasNext())
        names << unbracket(it.next().captured(1));
    return names;
}

Result<DbResult> failQuery(const QString &sql, const QString &detail)
{
    return Result<DbResult>::failure(DatabaseMessages::queryFailed(sql, detail));
}

MdbCatalogEntry *catalogTable(MdbHandle *mdb, const QString &table)
{
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE
            && QString::fromUtf8(entry->object_name).compare(table, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return nullptr;
}

// How many rows of the table can be read, against how many its definition
// says it holds.  libmdb stops at a data page it cannot read as if the
// table ended there: a table whose pages were lost reads as empty.
struct RowCount
{
    bool definitionRead = false;
    qint64 read = 0;
    qint64 held = 0;
};

RowCount countRows(MdbCatalogEntry *entry)
{
    RowCount count;
    MdbTableDef *table = mdb_read_table(entry);
    if (!table)
        return count;
    count.definitionRead = true;
    count.held = table->num_rows;
    if (mdb_read_columns(table)) {
        mdb_rewind_table(table);
        // Never more than the definition promises and a little: a loop in
        // the pages must not run on.
        while (count.read <= count.held && mdb_fetch_row(table))
            ++count.read;
    }
    mdb_free_tabledef(table);
    return count;
}

const MdbColumn *tableColumn(const MdbTableDef *table, const QString &name)
{
    for (guint i = 0; i < table->columns->len; ++i) {
        const auto *column = static_cast<const MdbColumn *>(g_ptr_array_index(table->columns, i));
        if (QString::fromUtf8(column->name).compare(name, Qt::CaseInsensitive) == 0)
            return column;
    }
    return nullptr;
}

// A bound value as text, turned into the kind of its column.  libmdb gives
// NULL as an empty text, which a number column reads as NULL.
QVariant convert(const char *text, int columnType)
{
    const bool whole =
        columnType == MDB_BOOL || columnType == MDB_BYTE || columnType == MDB_INT || columnType == MDB_LONGINT;
    const bool real =
        columnType == MDB_FLOAT || columnType == MDB_DOUBLE || columnType == MDB_MONEY || columnType == MDB_NUMERIC;
    const QByteArray bytes = QByteArray(text).trimmed();
    if ((whole || real) && bytes.isEmpty())
        return QVariant();
    bool ok = false;
    if (whole) {
        const qint64 value = bytes.toLongLong(&ok);
        if (ok)
            return QVariant(value);
    } else if (real) {
        double value = bytes.toDouble(&ok);
        if (!ok)
            value = QByteArray(bytes).replace(',', '.').toDouble(&ok);
        if (ok)
            return QVariant(value);
    }
    return QVariant(QString::fromUtf8(text));
}

} // namespace

void AccessFile::Closer::operator()(MdbSQL *sql) const
{
    mdb_sql_exit(sql);
}

AccessFile::AccessFile() = default;

AccessFile::~AccessFile() = default;

Result<> AccessFile::open(const QString &path)
{
    m_sql.reset();
    std::unique_ptr<MdbSQL, Closer> sql(mdb_sql_init());
    QByteArray name = FileNameBytes::encode(path);
    if (!sql || !mdb_sql_open(sql.get(), name.data())) {
        return Result<>::failure(
            QStringLiteral("Не могу открыть справочную базу данных Microsoft Access %1").arg(path));
    }
    // A file whose list of tables cannot be read is damaged: every table
    // would be missing from it.
    MdbHandle *const mdb = sql->mdb;
    if (!mdb->catalog)
        mdb_read_catalog(mdb, MDB_TABLE);
    if (!mdb->catalog || mdb->catalog->len == 0)
        return Result<>::failure(DatabaseMessages::damagedAccessFile(path));
    m_sql = std::move(sql);
    m_path = path;
    m_checkedTables.clear();
    return {};
}

Result<> AccessFile::checkTable(const QString &table)
{
    if (m_checkedTables.contains(table.toLower()))
        return {};
    const CLocaleScope cLocale;
    const RowCount count = countRows(catalogTable(m_sql->mdb, table));
    QString damage;
    if (!count.definitionRead)
        damage = QStringLiteral("описание таблицы %1 не читается").arg(table);
    else if (count.read != count.held)
        damage = QStringLiteral("в таблице %1 читается строк: %2 из %3").arg(table).arg(count.read).arg(count.held);
    if (!damage.isEmpty()) {
        m_sql.reset();
        return Result<>::failure(DatabaseMessages::damagedAccessFile(m_path, damage));
    }
    m_checkedTables << table.toLower();
    return {};
}

Result<DbResult> AccessFile::execute(const QString &sql)
{
    if (!m_sql || !m_sql->mdb)
        return failQuery(sql, QStringLiteral("нет подключения к базе данных"));
    const QString table = tableOf(sql);
    if (!table.isEmpty()) {
        if (!catalogTable(m_sql->mdb, table))
            return failQuery(sql, QStringLiteral("в базе данных нет таблицы %1").arg(table));
        const Result<> checked = checkTable(table);
        if (!checked)
            return checked;
    }

    const CLocaleScope cLocale;
    MdbSQL *const db = m_sql.get();
    if (!mdb_sql_run_query(db, sql.toUtf8().constData()) || mdb_sql_has_error(db) || !db->cur_table) {
        const QString detail = QString::fromUtf8(mdb_sql_last_error(db));
        mdb_sql_reset(db);
        return failQuery(sql, detail);
    }
    for (const QString &name : conditionColumnsOf(sql)) {
        if (!tableColumn(db->cur_table, name)) {
            mdb_sql_reset(db);
            return failQuery(sql, QStringLiteral("в таблице %1 нет столбца %2").arg(table, name));
        }
    }

    DbResult result;
    QVector<int> types;
    for (guint c = 0; c < db->num_columns; ++c) {
        const auto *column = static_cast<const MdbSQLColumn *>(g_ptr_array_index(db->columns, c));
        const QString name = QString::fromUtf8(column->name);
        const MdbColumn *tableCol = tableColumn(db->cur_table, name);
        result.columns << name;
        types << (tableCol ? tableCol->col_type : MDB_TEXT);
    }
    while (mdb_sql_fetch_row(db, db->cur_table)) {
        QVector<QVariant> row;
        row.reserve(types.size());
        for (int c = 0; c < types.size(); ++c) {
            const auto *text = static_cast<const char *>(g_ptr_array_index(db->bound_values, static_cast<guint>(c)));
            row.append(convert(text, types[c]));
        }
        result.rows.append(row);
    }
    mdb_sql_reset(db);
    return result;
}
