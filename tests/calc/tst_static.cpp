#include "CalcTestSupport.h"

#include "calc/CalcDiagnosis.h"
#include "calc/StaticCalc.h"
#include "model/CalcVariables.h"

#include <QtTest>

using namespace CalcTestSupport;

namespace {

// The fixed coefficients, then every result in the order it is written.
const QVector<Slot> kWrites = {
    Slot::Kok,    Slot::Ktau,  Slot::Kw,    Slot::Kgr,    Slot::Kg,     Slot::Ksigma, Slot::Kzpsi, Slot::Kz,
    Slot::Gammav, Slot::g,     Slot::e,     Slot::n,      Slot::P,      Slot::y,      Slot::I,     Slot::A,
    Slot::D,      Slot::qt,    Slot::qgr,   Slot::qc,     Slot::Go,     Slot::Psi_gr, Slot::Psi_t, Slot::Psi_m,
    Slot::Psi,    Slot::Eps_p, Slot::Eps_c, Slot::Eps_pp, Slot::Eps_pn, Slot::S_cond, Slot::Gtau,  Slot::Kug,
    Slot::Kov,    Slot::Kzu,   Slot::Qgv,   Slot::qvn,    Slot::qust,   Slot::qvntr};

// How many entries of kWrites precede the first result after the fixed ones.
constexpr int kFixedCount = 10;

int writtenThrough(Slot last)
{
    return int(kWrites.indexOf(last)) + 1;
}

CalcVariables &defaults(CalcVariables &vars)
{
    vars.applyCatalogue();
    return vars;
}

} // namespace

