// Times reading the reference database: an Access file through the reader
// process (one process for each opening), the shipped SQLite database for
// comparison, and how soon a damaged Access file ends in its error.
// Run: build/bin/bench_refdata  (the Access items need the public test files;
// PIPECALC_TESTDATA names their folder)
#include "refdata/ReferenceDatabase.h"
#include "refdata/DbConnection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString testData(const char *name)
{
    return QDir(qEnvironmentVariable("PIPECALC_TESTDATA", QStringLiteral(PIPECALC_TESTDATA_DIR)))
        .filePath(QString::fromLatin1(name));
}

} // namespace

class BenchRefdata : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shippedDatabase()
    {
        ReferenceDatabase dm;
        QBENCHMARK
        {
            QVERIFY(dm.connectDatabase());
            QVERIFY(!dm.connection()->execute(QStringLiteral("select * from Materials")).valueOr({}).rows.isEmpty());
        }
    }

    void accessFile_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("Categories (8 rows)") << "Categories";
        QTest::newRow("Orders (830 rows)") << "Orders";
    }

    void accessFile()
    {
        QFETCH(QString, table);
        if (!QFile::exists(testData("nwind.mdb")))
            QSKIP("nwind.mdb is not in the test data folder");
        ReferenceDatabase dm;
        dm.setDatabaseFile(testData("nwind.mdb"));
        QBENCHMARK
        {
            QVERIFY(dm.connectDatabase());
            QVERIFY(!dm.connection()->execute(QStringLiteral("select * from ") + table).valueOr({}).rows.isEmpty());
        }
    }

    void damagedAccessFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("keep");
        QTest::newRow("nwind.mdb cut") << "nwind.mdb" << 1507225;
        QTest::newRow("datetest.mdb cut") << "datetest.mdb" << 148937;
    }

    void damagedAccessFile()
    {
        QFETCH(QString, source);
        QFETCH(int, keep);
        QFile original(testData(source.toLatin1().constData()));
        if (!original.open(QIODevice::ReadOnly))
            QSKIP("the Access file is not in the test data folder");
        QTemporaryDir dir;
        const QString damaged = dir.filePath(QStringLiteral("damaged.mdb"));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(original.read(keep));
        file.close();
        ReferenceDatabase dm;
        dm.setDatabaseFile(damaged);
        QBENCHMARK_ONCE
        {
            QVERIFY(!dm.connectDatabase());
        }
    }
};

QTEST_GUILESS_MAIN(BenchRefdata)
#include "bench_refdata.moc"
