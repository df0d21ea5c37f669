// Calculation projects: what a file keeps of a session, what it takes back,
// and files that are refused with the session left as it was.
#include "SqliteFixture.h"
#include "TestFiles.h"

#include "calc/CalcProject.h"
#include "calc/CalcSession.h"
#include "model/Catalogue.h"
#include "model/NumberFormat.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// The static calculation of a fiberglass pipe with everything a project
// keeps set to something other than its default.
void setUpEverything(CalcSession &session)
{
    session.setMode(1);
    QVERIFY(session.pickMaterialById(5).valueOr(false));
    QVERIFY(session.pickTubeByNumber(1).valueOr(false));
    QVERIFY(session.pickSoilById(4).valueOr(false));
    session.setLaying(Laying::Trenchless);
    session.setWall(Wall::SingleLayer);
    session.setInput(Slot::h, 2.5);
    session.setInput(Slot::Htr, 0.1 + 0.2); // a value with no short decimal form
    session.setInput(Slot::Din, -1.5e-7);
    ProjectDescription description;
    description.object = QStringLiteral("Коллектор «Северный», участок 3");
    description.designer = QStringLiteral("Иванов И. И.");
    description.date = QDate(2026, 3, 14);
    description.notes = QStringLiteral("Первая строка\nвторая строка");
    session.setDescription(description);
}

QByteArray projectJson(const QJsonObject &object)
{
    return QJsonDocument(object).toJson();
}

} // namespace

class TestCalcProject : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString base() const { return m_dir.filePath(QStringLiteral("Base")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    void useDatabase(CalcSession &session) { session.referenceData().database().setBaseDir(base()); }

private Q_SLOTS:
    void initTestCase()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QDir().mkpath(base());
        QVERIFY(SqliteFixture::create(base() + QStringLiteral("/data.sqlite"), SqliteFixture::referenceSql()));
    }

    void fileKeepsEverythingTheSessionWasGiven()
    {
        CalcSession original;
        useDatabase(original);
        setUpEverything(original);
        QCOMPARE(original.calculation(), CalcKind::Fiberglass);
        const CalcProject saved = CalcProject::of(original);
        // Only what differs from the defaults, the picks' values among them.
        QVERIFY(saved.inputs.size() >= 3);
        for (const CalcProject::Input &input : saved.inputs)
            QVERIFY(CalcProject::inputSlots().contains(input.slot));

        const Result<> written = saved.save(path(QStringLiteral("all.pipecalc")));
        QVERIFY2(written, qPrintable(written.message()));

        CalcSession reopened;
        useDatabase(reopened);
        const Result<bool> opened = CalcProject::open(path(QStringLiteral("all.pipecalc")), reopened);
        QVERIFY2(opened.valueOr(false), qPrintable(opened.message()));
        QVERIFY(CalcProject::of(reopened) == saved);
        for (const Slot slot : CalcProject::inputSlots())
            QCOMPARE(reopened.input(slot), original.input(slot));
        QCOMPARE(reopened.mode(), 1);
        QCOMPARE(reopened.calculation(), CalcKind::Fiberglass);
        QCOMPARE(reopened.laying(), Laying::Trenchless);
        QCOMPARE(reopened.wall(), Wall::SingleLayer);
        QCOMPARE(reopened.material().name, QStringLiteral("Стеклопластик SN 10000"));
        QCOMPARE(reopened.vars().selectedMaterialId, 5);
        QCOMPARE(reopened.vars().selectedSoilId, 4);
        QVERIFY(reopened.tube().fiberglass);
        QCOMPARE(reopened.tube().id, 1);
        QCOMPARE(reopened.tube().name, original.tube().name);
        QCOMPARE(reopened.soil().name, QStringLiteral("Песок мелкий"));
        QVERIFY(reopened.description() == original.description());
        // The fiberglass tubes of the material are the grid to show.
        QVERIFY(reopened.referenceData().fiberglassTubesVisible());
    }