class TestStatic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample()
    {
        CalcVariables vars;
        defaults(vars);
        QVERIFY(calculateStatic(vars).isCompleted());

        const struct
        {
            Slot slot;
            double value;
            double tolerance;
        } expected[] = {
            {Slot::e, 26, 1e-12},
            {Slot::n, 1, 0},
            {Slot::P, 0.516316, 1e-6},
            {Slot::y, 1.153333, 1e-6},
            {Slot::I, 2.176125, 1e-6},
            {Slot::A, 2.22, 1e-12},
            // The soil load at the axis, 6.2 m down: 4 m of dry soil over
            // the water table and 2.2 m of submerged soil, (4·19 + 2.2·11)/1000.
            {Slot::D, 37.106667, 1e-6},
            {Slot::qt, 0.026840, 1e-6},
            {Slot::qgr, 0.1002, 1e-12},
            {Slot::qc, 0.127040, 1e-6},
            {Slot::Go, 0.874727, 1e-6},
            {Slot::Psi_gr, 0.031951, 1e-6},
            {Slot::Psi_t, 0.006847, 1e-6},
            {Slot::Psi_m, 0.002, 0},
            {Slot::Psi, 0.040798, 1e-6},
            {Slot::Eps_p, 0.010829, 1e-6},
            {Slot::Eps_c, 0.003093, 1e-6},
            {Slot::Eps_pp, 0.035714, 1e-6},
            {Slot::Eps_pn, 0.008696, 1e-6},
            {Slot::S_cond, 0.658893, 1e-6},
            {Slot::Gtau, 0.212977, 1e-6},
            {Slot::Kug, 0.5, 0},
            {Slot::Kov, 0.971442, 1e-6},
            {Slot::Kzu, 2, 0},
            {Slot::Qgv, 0.022, 1e-12},
            {Slot::qvn, 0.1222, 1e-12},
            {Slot::qust, 0.250616, 1e-6},
            {Slot::qvntr, 0.149040, 1e-6},
        };
        for (const auto &e : expected)
            QVERIFY2(near(vars.value(e.slot), e.value, e.tolerance), qPrintable(SlotKeys::key(e.slot)));

        // All three conditions hold.
        QVERIFY(vars.value(Slot::S_cond) <= 1);
        QVERIFY(vars.value(Slot::qvn) <= vars.value(Slot::qust));
        QVERIFY(vars.value(Slot::qvntr) <= vars.value(Slot::qust));
    }

    void coefficientsIgnoreTypedValues()
    {
        CalcVariables vars;
        defaults(vars);
        for (const Slot s : {Slot::Kok, Slot::Ktau, Slot::Kw, Slot::Kgr, Slot::Kg, Slot::Ksigma, Slot::Kzpsi, Slot::Kz,
                             Slot::Gammav, Slot::g, Slot::P, Slot::Kug, Slot::Kzu})
            vars.setValue(s, 7.0);
        QVERIFY(calculateStatic(vars).isCompleted());
        QCOMPARE(vars.value(Slot::Kw), 0.11);
        QCOMPARE(vars.value(Slot::Gammav), 11.0);
        QCOMPARE(vars.value(Slot::g), 9.81);
        QVERIFY(near(vars.value(Slot::qust), 0.250616, 1e-6));
    }

    // Below 1 m n is 0.5: it halves the soil term of the traffic ovality and
    // the factor under the root of the admissible pressure (worked as in
    // tst_crosscheck.cpp, with the table at 0.5 m).
    void depthCoefficient_data()
    {
        QTest::addColumn<double>("depth");
        QTest::addColumn<QString>("expected");
        QTest::newRow("shallow") << 0.8 << "n=0.5 Psi_t=0.0588551939 qust=0.174039964";
        QTest::newRow("just above 1 m") << 0.999 << "n=0.5 Psi_t=0.0500358073 qust=0.175077025";
        QTest::newRow("exactly 1 m") << 1.0 << "n=1 Psi_t=0.0326058432 qust=0.250743316";
        QTest::newRow("deep") << 6.0 << "n=1 Psi_t=0.00684678103 qust=0.252227962";
    }

    void depthCoefficient()
    {
        QFETCH(double, depth);
        QFETCH(QString, expected);
        CalcVariables vars;
        defaults(vars);
        vars.setValue(Slot::Htr, depth);
        vars.setValue(Slot::Hw, 0.5);
        QVERIFY(calculateStatic(vars).isCompleted());
        const QString wrong = mismatches(expected, slotsOf(vars));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // Hw is the depth of the water table: the soil above it weighs Gamma (19),
    // the soil below it down to the pipe's axis (Htr + 0.2 m) Gammav (11); the
    // water presses with the table above the depth of laying.
    void groundWater_data()
    {
        QTest::addColumn<double>("depth");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("qgr");
        QTest::addColumn<double>("qgv");
        // With the traffic load at that depth (6 m 0.0268399453, 2 m 0.0729368030,
        // 0.5 m 0.2049086162 MPa).
        QTest::addColumn<double>("qvntr");
        QTest::newRow("no water: 6.2 m dry") << 6.0 << 0.0 << 0.1178 << 0.0 << 0.144639945;
        QTest::newRow("level above ground counts as none") << 6.0 << -1.0 << 0.1178 << 0.0 << 0.144639945;
        QTest::newRow("table at 4 m: 4 m dry, 2.2 m submerged") << 6.0 << 4.0 << 0.1002 << 0.022 << 0.149039945;
        QTest::newRow("table between top and axis: 6.1 m dry, 0.1 m submerged")
            << 6.0 << 6.1 << 0.117 << 0.0 << 0.143839945;
        QTest::newRow("table below the pipe: 6.2 m dry") << 6.0 << 7.0 << 0.1178 << 0.0 << 0.144639945;
        QTest::newRow("shallow pipe above the table: 2.2 m dry") << 2.0 << 4.0 << 0.0418 << 0.0 << 0.114736803;
        QTest::newRow("shallow pipe below the table: 1 m dry, 1.2 m submerged")
            << 2.0 << 1.0 << 0.0322 << 0.011 << 0.116136803;
        QTest::newRow("half a metre down, table at 4 m: 0.7 m dry") << 0.5 << 4.0 << 0.0133 << 0.0 << 0.218208616;
    }

    void groundWater()
    {
        QFETCH(double, depth);
        QFETCH(double, level);
        QFETCH(double, qgr);
        QFETCH(double, qgv);
        QFETCH(double, qvntr);
        CalcVariables vars;
        defaults(vars);
        vars.setValue(Slot::Htr, depth);
        vars.setValue(Slot::Hw, level);
        QVERIFY(calculateStatic(vars).isCompleted());
        QVERIFY(near(vars.value(Slot::qgr), qgr, 1e-15));
        QVERIFY(near(vars.value(Slot::Qgv), qgv, 1e-15));
        QVERIFY(near(vars.value(Slot::qvn), qgr + qgv, 1e-15));
        QVERIFY(near(vars.value(Slot::qvntr), qvntr, 1e-9));
        QVERIFY(vars.value(Slot::Psi_gr) > 0);
    }

    // Wherever the pipe lies and wherever the water stands, no load, no
    // pressure and no shortening of the diameter is negative.
    void nothingNegative()
    {
        CalcVariables vars;
        const Slot nonNegative[] = {Slot::qt,     Slot::qgr,   Slot::qc,  Slot::Qgv,   Slot::qvn,   Slot::qvntr,
                                    Slot::Psi_gr, Slot::Psi_t, Slot::Psi, Slot::Eps_p, Slot::Eps_c, Slot::S_cond};
        for (int d = 3; d <= 100; ++d) {
            for (int w = -2; w <= 24; ++w) {
                defaults(vars);
                vars.setValue(Slot::Htr, d / 10.0);
                vars.setValue(Slot::Hw, w / 2.0);
                QVERIFY(calculateStatic(vars).isCompleted());
                for (const Slot slot : nonNegative) {
                    QVERIFY2(
                        vars.value(slot) >= 0,
                        qPrintable(
                            QStringLiteral("%1 at Htr %2, Hw %3").arg(SlotKeys::key(slot)).arg(d / 10.0).arg(w / 2.0)));
                }
            }
        }
    }

    void guard_data()
    {
        QTest::addColumn<double>("area");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative") << -0.38;
    }

    void guard()
    {
        QFETCH(double, area);
        CalcVariables vars;
        defaults(vars);
        vars.setValue(Slot::F, area);
        fill(vars, kWrites);
        const CalcOutcome outcome = calculateStatic(vars);
        QCOMPARE(outcome.kind(), CalcOutcome::Kind::Stopped);
        QCOMPARE(outcome.variable(), QStringLiteral("F"));
        QVERIFY(outcome.displayText().startsWith(
            QStringLiteral("Расчёт остановлен: значение F («Площадь опирания колеса») должно быть больше нуля")));
        QCOMPARE(written(vars, kWrites), keys(kWrites, kFixedCount));
    }

    void faults_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("writtenCount");
        QTest::addColumn<QString>("computing");
        QTest::addColumn<QString>("variable");

        const int zero = int(CalcOutcome::Kind::DivisionByZero);
        const int invalid = int(CalcOutcome::Kind::Fault);
        // Lsh + e = 2 s: the centroid divides by zero.
        QTest::newRow("profile") << "Lsh=-115 s=5 Din=0.25 Dout=0.5" << zero << writtenThrough(Slot::P) << "y"
                                 << "Lsh";
        // 1 + 1.155 Htr / F = 0 needs a negative depth.
        QTest::newRow("negative depth") << "Htr=-1 F=1.155" << zero << writtenThrough(Slot::D) << "qt"
                                        << "Htr";
        QTest::newRow("Poisson 1") << "Mu=1" << zero << writtenThrough(Slot::qc) << "Go"
                                   << "Mu";
        QTest::newRow("Poisson -1") << "Mu=-1" << zero << writtenThrough(Slot::qc) << "Go"
                                    << "Mu";
        QTest::newRow("no stiffness") << "Eo=0 Egr=0" << zero << writtenThrough(Slot::Go) << "Psi_gr"
                                      << "Eo";
        // 0/0 counts as an invalid operation, not as a division by zero.
        QTest::newRow("nothing over nothing")
            << "Eo=0 Egr=0 Gamma=0 Hw=0" << invalid << writtenThrough(Slot::Go) << "Psi_gr"
            << "Eo";
        QTest::newRow("short-term modulus 0") << "Eo=0" << zero << writtenThrough(Slot::Eps_p) << "Eps_c"
                                              << "Eo";
        QTest::newRow("long-term modulus 0") << "Etau=0" << zero << writtenThrough(Slot::Eps_c) << "Eps_pp"
                                             << "Etau";
        QTest::newRow("strength 0") << "Sigmao=0" << zero << writtenThrough(Slot::Eps_pn) << "S_cond"
                                    << "Sigmao";
        QTest::newRow("root of negative") << "Egr=-5" << invalid << writtenThrough(Slot::qvn) << "qust"
                                          << "Egr";
        // A fiberglass tube leaves no outer diameter for a polymer pipe.
        QTest::newRow("no outer diameter") << "Dout=0" << invalid << writtenThrough(Slot::qvn) << "qust"
                                           << "Dout";
    }

    void faults()
    {
        QFETCH(QString, change);
        QFETCH(int, kind);
        QFETCH(int, writtenCount);
        QFETCH(QString, computing);
        QFETCH(QString, variable);

        CalcVariables vars;
        defaults(vars);
        assign(vars, change);
        fill(vars, kWrites);
        const CalcOutcome outcome = calculateStatic(vars);
        QCOMPARE(int(outcome.kind()), kind);
        QCOMPARE(written(vars, kWrites), keys(kWrites, writtenCount));
        QCOMPARE(outcome.computing(), computing);
        QCOMPARE(outcome.variable(), variable);
        const QString text = outcome.displayText();
        QVERIFY2(text.startsWith(outcome.kind() == CalcOutcome::Kind::DivisionByZero
                                     ? QStringLiteral("Ошибка. Деление на ноль при вычислении ")
                                     : QStringLiteral("Ошибка. Недопустимая операция при вычислении ")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Причина: значение ")
                               + CalcDiagnosis::label(vars[*SlotKeys::fromKey(variable)])),
                 qPrintable(text));
        // Only a polymer pipe's diameters send the user to the tube page.
        QCOMPARE(text.contains(QStringLiteral("Выберите трубу")), variable == QLatin1String("Dout"));
    }

    void zeroStrengthWritesZeroStrains()
    {
        CalcVariables vars;
        defaults(vars);
        vars.setValue(Slot::Sigmao, 0.0);
        QCOMPARE(calculateStatic(vars).kind(), CalcOutcome::Kind::DivisionByZero);
        QCOMPARE(vars.value(Slot::Eps_pp), 0.0);
        QCOMPARE(vars.value(Slot::Eps_pn), 0.0);
    }
};

QTEST_APPLESS_MAIN(TestStatic)
#include "tst_static.moc"
