// "pipecalc-cli db" and the reference options of "pipecalc-cli calc", run as
// the user runs them.

#include "SqliteFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList &args)
{
    QProcess cli;
    cli.start(QStringLiteral(PIPECALC_CLI), args);
    Run run;
    if (!cli.waitForFinished() || cli.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = cli.exitCode();
    run.out = QString::fromUtf8(cli.readAllStandardOutput());
    run.err = QString::fromUtf8(cli.readAllStandardError());
    return run;
}

QJsonDocument json(const Run &run)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", qPrintable(run.out));
    return doc;
}

// The variables of a "calc --json" run by key.
QJsonObject variables(const Run &run)
{
    QJsonObject byKey;
    for (const QJsonValue &v : json(run).object().value(QStringLiteral("variables")).toArray())
        byKey.insert(v.toObject().value(QStringLiteral("key")).toString(), v.toObject().value(QStringLiteral("value")));
    return byKey;
}

} // namespace

class ReferenceCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void listsShippedDatabase();
    void jsonRowsOfEachGrid_data();
    void jsonRowsOfEachGrid();
    void databaseFailures_data();
    void databaseFailures();
    void accessFileWithoutTheTables();
    void damagedAccessFile_data();
    void damagedAccessFile();
    void dbUsageErrors_data();
    void dbUsageErrors();

    void defaultRowsGiveDefaultStaticResult();
    void picksApplyBeforeSet();
    void fiberglassTubeCountsInItsOwnGrid();
    void pickUsageErrors_data();
    void pickUsageErrors();
    void projectWithADatabaseThatCannotBeRead_data();
    void projectWithADatabaseThatCannotBeRead();

private:
    QTemporaryDir m_dir;
    QString m_fixture;
};

void ReferenceCommandsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_fixture = m_dir.filePath(QStringLiteral("fixture.sqlite"));
    QVERIFY(SqliteFixture::create(m_fixture, SqliteFixture::referenceSql()));
    QVERIFY(SqliteFixture::create(m_dir.filePath(QStringLiteral("nosoils.sqlite")),
                                  SqliteFixture::referenceSql() + QStringLiteral("DROP TABLE Soiles;")));
}

void ReferenceCommandsTest::listsShippedDatabase()
{
    const Run run = runCli({QStringLiteral("db"), QStringLiteral("materials")});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 6);
    QCOMPARE(lines.first().simplified(), QStringLiteral("Материал Eo, МПа Etau, МПа Mu Sigmao, МПа"));
    QCOMPARE(lines.at(1).simplified(), QStringLiteral("Полиэтилен ПЭ 100 1150 280 0,32 20"));

    const Run tubes = runCli(
        {QStringLiteral("db"), QStringLiteral("tubes"), QStringLiteral("--decimal-separator"), QStringLiteral(".")});
    QCOMPARE(tubes.exitCode, 0);
    QVERIFY2(tubes.out.contains(QStringLiteral("0.4  ")), qPrintable(tubes.out));
}

void ReferenceCommandsTest::jsonRowsOfEachGrid_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("firstValue");

    QTest::newRow("tubes") << QStringList{"tubes"} << 3 << "Dout" << QVariant(0.4);
    QTest::newRow("fiberglass, no material") << QStringList{"fiberglass-tubes"} << 2 << "D" << QVariant(0.5);
    QTest::newRow("fiberglass, material 5")
        << QStringList{"fiberglass-tubes", "--material", "5"} << 1 << "D" << QVariant(1.0);
    QTest::newRow("materials") << QStringList{"materials"} << 4 << "Descr" << QVariant("Полиэтилен ПЭ 100");
    QTest::newRow("soils") << QStringList{"soils"} << 2 << "SoilId" << QVariant(4);
}

void ReferenceCommandsTest::jsonRowsOfEachGrid()
{
    QFETCH(QStringList, args);
    QFETCH(int, rows);
    QFETCH(QString, key);
    QFETCH(QVariant, firstValue);

    const Run run = runCli(QStringList{QStringLiteral("db")} + args
                           + QStringList{QStringLiteral("--database"), m_fixture, QStringLiteral("--json")});
    QCOMPARE(run.exitCode, 0);
    const QJsonArray array = json(run).array();
    QCOMPARE(array.size(), rows);
    QCOMPARE(array.first().toObject().value(key).toVariant(), firstValue);
}

void ReferenceCommandsTest::databaseFailures_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing file") << "missing.sqlite"
                                  << "tubes"
                                  << "Не найден файл справочной базы данных: %1.";
    QTest::newRow("no database") << "fixture.txt"
                                 << "materials"
                                 << "%1 не является";
    QTest::newRow("missing table") << "nosoils.sqlite"
                                   << "soils"
                                   << "Не могу открыть таблицу: Soiles\n";
}