    void fileIsReadableJson()
    {
        CalcSession session;
        useDatabase(session);
        session.setMode(1);
        QVERIFY(session.pickMaterialById(1).valueOr(false));
        session.setInput(Slot::Htr, 3.5);
        const QJsonObject root = QJsonDocument::fromJson(CalcProject::of(session).toJson()).object();
        QCOMPARE(root.value("format").toInt(), CalcProject::FormatVersion);
        QCOMPARE(root.value("calculation").toString(), QStringLiteral("static"));
        QCOMPARE(root.value("material").toObject().value("id").toInt(), 1);
        QCOMPARE(root.value("material").toObject().value("name").toString(), QStringLiteral("Полиэтилен ПЭ 100"));
        QVERIFY(root.value("tube").isNull());
        QCOMPARE(root.value("inputs").toObject().value("Htr").toDouble(), 3.5);
        // Values at their defaults are not written.
        QVERIFY(!root.value("inputs").toObject().contains("Hw"));
    }

    void openedProjectHasNoResultsUntilCalculated()
    {
        CalcSession session;
        useDatabase(session);
        session.setMode(1);
        QVERIFY(CalcProject::of(session).save(path(QStringLiteral("same.pipecalc"))));
        QVERIFY(session.run().isCompleted());
        QCOMPARE(session.state(), CalcSession::ResultState::Current);
        // The very inputs the results belong to: still none until C.
        QVERIFY(CalcProject::open(path(QStringLiteral("same.pipecalc")), session).valueOr(false));
        QCOMPARE(session.state(), CalcSession::ResultState::None);
        QCOMPARE(session.state(CalcKind::Hydraulic), CalcSession::ResultState::None);
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        const QJsonObject good{{"format", 1}, {"calculation", "static"}};
        auto with = [&good](const char *key, const QJsonValue &value) {
            QJsonObject o = good;
            o.insert(QLatin1String(key), value);
            return projectJson(o);
        };
        QTest::newRow("empty file") << QByteArray() << "не читается как JSON";
        QTest::newRow("cut short") << projectJson(good).left(20) << "не читается как JSON";
        QTest::newRow("a report, not a project") << QByteArray("{\\rtf1 Отчёт}") << "не читается как JSON";
        QTest::newRow("an array") << QByteArray("[1, 2]") << "ожидался объект JSON";
        QTest::newRow("no format") << QByteArray(R"({"calculation": "static"})") << "нет номера формата";
        QTest::newRow("newer format") << with("format", 2) << "более новой версией программы (формат 2)";
        QTest::newRow("format as text") << with("format", "1") << "«format» должно быть целым числом";
        QTest::newRow("format zero") << with("format", 0) << "неизвестный номер формата проекта: 0";
        QTest::newRow("another program's file") << with("type", "something-else") << "не является проектом";
        QTest::newRow("unknown calculation") << with("calculation", "thermal") << "«calculation» должно быть";
        QTest::newRow("unknown laying") << with("laying", "aerial") << "«laying» должно быть «trench» или «trenchless»";
        QTest::newRow("unknown wall") << with("wall", 3) << "«wall» должно быть «single» или «three»";
        QTest::newRow("unknown input") << with("inputs", QJsonObject{{"Xyz", 1}}) << "«Xyz» — это не исходная";
        QTest::newRow("a result as input") << with("inputs", QJsonObject{{"qs", 1}}) << "«qs» — это не исходная";
        QTest::newRow("input not a number") << with("inputs", QJsonObject{{"Htr", "3,5"}}) << "«Htr» не число";
        QTest::newRow("material id as text")
            << with("material", QJsonObject{{"id", "1"}}) << "«material.id» должно быть целым";
        QTest::newRow("material without id") << with("material", QJsonObject{{"name", "ПЭ"}}) << "нет кода";
        QTest::newRow("tube counted from 0") << with("tube", QJsonObject{{"id", 0}}) << "считается с 1";
        QTest::newRow("fractional soil id") << with("soil", QJsonObject{{"id", 4.5}}) << "«soil.id» должно быть целым";
        QTest::newRow("negative material id") << with("material", QJsonObject{{"id", -4}, {"name", "ПЭ"}})
                                              << "код в поле «material» не может быть отрицательным";
        QTest::newRow("negative soil id") << with("soil", QJsonObject{{"id", -1}, {"name", "Песок"}})
                                          << "код в поле «soil» не может быть отрицательным";
        QTest::newRow("tube geometry of the wrong table")
            << with("tube", QJsonObject{{"id", 1}, {"geometry", QJsonObject{{"D", 0.5}, {"s", 0.002}, {"t", 0.004}}}})
            << "«tube.geometry» должно быть объектом с числами «Din», «Dout», «s», «Lv», «Lsh»";
        QTest::newRow("tube geometry with a text")
            << with("tube", QJsonObject{{"id", 1},
                                        {"fiberglass", true},
                                        {"geometry", QJsonObject{{"D", "0,5"}, {"s", 0.002}, {"t", 0.004}}}})
            << "«tube.geometry» должно быть объектом с числами «D», «s», «t»";
        // One byte past the limit; the content would be a project.
        const auto ofSize = [&with](qint64 size) {
            const QByteArray bare = with("description", QJsonObject{{"notes", ""}});
            return with("description", QJsonObject{{"notes", QString(int(size - bare.size()), QLatin1Char('x'))}});
        };
        QTest::newRow("past the size limit")
            << ofSize(CalcProject::MaxFileSize + 1) << "файл слишком велик для проекта";
        QTest::newRow("at the size limit, cut")
            << QByteArray(int(CalcProject::MaxFileSize), ' ') << "не читается как JSON";
        QTest::newRow("impossible date") << with("description", QJsonObject{{"date", "2026-02-30"}})
                                         << "«2026-02-30» не является датой";
        QTest::newRow("description as text") << with("description", "объект") << "«description» должно быть";
        QTest::newRow("fiberglass with a polymer") << projectJson(QJsonObject{
            {"format", 1}, {"calculation", "fiberglass"}, {"material", QJsonObject{{"id", 1}, {"name", "ПЭ"}}}})
                                                   << "не стеклопластик";
        QTest::newRow("static with fiberglass") << projectJson(QJsonObject{
            {"format", 1}, {"calculation", "static"}, {"material", QJsonObject{{"id", 4}, {"name", "SN 5000"}}}})
                                                << "выбран стеклопластиковый материал";
    }

