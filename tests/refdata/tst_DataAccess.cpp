// The data-access layer on SQLite: connection string, the data module's
// choice of file and backend, the query with its NULLs, and the
// promise never to write to the database.

#include "SmallFileSystem.h"
#include "SqliteFixture.h"

#include "refdata/ConnectionString.h"
#include "refdata/ReferenceDatabase.h"
#include "refdata/DatabaseError.h"
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
    // A statement run on a fresh connection to the fixture.
    DbQuery &run(const QString &sql);

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
    dm.connectDatabase();
    QVERIFY(dm.connection()->isOpen());
    QCOMPARE(dm.connectionString(),
             QStringLiteral("Provider=SQLite;Data Source=%1;Mode=ReadWrite;Persist Security Info=False;")
                 .arg(QDir::toNativeSeparators(m_db)));
    QCOMPARE(dm.connection()->fileName(), m_db);

    // Every access connects anew; the query is closed by it.
    dm.query().setSql(QStringLiteral("select * from Tubes"));
    dm.query().open();
    dm.connectDatabase();
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
    try {
        dm.connectDatabase();
        QFAIL("a file that is no database was opened");
    } catch (const DatabaseError &error) {
        QCOMPARE(error.kind(), DatabaseError::Kind::Connection);
        QVERIFY2(error.message().contains(mdb), qPrintable(error.message()));
    }
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
    try {
        dm.connectDatabase();
        QFAIL("the connection opened");
    } catch (const DatabaseError &error) {
        QCOMPARE(error.kind(), DatabaseError::Kind::Connection);
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
        QVERIFY2(error.message().contains(wording), qPrintable(error.message()));
    }
    QVERIFY(!dm.connection() || !dm.connection()->isOpen());
}

void DataAccessTest::readsRowsInStoredOrderByColumnName()
{
    DbQuery &q = run(QStringLiteral("select * from Materials"));
    QCOMPARE(q.recordCount(), 4);
    q.first();
    QList<int> ids;
    while (!q.eof()) {
        ids << q.asInteger(QStringLiteral("TubeMaterialId"));
        q.next();
    }
    QCOMPARE(ids, (QList<int>{1, 5, 4, 7}));

    q.first();
    QCOMPARE(q.asText(QStringLiteral("Descr")), QStringLiteral("Полиэтилен ПЭ 100"));
    QCOMPARE(q.asDouble(QStringLiteral("eo_mpa")), 1150.0); // names without case, as the databases compare them
    QCOMPARE(q.asDouble(QStringLiteral("Mu")), 0.32);

    q.setSql(QStringLiteral("select * from TubesSt where TypeID=1"));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.asDouble(QStringLiteral("D")), 1.0);
}

void DataAccessTest::nullReadsAsZeroAndEmpty()
{
    DbQuery &q = run(QStringLiteral("select * from Materials where TubeMaterialId = 7"));
    QCOMPARE(q.asText(QStringLiteral("Descr")), QString());
    QCOMPARE(q.asDouble(QStringLiteral("Mu")), 0.0);
    QCOMPARE(q.asInteger(QStringLiteral("Mu")), 0);
    QVERIFY(q.value(QStringLiteral("Mu")).isNull());
}

void DataAccessTest::columnErrors()
{
    DbQuery &q = run(QStringLiteral("select * from Soiles"));
    try {
        q.asDouble(QStringLiteral("Nope"));
        QFAIL("a missing column was read");
    } catch (const DatabaseError &error) {
        QCOMPARE(error.kind(), DatabaseError::Kind::Column);
        QVERIFY(error.message().contains(QStringLiteral("Nope")));
    }
    try {
        q.asDouble(QStringLiteral("Descr")); // "Песок мелкий" is no number
        QFAIL("a text was read as a number");
    } catch (const DatabaseError &error) {
        QCOMPARE(error.kind(), DatabaseError::Kind::Column);
    }
}

void DataAccessTest::missingTableIsQueryError()
{
    try {
        run(QStringLiteral("select * from Pipes"));
        QFAIL("a missing table was read");
    } catch (const DatabaseError &error) {
        QCOMPARE(error.kind(), DatabaseError::Kind::Query);
    }
    QVERIFY(!m_database->query().isActive());
}

void DataAccessTest::neverWritesToDatabase()
{
    const QByteArray before = fileHash(m_db);
    {
        ReferenceDatabase dm(m_base);
        dm.connectDatabase();
        DbQuery &q = dm.query();
        for (const char *statement : {"delete from Tubes", "create table X (a)", "update Soiles set Kk = 2"}) {
            q.setSql(QString::fromLatin1(statement));
            QVERIFY_THROWS_EXCEPTION(DatabaseError, q.open());
        }
        q.setSql(QStringLiteral("select * from Tubes"));
        q.open();
        QCOMPARE(q.recordCount(), 3);
    }
    QCOMPARE(fileHash(m_db), before);
    QCOMPARE(QDir(m_base).entryList(QDir::Files), QStringList{QStringLiteral("data.sqlite")});

    // A file the user may not write is read all the same.
    QFile::setPermissions(m_db, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QCOMPARE(run(QStringLiteral("select * from Soiles")).recordCount(), 2);
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
    dm.connectDatabase();
    DbQuery &q = dm.query();
    q.setSql(QStringLiteral("select * from Soiles"));
    q.open();
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("data.sqlite")});
}

DbQuery &DataAccessTest::run(const QString &sql)
{
    m_database = std::make_unique<ReferenceDatabase>(m_base);
    m_database->connectDatabase();
    DbQuery &q = m_database->query();
    q.setSql(sql);
    q.open();
    q.first();
    return q;
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
    try {
        dm.connectDatabase();
        DbQuery &q = dm.query();
        q.setSql(QStringLiteral("select * from Soiles"));
        q.open();
        QFAIL(qPrintable(QStringLiteral("read %1 rows").arg(q.recordCount())));
    } catch (const DatabaseError &error) {
        QCOMPARE(error.kind(), DatabaseError::Kind::Connection);
        QVERIFY2(error.message().startsWith(QStringLiteral("Справочная база данных %1 %2").arg(path, detail)),
                 qPrintable(error.message()));
    }

    // The next database reads as usual.
    QCOMPARE(run(QStringLiteral("select * from Soiles")).recordCount(), 2);
}
