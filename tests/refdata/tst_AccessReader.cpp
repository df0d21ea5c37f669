// The Microsoft Access backend against the public Jet 3 and Jet 4 files of
// the test data folder (skipped when that folder is absent).

#include "refdata/ReferenceDatabase.h"
#include "refdata/DbConnection.h"
#include "refdata/DbQuery.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class AccessReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void readsColumnsByName_data();
    void readsColumnsByName();
    void rowsInStoredOrder();
    void nonAsciiTableAndTexts();
    void nullReadsAsZeroAndEmpty();
    void whereClause();
    void conditionOnMissingColumnFails();
    void missingTableIsQueryError();
    void fileIsNotChanged();
    void damagedFileIsConnectionError_data();
    void damagedFileIsConnectionError();
    void tableWithLostPages_data();
    void tableWithLostPages();

private:
    QString file(const char *name) const { return QDir(m_dir).filePath(QString::fromLatin1(name)); }
    // Runs a statement on a fresh connection to the test file named (to the
    // file set last when none is named), standing on its first row in
    // query(): the failure of the connection or of the statement.
    Result<> open(const char *database, const QString &sql);
    DbQuery &query() { return m_database.query(); }

    QString m_dir;
    ReferenceDatabase m_database{QDir::tempPath()};
};

void AccessReaderTest::initTestCase()
{
    m_dir = qEnvironmentVariable("PIPECALC_TESTDATA", QStringLiteral(PIPECALC_TESTDATA_DIR));
    if (!QFile::exists(file("nwind.mdb")) || !QFile::exists(file("datetest.mdb")))
        QSKIP(qPrintable(QStringLiteral("The Access test files (nwind.mdb, datetest.mdb) are not in %1; set "
                                        "PIPECALC_TESTDATA to their folder to run these tests")
                             .arg(m_dir)));
}

Result<> AccessReaderTest::open(const char *database, const QString &sql)
{
    if (database)
        m_database.setDatabaseFile(file(database));
    const Result<> connected = m_database.connectDatabase();
    if (!connected)
        return connected;
    DbQuery &q = m_database.query();
    q.setSql(sql);
    const Result<> opened = q.open();
    q.first();
    return opened;
}

void AccessReaderTest::readsColumnsByName_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("textColumn");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("numberColumn");
    QTest::addColumn<double>("number");

    QTest::newRow("Jet 3, long and text") << "nwind.mdb"
                                          << "select * from Categories where CategoryID=3"
                                          << "CategoryName"
                                          << "Confections"
                                          << "CategoryID" << 3.0;
    QTest::newRow("Jet 3, currency") << "nwind.mdb"
                                     << "select * from Products where ProductID=1"
                                     << "ProductName"
                                     << "Chai"
                                     << "UnitPrice" << 18.0;
    QTest::newRow("Jet 3, integer") << "nwind.mdb"
                                    << "select * from Products where ProductID=1"
                                    << "QuantityPerUnit"
                                    << "10 boxes x 20 bags"
                                    << "UnitsInStock" << 39.0;
    QTest::newRow("Jet 3, single") << "nwind.mdb"
                                   << "select * from [Order Details] where Discount > 0.1"
                                   << "OrderID"
                                   << "10250"
                                   << "Discount" << 0.15;
    QTest::newRow("Jet 4, memo") << "datetest.mdb"
                                 << "select * from DateTest where IDCol=1"
                                 << "LongTextCol"
                                 << "Hello"
                                 << "IDCol" << 1.0;
}

void AccessReaderTest::readsColumnsByName()
{
    QFETCH(QString, database);
    QFETCH(QString, sql);
    QFETCH(QString, textColumn);
    QFETCH(QString, text);
    QFETCH(QString, numberColumn);
    QFETCH(double, number);

    QVERIFY(open(database.toLatin1().constData(), sql));
    DbQuery &q = query();
    QVERIFY(m_database.connectionString().startsWith(QStringLiteral("Provider=mdbtools;Data Source=")));
    QVERIFY(q.recordCount() >= 1);
    QCOMPARE(q.asText(textColumn).valueOr(QString()), text);
    QVERIFY2(qAbs(q.asDouble(numberColumn).valueOr(qQNaN()) - number) < 1e-6,
             qPrintable(QString::number(q.asDouble(numberColumn).valueOr(qQNaN()))));
    QCOMPARE(q.asInteger(numberColumn).valueOr(-1), qRound(number));
}

void AccessReaderTest::rowsInStoredOrder()
{
    QVERIFY(open("nwind.mdb", QStringLiteral("select * from Categories")));
    DbQuery &q = query();
    QCOMPARE(q.recordCount(), 8);
    QStringList names;
    for (; !q.eof(); q.next())
        names << q.asText(QStringLiteral("CategoryName")).valueOr(QString());
    QCOMPARE(names.first(), QStringLiteral("Beverages"));
    QCOMPARE(names.last(), QStringLiteral("Seafood"));
    QVERIFY(!q.asInteger(QStringLiteral("CategoryID"))); // past the last row
}

void AccessReaderTest::nonAsciiTableAndTexts()
{
    QVERIFY(open("nwind.mdb", QStringLiteral("select * from Umsätze where OrderID=10332")));
    DbQuery &q = query();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.asText(QStringLiteral("ShipName")).valueOr(QString()), QStringLiteral("Mère Paillarde"));
    QCOMPARE(q.asText(QStringLiteral("ShipCity")).valueOr(QString()), QStringLiteral("Montréal"));
    QCOMPARE(q.asText(QStringLiteral("ShipRegion")).valueOr(QString()), QStringLiteral("Québec"));
    QCOMPARE(q.asDouble(QStringLiteral("Freight")).valueOr(qQNaN()), 52.84);
}

