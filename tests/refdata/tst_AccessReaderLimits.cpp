// Access files are read in a reader process under limits: whatever the
// reader does (crash, hang, burn time, take memory, talk nonsense), the
// program gets the error of a damaged database and carries on.

#include "refdata/ReferenceDatabase.h"
#include "refdata/DbConnection.h"
#include "refdata/DbQuery.h"
#include "refdata/MdbConnection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString testData(const char *name)
{
    return QDir(qEnvironmentVariable("PIPECALC_TESTDATA", QStringLiteral(PIPECALC_TESTDATA_DIR)))
        .filePath(QString::fromLatin1(name));
}

// The first bytes of a Jet 4 file, enough for the reference database to take it
// for an Access database.
QByteArray accessHead()
{
    QByteArray head(64, '\0');
    head.replace(4, 15, "Standard Jet DB");
    return head;
}

} // namespace

class TestAccessReaderLimits : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void misbehavingReader_data();
    void misbehavingReader();
    void damagedFile_data();
    void damagedFile();

private:
    // Opens the file through the reference database and reads a table: the
    // failure, and whether it was the whole file's (it left no connection)
    // rather than the table's.
    struct ReadFailure
    {
        Result<> failure;
        bool ofFile = false;
    };
    ReadFailure readFails(const QString &file);

    QTemporaryDir m_dir;
};

void TestAccessReaderLimits::init()
{
    MdbConnection::setReaderProgram(QString());
    MdbConnection::setLimits(MdbConnection::Limits());
}

void TestAccessReaderLimits::cleanup()
{
    init();
}

TestAccessReaderLimits::ReadFailure TestAccessReaderLimits::readFails(const QString &file)
{
    ReferenceDatabase dm(m_dir.path());
    dm.setDatabaseFile(file);
    Result<> failure = dm.connectDatabase();
    if (failure) {
        DbQuery &q = dm.query();
        q.setSql(QStringLiteral("select * from Tubes"));
        failure = q.open();
    }
    return {failure, !dm.connection() || !dm.connection()->isOpen()};
}

void TestAccessReaderLimits::misbehavingReader_data()
{
    QTest::addColumn<QByteArray>("script"); // the reader, a shell script; empty: no such program
    QTest::addColumn<QString>("detail");

    QTest::newRow("no reader") << QByteArray() << QStringLiteral("не запускается программа чтения");
    QTest::newRow("ends at once") << QByteArray("exit 0") << QStringLiteral("программа чтения завершилась, не ответив");
    QTest::newRow("crashes") << QByteArray("kill -SEGV $$")
                             << QStringLiteral("чтение прервано: файл испорчен или ему не хватило памяти");
    // Waited for as long as the message says, not twice as long.
    QTest::newRow("never answers") << QByteArray("exec sleep 60") << QStringLiteral("чтение не закончилось за 2 с");
    QTest::newRow("burns processor time")
        << QByteArray("while :; do :; done") << QStringLiteral("чтение заняло больше 1 с времени процессора");
    QTest::newRow("talks nonsense") << QByteArray("printf '\\0\\0\\0\\5hello'; exec sleep 60")
                                    << QStringLiteral("ответ программы чтения не распознан");
    QTest::newRow("announces a huge answer") << QByteArray("printf '\\177\\377\\377\\377'; exec sleep 60")
                                             << QStringLiteral("ответ программы чтения слишком велик");
}

void TestAccessReaderLimits::misbehavingReader()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, detail);

    const QString reader = m_dir.filePath(QStringLiteral("reader.sh"));
    QFile::remove(reader);
    if (!script.isEmpty()) {
        QFile file(reader);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script + "\n");
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    MdbConnection::setReaderProgram(reader);
    MdbConnection::Limits limits;
    limits.wallSeconds = 1;
    limits.processorSeconds = 1;
    limits.memoryBytes = qint64(64) * 1024 * 1024;
    if (QTest::currentDataTag() == QLatin1String("burns processor time"))
        limits.wallSeconds = 30; // the processor limit comes first
    if (QTest::currentDataTag() == QLatin1String("never answers"))
        limits.wallSeconds = 2;
    MdbConnection::setLimits(limits);

    const QString database = m_dir.filePath(QStringLiteral("data.mdb"));
    QFile file(database);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(accessHead());
    file.close();

    QElapsedTimer waited;
    waited.start();
    const ReadFailure read = readFails(database);
    QVERIFY(!read.failure);
    QVERIFY(read.ofFile);
    QVERIFY2(read.failure.message().contains(database), qPrintable(read.failure.message()));
    QVERIFY2(read.failure.message().contains(detail), qPrintable(read.failure.message()));
    // No wait lasts beyond the wall-clock limit, with a second to spare for
    // a busy machine.
    QVERIFY2(waited.elapsed() < (limits.wallSeconds + 1) * 1000, qPrintable(QString::number(waited.elapsed())));
}

void TestAccessReaderLimits::damagedFile_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("keep");      // bytes kept of the source
    QTest::addColumn<QString>("table"); // a table of the sound file

    // Cut where libmdb, reading the list of tables, takes memory without end.
    QTest::newRow("Jet 3 cut in its catalogue") << "nwind.mdb" << 1507225 << "Categories";
    QTest::newRow("Jet 4 cut in its catalogue") << "datetest.mdb" << 148937 << "DateTest";
}

void TestAccessReaderLimits::damagedFile()
{
    QFETCH(QString, source);
    QFETCH(int, keep);
    QFETCH(QString, table);
    QFile original(testData(source.toLatin1().constData()));
    if (!original.open(QIODevice::ReadOnly))
        QSKIP(qPrintable(QStringLiteral("The public Access file %1 is not there; set PIPECALC_TESTDATA to its folder")
                             .arg(original.fileName())));
    const QString damaged = m_dir.filePath(QStringLiteral("damaged.mdb"));
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(original.read(keep));
    file.close();

    // The memory limit, lower than the usual one, ends the reading well
    // before the time limit could on a busy machine.
    MdbConnection::Limits limits;
    limits.memoryBytes = qint64(64) * 1024 * 1024;
    limits.wallSeconds = 60;
    MdbConnection::setLimits(limits);
    const ReadFailure read = readFails(damaged);
    QVERIFY(!read.failure);
    QVERIFY(read.ofFile);
    QCOMPARE(read.failure.message(),
             QStringLiteral("Справочная база данных Microsoft Access %1 повреждена: чтение прервано: "
                            "файл испорчен или ему не хватило памяти")
                 .arg(damaged));

    // The next reading of a sound file goes on as usual.
    ReferenceDatabase dm(m_dir.path());
    dm.setDatabaseFile(original.fileName());
    QVERIFY(dm.connectDatabase());
    const Result<DbResult> rows = dm.connection()->execute(QStringLiteral("select * from ") + table);
    QVERIFY2(rows, qPrintable(rows.message()));
    QVERIFY(!rows->rows.isEmpty());
}

QTEST_GUILESS_MAIN(TestAccessReaderLimits)
#include "tst_AccessReaderLimits.moc"
