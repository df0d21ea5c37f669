#include "CliRunner.h"

#include <QImage>
#include <QJsonArray>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The values of the variables of a "calc --json" run, by key.
QHash<QString, QJsonValue> calcValues(const QStringList &args)
{
    const CliRun run = runCli(QStringList{"calc"} + args + QStringList{"--json"});
    QHash<QString, QJsonValue> values;
    for (const QJsonValue &v : run.json().value(QStringLiteral("variables")).toArray())
        values.insert(v.toObject().value(QStringLiteral("key")).toString(),
                      v.toObject().value(QStringLiteral("value")));
    values.insert(QStringLiteral("outcome"), run.json().value(QStringLiteral("outcome")));
    return values;
}

QList<QStringList> csvRows(const QString &text)
{
    QList<QStringList> rows;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        rows << line.split(QLatin1Char(','));
    return rows;
}

} // namespace

class TestCliSweep : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString projectPath() const { return m_dir.filePath(QStringLiteral("p.pipecalc")); }

private Q_SLOTS:
    void initTestCase()
    {
        const CliRun run = runCli({"calc", "static", "--material", "1", "--soil", "4", "--tube", "7", "--set", "Hw=1.5",
                                   "--save-project", projectPath()});
        QCOMPARE(run.exitCode, 0);
    }

    // Every row of a sweep is what a single run of calc gives for its inputs.
    void rowsAreSingleRuns_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("vary");
        QTest::addColumn<int>("rows");
        QTest::newRow("hydraulic filling") << "hydraulic" << QStringList{} << "hs_d=0.1:1:0.1" << 10;
        QTest::newRow("hydraulic slope through zero")
            << "hydraulic" << QStringList{"--set", "Din=0.5"} << "i_s=-0.01:0.02:0.01" << 4;
        QTest::newRow("static with a tube and a soil")
            << "static" << QStringList{"--material", "1", "--tube", "7", "--soil", "4"} << "Htr=0.5:3.5:1.5" << 3;
        QTest::newRow("static from a project")
            << "static" << QStringList{"--project", projectPath(), "--set", "m=30"} << "Htr=1:4:1.5" << 3;
        QTest::newRow("static wheel area") << "static" << QStringList{"--set", "Htr=3.5"} << "F=0:0.4:0.2" << 3;
        QTest::newRow("fiberglass trenchless")
            << "fiberglass"
            << QStringList{"--material", "5", "--laying", "trenchless", "--set", "M=20", "--set", "FSt=0.38"}
            << "fi=0:30:15" << 3;
    }
    void rowsAreSingleRuns()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, options);
        QFETCH(QString, vary);
        QFETCH(int, rows);
        const CliRun run = runCli(QStringList{"sweep", kind, "--vary", vary, "--csv"} + options);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        const QList<QStringList> table = csvRows(run.out);
        QCOMPARE(table.size(), rows + 1);
        const QStringList header = table.first();
        const QString key = vary.section(QLatin1Char('='), 0, 0);
        QCOMPARE(header.value(0), key);
        QCOMPARE(header.value(1), QStringLiteral("outcome"));
        for (int r = 1; r < table.size(); ++r) {
            const QStringList &row = table[r];
            QCOMPARE(row.size(), header.size());
            const auto single = calcValues(QStringList{kind, "--set", key + QLatin1Char('=') + row[0]} + options);
            QCOMPARE(row[1], single.value(QStringLiteral("outcome")).toString());
            for (int c = 2; c < header.size(); ++c) {
                if (header[c].startsWith(QLatin1String("util_")))
                    continue;
                if (row[1] != QLatin1String("completed")) {
                    // Never a value from another row.
                    QCOMPARE(row[c], QString());
                    continue;
                }
                // The same double, written with the fewest digits that read back to it.
                QCOMPARE(row[c].toDouble(), single.value(header[c]).toDouble());
            }
        }
    }

    void tenthsAreTheNumbersTyped()
    {
        const CliRun run = runCli({"sweep", "hydraulic", "--vary", "hs_d=0.1:1:0.1", "--csv"});
        QStringList inputs;
        for (const QStringList &row : csvRows(run.out).mid(1))
            inputs << row[0];
        QCOMPARE(inputs, (QStringList{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"}));
    }

    void utilisationColumns()
    {
        const CliRun run = runCli({"sweep", "static", "--vary", "Htr=6:6:1", "--csv"});
        const QList<QStringList> table = csvRows(run.out);
        QCOMPARE(table[0], (QStringList{"Htr", "outcome", "S_cond", "qust", "qgr", "qvntr", "util_strength",
                                        "util_stability", "util_stability_traffic"}));
        const QStringList &row = table[1];
        QCOMPARE(row[6].toDouble(), row[2].toDouble()); // S_cond against 1
        QCOMPARE(row[8].toDouble(), row[5].toDouble() / row[3].toDouble());
    }

    void chosenColumns()
    {
        const CliRun run = runCli({"sweep", "hydraulic", "--vary", "Din=0.3:0.4:0.1", "--vary", "hs_d=0.5:1:0.5",
                                   "--columns", "qs,Rephi,Din", "--csv"});
        QCOMPARE(run.exitCode, 0);
        const QList<QStringList> table = csvRows(run.out);
        QCOMPARE(table[0], (QStringList{"Din", "hs_d", "outcome", "qs", "Rephi", "Din"}));
        QCOMPARE(table.size(), 5);
        QCOMPARE(table[2].mid(0, 2), (QStringList{"0.3", "1"}));
        QCOMPARE(table[3].mid(0, 2), (QStringList{"0.4", "0.5"}));
        QCOMPARE(table[3][5], QStringLiteral("0.4"));
    }

    void json()
    {
        const CliRun run = runCli({"sweep", "hydraulic", "--vary", "i_s=0:0.01:0.01", "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject doc = run.json();
        QCOMPARE(doc.value("calculation").toString(), QStringLiteral("hydraulic"));
        QCOMPARE(doc.value("vary").toArray().first().toString(), QStringLiteral("i_s"));
        const QJsonArray rows = doc.value("rows").toArray();
        QCOMPARE(rows.size(), 2);
        const QJsonObject stopped = rows[0].toObject();
        QCOMPARE(stopped.value("outcome").toString(), QStringLiteral("stopped"));
        QCOMPARE(stopped.value("variable").toString(), QStringLiteral("i_s"));
        QVERIFY(!stopped.value("message").toString().isEmpty());
        QVERIFY(stopped.value("values").toObject().value("qs").isNull());
        const QJsonObject completed = rows[1].toObject();
        QCOMPARE(completed.value("inputs").toObject().value("i_s").toDouble(), 0.01);
        QCOMPARE(completed.value("values").toObject().value("qs").toDouble(),
                 calcValues({"hydraulic", "--set", "i_s=0.01"}).value("qs").toDouble());
    }

    void table()
    {
        const CliRun run = runCli({"sweep", "hydraulic", "--vary", "i_s=0:0.02:0.02", "--decimal-separator", ","});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].split(QLatin1Char(' '), Qt::SkipEmptyParts), (QStringList{"i_s", "итог", "Vnf", "qs"}));
        QVERIFY2(lines[1].contains(QStringLiteral("остановлен")) && lines[1].contains(QStringLiteral("—")),
                 qPrintable(lines[1]));
        QCOMPARE(lines[2].split(QLatin1Char(' '), Qt::SkipEmptyParts),
                 (QStringList{"0,02", "выполнен", "3,192", "303,629"}));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("says");
        QTest::newRow("nothing varied") << QStringList{"sweep", "hydraulic"} << "--vary KEY=FROM:TO:STEP";
        QTest::newRow("no calculation") << QStringList{"sweep", "--vary", "hs_d=0:1:0.5"} << "Укажите расчёт";
        QTest::newRow("bad range") << QStringList{"sweep", "hydraulic", "--vary", "hs_d=0:1"} << "KEY=FROM:TO:STEP";
        QTest::newRow("--vary without its value")
            << QStringList{"sweep", "hydraulic", "--vary"} << "Параметр --vary требует значения";
        QTest::newRow("--columns without its value")
            << QStringList{"sweep", "hydraulic", "--vary", "hs_d=0:1:0.5", "--columns"}
            << "Параметр --columns требует значения";
        QTest::newRow("over the limit") << QStringList{"sweep",         "static", "--vary",
                                                       "Htr=0:1:0.001", "--vary", "Hw=0:1:0.01"}
                                        << "больше допустимых 100000";
        QTest::newRow("not an input") << QStringList{"sweep", "static", "--vary", "S_cond=0:1:0.5"}
                                      << "S_cond не является исходным данным расчёта static";
        QTest::newRow("two formats") << QStringList{"sweep", "hydraulic", "--vary", "hs_d=0:1:0.5", "--csv", "--json"}
                                     << "--csv или --json";
        QTest::newRow("unknown column") << QStringList{"sweep",       "static",    "--vary",
                                                       "Htr=0:1:0.5", "--columns", "S_cond,util_ovality"}
                                        << "util_ovality — не исходное данное и не результат расчёта static";
        QTest::newRow("material of another calculation")
            << QStringList{"sweep", "static", "--material", "4", "--vary", "Htr=0:1:0.5"} << "sweep fiberglass";
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, says);
        const CliRun run = runCli(args);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.contains(says), qPrintable(run.err));
    }

    void chart_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("axis");
        QTest::newRow("hydraulic svg") << QStringList{"hydraulic", "--set", "hs_d=0.6"} << "chart.svg"
                                       << "Наполнение";
        QTest::newRow("static png") << QStringList{"static", "--set", "Htr=3.5"} << "chart.png" << QString();
        QTest::newRow("fiberglass svg") << QStringList{"fiberglass", "--material", "4", "--set", "h=2"} << "график.SVG"
                                        << "Глубина от поверхности до верха трубы";
    }
    void chart()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        QFETCH(QString, axis);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        const CliRun run = runCli(QStringList{"chart"} + args + QStringList{"-o", path});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        if (file.endsWith(QLatin1String(".png"))) {
            QCOMPARE(QImage(path).size(), QSize(1360, 880));
            return;
        }
        QVERIFY(QSvgRenderer(path).isValid());
        QFile svg(path);
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(svg.readAll()).contains(axis));
    }

    void chartFailures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("no file") << QStringList{"chart", "hydraulic"} << 2 << "-o ФАЙЛ";
        QTest::newRow("other format") << QStringList{"chart", "hydraulic", "-o", "DIR/chart.pdf"} << 2
                                      << ".svg или .png";
        QTest::newRow("no point at all") << QStringList{"chart", "hydraulic", "--set", "i_s=0", "-o", "DIR/chart.svg"}
                                         << 3 << "График не построен";
        QTest::newRow("folder missing") << QStringList{"chart", "hydraulic", "-o", "DIR/missing/chart.svg"} << 9
                                        << "не сохранён";
    }
    void chartFailures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QTemporaryDir dir;
        args.replaceInStrings(QStringLiteral("DIR"), dir.path());
        const CliRun run = runCli(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(says), qPrintable(run.err));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    }

    void chartSaysWhatItLeftOut()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("chart.svg"));
        const CliRun run = runCli({"chart", "static", "--set", "F=0.5775", "--set", "Htr=-1", "-o", path});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(QStringLiteral("Расчёт не выполнен в 1 из")), qPrintable(run.err));
        QVERIFY(QFile::exists(path));
    }
};

QTEST_MAIN(TestCliSweep)
#include "tst_cli_sweep.moc"
