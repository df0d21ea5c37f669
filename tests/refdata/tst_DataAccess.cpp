// The data-access layer on SQLite: connection string, the data module's
// choice of file and backend, the query with its NULLs, and the
// promise never to write to the database.

#include "SmallFileSystem.h"
#include "SqliteFixture.h"

#include "refdata/ConnectionString.h"
#include "refdata/ReferenceDatabase.h"
#include "refdata/DbConnection.h"
#include "refdata/DbQuery.h"
#include "refdata/SqliteConnection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class DataAccessTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void connectionStringRoundTrip_data();
    void connectionStringRoundTrip();

    void connectComposesConnectionString();
    void accessFileInBaseFolderWins();
    void unusableDatabaseFile_data();
    void unusableDatabaseFile();

    void readsRowsInStoredOrderByColumnName();
    void nullReadsAsZeroAndEmpty();
    void columnErrors();
    void missingTableIsQueryError();
    void neverWritesToDatabase();
    void writeAheadLogDatabase_data();
    void writeAheadLogDatabase();
    void databaseThatCannotBeReadWhole_data();
    void databaseThatCannotBeReadWhole();

private:
    // Runs a statement on a fresh connection to the fixture, standing on its first row in
    // query(): the failure of the connection or of the statement.
    Result<> run(const QString &sql);
    DbQuery &query() { return m_database->query(); }

    std::unique_ptr<ReferenceDatabase> m_database;
    QTemporaryDir m_dir;
    QString m_base;
    QString m_db;
};

void DataAccessTest::init()
{
    QVERIFY(m_dir.isValid());
    m_base = QDir(m_dir.path()).filePath(QStringLiteral("Base"));
    QDir().mkpath(m_base);
    m_db = QDir(m_base).filePath(QStringLiteral("data.sqlite"));
    QVERIFY(SqliteFixture::create(m_db, SqliteFixture::referenceSql()));
    QFile::remove(QDir(m_base).filePath(QStringLiteral("data.mdb")));
}

void DataAccessTest::connectionStringRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");

    QTest::newRow("plain path") << "/opt/pipecalc/Base/data.sqlite"
                                << "Data Source=/opt/pipecalc/Base/data.sqlite;";
    QTest::newRow("semicolon") << "/tmp/a;b/data.sqlite"
                               << "Data Source=\"/tmp/a;b/data.sqlite\";";
    QTest::newRow("double quote") << "/tmp/\"q\"/data.mdb"
                                  << "Data Source=\"/tmp/\"\"q\"\"/data.mdb\";";
    QTest::newRow("trailing blank") << "/tmp/x "
                                    << "Data Source=\"/tmp/x \";";
    QTest::newRow("cyrillic") << "/home/инженер/Base/data.mdb"
                              << "Data Source=/home/инженер/Base/data.mdb;";
}

void DataAccessTest::connectionStringRoundTrip()
{
    QFETCH(QString, value);
    QFETCH(QString, written);
    const QString text = ConnectionString::compose({{QStringLiteral("Data Source"), value}});
    QCOMPARE(text, written);
    const QString full = QStringLiteral("Provider=SQLite;") + text + QStringLiteral("Mode=ReadWrite;");
    QCOMPARE(ConnectionString::value(full, QStringLiteral("data source")), value);
    QCOMPARE(ConnectionString::value(full, QStringLiteral("Mode")), QStringLiteral("ReadWrite"));
}

void DataAccessTest::connectComposesConnectionString()
{
    ReferenceDatabase dm(m_base);
    QVERIFY(dm.connectDatabase());
    QVERIFY(dm.connection()->isOpen());
    QCOMPARE(dm.connectionString(),
             QStringLiteral("Provider=SQLite;Data Source=%1;Mode=ReadWrite;Persist Security Info=False;")
                 .arg(QDir::toNativeSeparators(m_db)));
    QCOMPARE(dm.connection()->fileName(), m_db);

    // Every access connects anew; the query is closed by it.
    dm.query().setSql(QStringLiteral("select * from Tubes"));
    QVERIFY(dm.query().open());
    QVERIFY(dm.connectDatabase());
    QVERIFY(!dm.query().isActive());
    QVERIFY(dm.connection()->isOpen());
}

void DataAccessTest::accessFileInBaseFolderWins()
{
    ReferenceDatabase dm(m_base);
    QCOMPARE(dm.databaseFile(), m_db);
    const QString mdb = QDir(m_base).filePath(QStringLiteral("data.mdb"));
    writeFile(mdb, QByteArray("not really an Access file"));
    QCOMPARE(dm.databaseFile(), mdb);
    // It is the one opened, not the SQLite file beside it.
    const Result<> connected = dm.connectDatabase();
    QVERIFY2(!connected, "a file that is no database was opened");
    QVERIFY(!dm.connection() || !dm.connection()->isOpen());
    QVERIFY2(connected.message().contains(mdb), qPrintable(connected.message()));
}