void ReferenceCommandsTest::databaseFailures()
{
    QFETCH(QString, database);
    QFETCH(QString, grid);
    QFETCH(QString, message);

    const QString path = m_dir.filePath(database);
    if (database.endsWith(QLatin1String(".txt"))) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Din Dout\n");
    }
    const Run run = runCli({QStringLiteral("db"), grid, QStringLiteral("--database"), path});
    QCOMPARE(run.exitCode, 6);
    if (message.contains(QLatin1String("%1")))
        message = message.arg(path);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.out, QString());
}

void ReferenceCommandsTest::accessFileWithoutTheTables()
{
    const QString nwind =
        QDir(qEnvironmentVariable("PIPECALC_TESTDATA", QStringLiteral(PIPECALC_TESTDATA_DIR))).filePath("nwind.mdb");
    if (!QFile::exists(nwind))
        QSKIP(qPrintable(
            QStringLiteral("%1 is missing; set PIPECALC_TESTDATA to the folder of the Access test files").arg(nwind)));
    const Run run = runCli({QStringLiteral("db"), QStringLiteral("tubes"), QStringLiteral("--database"), nwind});
    QCOMPARE(run.exitCode, 6);
    QCOMPARE(run.err, QStringLiteral("pipecalc-cli: Не могу открыть таблицу: Tubes\n"));
}

void ReferenceCommandsTest::damagedAccessFile_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::newRow("db") << QStringList{"db", "soils"};
    QTest::newRow("calc") << QStringList{"calc", "static", "--material", "1"};
    QTest::newRow("report") << QStringList{"report", "static", "--soil", "2", "-o", "report.rtf"};
}

// A truncated Access file on which libmdb would take memory without end:
// the tool ends with the database's message.
void ReferenceCommandsTest::damagedAccessFile()
{
    QFETCH(QStringList, command);
    QFile source(QDir(qEnvironmentVariable("PIPECALC_TESTDATA", QStringLiteral(PIPECALC_TESTDATA_DIR)))
                     .filePath("datetest.mdb"));
    if (!source.open(QIODevice::ReadOnly))
        QSKIP(qPrintable(QStringLiteral("%1 is missing; set PIPECALC_TESTDATA to the folder of the Access test files")
                             .arg(source.fileName())));
    const QString damaged = m_dir.filePath(QStringLiteral("damaged.mdb"));
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(source.read(148937));
    file.close();

    command.replaceInStrings(QStringLiteral("report.rtf"), m_dir.filePath(QStringLiteral("report.rtf")));
    const Run run = runCli(command << QStringLiteral("--database") << damaged);
    QCOMPARE(run.exitCode, 6);
    QCOMPARE(run.err, QStringLiteral("pipecalc-cli: Справочная база данных Microsoft Access %1 повреждена: "
                                     "чтение прервано: файл испорчен или ему не хватило памяти.\n")
                          .arg(damaged));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("report.rtf"))));
}

void ReferenceCommandsTest::dbUsageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no grid") << QStringList{"db"};
    QTest::newRow("unknown grid") << QStringList{"db", "pipes"};
    QTest::newRow("material not a number") << QStringList{"db", "fiberglass-tubes", "--material", "SN5000"};
    QTest::newRow("empty database") << QStringList{"db", "tubes", "--database", ""};
    QTest::newRow("extra argument") << QStringList{"db", "tubes", "soils"};
}

void ReferenceCommandsTest::dbUsageErrors()
{
    QFETCH(QStringList, args);
    const Run run = runCli(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains(QStringLiteral("pipecalc-cli --help")));
}

void ReferenceCommandsTest::defaultRowsGiveDefaultStaticResult()
{
    const Run defaults = runCli({QStringLiteral("calc"), QStringLiteral("static"), QStringLiteral("--json")});
    const Run picked = runCli({QStringLiteral("calc"), QStringLiteral("static"), QStringLiteral("--tube"),
                               QStringLiteral("7"), QStringLiteral("--material"), QStringLiteral("1"),
                               QStringLiteral("--soil"), QStringLiteral("4"), QStringLiteral("--json")});
    QCOMPARE(defaults.exitCode, 0);
    QCOMPARE(picked.exitCode, 0);
    const QJsonObject a = variables(defaults);
    const QJsonObject b = variables(picked);
    const QStringList keys{"Din",    "Dout",  "s",   "Lv",     "Lsh",  "Eo",  "Etau",  "Mu",
                           "Sigmao", "Gamma", "Egr", "S_cond", "qust", "qgr", "qvntr", "Psi"};
    for (const QString &key : keys)
        QVERIFY2(a.value(key) == b.value(key), qPrintable(key));
    QCOMPARE(json(picked).object().value(QStringLiteral("outcome")).toString(), QStringLiteral("completed"));
}

