#include "CliRunner.h"

#include <QJsonArray>
#include <QtTest>

#include <cmath>

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 17);
}

QJsonObject calcJson(const QStringList &args)
{
    const CliRun run = runCli(QStringList{QStringLiteral("calc")} + args + QStringList{QStringLiteral("--json")});
    return run.json();
}

bool holds(const QJsonObject &calc)
{
    return calc.value(QStringLiteral("verdict")).toString() == QLatin1String("holds");
}

double variable(const QJsonObject &calc, const QString &key)
{
    for (const QJsonValue &v : calc.value(QStringLiteral("variables")).toArray()) {
        if (v.toObject().value(QStringLiteral("key")).toString() == key)
            return v.toObject().value(QStringLiteral("value")).toDouble();
    }
    return NAN;
}

} // namespace

// The selection through the real tool, checked against single calculations
// of the same tool: every row over the shipped catalogue.
class TestCliSelect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row's verdict and utilisation are those of "calc --tube N"; the
    // tube holds at its greatest depth and fails 2 cm deeper.
    void staticRowsAreSingleCalculations_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("depthKey");
        QTest::newRow("corrugated, sand, traffic, ground water")
            << "static" << QStringList{"--material", "1", "--soil", "4", "--set", "Hw=1.5"} << "Htr";
        QTest::newRow("corrugated, clay, heavy axle")
            << "static" << QStringList{"--material", "2", "--soil", "8", "--set", "m=40"} << "Htr";
        QTest::newRow("fiberglass SN 5000, trench, traffic, ground water")
            << "fiberglass"
            << QStringList{"--material", "4", "--soil", "1", "--set", "M=20", "--set", "FSt=0.38", "--set", "Hv=1"}
            << "h";
        QTest::newRow("fiberglass SN 10000, trenchless, single wall, ground water")
            << "fiberglass" << QStringList{"--material", "5",      "--soil", "1",   "--laying", "trenchless",
                                           "--wall",     "single", "--set",  "h=2", "--set",    "Hv=0.5"}
            << "h";
    }
    void staticRowsAreSingleCalculations()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, options);
        QFETCH(QString, depthKey);
        const CliRun run = runCli(QStringList{"select", kind} + options + QStringList{"--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject selection = run.json();
        QCOMPARE(selection.value(QStringLiteral("kind")).toString(), kind);
        const QJsonArray rows = selection.value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), kind == QLatin1String("static") ? 12 : 11);
        int limited = 0;
        for (int i = 0; i < rows.size(); ++i) {
            const QJsonObject row = rows[i].toObject();
            const int tube = row.value(QStringLiteral("tube")).toInt();
            QCOMPARE(tube, i + 1);
            const QStringList single = QStringList{kind} + options + QStringList{"--tube", QString::number(tube)};
            const QJsonObject calc = calcJson(single);
            QCOMPARE(row.value(QStringLiteral("outcome")), calc.value(QStringLiteral("outcome")));
            QCOMPARE(row.value(QStringLiteral("verdict")), calc.value(QStringLiteral("verdict")));
            double greatest = 0;
            QString governing;
            for (const QJsonValue &check : calc.value(QStringLiteral("checks")).toArray()) {
                const double u = check.toObject().value(QStringLiteral("utilisation")).toDouble();
                QCOMPARE(row.value(QStringLiteral("checks"))
                             .toObject()
                             .value(check.toObject().value(QStringLiteral("name")).toString())
                             .toDouble(),
                         u);
                if (governing.isEmpty() || u > greatest) {
                    greatest = u;
                    governing = check.toObject().value(QStringLiteral("name")).toString();
                }
            }
            QCOMPARE(row.value(QStringLiteral("utilisation")).toDouble(), greatest);
            QCOMPARE(row.value(QStringLiteral("governing")).toString(), governing);

            const QJsonValue maxDepth = row.value(QStringLiteral("max_depth"));
            if (maxDepth.isNull())
                continue;
            const double depth = maxDepth.toDouble();
            QVERIFY(depth >= 0 && depth <= 30);
            const QJsonObject at = calcJson(single + QStringList{"--set", depthKey + "=" + number(depth)});
            QVERIFY2(holds(at), qPrintable(QStringLiteral("tube %1 at %2 m").arg(tube).arg(depth)));
            if (depth < 30) {
                ++limited;
                const QJsonObject deeper =
                    calcJson(single + QStringList{"--set", depthKey + "=" + number(depth + 0.02)});
                QVERIFY2(!holds(deeper), qPrintable(QStringLiteral("tube %1 at %2 m + 2 cm").arg(tube).arg(depth)));
            }
        }
        // The cases are chosen so that the depth limits something.
        QVERIFY(limited > 0);
    }

    // Each filling found carries the flow within 0.5 % in a single
    // calculation, and fits when it is within the largest filling; a tube
    // that no filling suits does not carry the flow even near full.
    void hydraulicRowsCarryTheFlow_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<double>("flow");
        QTest::addColumn<double>("maxFilling");
        QTest::newRow("corrugated, default filling") << QStringList{} << 120.0 << 0.8;
        QTest::newRow("corrugated, flat, half full")
            << QStringList{"--set", "i_s=0.002", "--max-filling", "0.5"} << 60.0 << 0.5;
        QTest::newRow("fiberglass tubes of SN 10000") << QStringList{"--material", "5"} << 400.0 << 0.7;
    }
    void hydraulicRowsCarryTheFlow()
    {
        QFETCH(QStringList, options);
        QFETCH(double, flow);
        QFETCH(double, maxFilling);
        QStringList selectArgs =
            QStringList{"select", "hydraulic", "--flow", number(flow)} + options + QStringList{"--json"};
        if (!options.contains(QStringLiteral("--max-filling")))
            selectArgs << "--max-filling" << number(maxFilling);
        const CliRun run = runCli(selectArgs);
        QCOMPARE(run.exitCode, 0);
        const QJsonObject selection = run.json();
        QCOMPARE(selection.value(QStringLiteral("kind")).toString(), QStringLiteral("hydraulic"));
        QStringList calcOptions = options;
        const int at = int(calcOptions.indexOf(QStringLiteral("--max-filling")));
        if (at >= 0)
            calcOptions.remove(at, 2);
        int fitting = 0;
        int notFitting = 0;
        for (const QJsonValue &value : selection.value(QStringLiteral("rows")).toArray()) {
            const QJsonObject row = value.toObject();
            const QStringList single =
                QStringList{"hydraulic"} + calcOptions
                + QStringList{"--tube", QString::number(row.value(QStringLiteral("tube")).toInt())};
            const bool fits = row.value(QStringLiteral("holds")).toBool();
            fits ? ++fitting : ++notFitting;
            if (row.value(QStringLiteral("filling")).isNull()) {
                QVERIFY(!fits);
                const QJsonObject nearFull = calcJson(single + QStringList{"--set", "hs_d=0.94"});
                QVERIFY(variable(nearFull, QStringLiteral("qs")) < flow);
                continue;
            }
            const double filling = row.value(QStringLiteral("filling")).toDouble();
            const QJsonObject calc = calcJson(single + QStringList{"--set", "hs_d=" + number(filling)});
            QVERIFY2(std::abs(variable(calc, QStringLiteral("qs")) - flow) <= 0.005 * flow,
                     qPrintable(row.value(QStringLiteral("name")).toString()));
            QCOMPARE(row.value(QStringLiteral("velocity")).toDouble(), variable(calc, QStringLiteral("Vnf")));
            QCOMPARE(fits, filling <= maxFilling);
        }
        QVERIFY(fitting > 0);
        QVERIFY(notFitting > 0);
    }

    // The text table marks the smallest tube that passes; CSV has a header
    // of keys and one line a tube.
    void tableAndCsv()
    {
        const CliRun table = runCli({"select", "hydraulic", "--flow", "120"});
        QCOMPARE(table.exitCode, 0);
        QCOMPARE(table.out.count(QStringLiteral("наименьшая подходящая")), 1);
        const CliRun csv = runCli({"select", "static", "--csv"});
        QCOMPARE(csv.exitCode, 0);
        const QStringList lines = csv.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 13);
        QVERIFY(lines.first().startsWith(QStringLiteral("tube,name,outcome,verdict,utilisation,governing,max_depth")));
        QVERIFY(lines.at(7).startsWith(QStringLiteral("7,\"Dнаруж 0,4 м, Dвнутр 0,348 м\",completed,holds,")));
    }

    // Inputs no tube can be calculated with: every row says so, and the
    // command ends as the single calculation would.
    void inputsNoTubeTakes()
    {
        const CliRun run = runCli({"select", "hydraulic", "--flow", "10", "--set", "i_s=0", "--json"});
        QCOMPARE(run.exitCode, 3);
        QVERIFY(!run.err.isEmpty());
        const QJsonArray rows = run.json().value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 12);
        for (const QJsonValue &row : rows) {
            QVERIFY(row.toObject().value(QStringLiteral("filling")).isNull());
            QCOMPARE(row.toObject().value(QStringLiteral("holds")).toBool(), false);
        }
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no flow") << QStringList{"select", "hydraulic"} << "--flow";
        QTest::newRow("zero flow") << QStringList{"select", "hydraulic", "--flow", "0"} << "--flow";
        QTest::newRow("filling not a number")
            << QStringList{"select", "hydraulic", "--flow", "5", "--max-filling", "x"} << "--max-filling: не число: x";
        QTest::newRow("filling over 1") << QStringList{"select", "hydraulic", "--flow", "5", "--max-filling", "1.2"}
                                        << "--max-filling";
        QTest::newRow("flow for static") << QStringList{"select", "static", "--flow", "5"} << "select hydraulic";
        QTest::newRow("fiberglass without material") << QStringList{"select", "fiberglass"} << "--material 4";
        QTest::newRow("both formats") << QStringList{"select", "static", "--csv", "--json"} << "--csv";
        QTest::newRow("no kind") << QStringList{"select"} << "hydraulic, static";
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const CliRun run = runCli(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCliSelect)
#include "tst_cli_select.moc"