void DataAccessTest::unusableDatabaseFile_data()
{
    QTest::addColumn<QString>("kind"); // "missing", "directory" or "file"
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("wording");

    QTest::newRow("missing") << "missing" << QByteArray() << "Не найден файл";
    QTest::newRow("directory") << "directory" << QByteArray() << "не файл";
    QTest::newRow("empty file") << "file" << QByteArray() << "не является";
    QTest::newRow("text file") << "file" << QByteArray("Din;Dout\n0.348;0.4\n") << "не является";
    QTest::newRow("sqlite header, garbage body")
        << "file" << QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\x5a') << "не является";
}

void DataAccessTest::unusableDatabaseFile()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, wording);

    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("other.db"));
    QFile::remove(path);
    QDir(path).removeRecursively();
    if (kind == QLatin1String("directory"))
        QVERIFY(QDir().mkpath(path));
    else if (kind == QLatin1String("file"))
        writeFile(path, content);

    ReferenceDatabase dm(m_base);
    dm.setDatabaseFile(path);
    const Result<> connected = dm.connectDatabase();
    QVERIFY2(!connected, "the connection opened");
    QVERIFY2(connected.message().contains(path), qPrintable(connected.message()));
    QVERIFY2(connected.message().contains(wording), qPrintable(connected.message()));
    QVERIFY(!dm.connection() || !dm.connection()->isOpen());
}

void DataAccessTest::readsRowsInStoredOrderByColumnName()
{
    QVERIFY(run(QStringLiteral("select * from Materials")));
    DbQuery &q = query();
    QCOMPARE(q.recordCount(), 4);
    q.first();
    QList<int> ids;
    while (!q.eof()) {
        ids << q.asInteger(QStringLiteral("TubeMaterialId")).valueOr(-1);
        q.next();
    }
    QCOMPARE(ids, (QList<int>{1, 5, 4, 7}));

    q.first();
    QCOMPARE(q.asText(QStringLiteral("Descr")).valueOr(QString()), QStringLiteral("Полиэтилен ПЭ 100"));
    QCOMPARE(q.asDouble(QStringLiteral("eo_mpa")).valueOr(qQNaN()),
             1150.0); // names without case, as the databases compare them
    QCOMPARE(q.asDouble(QStringLiteral("Mu")).valueOr(qQNaN()), 0.32);

    q.setSql(QStringLiteral("select * from TubesSt where TypeID=1"));
    QVERIFY(q.open());
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.asDouble(QStringLiteral("D")).valueOr(qQNaN()), 1.0);
}

void DataAccessTest::nullReadsAsZeroAndEmpty()
{
    QVERIFY(run(QStringLiteral("select * from Materials where TubeMaterialId = 7")));
    DbQuery &q = query();
    QCOMPARE(q.asText(QStringLiteral("Descr")).valueOr(QString()), QString());
    QCOMPARE(q.asDouble(QStringLiteral("Mu")).valueOr(qQNaN()), 0.0);
    QCOMPARE(q.asInteger(QStringLiteral("Mu")).valueOr(-1), 0);
    QVERIFY(q.value(QStringLiteral("Mu")).valueOr(QVariant(1)).isNull());
}

void DataAccessTest::columnErrors()
{
    QVERIFY(run(QStringLiteral("select * from Soiles")));
    DbQuery &q = query();
    const Result<double> missing = q.asDouble(QStringLiteral("Nope"));
    QVERIFY2(!missing, "a missing column was read");
    QVERIFY(missing.message().contains(QStringLiteral("Nope")));
    const Result<double> text = q.asDouble(QStringLiteral("Descr")); // "Песок мелкий" is no number
    QVERIFY2(!text, "a text was read as a number");
    QCOMPARE(text.message(), QStringLiteral("в столбце Descr не число: «Песок мелкий»"));
}

void DataAccessTest::missingTableIsQueryError()
{
    QVERIFY2(!run(QStringLiteral("select * from Pipes")), "a missing table was read");
    QVERIFY(m_database->connection()->isOpen()); // the statement's failure, not the file's
    QVERIFY(!m_database->query().isActive());
}