void AccessReaderTest::nullReadsAsZeroAndEmpty()
{
    // Order 10331 has no ship region; product 5 has no units in stock (0).
    QVERIFY(open("nwind.mdb", QStringLiteral("select * from Umsätze where OrderID=10331")));
    DbQuery &q = query();
    QCOMPARE(q.asText(QStringLiteral("ShipRegion")).valueOr(QString()), QString());
    QCOMPARE(q.asDouble(QStringLiteral("ShipRegion")).valueOr(qQNaN()), 0.0);
}

void AccessReaderTest::whereClause()
{
    QVERIFY(open("nwind.mdb", QStringLiteral("select * from Products")));
    DbQuery &q = query();
    const int all = q.recordCount();
    QVERIFY(all > 10);
    QStringList names;
    for (; !q.eof(); q.next()) {
        if (q.asInteger(QStringLiteral("CategoryID")).valueOr(-1) == 3)
            names << q.asText(QStringLiteral("ProductName")).valueOr(QString());
    }
    const int filtered = int(names.size());
    QVERIFY(filtered > 0 && filtered < all);
    QCOMPARE(names.first(), QStringLiteral("Pavlova"));

    // The same rows through the statement.
    QVERIFY(open("nwind.mdb", QStringLiteral("select * from Products where CategoryID=3")));
    DbQuery &w = query();
    QCOMPARE(w.recordCount(), filtered);
    QCOMPARE(w.asText(QStringLiteral("ProductName")).valueOr(QString()), names.first());
}

void AccessReaderTest::conditionOnMissingColumnFails()
{
    // libmdbsql by itself would ignore the condition and return every row.
    const Result<> opened = open("nwind.mdb", QStringLiteral("select * from Products where TypeID=1"));
    QVERIFY2(!opened, "a condition on a missing column was ignored");
    QVERIFY(m_database.connection()->isOpen()); // the statement's failure, not the file's
    QVERIFY2(opened.message().contains(QStringLiteral("TypeID")), qPrintable(opened.message()));
}

void AccessReaderTest::missingTableIsQueryError()
{
    for (const char *table : {"Tubes", "TubesSt", "Materials", "Soiles"}) {
        QVERIFY2(!open("nwind.mdb", QStringLiteral("select * from ") + QLatin1String(table)),
                 "a missing table was read");
        QVERIFY(m_database.connection()->isOpen());
    }
}

void AccessReaderTest::fileIsNotChanged()
{
    auto hash = [this] {
        QFile f(file("nwind.mdb"));
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                           : QByteArray();
    };
    const QByteArray before = hash();
    QVERIFY(open("nwind.mdb", QStringLiteral("select * from Orders")));
    m_database.connection()->close();
    QCOMPARE(hash(), before);
}

void AccessReaderTest::damagedFileIsConnectionError_data()
{
    QTest::addColumn<int>("keep"); // bytes of nwind.mdb kept, then zeros
    QTest::newRow("header only") << 32;
    QTest::newRow("cut after two pages") << 8192;
}

void AccessReaderTest::damagedFileIsConnectionError()
{
    QFETCH(int, keep);
    QFile source(file("nwind.mdb"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("damaged.mdb"));
    QFile target(damaged);
    QVERIFY(target.open(QIODevice::WriteOnly));
    target.write(source.read(keep) + QByteArray(2048, '\0'));
    target.close();

    m_database.setDatabaseFile(damaged);
    const Result<> connected = m_database.connectDatabase();
    QVERIFY2(!connected, "a damaged file was opened");
    QVERIFY(!m_database.connection() || !m_database.connection()->isOpen());
    QVERIFY2(connected.message().contains(damaged), qPrintable(connected.message()));
}

void AccessReaderTest::tableWithLostPages_data()
{
    QTest::addColumn<int>("page"); // the 2048-byte page of nwind.mdb overwritten with zeros
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("detail");
    QTest::newRow("the only data page") << 24 << "Categories"
                                        << "в таблице Categories читается строк: 0 из 8";
    QTest::newRow("one data page of several") << 79 << "Customers"
                                              << "в таблице Customers читается строк: 76 из 91";
    QTest::newRow("the definition") << 23 << "Categories"
                                    << "описание таблицы Categories не читается";
}

// libmdb stops at a page it cannot read as if the table ended there: a
// table that lost pages is a damaged file, never a shorter or empty table.
// The other tables read as before.
void AccessReaderTest::tableWithLostPages()
{
    QFETCH(int, page);
    QFETCH(QString, table);
    QFETCH(QString, detail);
    QFile source(file("nwind.mdb"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray bytes = source.readAll();
    bytes.replace(page * 2048, 2048, QByteArray(2048, '\0'));
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("damaged.mdb"));
    QFile target(damaged);
    QVERIFY(target.open(QIODevice::WriteOnly));
    target.write(bytes);
    target.close();

    m_database.setDatabaseFile(damaged);
    const Result<> opened = open(nullptr, QStringLiteral("select * from ") + table);
    QVERIFY2(!opened, qPrintable(QStringLiteral("%1 rows read").arg(m_database.query().recordCount())));
    QVERIFY(!m_database.connection()->isOpen()); // the file's failure, not the table's
    QCOMPARE(opened.message(),
             QStringLiteral("Справочная база данных Microsoft Access %1 повреждена: %2").arg(damaged, detail));
    QVERIFY(open(nullptr, QStringLiteral("select * from Products")));
    QCOMPARE(query().recordCount(), 77);
}

QTEST_GUILESS_MAIN(AccessReaderTest)
#include "tst_AccessReader.moc"
