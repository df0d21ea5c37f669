#include "CliRunner.h"

#include "cli/JsonWriter.h"
#include "model/SlotKeys.h"

#include <QJsonArray>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

// key -> value of the "variables" array.
QHash<QString, QJsonObject> byKey(const QJsonObject &doc)
{
    QHash<QString, QJsonObject> map;
    for (const QJsonValue &v : doc.value(QStringLiteral("variables")).toArray())
        map.insert(v.toObject().value(QStringLiteral("key")).toString(), v.toObject());
    return map;
}

bool near(double actual, double expected, double tolerance)
{
    return std::fabs(actual - expected) <= tolerance;
}

} // namespace

class TestCliCalc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void staticWorkedExample()
    {
        const CliRun run = runCli({"calc", "static", "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject doc = run.json();
        QCOMPARE(doc.value("outcome").toString(), QStringLiteral("completed"));
        QCOMPARE(doc.value("message").toString(), QString());
        const auto vars = byKey(doc);
        const QList<QPair<QString, double>> expected = {
            {"e", 26},
            {"n", 1},
            {"P", 0.516316},
            {"y", 1.153333},
            {"I", 2.176125},
            {"A", 2.22},
            {"D", 37.106667},
            {"qt", 0.026840},
            {"qgr", 0.1002},
            {"qc", 0.127040},
            {"Go", 0.874727},
            {"Psi_gr", 0.031951},
            {"Psi_t", 0.006847},
            {"Psi", 0.040798},
            {"Eps_p", 0.010829},
            {"Eps_c", 0.003093},
            {"Eps_pp", 0.035714},
            {"Eps_pn", 0.008696},
            {"S_cond", 0.658893},
            {"Gtau", 0.212977},
            {"Kov", 0.971442},
            {"Qgv", 0.022},
            {"qvn", 0.1222},
            {"qust", 0.250616},
            {"qvntr", 0.149040},
        };
        for (const auto &[key, value] : expected)
            QVERIFY2(near(vars.value(key).value("value").toDouble(), value, 1e-6), qPrintable(key));
        QCOMPARE(vars.value("qust").value("text").toString(), QStringLiteral("0,251"));
        QCOMPARE(vars.value("qust").value("units").toString(), QStringLiteral("МПа"));
        QCOMPARE(doc.value("outputs").toArray().first().toString(), QStringLiteral("S_cond"));
    }

    void variablesArray()
    {
        const QJsonObject doc = runCli({"calc", "hydraulic", "--json"}).json();
        const QJsonArray vars = doc.value("variables").toArray();
        QCOMPARE(vars.size(), SlotKeys::Count);
        for (int i = 0; i < vars.size(); ++i)
            QCOMPARE(vars[i].toObject().value("slot").toInt(), i + 1);
        const QJsonObject din = vars[0].toObject();
        QCOMPARE(din.value("key").toString(), QStringLiteral("Din"));
        QCOMPARE(din.value("name").toString(), QStringLiteral("Dвнутр"));
        // Written with 17 digits, the value reads back to the same double.
        QCOMPARE(din.value("value").toDouble(), 0.348);
        QVERIFY(runCli({"calc", "hydraulic", "--json"}).out.contains("\"value\":0.34799999999999998"));
        QCOMPARE(din.value("text").toString(), QStringLiteral("0,348"));
    }

    void hydraulicExamples_data()
    {
        QTest::addColumn<QString>("filling");
        QTest::addColumn<double>("vnf");
        QTest::addColumn<double>("qs");
        QTest::newRow("full") << "1" << 3.192239 << 303.629;
        QTest::newRow("half") << "0.5" << 3.192239 << 151.815;
        QTest::newRow("0.8") << "0.8" << 3.655286 << 298.171;
    }

    void hydraulicExamples()
    {
        QFETCH(QString, filling);
        QFETCH(double, vnf);
        QFETCH(double, qs);
        const CliRun run = runCli({"calc", "hydraulic", "--set", "hs_d=" + filling, "--json"});
        QCOMPARE(run.exitCode, 0);
        const auto vars = byKey(run.json());
        QVERIFY(near(vars.value("Vnf").value("value").toDouble(), vnf, 1e-6));
        QVERIFY(near(vars.value("qs").value("value").toDouble(), qs, 1e-3));
        QVERIFY(near(vars.value("bs_end").value("value").toDouble(), 1.8183, 1e-6));
    }

    void fiberglassExamples()
    {
        const QJsonObject trench = runCli({"calc", "fiberglass", "--json"}).json();
        QCOMPARE(trench.value("outcome").toString(), QStringLiteral("completed"));
        const QJsonObject r = trench.value("fiberglass").toObject();
        QCOMPARE(r.size(), 37);
        QVERIFY(near(r.value("Gt").toDouble(), 73799647.70, 0.01));
        QVERIFY(near(r.value("Gy").toDouble(), 3761613.43, 0.01));
        QVERIFY(near(r.value("Mpr").toDouble(), 117600.0, 1e-9));
        QCOMPARE(byKey(trench).value("Gy").value("text").toString(), QStringLiteral("3,761613"));

        const CliRun loaded = runCli({"calc", "fiberglass", "--laying", "trenchless", "--set", "h=2", "--set", "M=20",
                                      "--set", "FSt=0.38", "--set", "Hv=1", "--json"});
        QCOMPARE(loaded.exitCode, 0);
        const QJsonObject l = loaded.json().value("fiberglass").toObject();
        QVERIFY(near(l.value("Qgr1").toDouble(), 13435.38, 0.005));
        QVERIFY(near(l.value("Qc").toDouble(), 86372.19, 0.005));
        QVERIFY(near(l.value("Mras").toDouble(), 484.317, 0.0005));
        QVERIFY(near(l.value("Qgv").toDouble(), 12650, 1e-9));

        // The wall choice reaches the calculation.
        const QJsonObject single = runCli({"calc", "fiberglass", "--wall", "single", "--json"}).json();
        QVERIFY(near(single.value("fiberglass").toObject().value("I").toDouble(), 1.44e-7, 1e-18));
    }

    // The three-layer wall of the shipped fiberglass material: two skins
    // 12 mm thick 24 mm apart, I = s³/6 + s·(t + s)²/2; without the core, the
    // solid wall 24 mm thick, (2s)³/12.
    void threeLayerWall_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<double>("inertia");
        QTest::addColumn<double>("limitMoment");
        QTest::newRow("material 4") << QStringList{"--material", "4"} << 8.064e-6 << 117600.0;
        QTest::newRow("without core") << QStringList{"--material", "4", "--set", "t=0"} << 1.152e-6 << 33600.0;
    }

    void threeLayerWall()
    {
        QFETCH(QStringList, args);
        QFETCH(double, inertia);
        QFETCH(double, limitMoment);
        const CliRun run = runCli(QStringList{"calc", "fiberglass", "--json"} + args);
        QCOMPARE(run.exitCode, 0);
        const QJsonObject r = run.json().value("fiberglass").toObject();
        QVERIFY(near(r.value("I").toDouble(), inertia, 1e-18));
        QVERIFY(near(r.value("Mpr").toDouble(), limitMoment, 1e-6));
    }

    // The ground water of the static calculation: the soil above the water
    // table weighs 19 kN/m³, below it 11; the water presses from its table.
    void groundWater_data()
    {
        QTest::addColumn<QString>("depth");
        QTest::addColumn<double>("qgr");
        QTest::addColumn<double>("qgv");
        QTest::newRow("defaults: 4 m dry, 2.2 m submerged") << "6" << 0.1002 << 0.022;
        QTest::newRow("above the table at 4 m: 2.2 m dry") << "2" << 0.0418 << 0.0;
    }

    void groundWater()
    {
        QFETCH(QString, depth);
        QFETCH(double, qgr);
        QFETCH(double, qgv);
        const auto vars = byKey(runCli({"calc", "static", "--set", "Htr=" + depth, "--json"}).json());
        QVERIFY(near(vars.value("qgr").value("value").toDouble(), qgr, 1e-12));
        QVERIFY(near(vars.value("Qgv").value("value").toDouble(), qgv, 1e-12));
    }

    // Every check with its value, limit and utilisation, the verdict, and the
    // warnings, in the JSON and in the text.
    void checksAndVerdict()
    {
        const QJsonObject fine = runCli({"calc", "static", "--json"}).json();
        QCOMPARE(fine.value("verdict").toString(), QStringLiteral("holds"));
        QCOMPARE(fine.value("warnings").toArray().size(), 0);
        const QJsonArray checks = fine.value("checks").toArray();
        QCOMPARE(checks.size(), 3);
        const QJsonObject strength = checks[0].toObject();
        QCOMPARE(strength.value("name").toString(), QStringLiteral("strength"));
        QVERIFY(near(strength.value("value").toDouble(), 0.658893, 1e-6));
        QCOMPARE(strength.value("limit").toDouble(), 1.0);
        QVERIFY(near(strength.value("utilisation").toDouble(), 0.658893, 1e-6));
        QCOMPARE(strength.value("holds").toBool(), true);
        const QJsonObject traffic = checks[2].toObject();
        QCOMPARE(traffic.value("name").toString(), QStringLiteral("stability_traffic"));
        QCOMPARE(traffic.value("title").toString(), QStringLiteral("Устойчивость с учётом транспорта"));
        QVERIFY(near(traffic.value("value").toDouble(), 0.149040, 1e-6));
        QVERIFY(near(traffic.value("limit").toDouble(), 0.250616, 1e-6));

        // 12 m down in clay, every check fails.
        const CliRun deep = runCli({"calc", "static", "--set", "Htr=12", "--soil", "8", "--json"});
        QCOMPARE(deep.exitCode, 0);
        const QJsonObject failing = deep.json();
        QCOMPARE(failing.value("verdict").toString(), QStringLiteral("fails"));
        for (const QJsonValue &check : failing.value("checks").toArray())
            QVERIFY2(!check.toObject().value("holds").toBool(), qPrintable(check.toObject().value("name").toString()));
        const CliRun text = runCli({"calc", "static", "--set", "Htr=12", "--soil", "8"});
        QVERIFY2(text.out.contains(QStringLiteral("Итог: Не выполнено: прочность, 124 %; устойчивость без учёта "
                                                  "транспорта, 167,4 %; устойчивость с учётом транспорта, 176,5 %")),
                 qPrintable(text.out));

        // The hydraulic calculation has no checks and no verdict.
        const QJsonObject hydraulic = runCli({"calc", "hydraulic", "--json"}).json();
        QCOMPARE(hydraulic.value("checks").toArray().size(), 0);
        QVERIFY(hydraulic.value("verdict").isNull());
        QCOMPARE(hydraulic.value("warnings").toArray().size(), 0);
    }

    void warnings()
    {
        const CliRun run = runCli({"calc", "hydraulic", "--set", "Din=348", "--json"});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray warnings = run.json().value("warnings").toArray();
        QVERIFY(!warnings.isEmpty());
        const QJsonObject first = warnings.first().toObject();
        QCOMPARE(first.value("variable").toString(), QStringLiteral("Din"));
        QCOMPARE(first.value("message").toString(),
                 QStringLiteral("Dвнутр = 348 м — больше 4 м; не введён ли диаметр в миллиметрах?"));
        const CliRun text = runCli({"calc", "hydraulic", "--set", "Din=348"});
        QVERIFY(text.out.contains(QStringLiteral("Предупреждение: Dвнутр = 348 м — больше 4 м")));
    }

    void setAppliesInOrder()
    {
        const auto vars = byKey(runCli({"vars", "--set", "Din=1", "--set", "Din=-2.5e-1", "--json"}).json());
        QCOMPARE(vars.value("Din").value("value").toDouble(), -0.25);
        QCOMPARE(vars.value("Din").value("text").toString(), QStringLiteral("-0,25"));
    }

    void blanksAroundValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("none") << "0.5";
        QTest::newRow("space before") << " 0.5";
        QTest::newRow("space after") << "0.5 ";
        QTest::newRow("new line after") << "0.5\n";
        QTest::newRow("tab and CR LF") << "\t0.5\r\n";
    }

    // One rule for blanks: spaces and line ends around a value are dropped.
    void blanksAroundValues()
    {
        QFETCH(QString, value);
        const CliRun run = runCli({"vars", "--set", "Din=" + value, "--json"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(byKey(run.json()).value("Din").value("value").toDouble(), 0.5);
    }

    void textOutput()
    {
        const CliRun run = runCli({"calc", "hydraulic", "--decimal-separator", "."});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("Vnf"));
        QVERIFY(lines[0].contains("3.192"));
        QVERIFY(lines[1].contains("303.629"));
        QVERIFY(lines[1].contains(QStringLiteral("л/c")));
        QCOMPARE(lines[2], QStringLiteral("Результат: расчёт выполнен"));
        QVERIFY(run.err.isEmpty());

        const CliRun all = runCli({"vars"});
        QCOMPARE(all.out.split('\n', Qt::SkipEmptyParts).size(), SlotKeys::Count);
        QVERIFY(all.out.contains(QStringLiteral("Коэффициент эквивалентной шероховатости")));
    }

    // Every stop and fault of the three calculations: the exit status, the
    // outcome, the input the message names and the quantity being computed.
    void outcomes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("computing");
        QTest::addColumn<QString>("words");

        auto row = [](const char *name, QStringList args, int exitCode, const char *outcome, const char *variable,
                      const char *computing, const char *words) {
            QTest::newRow(name) << args << exitCode << QString::fromLatin1(outcome) << QString::fromLatin1(variable)
                                << QString::fromLatin1(computing) << QString::fromUtf8(words);
        };
        const QStringList h{"calc", "hydraulic"};
        const QStringList s{"calc", "static"};
        const QStringList f{"calc", "fiberglass"};
        const QStringList ft{"calc", "fiberglass", "--laying", "trenchless"};
        row("slope", h + QStringList{"--set", "i_s=0"}, 3, "stopped", "i_s", "", "is («Уклон самотечного");
        row("filling", h + QStringList{"--set", "hs_d=-0.5"}, 3, "stopped", "hs_d", "", "задано -0,5");
        row("overfilled", h + QStringList{"--set", "hs_d=1.5"}, 3, "stopped", "hs_d", "",
            "hs/d («Наполнение трубопровода») не может быть больше 1, а задано 1,5");
        row("viscosity", h + QStringList{"--set", "nu=0"}, 3, "stopped", "nu", "", "ν («Коэффициент кинематической");
        row("inner diameter 0", h + QStringList{"--set", "Din=0"}, 4, "division_by_zero", "Din", "Ls",
            "Выберите трубу");
        row("roughness 0", h + QStringList{"--set", "Ke=0"}, 4, "division_by_zero", "Ke", "Requ", "Ke («Коэффициент");
        row("negative diameter", h + QStringList{"--set", "Din=-0.348"}, 5, "fault", "Din", "Ls",
            "дробная степень отрицательного числа");
        row("negative roughness", h + QStringList{"--set", "Ke=-0.02"}, 5, "fault", "Ke", "a", "Ke");
        row("overflow", h + QStringList{"--set", "Din=0.001", "--set", "i_s=0.0001"}, 5, "fault", "", "bs_end",
            "Переполнение");
        row("no convergence", h + QStringList{"--set", "Din=0.001", "--set", "i_s=0.0001", "--set", "Ke=5"}, 5, "fault",
            "", "bs_end", "не установился за 100 шагов");
        row("wheel area", s + QStringList{"--set", "F=0"}, 3, "stopped", "F", "", "F («Площадь опирания колеса»)");
        row("no outer diameter", s + QStringList{"--set", "Dout=0"}, 5, "fault", "Dout", "qust", "Выберите трубу");
        row("negative soil modulus", s + QStringList{"--set", "Egr=-5"}, 5, "fault", "Egr", "qust",
            "квадратный корень из отрицательного числа");
        row("short-term modulus", s + QStringList{"--set", "Eo=0"}, 4, "division_by_zero", "Eo", "Eps_c",
            "«Кратковременный модуль упругости»");
        row("long-term modulus", s + QStringList{"--set", "Etau=0"}, 4, "division_by_zero", "Etau", "Eps_pp",
            "«Долговременный модуль упругости»");
        row("strength", s + QStringList{"--set", "Sigmao=0"}, 4, "division_by_zero", "Sigmao", "S_cond",
            "«Величина для проверки условия прочности»");
        row("Poisson", s + QStringList{"--set", "Mu=1"}, 4, "division_by_zero", "Mu", "Go", "по модулю меньше 1");
        row("negative depth", s + QStringList{"--set", "Htr=-1", "--set", "F=1.155"}, 4, "division_by_zero", "Htr",
            "qt", "не может быть отрицательным");
        row("no friction", ft + QStringList{"--set", "fi=0"}, 4, "division_by_zero", "fi", "Qgr1",
            "Qgr1 («Давление грунта");
        row("mean diameter", f + QStringList{"--set", "DSt=0"}, 4, "division_by_zero", "DSt", "k",
            "«Средний диаметр трубы»");
        row("soil modulus", f + QStringList{"--set", "EgrSt=0"}, 4, "division_by_zero", "EgrSt", "n",
            "«Модуль деформации грунта»");
        row("binder modulus", f + QStringList{"--set", "EtauSvSt=0"}, 4, "division_by_zero", "EtauSvSt", "Gt", "Et_sv");
        row("layer thickness", f + QStringList{"--set", "sSt=0"}, 5, "fault", "sSt", "Gt", "неопределённость 0/0");
        row("fiberglass Poisson", f + QStringList{"--set", "MuSt=-1"}, 4, "division_by_zero", "MuSt", "Gt",
            "по модулю меньше 1");
    }

    void outcomes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, outcome);
        QFETCH(QString, variable);
        QFETCH(QString, computing);
        QFETCH(QString, words);

        const CliRun text = runCli(args);
        QCOMPARE(text.exitCode, exitCode);
        const QString message = text.err.trimmed();
        QVERIFY2(message.contains(words), qPrintable(message));
        // Nothing of a run that did not complete is printed as a result,
        // only how it ended.
        QVERIFY(!text.out.contains(QStringLiteral("S_cond ")));
        const QMap<QString, QString> summaries{
            {"stopped", "Результат: расчёт остановлен проверкой входных данных"},
            {"division_by_zero", "Результат: деление на ноль"},
            {"fault", "Результат: ошибка вычисления"},
        };
        QCOMPARE(text.out.trimmed(), summaries.value(outcome));

        const CliRun json = runCli(args << "--json");
        QCOMPARE(json.exitCode, exitCode);
        const QJsonObject object = json.json();
        QCOMPARE(object.value("outcome").toString(), outcome);
        QCOMPARE(object.value("message").toString(), message);
        if (variable.isEmpty())
            QVERIFY(object.value("variable").isNull());
        else
            QCOMPARE(object.value("variable").toString(), variable);
        if (computing.isEmpty())
            QVERIFY(object.value("computing").isNull());
        else
            QCOMPARE(object.value("computing").toString(), computing);
        QVERIFY(message.startsWith(outcome == QLatin1String("stopped") ? QStringLiteral("Расчёт остановлен: значение ")
                                                                       : QStringLiteral("Ошибка. ")));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::newRow("unknown key") << QStringList{"calc", "static", "--set", "din=1"} << "din";
        QTest::newRow("not a number") << QStringList{"calc", "static", "--set", "Din=abc"} << "abc";
        QTest::newRow("comma") << QStringList{"calc", "static", "--set", "Din=0,5"} << "0,5";
        QTest::newRow("only blanks") << QStringList{"calc", "static", "--set", "Din= \n"} << "Din";
        QTest::newRow("blank inside") << QStringList{"calc", "static", "--set", "Din=1 5"} << "1 5";
        QTest::newRow("separator a digit") << QStringList{"calc", "hydraulic", "--decimal-separator", "1"} << "1";
        QTest::newRow("separator a word") << QStringList{"vars", "--decimal-separator", "dot"} << "dot";
        QTest::newRow("separator empty") << QStringList{"vars", "--decimal-separator="} << "--decimal-separator";
        QTest::newRow("out of range") << QStringList{"calc", "static", "--set", "Din=1e999"} << "1e999";
        QTest::newRow("no equals") << QStringList{"vars", "--set", "Din"} << "Din";
        QTest::newRow("missing value") << QStringList{"calc", "static", "--set"} << "--set";
        QTest::newRow("unknown calculation") << QStringList{"calc", "thermal"} << "thermal";
        QTest::newRow("no calculation") << QStringList{"calc"} << "hydraulic";
        QTest::newRow("unknown option") << QStringList{"calc", "static", "--fast"} << "--fast";
        QTest::newRow("bad laying") << QStringList{"calc", "fiberglass", "--laying", "air"}
                                    << "--laying: trench или trenchless, получено: air";
        QTest::newRow("bad wall") << QStringList{"calc", "fiberglass", "--wall", "double"}
                                  << "--wall: single или three, получено: double";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << "frobnicate";
        // A material goes with its own calculation; the hydraulic one takes any.
        QTest::newRow("corrugated with fiberglass material")
            << QStringList{"calc", "static", "--material", "5"} << "calc fiberglass";
        QTest::newRow("corrugated report with fiberglass material")
            << QStringList{"report", "static", "--material", "4", "-o", "x.txt"} << "report fiberglass";
        QTest::newRow("fiberglass with polymer material")
            << QStringList{"calc", "fiberglass", "--material", "1"} << "calc static";
        QTest::newRow("fiberglass report without material")
            << QStringList{"report", "fiberglass", "-o", "x.txt"} << "--material 4";
        // Each command's own options, and what it cannot do without.
        QTest::newRow("option without its value")
            << QStringList{"calc", "static", "--save-project"} << "Параметр --save-project требует значения";
        QTest::newRow("-o without its value")
            << QStringList{"report", "static", "-o"} << "Параметр -o требует значения";
        QTest::newRow("--output without its value")
            << QStringList{"chart", "static", "--output"} << "Параметр --output требует значения";
        QTest::newRow("report without its file") << QStringList{"report", "static"} << "Укажите файл отчёта: -o ФАЙЛ";
        QTest::newRow("material not a whole number")
            << QStringList{"calc", "static", "--material", "1.5"} << "--material ожидает целое число, получено: 1.5";
        QTest::newRow("database without a file")
            << QStringList{"calc", "static", "--database="} << "--database: укажите файл базы данных";
        QTest::newRow("extra argument") << QStringList{"vars", "static"} << "Лишний аргумент: static";
        QTest::newRow("convert without input") << QStringList{"convert", "-o", "x.txt"} << "Укажите входной файл";
        QTest::newRow("convert without output") << QStringList{"convert", "x.rtf"} << "Укажите выходной файл: -o ФАЙЛ";
        QTest::newRow("convert title without its value")
            << QStringList{"convert", "x.rtf", "-o", "y.txt", "--title"} << "Параметр --title требует значения";
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        const CliRun run = runCli(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
    }

    // What the user reads when a command cannot do its work, to the letter:
    // the tool's name before its own messages, the way to the help after a
    // wrong command line, a file that is not written said as the file says it.
    void failuresSaidInFull_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2
                                         << "pipecalc-cli: Неизвестная команда: frobnicate\n"
                                            "Справка: pipecalc-cli --help\n";
        QTest::newRow("a mistake found after the options")
            << QStringList{"calc", "static", "--material", "5"} << 2
            << "pipecalc-cli: --material 5 — стеклопластиковый материал: его трубы рассчитывает calc fiberglass, а "
               "не calc static\nСправка: pipecalc-cli --help\n";
        QTest::newRow("select flow not a number") << QStringList{"select", "hydraulic", "--flow", "abc"} << 2
                                                  << "pipecalc-cli: --flow: не число: abc\n"
                                                     "Справка: pipecalc-cli --help\n";
        QTest::newRow("project missing")
            << QStringList{"calc", "static", "--project", "/nonexistent-pipecalc/p.pipecalc"} << 10
            << "pipecalc-cli: Проект «/nonexistent-pipecalc/p.pipecalc» не открыт: файла нет.\n";
        QTest::newRow("database missing")
            << QStringList{"calc", "static", "--database", "/nonexistent-pipecalc/x.sqlite", "--tube", "1"} << 6
            << "pipecalc-cli: Не найден файл справочной базы данных: /nonexistent-pipecalc/x.sqlite.\n";
        QTest::newRow("project not saved")
            << QStringList{"calc", "static", "--save-project", "/nonexistent-pipecalc/p.pipecalc"} << 9
            << "Проект «/nonexistent-pipecalc/p.pipecalc» не сохранён: Папка не найдена.\n";
    }

    void failuresSaidInFull()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, says);
        const CliRun run = runCli(args);
        QCOMPARE(run.exitCode, status);
        QCOMPARE(run.err, says);
    }

    void help()
    {
        const CliRun run = runCli({"--help"});
        QCOMPARE(run.exitCode, 0);
        for (const char *word : {"vars", "calc", "--set", "--laying", "--wall", "--decimal-separator", "--json"})
            QVERIFY(run.out.contains(QLatin1String(word)));
    }

    void version()
    {
        const CliRun run = runCli({"--version"});
        QCOMPARE(run.exitCode, 0);
        const QRegularExpression versionLine(QStringLiteral("^pipecalc-cli \\d+\\.\\d+\\.\\d+(\\.\\d+)?\n$"));
        QVERIFY2(versionLine.match(run.out).hasMatch(), qPrintable(run.out));
    }

    void manualPageNamesWhatTheHelpNames_data()
    {
        QTest::addColumn<QString>("pageFile");
        QTest::newRow("English") << QStringLiteral("pipecalc-cli.1");
        QTest::newRow("Russian") << QStringLiteral("ru/pipecalc-cli.1");
    }

    void manualPageNamesWhatTheHelpNames()
    {
        QFETCH(QString, pageFile);
        const CliRun run = runCli({"--help"});
        QFile file(QStringLiteral(PIPECALC_MANUAL_PAGES "/") + pageFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // The page writes "-" as "\-" where it is a minus.
        const QString page = QString::fromUtf8(file.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        QStringList words;
        QRegularExpressionMatchIterator options =
            QRegularExpression(QStringLiteral("--[a-z][a-z-]*")).globalMatch(run.out);
        while (options.hasNext())
            words << options.next().captured();
        words << QStringList{"vars",      "calc",   "db",         "report", "convert",    "sweep",
                             "chart",     "select", "hydraulic",  "static", "fiberglass", "fiberglass-tubes",
                             "materials", "soils",  "trenchless", "single", "three"};
        words.removeDuplicates();
        for (const QString &word : words)
            QVERIFY2(page.contains(word), qPrintable(word));
        QVERIFY(words.contains(QStringLiteral("--database")));
    }

    // --project works for every command that calculates; the manual pages
    // and the help say so.
    void projectOptionNamesItsCommands_data() { manualPageNamesWhatTheHelpNames_data(); }

    void projectOptionNamesItsCommands()
    {
        QFETCH(QString, pageFile);
        QFile file(QStringLiteral(PIPECALC_MANUAL_PAGES "/") + pageFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const int start = page.indexOf(QStringLiteral(".BI --project"));
        QVERIFY(start >= 0);
        const QString entry = page.mid(start, page.indexOf(QStringLiteral(".TP"), start) - start);
        const QString help = runCli({"--help"}).out;
        const int option = help.indexOf(QStringLiteral("  --project ФАЙЛ"));
        QVERIFY(option >= 0);
        const QString helpEntry = help.mid(option, help.indexOf(QStringLiteral("  --save-project"), option) - option);
        for (const char *command : {"calc", "report", "sweep", "chart", "select"}) {
            QVERIFY2(entry.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLatin1String(command)))),
                     command);
            QVERIFY2(helpEntry.contains(QLatin1String(command)), command);
        }
    }

    void jsonWriter()
    {
        JsonWriter w;
        w.beginObject();
        w.member("text", QStringLiteral("a\"b\\c\n\x01"));
        w.member("nan", std::numeric_limits<double>::quiet_NaN());
        w.member("inf", -std::numeric_limits<double>::infinity());
        w.key("list");
        w.beginArray();
        w.value(1);
        w.value(0.1);
        w.endArray();
        w.endObject();
        QCOMPARE(w.text(), QStringLiteral("{\"text\":\"a\\\"b\\\\c\\n\\u0001\",\"nan\":null,\"inf\":null,"
                                          "\"list\":[1,0.10000000000000001]}"));
        QVERIFY(!QJsonDocument::fromJson(w.text().toUtf8()).isNull());
    }
};

QTEST_GUILESS_MAIN(TestCliCalc)
#include "tst_cli_calc.moc"
