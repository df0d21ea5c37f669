// What the results of a session are worth after each kind of change: the
// state, the line under the results and whether a report is made of them.
// A report is made only of results that belong to the inputs, the choices
// and the options as they are; a failed run's message stands only while the
// inputs it failed on do.
#include "SqliteFixture.h"

#include "calc/CalcProject.h"
#include "calc/CalcSession.h"
#include "model/NumberFormat.h"
#include "reports/CalcReport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

using State = CalcSession::ResultState;

const QString kNotRun = QStringLiteral("Расчёт не выполнен. Нажмите C, чтобы выполнить расчёт.");
const QString kOutdated =
    QStringLiteral("Исходные данные изменены после расчёта: результаты устарели. Нажмите C, чтобы пересчитать.");
const QString kRefusedNotRun = QStringLiteral("Отчёт не составлен: расчёт по текущим исходным данным не выполнен. "
                                              "Нажмите C, чтобы выполнить расчёт, затем R.");
const QString kRefusedOutdated = QStringLiteral("Отчёт не составлен: исходные данные изменены после расчёта, и "
                                                "результаты устарели. Нажмите C, чтобы пересчитать, затем R.");

} // namespace

Q_DECLARE_METATYPE(CalcSession::ResultState)
Q_DECLARE_METATYPE(Slot)