void DataAccessTest::neverWritesToDatabase()
{
    const QByteArray before = fileHash(m_db);
    {
        ReferenceDatabase dm(m_base);
        QVERIFY(dm.connectDatabase());
        DbQuery &q = dm.query();
        for (const char *statement : {"delete from Tubes", "create table X (a)", "update Soiles set Kk = 2"}) {
            q.setSql(QString::fromLatin1(statement));
            QVERIFY(!q.open());
        }
        q.setSql(QStringLiteral("select * from Tubes"));
        QVERIFY(q.open());
        QCOMPARE(q.recordCount(), 3);
    }
    QCOMPARE(fileHash(m_db), before);
    QCOMPARE(QDir(m_base).entryList(QDir::Files), QStringList{QStringLiteral("data.sqlite")});

    // A file the user may not write is read all the same.
    QFile::setPermissions(m_db, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QVERIFY(run(QStringLiteral("select * from Soiles")));
    QCOMPARE(query().recordCount(), 2);
    QFile::setPermissions(m_db, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void DataAccessTest::writeAheadLogDatabase_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("writable folder") << "Base" << false;
    QTest::newRow("name that a URI must escape") << "Base ?#%20 Ёж" << false;
    QTest::newRow("read-only folder") << "Base" << true;
}

// A database in write-ahead-log mode is read without the "-wal" and "-shm"
// files SQLite would otherwise make beside it, also where nothing can be
// written.
void DataAccessTest::writeAheadLogDatabase()
{
    QFETCH(QString, folderName);
    QFETCH(bool, readOnly);
    SmallFileSystem disk(1024);
    if (readOnly && !disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("No file system to make read-only: %1").arg(disk.whyNot())));
    const QString folder = (disk.isMounted() ? disk.path() : m_dir.path()) + QLatin1Char('/') + folderName;
    QVERIFY(QDir().mkpath(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("data.sqlite"));
    QVERIFY(SqliteFixture::create(file, SqliteFixture::referenceSql()));
    QVERIFY(SqliteFixture::useWriteAheadLog(file));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("data.sqlite")});
    if (readOnly)
        QVERIFY(disk.makeReadOnly());

    ReferenceDatabase dm(folder);
    QVERIFY(dm.connectDatabase());
    DbQuery &q = dm.query();
    q.setSql(QStringLiteral("select * from Soiles"));
    QVERIFY(q.open());
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("data.sqlite")});
}

Result<> DataAccessTest::run(const QString &sql)
{
    m_database = std::make_unique<ReferenceDatabase>(m_base);
    const Result<> connected = m_database->connectDatabase();
    if (!connected)
        return connected;
    DbQuery &q = m_database->query();
    q.setSql(sql);
    const Result<> opened = q.open();
    q.first();
    return opened;
}

QTEST_GUILESS_MAIN(DataAccessTest)
#include "tst_DataAccess.moc"

void DataAccessTest::databaseThatCannotBeReadWhole_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("damagedPages");
    QTest::addColumn<int>("seconds"); // the time limit
    QTest::addColumn<QString>("detail");

    QTest::newRow("a view of rows without end")
        << SqliteFixture::endlessRowsSql() << 0 << 30
        << "повреждена или слишком велика: строки запроса «select * from Soiles» не умещаются в 64 МБ памяти";
    QTest::newRow("a view that searches without end")
        << SqliteFixture::endlessSearchSql() << 0 << 1
        << "повреждена или слишком велика: запрос «select * from Soiles» не закончился за 1 с";
    QTest::newRow("a table whose pages were lost") << SqliteFixture::manySoilsSql() << 8 << 30 << "повреждена: ";
}

// Reading a database ends, within its limits, in the error of a damaged
// database that names the file; never in rows without end, and never in a
// table read as shorter or empty.
void DataAccessTest::databaseThatCannotBeReadWhole()
{
    QFETCH(QString, sql);
    QFETCH(int, damagedPages);
    QFETCH(int, seconds);
    QFETCH(QString, detail);

    const QString path = QDir(m_dir.path()).filePath(QStringLiteral("hostile.sqlite"));
    QVERIFY(SqliteFixture::create(path, sql));
    if (damagedPages > 0)
        QVERIFY(SqliteFixture::damageLastPages(path, damagedPages));
    SqliteConnection::Limits limits;
    limits.seconds = seconds;
    SqliteConnection::setLimits(limits);
    const auto restore = qScopeGuard([] { SqliteConnection::setLimits(SqliteConnection::Limits()); });

    ReferenceDatabase dm(m_base);
    dm.setDatabaseFile(path);
    Result<> read = dm.connectDatabase();
    if (read) {
        DbQuery &q = dm.query();
        q.setSql(QStringLiteral("select * from Soiles"));
        read = q.open();
        QVERIFY2(!read, qPrintable(QStringLiteral("read %1 rows").arg(q.recordCount())));
    }
    // The whole file's failure: no connection is left.
    QVERIFY(!dm.connection()->isOpen());
    QVERIFY2(read.message().startsWith(QStringLiteral("Справочная база данных %1 %2").arg(path, detail)),
             qPrintable(read.message()));

    // The next database reads as usual.
    QVERIFY(run(QStringLiteral("select * from Soiles")));
    QCOMPARE(query().recordCount(), 2);
}