void ReferenceCommandsTest::picksApplyBeforeSet()
{
    const Run run =
        runCli({QStringLiteral("calc"), QStringLiteral("static"), QStringLiteral("--database"), m_fixture,
                QStringLiteral("--tube"), QStringLiteral("2"), QStringLiteral("--soil"), QStringLiteral("2"),
                QStringLiteral("--set"), QStringLiteral("Din=0.15"), QStringLiteral("--json")});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject v = variables(run);
    QCOMPARE(v.value(QStringLiteral("Din")).toDouble(), 0.15);   // --set wins
    QCOMPARE(v.value(QStringLiteral("Dout")).toDouble(), 0.16);  // from the tube
    QCOMPARE(v.value(QStringLiteral("Gamma")).toDouble(), 20.0); // from the soil
    QCOMPARE(v.value(QStringLiteral("Kk")).toDouble(), 0.0);     // NULL in the database
}

void ReferenceCommandsTest::fiberglassTubeCountsInItsOwnGrid()
{
    const Run run = runCli({QStringLiteral("calc"), QStringLiteral("fiberglass"), QStringLiteral("--database"),
                            m_fixture, QStringLiteral("--material"), QStringLiteral("4"), QStringLiteral("--tube"),
                            QStringLiteral("2"), QStringLiteral("--json")});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject v = variables(run);
    QCOMPARE(v.value(QStringLiteral("DSt")).toDouble(), 0.3); // second row of TypeID 0
    QCOMPARE(v.value(QStringLiteral("Din")).toDouble(), 0.3);
    QCOMPARE(v.value(QStringLiteral("Dout")).toDouble(), 0.0);
    QCOMPARE(v.value(QStringLiteral("Et")).toDouble(), 19000.0);
    QCOMPARE(v.value(QStringLiteral("Sigmat")).toDouble(), 450.0);
}

void ReferenceCommandsTest::pickUsageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("tube 0") << QStringList{"--tube", "0"} << 2 << "нет строки 0";
    QTest::newRow("tube past the grid") << QStringList{"--tube", "4"} << 2 << "строк в таблице: 3";
    QTest::newRow("fiberglass tube past its grid")
        << QStringList{"--material", "5", "--tube", "2"} << 2 << "стеклопластиковых труб нет строки 2";
    QTest::newRow("unknown material") << QStringList{"--material", "9"} << 2 << "нет материала с кодом 9";
    QTest::newRow("unknown soil") << QStringList{"--soil", "-1"} << 2 << "нет грунта с кодом -1";
    QTest::newRow("tube not a number") << QStringList{"--tube", "7a"} << 2 << "--tube";
    QTest::newRow("unreadable soils") << QStringList{"--soil", "4", "--database", "nosoils.sqlite"} << 6
                                      << "Не могу открыть таблицу: Soiles";
    QTest::newRow("missing database") << QStringList{"--tube", "1", "--database", "missing.sqlite"} << 6
                                      << "Не найден файл";
}

void ReferenceCommandsTest::pickUsageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    // A fiberglass material goes with the fiberglass calculation.
    const int material = args.indexOf(QStringLiteral("--material"));
    const bool fiberglass =
        material >= 0
        && (args.value(material + 1) == QLatin1String("4") || args.value(material + 1) == QLatin1String("5"));
    QStringList full{QStringLiteral("calc"), fiberglass ? QStringLiteral("fiberglass") : QStringLiteral("static")};
    const int db = args.indexOf(QStringLiteral("--database"));
    if (db >= 0)
        args[db + 1] = m_dir.filePath(args[db + 1]);
    else
        full << QStringLiteral("--database") << m_fixture;
    const Run run = runCli(full + args);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.out, QString()); // nothing calculated
}

void ReferenceCommandsTest::projectWithADatabaseThatCannotBeRead_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("message");
    // As the window would say it: the general error box adds the full stop,
    // the table's own box does not.
    QTest::newRow("missing database") << "missing.sqlite"
                                      << "Не найден файл справочной базы данных: %1.";
    QTest::newRow("missing table") << "nosoils.sqlite"
                                   << "Не могу открыть таблицу: Soiles";
}

// The choices of a project are checked against the database before anything
// is calculated; a database that cannot be read ends the command as the
// database's failure, not as a project that cannot be opened.
void ReferenceCommandsTest::projectWithADatabaseThatCannotBeRead()
{
    QFETCH(QString, database);
    QFETCH(QString, message);
    const QString project = m_dir.filePath(QStringLiteral("soil.pipecalc"));
    QFile file(project);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": 1, "calculation": "static", "soil": {"id": 4, "name": "Глина"}})");
    file.close();
    const QString path = m_dir.filePath(database);

    const Run run = runCli({QStringLiteral("calc"), QStringLiteral("static"), QStringLiteral("--project"), project,
                            QStringLiteral("--database"), path});
    QCOMPARE(run.exitCode, 6);
    QCOMPARE(
        run.err,
        QStringLiteral("pipecalc-cli: %1\n").arg(message.contains(QLatin1String("%1")) ? message.arg(path) : message));
    QCOMPARE(run.out, QString());
}

QTEST_GUILESS_MAIN(ReferenceCommandsTest)
#include "tst_ReferenceCommands.moc"
