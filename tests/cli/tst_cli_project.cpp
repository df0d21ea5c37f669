// Projects on the command line: --save-project keeps the inputs as the
// command applied them, --project brings them back first of all.
#include "CliRunner.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QJsonObject readJson(const QString &path)
{
    return QJsonDocument::fromJson(TestFiles::read(path)).object();
}

} // namespace

class TestCliProject : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void savedProjectGivesTheSameResults_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("static from the database")
            << QStringList{"static", "--material", "1", "--soil", "4", "--tube", "7", "--set", "Htr=3.5"};
        QTest::newRow("fiberglass trenchless, single-layer wall")
            << QStringList{"fiberglass", "--material", "5",     "--tube", "2",     "--laying", "trenchless",
                           "--wall",     "single",     "--set", "h=2",    "--set", "M=20"};
        QTest::newRow("hydraulic") << QStringList{"hydraulic", "--tube", "3", "--set", "hs_d=0.6"};
    }

    void savedProjectGivesTheSameResults()
    {
        QFETCH(QStringList, args);
        const QString project = path(QStringLiteral("p.json"));
        QFile::remove(project);
        const CliRun direct = runCli(QStringList{"calc"} + args + QStringList{"--json", "--save-project", project});
        QCOMPARE(direct.exitCode, 0);
        QVERIFY(QFile::exists(project));
        const CliRun reopened = runCli({"calc", args.first(), "--project", project, "--json"});
        QCOMPARE(reopened.exitCode, 0);
        QVERIFY2(reopened.err.isEmpty(), qPrintable(reopened.err));
        QCOMPARE(reopened.out, direct.out);
    }

    void optionsApplyAfterTheProject_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QJsonValue>("expected");
        // The project: static, material 1, soil 4, Htr 3.5, Eo 1234.
        QTest::newRow("the project alone") << QStringList{"static"} << "inputs.Eo" << QJsonValue(1234);
        QTest::newRow("--set over the project")
            << QStringList{"static", "--set", "Htr=4"} << "inputs.Htr" << QJsonValue(4);
        QTest::newRow("--material over the project's inputs")
            << QStringList{"static", "--material", "2"} << "material.id" << QJsonValue(2);
        QTest::newRow("--material takes its moduli")
            << QStringList{"static", "--material", "1"} << "inputs.Eo" << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("--set after --material")
            << QStringList{"static", "--material", "1", "--set", "Eo=999"} << "inputs.Eo" << QJsonValue(999);
        QTest::newRow("the project's soil stays")
            << QStringList{"static", "--material", "1"} << "soil.id" << QJsonValue(4);
        QTest::newRow("the command's calculation wins")
            << QStringList{"hydraulic"} << "calculation" << QJsonValue("hydraulic");
        QTest::newRow("the project's laying stays") << QStringList{"static"} << "laying" << QJsonValue("trenchless");
        QTest::newRow("--laying given wins")
            << QStringList{"static", "--laying", "trench"} << "laying" << QJsonValue("trench");
    }

    void optionsApplyAfterTheProject()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, field);
        QFETCH(QJsonValue, expected);
        const QString project = path(QStringLiteral("base.pipecalc"));
        const CliRun made = runCli({"calc", "static", "--material", "1", "--soil", "4", "--set", "Htr=3.5", "--set",
                                    "Eo=1234", "--laying", "trenchless", "--save-project", project});
        QCOMPARE(made.exitCode, 0);

        // What the command applied, as it would save it.
        const QString applied = path(QStringLiteral("applied.pipecalc"));
        const CliRun run =
            runCli(QStringList{"calc"} + args + QStringList{"--project", project, "--save-project", applied});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QStringList parts = field.split(QLatin1Char('.'));
        QJsonValue value = readJson(applied).value(parts[0]);
        if (parts.size() > 1)
            value = value.toObject().value(parts[1]);
        QCOMPARE(value, expected);
    }

    void projectKeptWhateverTheRunComesTo()
    {
        const QString project = path(QStringLiteral("stopped.pipecalc"));
        const CliRun run = runCli({"calc", "hydraulic", "--set", "hs_d=0", "--save-project", project});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(readJson(project).value("inputs").toObject().value("hs_d"), QJsonValue(0));
        // And it opens to the same stop.
        const CliRun again = runCli({"calc", "hydraulic", "--project", project, "--json"});
        QCOMPARE(again.exitCode, 3);
        QCOMPARE(again.json().value("variable").toString(), QStringLiteral("hs_d"));
    }

    void projectThatCannotBeWritten()
    {
        const CliRun run = runCli({"calc", "hydraulic", "--save-project", path("no/such/folder/p.pipecalc")});
        QCOMPARE(run.exitCode, 9);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(QStringLiteral("не сохранён")), qPrintable(run.err));
    }

    void projectsThatCannotBeOpened_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << QByteArray() << "файла нет";
        QTest::newRow("damaged") << QByteArray(R"({"format": 1, "calculation": )") << "не читается как JSON";
        QTest::newRow("newer") << QByteArray(R"({"format": 7, "calculation": "static"})")
                               << "более новой версией программы (формат 7)";
        QTest::newRow("material the database lacks")
            << QByteArray(R"({"format": 1, "calculation": "static", "material": {"id": 99, "name": "Металл"}})")
            << "нет выбранного в проекте материала «Металл» (код 99)";
    }

    void projectsThatCannotBeOpened()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        const QString project = path(QStringLiteral("refused.pipecalc"));
        QFile::remove(project);
        if (!content.isEmpty())
            QVERIFY(TestFiles::write(project, content));
        for (const QStringList &command : {QStringList{"calc"}, QStringList{"report", "-o", path("r.txt")}}) {
            const CliRun run = runCli(command + QStringList{"static", "--project", project});
            QCOMPARE(run.exitCode, 10);
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.err.contains(QStringLiteral("Проект «%1» не открыт: ").arg(project)), qPrintable(run.err));
            QVERIFY2(run.err.contains(problem), qPrintable(run.err));
        }
    }

    void reportOfAProject()
    {
        const QString project = path(QStringLiteral("described.pipecalc"));
        QVERIFY(TestFiles::write(project, R"({"format": 1, "calculation": "fiberglass",
            "material": {"id": 4, "name": "Стеклопластик SN 5000"},
            "description": {"object": "Дюкер под рекой", "designer": "Сидоров", "date": "", "notes": "н"}})"));
        // The project names the fiberglass material the report needs.
        const QString out = path(QStringLiteral("described.txt"));
        const CliRun run = runCli({"report", "fiberglass", "--project", project, "-o", out});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QString text = QString::fromUtf8(TestFiles::read(out));
        text.remove(QChar(0xFEFF)).remove(QLatin1Char('\r'));
        const QStringList lines = text.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Объект: Дюкер под рекой"));
        QCOMPARE(lines.value(1), QStringLiteral("Проектировщик: Сидоров"));
        QCOMPARE(lines.value(2), QStringLiteral("Исходные данные"));

        // A project of another calculation than the command's is refused
        // like the material given on the line would be.
        const CliRun mismatch = runCli({"calc", "static", "--project", project});
        QCOMPARE(mismatch.exitCode, 2);
        QVERIFY2(mismatch.err.contains(QStringLiteral("Материал проекта «Стеклопластик SN 5000» (код 4)")),
                 qPrintable(mismatch.err));
    }
};

QTEST_GUILESS_MAIN(TestCliProject)
#include "tst_cli_project.moc"