    void refusedFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        const QString file = path(QStringLiteral("refused.pipecalc"));
        QVERIFY(TestFiles::write(file, content));

        CalcSession session;
        useDatabase(session);
        session.setMode(1);
        session.setInput(Slot::Htr, 4.25);
        session.run();
        const CalcProject before = CalcProject::of(session);
        const CalcSession::ResultState state = session.state();

        const Result<bool> opened = CalcProject::open(file, session);
        QVERIFY(!opened);
        const QString message = opened.message();
        QVERIFY2(message.startsWith(QStringLiteral("Проект «%1» не открыт: ").arg(file)), qPrintable(message));
        QVERIFY2(message.contains(problem), qPrintable(message));
        QVERIFY(message.endsWith(QLatin1Char('.')));
        QVERIFY(CalcProject::of(session) == before);
        QCOMPARE(session.state(), state);
    }

    void choicesMissingFromTheDatabase_data()
    {
        QTest::addColumn<QJsonObject>("choices");
        QTest::addColumn<QString>("problem");
        const QJsonObject material{{"id", 1}, {"name", "Полиэтилен ПЭ 100"}};
        QTest::newRow("material") << QJsonObject{{"material", QJsonObject{{"id", 9}, {"name", "ПВХ"}}}}
                                  << "нет выбранного в проекте материала «ПВХ» (код 9)";
        QTest::newRow("soil, after a material that exists")
            << QJsonObject{{"material", material}, {"soil", QJsonObject{{"id", 3}, {"name", "Глина"}}}}
            << "нет выбранного в проекте грунта «Глина» (код 3)";
        QTest::newRow("tube beyond the table")
            << QJsonObject{{"material", material},
                           {"tube", QJsonObject{{"id", 4}, {"name", "Dнаруж 1 м"}, {"fiberglass", false}}}}
            << "нет выбранной в проекте трубы «Dнаруж 1 м» (строка 4 таблицы труб, а в ней строк: 3)";
        // Material 5 lists one fiberglass tube, material 4 two.
        QTest::newRow("fiberglass tube of the other class")
            << QJsonObject{{"calculation", "fiberglass"},
                           {"material", QJsonObject{{"id", 5}, {"name", "SN 10000"}}},
                           {"tube", QJsonObject{{"id", 2}, {"name", "D 0,3 м"}, {"fiberglass", true}}}}
            << "строка 2 таблицы стеклопластиковых труб, а в ней строк: 1";
    }

    void choicesMissingFromTheDatabase()
    {
        QFETCH(QJsonObject, choices);
        QFETCH(QString, problem);
        QJsonObject root{{"format", 1}, {"calculation", "static"}, {"inputs", QJsonObject{{"Htr", 9}}}};
        for (auto it = choices.begin(); it != choices.end(); ++it)
            root.insert(it.key(), it.value());
        const QString file = path(QStringLiteral("missing.pipecalc"));
        QVERIFY(TestFiles::write(file, projectJson(root)));

        CalcSession session;
        useDatabase(session);
        QVERIFY(session.pickMaterialById(4).valueOr(false));
        session.setInput(Slot::Htr, 1.5);
        const int materialRows = session.referenceData().materials()->rowCount();
        const CalcProject before = CalcProject::of(session);

        const Result<bool> opened = CalcProject::open(file, session);
        QVERIFY(!opened);
        QVERIFY2(opened.message().contains(problem), qPrintable(opened.message()));
        QVERIFY(opened.message().contains(file));
        // Nothing of it applied: not the inputs, not the tab, not the choices.
        QVERIFY(CalcProject::of(session) == before);
        QCOMPARE(session.input(Slot::Htr), 1.5);
        QCOMPARE(session.vars().selectedMaterialId, 4);
        QCOMPARE(session.referenceData().materials()->rowCount(), materialRows);
    }

    void choicesNamedOtherwise_data()
    {
        QTest::addColumn<QJsonObject>("choices");
        QTest::addColumn<QString>("difference");
        const QJsonObject material{{"id", 1}, {"name", "Полиэтилен ПЭ 100"}};
        QTest::newRow("soil") << QJsonObject{{"soil", QJsonObject{{"id", 4}, {"name", "Глина тяжёлая"}}}}
                              << "грунт с кодом 4 — в проекте «Глина тяжёлая», в справочной базе «Песок мелкий»";
        QTest::newRow("material") << QJsonObject{{"material", QJsonObject{{"id", 1}, {"name", "ПВХ-У"}}}}
                                  << "материал с кодом 1 — в проекте «ПВХ-У», в справочной базе «Полиэтилен ПЭ 100»";
        QTest::newRow("tube of a project without sizes")
            << QJsonObject{{"material", material},
                           {"tube",
                            QJsonObject{{"id", 2}, {"name", "Dнаруж 0,5 м, Dвнутр 0,4 м"}, {"fiberglass", false}}}}
            << "труба в строке 2 таблицы труб — в проекте «Dнаруж 0,5 м, Dвнутр 0,4 м», в справочной базе "
               "«Dнаруж 0,16 м, Dвнутр 0,139 м»";
        QTest::newRow("tube whose sizes the database lacks")
            << QJsonObject{{"material", material},
                           {"tube",
                            QJsonObject{{"id", 1},
                                        {"name", "Dнаруж 1 м, Dвнутр 0,9 м"},
                                        {"geometry",
                                         QJsonObject{{"Din", 0.9}, {"Dout", 1.0}, {"s", 5}, {"Lv", 50}, {"Lsh", 60}}}}}}
            << "труба «Dнаруж 1 м, Dвнутр 0,9 м» — в таблице труб справочной базы нет трубы этих размеров";
    }

    // A project saved with another database, or edited by hand, names its
    // choices otherwise than the rows under the same ids: refused unless
    // the question is asked and answered yes, and then opened with the
    // project's values and names.
    void choicesNamedOtherwise()
    {
        QFETCH(QJsonObject, choices);
        QFETCH(QString, difference);
        QJsonObject root{{"format", 1}, {"calculation", "static"}, {"inputs", QJsonObject{{"Egr", 1.5}}}};
        for (auto it = choices.begin(); it != choices.end(); ++it)
            root.insert(it.key(), it.value());
        const QString file = path(QStringLiteral("other-names.pipecalc"));
        QVERIFY(TestFiles::write(file, projectJson(root)));

        CalcSession session;
        useDatabase(session);
        session.setInput(Slot::Egr, 7);
        const CalcProject before = CalcProject::of(session);

        const Result<bool> refused = CalcProject::open(file, session);
        QVERIFY(!refused);
        QCOMPARE(refused.message(), CalcProject::openFailure(file, CalcProject::differencesProblem({difference})));
        QVERIFY(CalcProject::of(session) == before);

        QStringList asked;
        const auto answer = [&asked](bool yes) {
            return [&asked, yes](const QStringList &differences) {
                asked = differences;
                return yes;
            };
        };
        const Result<bool> declined = CalcProject::open(file, session, answer(false));
        QVERIFY(declined); // nothing to say: the user said no
        QVERIFY(!*declined);
        QCOMPARE(asked, QStringList{difference});
        QVERIFY(CalcProject::of(session) == before);

        QVERIFY(CalcProject::open(file, session, answer(true)).valueOr(false));
        QCOMPARE(session.input(Slot::Egr), 1.5);
        for (const char *choice : {"material", "tube", "soil"}) {
            const QJsonObject kept = choices.value(QLatin1String(choice)).toObject();
            if (kept.isEmpty())
                continue;
            const CalcSession::Choice &opened = QLatin1String(choice) == QLatin1String("material") ? session.material()
                                                : QLatin1String(choice) == QLatin1String("soil")   ? session.soil()
                                                                                                   : session.tube();
            QCOMPARE(opened.id, kept.value("id").toInt());
            QCOMPARE(opened.name, kept.value("name").toString());
        }
    }

    void tubesAreFoundBySizes_data()
    {
        QTest::addColumn<QJsonObject>("tube");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        const QJsonObject sizesOfRow3{{"Din", 0.174}, {"Dout", 0.2}, {"s", 1.3}, {"Lv", 15}, {"Lsh", 0}};
        QTest::newRow("under another number")
            << QJsonObject{{"id", 1}, {"name", "Dнаруж 0,2 м, Dвнутр 0,174 м"}, {"geometry", sizesOfRow3}} << 3
            << "Dнаруж 0,2 м, Dвнутр 0,174 м";
        QTest::newRow("beyond this table's rows")
            << QJsonObject{{"id", 12}, {"name", "Dнаруж 0,2 м, Dвнутр 0,174 м"}, {"geometry", sizesOfRow3}} << 3
            << "Dнаруж 0,2 м, Dвнутр 0,174 м";
        QTest::newRow("a fiberglass tube")
            << QJsonObject{{"id", 2},
                           {"name", "D 0,3 м, s 0,0016 м, t 0 м"},
                           {"fiberglass", true},
                           {"geometry", QJsonObject{{"D", 0.3}, {"s", 0.0016}, {"t", 0}}}}
            << 2 << "D 0,3 м, s 0,0016 м, t 0 м";
        QTest::newRow("a project without sizes") << QJsonObject{{"id", 2}, {"name", "Dнаруж 0,16 м, Dвнутр 0,139 м"}}
                                                 << 2 << "Dнаруж 0,16 м, Dвнутр 0,139 м";
        QTest::newRow("a project without a name") << QJsonObject{{"id", 2}} << 2 << "Dнаруж 0,16 м, Dвнутр 0,139 м";
    }

    // A tube is kept with its sizes, so that a database listing its tubes in
    // another order still finds the same one; a project without them opens
    // by its row number and keeps the row's sizes from then on.
    void tubesAreFoundBySizes()
    {
        QFETCH(QJsonObject, tube);
        QFETCH(int, row);
        QFETCH(QString, name);
        const bool fiberglass = tube.value("fiberglass").toBool();
        const QJsonObject root{{"format", 1},
                               {"calculation", fiberglass ? "fiberglass" : "static"},
                               {"material", QJsonObject{{"id", fiberglass ? 4 : 1}}},
                               {"tube", tube}};
        const QString file = path(QStringLiteral("sizes.pipecalc"));
        QVERIFY(TestFiles::write(file, projectJson(root)));

        CalcSession session;
        useDatabase(session);
        const Result<bool> opened = CalcProject::open(file, session);
        QVERIFY2(opened.valueOr(false), qPrintable(opened.message()));
        QCOMPARE(session.tube().id, row);
        QCOMPARE(session.tube().fiberglass, fiberglass);
        QCOMPARE(session.tube().name, name);
        QCOMPARE(session.tube().geometry.size(), fiberglass ? 3 : 5);

        // Saved again, the tube is the row the database lists.
        const QJsonObject saved = QJsonDocument::fromJson(CalcProject::of(session).toJson()).object();
        QCOMPARE(saved.value("tube").toObject().value("id").toInt(), row);
        QCOMPARE(saved.value("tube").toObject().value("geometry").toObject().size(), fiberglass ? 3 : 5);
    }

    void databaseThatCannotBeReadIsSaid()
    {
        const QString file = path(QStringLiteral("chosen.pipecalc"));
        QVERIFY(
            TestFiles::write(file, R"({"format": 1, "calculation": "hydraulic", "soil": {"id": 4, "name": "Песок"}})"));
        CalcSession session;
        session.referenceData().database().setDatabaseFile(path(QStringLiteral("no-such.sqlite")));
        const Result<bool> opened = CalcProject::open(file, session);
        QVERIFY(!opened);
        QVERIFY2(opened.message().contains(QStringLiteral("справочная база не читается")),
                 qPrintable(opened.message()));
        QVERIFY(opened.message().contains(QStringLiteral("no-such.sqlite")));
        QCOMPARE(session.soil().id, -1);
    }

    void fileThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << "nothing-here.pipecalc"
                                 << "файла нет";
        QTest::newRow("a folder") << "Base"
                                  << "это папка, а не файл";
        QTest::newRow("a FIFO, not waited for") << "fifo.pipecalc"
                                                << "это не обычный файл";
        QTest::newRow("a link to an endless device") << "zero.pipecalc"
                                                     << "это не обычный файл";
    }

    void fileThatCannotBeRead()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QFile::remove(path(name));
        if (name.startsWith(QLatin1String("fifo")))
            QCOMPARE(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
        if (name.startsWith(QLatin1String("zero")))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path(name)));
        const Result<CalcProject> loaded = CalcProject::load(path(name));
        QVERIFY(!loaded);
        QCOMPARE(loaded.message(), CalcProject::openFailure(path(name), problem));
    }

    void handWrittenFileWithDefaultsOmitted()
    {
        // A byte order mark, no type, no choices, no description: all optional.
        const QString file = path(QStringLiteral("short.json"));
        QVERIFY(TestFiles::write(file, "\xEF\xBB\xBF{\"format\": 1, \"calculation\": \"hydraulic\", "
                                       "\"inputs\": {\"hs_d\": 0.5}}"));
        CalcSession session;
        useDatabase(session);
        session.setMode(1);
        session.setInput(Slot::Htr, 7);
        const Result<bool> opened = CalcProject::open(file, session);
        QVERIFY2(opened.valueOr(false), qPrintable(opened.message()));
        QCOMPARE(session.mode(), 0);
        QCOMPARE(session.input(Slot::hs_d), 0.5);
        // Whatever the file does not name is at its default again.
        QCOMPARE(session.input(Slot::Htr), Catalogue::entries()[SlotKeys::number(Slot::Htr) - 1].defaultValue);
        QCOMPARE(session.laying(), Laying::Trench);
        QCOMPARE(session.wall(), Wall::ThreeLayer);
        QVERIFY(session.description().isEmpty());
    }

    void saveIsAllOrNothing()
    {
        const QString file = path(QStringLiteral("kept.pipecalc"));
        QVERIFY(TestFiles::write(file, "former"));
        CalcSession session;
        const Result<> refused = CalcProject::of(session).save(path(QStringLiteral("no-folder/p.pipecalc")));
        QVERIFY(!refused);
        QVERIFY2(
            refused.message().startsWith(QStringLiteral("Проект «%1» не сохранён: ").arg(path("no-folder/p.pipecalc"))),
            qPrintable(refused.message()));
        QVERIFY(CalcProject::of(session).save(file));
        QVERIFY(TestFiles::read(file).startsWith('{'));
    }

    void projectFilesAreRecognised_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("project");
        const QByteArray project = R"({"format": 1, "type": "pipecalc-project", "calculation": "static"})";
        QTest::newRow("by its name") << "a.pipecalc" << QByteArray() << true;
        QTest::newRow("by its name, capitals") << "A.PIPECALC" << QByteArray("{") << true;
        QTest::newRow("by its content") << "p.json" << project << true;
        QTest::newRow("JSON of something else") << "q.json" << QByteArray(R"({"format": 1})") << false;
        QTest::newRow("a report") << "r.rtf" << QByteArray("{\\rtf1 x}") << false;
        QTest::newRow("a text") << "t.txt" << QByteArray("Объект") << false;
    }

    void projectFilesAreRecognised()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, project);
        QVERIFY(TestFiles::write(path(name), content));
        QCOMPARE(CalcProject::isProjectFile(path(name)), project);
    }
};

QTEST_GUILESS_MAIN(TestCalcProject)
#include "tst_calcproject.moc"