class TestCalcSession : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString base() const { return m_dir.filePath(QStringLiteral("Base")); }
    QString projectPath() const { return m_dir.filePath(QStringLiteral("before.pipecalc")); }

    // Does what the user does, step by step: "Htr=3" types an input;
    // "material=5", "soil=4" pick by id and "tube=2" by number; "tab=1",
    // "laying=1", "wall=0" choose; "description" names the object;
    // "project" opens the project saved just before the run.
    void apply(CalcSession &session, const QString &steps)
    {
        for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString name = step.section(QLatin1Char('='), 0, 0);
            const double value = step.section(QLatin1Char('='), 1).toDouble();
            if (name == QLatin1String("material")) {
                QVERIFY(session.pickMaterialById(int(value)).valueOr(false));
            } else if (name == QLatin1String("soil")) {
                QVERIFY(session.pickSoilById(int(value)).valueOr(false));
            } else if (name == QLatin1String("tube")) {
                QVERIFY(session.pickTubeByNumber(int(value)).valueOr(false));
            } else if (name == QLatin1String("tab")) {
                session.setMode(int(value));
            } else if (name == QLatin1String("laying")) {
                session.setLaying(*FiberglassChoices::fromIndex<Laying>(int(value)));
            } else if (name == QLatin1String("wall")) {
                session.setWall(*FiberglassChoices::fromIndex<Wall>(int(value)));
            } else if (name == QLatin1String("description")) {
                ProjectDescription description;
                description.object = QStringLiteral("Коллектор К-3");
                session.setDescription(description);
            } else if (name == QLatin1String("project")) {
                const Result<bool> opened = CalcProject::open(projectPath(), session);
                QVERIFY2(opened.valueOr(false), qPrintable(opened.message()));
            } else {
                const std::optional<Slot> slot = SlotKeys::fromKey(name);
                QVERIFY2(slot, qPrintable(step));
                session.setInput(*slot, value);
            }
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QDir().mkpath(base());
        QVERIFY(SqliteFixture::create(base() + QStringLiteral("/data.sqlite"), SqliteFixture::referenceSql()));
    }

    // Each row: the session set up, a run of the calculation it selects,
    // then a change.  The reference database has the materials 1 (the
    // catalogue's moduli), 4 and 5 (fiberglass) and 7, the soils 4 (the
    // catalogue's weight and modulus) and 2, and tube 2 of 160 mm.
    void stateAfterAChange_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("completes");
        QTest::addColumn<QString>("change");
        QTest::addColumn<State>("state");

        const QString hydraulic;
        const QString hydraulicFault = QStringLiteral("Din=0");
        const QString corrugated = QStringLiteral("tab=1");
        const QString corrugatedStop = QStringLiteral("tab=1 F=0");
        const QString fiberglass = QStringLiteral("tab=1 material=5");
        const QString fiberglassFault = QStringLiteral("tab=1 material=5 EgrSt=0");

        QTest::newRow("hydraulic: nothing") << hydraulic << true << "" << State::Current;
        QTest::newRow("hydraulic: an input") << hydraulic << true << "i_s=0.03" << State::Stale;
        QTest::newRow("hydraulic: an input undone") << hydraulic << true << "i_s=0.03 i_s=0.02" << State::Current;
        QTest::newRow("hydraulic: a tube") << hydraulic << true << "tube=2" << State::Stale;
        // The report names the kind of material.
        QTest::newRow("hydraulic: a material") << hydraulic << true << "material=7" << State::Stale;
        QTest::newRow("hydraulic: a soil, which it does not use") << hydraulic << true << "soil=2" << State::Current;
        QTest::newRow("hydraulic: the other tab and back") << hydraulic << true << "tab=1 tab=0" << State::Current;
        QTest::newRow("hydraulic: the description") << hydraulic << true << "description" << State::Current;
        QTest::newRow("hydraulic: the same project opened") << hydraulic << true << "project" << State::None;
        QTest::newRow("hydraulic fault") << hydraulicFault << false << "" << State::Failed;
        QTest::newRow("hydraulic fault: the input fixed") << hydraulicFault << false << "Din=0.348" << State::None;
        QTest::newRow("hydraulic fault: the fix undone")
            << hydraulicFault << false << "Din=0.348 Din=0" << State::Failed;
        QTest::newRow("hydraulic fault: a tube") << hydraulicFault << false << "tube=2" << State::None;
        QTest::newRow("hydraulic fault: the same project opened")
            << hydraulicFault << false << "project" << State::None;

        QTest::newRow("corrugated: nothing") << corrugated << true << "" << State::Current;
        QTest::newRow("corrugated: an input") << corrugated << true << "Htr=3" << State::Stale;
        QTest::newRow("corrugated: an input undone") << corrugated << true << "Htr=3 Htr=6" << State::Current;
        QTest::newRow("corrugated: a material of the same moduli")
            << corrugated << true << "material=1" << State::Stale;
        QTest::newRow("corrugated: a material") << corrugated << true << "material=7" << State::Stale;
        QTest::newRow("corrugated: a tube") << corrugated << true << "tube=2" << State::Stale;
        // The report names the soil, even one that weighs the same.
        QTest::newRow("corrugated: a soil of the same weight") << corrugated << true << "soil=4" << State::Stale;
        QTest::newRow("corrugated: a soil") << corrugated << true << "soil=2" << State::Stale;
        QTest::newRow("corrugated: laying and wall, which it does not use")
            << corrugated << true << "laying=1 wall=0" << State::Current;
        QTest::newRow("corrugated: the same project opened") << corrugated << true << "project" << State::None;
        QTest::newRow("corrugated stop") << corrugatedStop << false << "" << State::Failed;
        QTest::newRow("corrugated stop: the input fixed") << corrugatedStop << false << "F=0.38" << State::None;
        QTest::newRow("corrugated stop: a soil") << corrugatedStop << false << "soil=2" << State::None;
        QTest::newRow("corrugated stop: the same project opened")
            << corrugatedStop << false << "project" << State::None;

        QTest::newRow("fiberglass: nothing") << fiberglass << true << "" << State::Current;
        QTest::newRow("fiberglass: an input") << fiberglass << true << "h=2" << State::Stale;
        QTest::newRow("fiberglass: the other fiberglass") << fiberglass << true << "material=4" << State::Stale;
        QTest::newRow("fiberglass: a tube") << fiberglass << true << "tube=1" << State::Stale;
        QTest::newRow("fiberglass: a soil") << fiberglass << true << "soil=4" << State::Stale;
        QTest::newRow("fiberglass: the laying") << fiberglass << true << "laying=1" << State::Stale;
        QTest::newRow("fiberglass: the wall") << fiberglass << true << "wall=0" << State::Stale;
        QTest::newRow("fiberglass: laying and wall undone")
            << fiberglass << true << "laying=1 wall=0 wall=1 laying=0" << State::Current;
        QTest::newRow("fiberglass: the same project opened") << fiberglass << true << "project" << State::None;
        QTest::newRow("fiberglass fault") << fiberglassFault << false << "" << State::Failed;
        QTest::newRow("fiberglass fault: the input fixed") << fiberglassFault << false << "EgrSt=7" << State::None;
        QTest::newRow("fiberglass fault: the laying") << fiberglassFault << false << "laying=1" << State::None;
        QTest::newRow("fiberglass fault: the laying undone")
            << fiberglassFault << false << "laying=1 laying=0" << State::Failed;
        QTest::newRow("fiberglass fault: the same project opened")
            << fiberglassFault << false << "project" << State::None;
    }

    void stateAfterAChange()
    {
        QFETCH(QString, setup);
        QFETCH(bool, completes);
        QFETCH(QString, change);
        QFETCH(State, state);

        CalcSession session;
        session.referenceData().database().setBaseDir(base());
        apply(session, setup);
        QVERIFY(CalcProject::of(session).save(projectPath()));
        const CalcKind kind = session.calculation();
        const CalcOutcome outcome = session.run();
        QCOMPARE(outcome.isCompleted(), completes);
        const QString fault = outcome.displayText();
        QCOMPARE(fault.isEmpty(), completes);
        apply(session, change);

        QCOMPARE(session.state(kind), state);
        QCOMPARE(session.resultsCurrent(kind), state == State::Current);
        QTextDocument report;
        const CalcReport::Result built = CalcReport::build(session, kind, report);
        const QString line = session.stateLine(kind);
        switch (state) {
        case State::Current:
            QVERIFY2(built.built(), qPrintable(built.message));
            QVERIFY2(!line.contains(QStringLiteral("Нажмите C")), qPrintable(line));
            // A static calculation's results carry their verdict.
            QCOMPARE(session.verdict(kind).judged(), kind != CalcKind::Hydraulic);
            QCOMPARE(session.stateTone(kind), session.verdict(kind).judged() && !session.verdict(kind).holds()
                                                  ? CalcSession::Tone::Fails
                                                  : CalcSession::Tone::Holds);
            return;
        case State::Stale:
            QCOMPARE(line, kOutdated);
            QCOMPARE(built.message, kRefusedOutdated);
            QCOMPARE(session.stateTone(kind), CalcSession::Tone::Outdated);
            break;
        case State::None:
            QCOMPARE(line, kNotRun);
            QCOMPARE(built.message, kRefusedNotRun);
            QCOMPARE(session.stateTone(kind), CalcSession::Tone::Neutral);
            break;
        case State::Failed:
            QCOMPARE(line, fault);
            QCOMPARE(session.stateTone(kind), CalcSession::Tone::Fails);
            QCOMPARE(built.message, QStringLiteral("Отчёт не составлен: расчёт не выполнен. %1 Исправьте исходные "
                                                   "данные и нажмите C.")
                                        .arg(fault));
            break;
        }
        QCOMPARE(built.status, CalcReport::Status::NotCurrent);
        QVERIFY(report.isEmpty());
        // Results that are not current are not judged either.
        QVERIFY(!session.verdict(kind).judged());
        QVERIFY(session.warnings(kind).isEmpty());
    }

    // The choices name only what is in force: a tube stays chosen while the
    // material is of its kind, and is let go, with a word, when it is not.
    void tubeFollowsTheMaterialsKind_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("tube"); // empty: none chosen
        QTest::addColumn<QString>("said"); // what tubeDropped() said, empty for nothing
        const QString corrugatedTube = QStringLiteral("Dнаруж 0,16 м, Dвнутр 0,139 м");
        const QString fiberglassTube = QStringLiteral("D 0,3 м, s 0,0016 м, t 0 м");
        QTest::newRow("corrugated tube, corrugated material") << "material=1 tube=2 material=7" << corrugatedTube << "";
        QTest::newRow("corrugated tube, fiberglass material")
            << "material=1 tube=2 material=4"
            << ""
            << "Труба «Dнаруж 0,16 м, Dвнутр 0,139 м» не изготавливается из материала «Стеклопластик SN 5000» и "
               "больше не выбрана. Выберите трубу на странице «Труба».";
        QTest::newRow("fiberglass tube, the other fiberglass material")
            << "material=4 tube=2 material=5" << fiberglassTube << "";
        QTest::newRow("fiberglass tube, corrugated material")
            << "material=4 tube=2 material=1"
            << ""
            << "Труба «D 0,3 м, s 0,0016 м, t 0 м» не изготавливается из материала «Полиэтилен ПЭ 100» и "
               "больше не выбрана. Выберите трубу на странице «Труба».";
        QTest::newRow("no tube chosen") << "material=5 material=1"
                                        << ""
                                        << "";
        QTest::newRow("tube chosen again after")
            << "material=1 tube=2 material=4 tube=2" << fiberglassTube
            << "Труба «Dнаруж 0,16 м, Dвнутр 0,139 м» не изготавливается из материала «Стеклопластик SN 5000» и "
               "больше не выбрана. Выберите трубу на странице «Труба».";
    }

    void tubeFollowsTheMaterialsKind()
    {
        QFETCH(QString, steps);
        QFETCH(QString, tube);
        QFETCH(QString, said);
        CalcSession session;
        session.referenceData().database().setBaseDir(base());
        QStringList messages;
        connect(&session, &CalcSession::tubeDropped, this, [&messages](const QString &m) { messages << m; });
        apply(session, steps);
        QCOMPARE(session.tube().id >= 0, !tube.isEmpty());
        QCOMPARE(session.tube().name, tube);
        QCOMPARE(messages, said.isEmpty() ? QStringList() : QStringList{said});
        QVERIFY(session.choicesLine().contains(QStringLiteral("Труба: ")
                                               + (tube.isEmpty() ? QStringLiteral("не выбрана") : tube)));
    }

    // A run of one calculation leaves the others' results as they were.
    void eachCalculationKeepsItsOwnResults()
    {
        CalcSession session;
        session.referenceData().database().setBaseDir(base());
        QVERIFY(session.run().isCompleted());
        apply(session, QStringLiteral("tab=1 F=0"));
        QVERIFY(!session.run().isCompleted());
        QCOMPARE(session.state(CalcKind::Hydraulic), State::Current);
        QCOMPARE(session.state(CalcKind::Static), State::Failed);
        QCOMPARE(session.state(CalcKind::Fiberglass), State::None);
        // The tab selects whose results the session speaks of.
        QCOMPARE(session.state(), State::Failed);
        session.setMode(0);
        QCOMPARE(session.state(), State::Current);
    }
    // A value typed for an input: a number with either separator is written
    // and makes the results stale; anything else changes nothing and says
    // which input refused what, with numbers it would take.
    void enterInput_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<Slot>("slot");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored"); // -1: refused
        QTest::addColumn<QString>("message");
        const QString din = QStringLiteral("для Dвнутр («Внутренний диаметр трубопровода»)");
        const QString tail = QStringLiteral("; дробную часть можно отделять запятой или точкой.");
        QTest::newRow("comma") << "," << Slot::Din << "0,4" << 0.4 << QString();
        QTest::newRow("point on a comma system") << "," << Slot::Din << " 1.5e-1 " << 0.15 << QString();
        QTest::newRow("letters") << "," << Slot::Din << " abc " << -1.0
                                 << "Значение «abc» не принято " + din + ". Введите число, например 0,348 или 0.348"
                                        + tail;
        QTest::newRow("empty") << "," << Slot::Din << "" << -1.0
                               << "Значение «» не принято " + din + ". Введите число, например 0,348 или 0.348" + tail;
        QTest::newRow("point system") << "." << Slot::Din << "1,5 м" << -1.0
                                      << "Значение «1,5 м» не принято " + din
                                             + ". Введите число, например 0,5 или -1.5e3" + tail;
    }

    void enterInput()
    {
        QFETCH(QString, separator);
        QFETCH(Slot, slot);
        QFETCH(QString, text);
        QFETCH(double, stored);
        QFETCH(QString, message);
        NumberFormat::setDecimalSeparator(separator);
        CalcSession session;
        session.referenceData().database().setBaseDir(base());
        QVERIFY(session.run().isCompleted());
        const double before = session.input(slot);
        const Result<> entered = session.enterInput(slot, text);
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QCOMPARE(entered.ok(), stored >= 0);
        QCOMPARE(entered.message(), message);
        QCOMPARE(session.input(slot), stored >= 0 ? stored : before);
        QCOMPARE(session.state(), stored >= 0 ? State::Stale : State::Current);
    }
};

QTEST_MAIN(TestCalcSession)
#include "tst_calcsession.moc"
