#include "CalcTestSupport.h"

#include "calc/CalcSession.h"
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/ParameterSweep.h"
#include "calc/StaticCalc.h"
#include "calc/SweepRange.h"
#include "model/NumberFormat.h"

#include <QtTest>

#include <cstring>

using namespace CalcTestSupport;

Q_DECLARE_METATYPE(CalcKind)

namespace {

using Settings = QList<QPair<Slot, double>>;

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A session as the user leaves it: the settings typed in, the
// calculation's results current.
void prepare(CalcSession &session, CalcKind kind, const Settings &settings)
{
    session.setMode(kind == CalcKind::Hydraulic ? 0 : 1);
    for (const auto &[slot, value] : settings)
        session.setInput(slot, value);
}

} // namespace

class TestSweep : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rangeValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        // Each value is the double a user typing it would get.
        QTest::newRow("tenths") << "hs_d=0.1:1:0.1"
                                << QStringList{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"};
        QTest::newRow("end not on a step") << "Htr=0:1:0.3" << QStringList{"0", "0.3", "0.6", "0.9"};
        QTest::newRow("downwards") << "Htr=1:0:-0.25" << QStringList{"1", "0.75", "0.5", "0.25", "0"};
        QTest::newRow("one value") << "Htr=2.5:2.5:1" << QStringList{"2.5"};
        QTest::newRow("negative values") << "Hw=-0.3:0.3:0.2" << QStringList{"-0.3", "-0.1", "0.1", "0.3"};
        QTest::newRow("exponents") << "nu=1e-7:5e-7:1e-7" << QStringList{"1e-7", "2e-7", "3e-7", "4e-7", "5e-7"};
        QTest::newRow("hundredths") << "hs_d=0.97:1.01:0.01" << QStringList{"0.97", "0.98", "0.99", "1", "1.01"};
        // Three steps fall a hair short of TO, the largest double; the third
        // step from 0 would pass it, to infinity.
        QTest::newRow("up to the largest number")
            << "Htr=0:1.7976931348623157e308:5.99231045014e307"
            << QStringList{"0", "5.99231045014e307", "1.198462090028e308", "1.7976931348623157e308"};
        QTest::newRow("down to the lowest number")
            << "Htr=0:-1.7976931348623157e308:-5.99231045014e307"
            << QStringList{"0", "-5.99231045014e307", "-1.198462090028e308", "-1.7976931348623157e308"};
    }
    void rangeValues()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const Result<SweepRange> range = SweepRange::parse(text, ParameterSweep::MaxPoints);
        QVERIFY2(range, qPrintable(range.message()));
        const QVector<double> values = range->values();
        QCOMPARE(values.size(), expected.size());
        for (int i = 0; i < values.size(); ++i) {
            double typed = 0;
            QVERIFY(NumberFormat::parse(expected[i], QStringLiteral("."), &typed));
            QVERIFY2(sameBits(values[i], typed),
                     qPrintable(QStringLiteral("%1: %2").arg(i).arg(values[i], 0, 'g', 17)));
        }
    }

    void rangeRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("says");
        QTest::newRow("no step") << "Htr=0:1"
                                 << "KEY=FROM:TO:STEP";
        QTest::newRow("no key") << "0:1:0.1"
                                << "KEY=FROM:TO:STEP";
        QTest::newRow("unknown key") << "depth=0:1:0.1"
                                     << "Неизвестная переменная: depth";
        QTest::newRow("comma") << "Htr=0:1:0,1"
                               << "«0,1» не является числом";
        QTest::newRow("zero step") << "Htr=0:1:0"
                                   << "шаг не может быть равен нулю";
        QTest::newRow("away from the end") << "Htr=0:1:-0.1"
                                           << "в сторону от";
        QTest::newRow("too many") << "Htr=0:1:0.000001"
                                  << "больше допустимых 100000";
        QTest::newRow("too many, beyond exact decimals") << "Htr=0:1:1e-20"
                                                         << "больше допустимых 100000";
        QTest::newRow("beyond the doubles") << "Htr=0:1e309:1"
                                            << "«1e309» не является числом";
        QTest::newRow("a distance beyond the doubles")
            << "Htr=-1e308:1.7e308:1e308"
            << "расстояние от -1E308 до 1.7E308 не умещается в числах расчёта";
    }
    void rangeRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, says);
        const Result<SweepRange> range = SweepRange::parse(text, ParameterSweep::MaxPoints);
        QVERIFY(!range);
        QVERIFY2(range.message().contains(says), qPrintable(range.message()));
    }

    void pointsAgreeWithSingleRuns_data()
    {
        QTest::addColumn<CalcKind>("kind");
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QString>("vary");
        QTest::addColumn<QStringList>("outcomes");
        QTest::newRow("hydraulic filling") << CalcKind::Hydraulic << Settings{} << "hs_d=0.1:1:0.3"
                                           << QStringList{"completed", "completed", "completed", "completed"};
        // A run stopped by the input check in the middle: the next point
        // starts afresh.
        QTest::newRow("hydraulic slope through zero")
            << CalcKind::Hydraulic << Settings{{Slot::Din, 0.5}} << "i_s=-0.01:0.02:0.01"
            << QStringList{"stopped", "stopped", "completed", "completed"};
        QTest::newRow("static depth") << CalcKind::Static << Settings{{Slot::Hw, 1}} << "Htr=0.5:2:0.5"
                                      << QStringList{"completed", "completed", "completed", "completed"};
        QTest::newRow("static division by zero")
            << CalcKind::Static << Settings{{Slot::F, 0.5775}} << "Htr=-0.6:-0.4:0.1"
            << QStringList{"completed", "division_by_zero", "completed"};
        QTest::newRow("static wheel area, stopped")
            << CalcKind::Static << Settings{} << "F=0:0.4:0.2" << QStringList{"stopped", "completed", "completed"};
        QTest::newRow("fiberglass depth")
            << CalcKind::Fiberglass << Settings{{Slot::M, 20}, {Slot::FSt, 0.38}} << "h=0:3:1"
            << QStringList{"completed", "completed", "completed", "completed"};
        QTest::newRow("fiberglass fault") << CalcKind::Fiberglass << Settings{{Slot::MuSt, 1}} << "h=0:1:1"
                                          << QStringList{"division_by_zero", "division_by_zero"};
    }
    void pointsAgreeWithSingleRuns()
    {
        QFETCH(CalcKind, kind);
        QFETCH(Settings, settings);
        QFETCH(QString, vary);
        QFETCH(QStringList, outcomes);

        CalcSession session;
        prepare(session, kind, settings);
        session.setLaying(Laying::Trench);
        const Result<SweepRange> range = SweepRange::parse(vary, ParameterSweep::MaxPoints);
        QVERIFY(range);
        ParameterSweep sweep(session, kind);
        const Result<> added = sweep.addRange(*range);
        QVERIFY2(added, qPrintable(added.message()));
        const QVector<ParameterSweep::Point> points = sweep.points();
        QCOMPARE(points.size(), outcomes.size());

        const QVector<Slot> columns = sweep.columns();
        for (int i = 0; i < points.size(); ++i) {
            const ParameterSweep::Point &point = points[i];
            QCOMPARE(point.outcome.keyword(), outcomes[i]);
            // The same inputs run once in a session of their own.
            CalcSession single;
            prepare(single, kind, settings);
            single.setInput(range->slot(), point.inputs[0]);
            const CalcOutcome outcome = single.run(kind);
            QCOMPARE(point.outcome.keyword(), outcome.keyword());
            QCOMPARE(point.outcome.displayText(), outcome.displayText());
            if (!outcome.isCompleted()) {
                // Never a value left over from another point.
                QVERIFY(point.values.isEmpty());
                QVERIFY(point.checks.isEmpty());
                continue;
            }
            QCOMPARE(point.values.size(), columns.size());
            for (int c = 0; c < columns.size(); ++c)
                QVERIFY2(sameBits(point.values[c], single.vars().value(columns[c])),
                         qPrintable(SlotKeys::key(columns[c])));
            QCOMPARE(point.checks.size(), kind == CalcKind::Hydraulic ? 0 : 3);
            if (kind == CalcKind::Static) {
                QVERIFY(sameBits(point.checks[0].value, single.vars().value(Slot::S_cond)));
            } else if (kind == CalcKind::Fiberglass) {
                QVERIFY(sameBits(point.checks[0].utilisation,
                                 single.fiberglassResults().Mras / single.fiberglassResults().Mpr));
            }
        }
    }

    void theSessionIsLeftAlone()
    {
        CalcSession session;
        session.setMode(1);
        session.setInput(Slot::Htr, 3.5);
        QVERIFY(session.run().isCompleted());
        const QVector<double> before = snapshot(session.vars());
        int changes = 0;
        connect(&session, &CalcSession::changed, this, [&changes] { ++changes; });

        ParameterSweep sweep(session, CalcKind::Static);
        const Result<SweepRange> range = SweepRange::parse(QStringLiteral("F=-1:1:0.5"), ParameterSweep::MaxPoints);
        QVERIFY(range);
        QVERIFY(sweep.addRange(*range));
        QCOMPARE(sweep.points().size(), 5);

        QCOMPARE(snapshot(session.vars()), before);
        QCOMPARE(changes, 0);
        QCOMPARE(session.state(), CalcSession::ResultState::Current);
        // Inputs changed after the sweep was made do not reach it.
        const double qust = sweep.runUnchanged().values.value(1);
        session.setInput(Slot::Htr, 0.5);
        QVERIFY(sameBits(sweep.runUnchanged().values.value(1), qust));
    }

    void everyCombinationTheFirstRangeSlowest()
    {
        CalcSession session;
        ParameterSweep sweep(session, CalcKind::Hydraulic);
        for (const char *text : {"Din=0.3:0.4:0.1", "hs_d=0.5:1:0.25"}) {
            const Result<SweepRange> range = SweepRange::parse(QString::fromLatin1(text), ParameterSweep::MaxPoints);
            QVERIFY(range);
            QVERIFY(sweep.addRange(*range));
        }
        QCOMPARE(sweep.pointCount(), 6);
        QVector<QVector<double>> inputs;
        sweep.run([&inputs](const ParameterSweep::Point &point) { inputs << point.inputs; });
        const QVector<QVector<double>> expected = {{0.3, 0.5}, {0.3, 0.75}, {0.3, 1},
                                                   {0.4, 0.5}, {0.4, 0.75}, {0.4, 1}};
        QCOMPARE(inputs, expected);

        // A sink that can take no more ends the run at that point.
        inputs.clear();
        sweep.runWhile([&inputs](const ParameterSweep::Point &point) {
            inputs << point.inputs;
            return inputs.size() < 4;
        });
        QCOMPARE(inputs, expected.mid(0, 4));
    }

    void rangesRefused_data()
    {
        QTest::addColumn<CalcKind>("kind");
        QTest::addColumn<QStringList>("ranges");
        QTest::addColumn<QString>("says");
        QTest::newRow("a result") << CalcKind::Static << QStringList{"qust=0:1:0.5"} << "qust не является исходным";
        QTest::newRow("an input of another calculation")
            << CalcKind::Hydraulic << QStringList{"Htr=0:1:0.5"} << "изменять можно: Dout, Din, i_s, hs_d, nu, Ke";
        QTest::newRow("twice") << CalcKind::Static << QStringList{"Htr=0:1:0.5", "Htr=2:3:0.5"}
                               << "Htr изменяется дважды";
        QTest::newRow("too many together")
            << CalcKind::Static << QStringList{"Htr=0:9.99:0.01", "Hw=0:100:1"} << "больше допустимых 100000";
        QTest::newRow("trenchless inputs belong to fiberglass")
            << CalcKind::Static << QStringList{"fi=10:30:10"} << "fi не является исходным";
    }
    void rangesRefused()
    {
        QFETCH(CalcKind, kind);
        QFETCH(QStringList, ranges);
        QFETCH(QString, says);
        ParameterSweep sweep(kind);
        Result<> added;
        for (const QString &text : ranges) {
            const Result<SweepRange> range = SweepRange::parse(text, ParameterSweep::MaxPoints);
            QVERIFY(range);
            added = sweep.addRange(*range);
        }
        QVERIFY(!added);
        QVERIFY2(added.message().contains(says), qPrintable(added.message()));
    }

    void exactlyTheLimitOfPoints()
    {
        ParameterSweep sweep(CalcKind::Static);
        for (const char *text : {"Htr=0:9.99:0.01", "Hw=0:99:1"}) {
            const Result<SweepRange> range = SweepRange::parse(QString::fromLatin1(text), ParameterSweep::MaxPoints);
            QVERIFY(range);
            const Result<> added = sweep.addRange(*range);
            QVERIFY2(added, qPrintable(added.message()));
        }
        QCOMPARE(sweep.pointCount(), ParameterSweep::MaxPoints);
    }

    void columnsAreInputsOrResults()
    {
        ParameterSweep sweep(CalcKind::Hydraulic);
        QVERIFY(sweep.setColumns({Slot::Din, Slot::Rephi, Slot::qs}));
        const Result<> refused = sweep.setColumns({Slot::qust});
        QVERIFY(!refused);
        QVERIFY2(refused.message().contains(QStringLiteral("qust не является ни исходным данным, ни результатом")),
                 qPrintable(refused.message()));
        QCOMPARE(sweep.columns(), (QVector<Slot>{Slot::Din, Slot::Rephi, Slot::qs}));
    }

    // The variables a calculation is said to work out are those it writes.
    void resultSlotsAreWhatTheCalculationsWrite_data()
    {
        QTest::addColumn<CalcKind>("kind");
        QTest::newRow("hydraulic") << CalcKind::Hydraulic;
        QTest::newRow("static") << CalcKind::Static;
        QTest::newRow("fiberglass") << CalcKind::Fiberglass;
    }
    void resultSlotsAreWhatTheCalculationsWrite()
    {
        QFETCH(CalcKind, kind);
        CalcVariables vars;
        vars.applyCatalogue();
        QVector<Slot> others;
        for (int n = 1; n <= SlotKeys::Count; ++n) {
            if (!CalcSession::inputSlots(kind).contains(Slot(n)))
                others << Slot(n);
        }
        fill(vars, others);
        if (kind == CalcKind::Fiberglass) {
            vars.setValue(Slot::h, 1);
            vars.setValue(Slot::M, 20);
            vars.setValue(Slot::FSt, 0.38);
        }
        const bool completed = kind == CalcKind::Hydraulic ? calculateHydraulic(vars).isCompleted()
                               : kind == CalcKind::Static
                                   ? calculateStatic(vars).isCompleted()
                                   : calculateFiberglass(vars, Laying::Trench, Wall::ThreeLayer).outcome.isCompleted();
        QVERIFY(completed);
        QStringList expected;
        for (const Slot slot : others) {
            if (ParameterSweep::resultSlots(kind).contains(slot))
                expected << SlotKeys::key(slot);
        }
        QCOMPARE(written(vars, others), expected);
        QCOMPARE(expected.size(), ParameterSweep::resultSlots(kind).size());
    }
};

QTEST_GUILESS_MAIN(TestSweep)
#include "tst_sweep.moc"
