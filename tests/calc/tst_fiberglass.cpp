#include "CalcTestSupport.h"

#include "calc/FiberglassCalc.h"
#include "model/CalcVariables.h"

#include <QtTest>

Q_DECLARE_METATYPE(Laying)
Q_DECLARE_METATYPE(Wall)

using namespace CalcTestSupport;

namespace {

// The output slots in the order they are first written.
const QVector<Slot> kOutputs = {Slot::gc, Slot::Mras, Slot::Mpr, Slot::psiSt, Slot::Gy, Slot::QgvSt};

// The second worked example: some depth, traffic and ground water.
void loaded(CalcVariables &vars)
{
    vars.setValue(Slot::h, 2.0);
    vars.setValue(Slot::M, 20.0);
    vars.setValue(Slot::FSt, 0.38);
    vars.setValue(Slot::Hv, 1.0);
}

struct Expected
{
    const char *field;
    double value;
    double tolerance;
};

double field(const FiberglassResults &r, const char *name)
{
    for (const auto &f : FiberglassResults::fields()) {
        if (qstrcmp(f.name, name) == 0)
            return r.*f.member;
    }
    qFatal("no field %s", name);
    return 0;
}

} // namespace

class TestFiberglass : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsInTrench()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        const FiberglassRun run = calculateFiberglass(vars, Laying::Trench, Wall::ThreeLayer);
        QVERIFY(run.outcome.isCompleted());
        const FiberglassResults &r = run.results;

        const Expected expected[] = {
            {"Qgr", 0, 0},
            {"Qtr", 0, 0},
            {"Qc", 0, 0},
            // I = s³/6 + s·(t + s)²/2 = 2.88e-7 + 7.776e-6 for s 0.012, t 0.024.
            {"k", 17943333.33, 0.01},
            {"I", 8.064e-6, 1e-18},
            {"n", 0.0561203, 1e-7},
            {"Mras", 0, 0},
            {"W", 0.000336, 1e-18},
            {"Mpr", 117600, 1e-6},
            {"A", 0.024, 0},
            {"Gt", 73799647.70, 0.01},
            {"psi", 0.01, 0},
            {"Kov", 0.993, 1e-15},
            {"Gy", 3761613.43, 0.01},
            {"Qgv", 0, 0},
            {"Qgr1", 0, 0},
            {"Qgr2", 0, 0},
            {"a", 9.81, 0},
            {"m", 0.7, 0},
            {"Kzu", 3, 0},
            {"Gammav", 11000, 0},
            {"GammaGrSt", 16000, 0},
            {"Egr", 7e6, 0},
            {"Et", 2e10, 0},
            {"Sigmat", 5e8, 0},
            {"EtauSvSt", 1.25e9, 0},
            {"D", 0.3, 0},
        };
        for (const Expected &e : expected)
            QVERIFY2(near(field(r, e.field), e.value, e.tolerance), e.field);

        QCOMPARE(vars.value(Slot::gc), 0.0);
        QCOMPARE(vars.value(Slot::Mras), 0.0);
        QVERIFY(near(vars.value(Slot::Mpr), 117.6, 1e-9));
        QCOMPARE(vars.value(Slot::psiSt), 0.01);
        QVERIFY(near(vars.value(Slot::Gy), 3.7616134, 1e-7));
        QCOMPARE(vars.value(Slot::QgvSt), 0.0);
        QVERIFY(r.strengthHolds() && r.ovalityHolds() && r.stabilityHolds());
    }

    // Two metres of cover, a 20 t axle on 0.38 m² and the water table at 1 m,
    // so that every load formula runs, in both layings with both walls
    // (worked as in tst_crosscheck.cpp).  The slots carry the loads in MPa
    // and the moments in kN·m.
    void loadedExamples_data()
    {
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("wall");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("slotValues");
        QTest::newRow("trench, three layers")
            << 0 << 1
            << "Qgr=41600 Qgr1=0 Qgr2=0 P=516315.789 Qtr=72936.803 Qc=114536.803 k=17943333.3 I=8.064e-06 "
               "n=0.0561203138 Mras=642.244747 W=0.000336 Mpr=117600 A=0.024 Gt=73799647.7 psi=0.011096528 "
               "Kov=0.99223243 Gy=3758705.78 Qgv=12650"
            << "gc=0.114536803 Mras=0.642244747 Mpr=117.6 psiSt=0.011096528 Gy=3.75870578 QgvSt=0.01265";
        QTest::newRow("trench, single layer")
            << 0 << 0
            << "Qgr=41600 Qgr1=0 Qgr2=0 P=516315.789 Qtr=72936.803 Qc=114536.803 k=17943333.3 I=1.44e-07 "
               "n=2.62296805 Mras=549.635209 W=2.4e-05 Mpr=8400 A=0.012 Gt=5546458.35 psi=0.0200633888 "
               "Kov=0.985955628 Gy=1023912.91 Qgv=12650"
            << "gc=0.114536803 Mras=0.549635209 Mpr=8.4 psiSt=0.0200633888 Gy=1.02391291 QgvSt=0.01265";
        QTest::newRow("trenchless, three layers")
            << 1 << 1
            << "Qgr1=13435.3829 Qgr2=3648.78544 Qgr=13435.3829 P=516315.789 Qtr=72936.803 Qc=86372.1859 "
               "k=17943333.3 I=8.064e-06 n=0.0561203138 Mras=484.316667 W=0.000336 Mpr=117600 A=0.024 "
               "Gt=73799647.7 psi=0.0109772355 Kov=0.992315935 Gy=3759022.1 Qgv=12650"
            << "gc=0.0863721859 Mras=0.484316667 Mpr=117.6 psiSt=0.0109772355 Gy=3.7590221 QgvSt=0.01265";
        QTest::newRow("trenchless, single layer")
            << 1 << 0
            << "Qgr1=13435.3829 Qgr2=3648.78544 Qgr=13435.3829 P=516315.789 Qtr=72936.803 Qc=86372.1859 "
               "k=17943333.3 I=1.44e-07 n=2.62296805 Mras=414.479828 W=2.4e-05 Mpr=8400 A=0.012 "
               "Gt=5546458.35 psi=0.0189685818 Kov=0.986721993 Gy=1024708.78 Qgv=12650"
            << "gc=0.0863721859 Mras=0.414479828 Mpr=8.4 psiSt=0.0189685818 Gy=1.02470878 QgvSt=0.01265";
    }

    void loadedExamples()
    {
        QFETCH(int, laying);
        QFETCH(int, wall);
        QFETCH(QString, expected);
        QFETCH(QString, slotValues);
        CalcVariables vars;
        vars.applyCatalogue();
        loaded(vars);
        const FiberglassRun run = calculateFiberglass(vars, laying == 1 ? Laying::Trenchless : Laying::Trench,
                                                      wall == 1 ? Wall::ThreeLayer : Wall::SingleLayer);
        QVERIFY(run.outcome.isCompleted());
        const QString wrong = mismatches(expected, fieldsOf(run.results)) + mismatches(slotValues, slotsOf(vars));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        const QString inputs = QStringLiteral("M=20000 F=0.38 h=2 Hv=1 fi=30 Kk=1.3 a=9.81 m=0.7 Kzu=3 Gammav=11000");
        const QString wrongInputs = mismatches(inputs, fieldsOf(run.results));
        QVERIFY2(wrongInputs.isEmpty(), qPrintable(wrongInputs));
    }

    // The larger of the two trenchless soil pressures is the one used.
    void trenchlessTakesLarger_data()
    {
        QTest::addColumn<double>("depth");
        QTest::newRow("shallow: first formula") << 2.0;
        QTest::newRow("deep: second formula") << 40.0;
    }

    void trenchlessTakesLarger()
    {
        QFETCH(double, depth);
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::h, depth);
        const FiberglassResults r = calculateFiberglass(vars, Laying::Trenchless, Wall::ThreeLayer).results;
        QCOMPARE(r.Qgr, std::max(r.Qgr1, r.Qgr2));
        QVERIFY(r.Qgr1 != r.Qgr2);
    }

    // The laying method chooses the soil pressure and the ovality coefficient;
    // the wall construction the inertia, the section modulus and the thickness.
    void branches_data()
    {
        QTest::addColumn<Laying>("laying");
        QTest::addColumn<Wall>("wall");
        QTest::addColumn<bool>("trenchless");
        QTest::addColumn<double>("inertia");
        QTest::addColumn<double>("modulus");
        QTest::addColumn<double>("thickness");
        // The ovality, with the coefficient of the laying (0.11 in a trench,
        // 0.13 trenchless) and the stiffness of the wall.
        QTest::addColumn<double>("psi");

        // s 0.012, t 0.024: a single layer s³/12 = 1.44e-7 and s²/6 = 2.4e-5; three
        // layers s³/6 + s·(t + s)²/2 = 8.064e-6 and that over t/2 + s, 3.36e-4.
        QTest::newRow("trench, single") << Laying::Trench << Wall::SingleLayer << false << 1.44e-7 << 2.4e-5 << 0.012
                                        << 0.0200633888;
        QTest::newRow("trench, three") << Laying::Trench << Wall::ThreeLayer << false << 8.064e-6 << 3.36e-4 << 0.024
                                       << 0.011096528;
        QTest::newRow("trenchless, single")
            << Laying::Trenchless << Wall::SingleLayer << true << 1.44e-7 << 2.4e-5 << 0.012 << 0.0189685818;
        QTest::newRow("trenchless, three")
            << Laying::Trenchless << Wall::ThreeLayer << true << 8.064e-6 << 3.36e-4 << 0.024 << 0.0109772355;
    }

    void branches()
    {
        QFETCH(Laying, laying);
        QFETCH(Wall, wall);
        QFETCH(bool, trenchless);
        QFETCH(double, inertia);
        QFETCH(double, modulus);
        QFETCH(double, thickness);
        QFETCH(double, psi);

        CalcVariables vars;
        vars.applyCatalogue();
        loaded(vars);
        const FiberglassRun run = calculateFiberglass(vars, laying, wall);
        QVERIFY(run.outcome.isCompleted());
        const FiberglassResults &r = run.results;
        QVERIFY(near(r.I, inertia, 1e-18));
        QVERIFY(near(r.W, modulus, 1e-18));
        QCOMPARE(r.A, thickness);
        QCOMPARE(r.Qgr1 != 0, trenchless);
        QVERIFY2(near(r.psi, psi, 1e-10), qPrintable(QString::number(r.psi, 'g', 12)));
    }

    // Two skins with nothing between them are one solid wall 2s thick:
    // (2s)³/12 = 1.152e-6 m⁴/m and (2s)²/6 = 9.6e-5 m³/m for s 0.012.
    void threeLayerWallWithoutCoreIsSolid()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::t, 0.0);
        const FiberglassRun three = calculateFiberglass(vars, Laying::Trench, Wall::ThreeLayer);
        QVERIFY(three.outcome.isCompleted());
        QVERIFY(near(three.results.I, 1.152e-6, 1e-18));
        QVERIFY(near(three.results.W, 9.6e-5, 1e-18));
        QVERIFY(near(three.results.Mpr, 33600, 1e-6));

        vars.setValue(Slot::sSt, 0.024);
        const FiberglassRun solid = calculateFiberglass(vars, Laying::Trench, Wall::SingleLayer);
        QVERIFY(near(solid.results.I, three.results.I, 1e-18));
        QVERIFY(near(solid.results.W, three.results.W, 1e-18));
    }

    void noTraffic_data()
    {
        QTest::addColumn<double>("mass");
        QTest::addColumn<double>("area");
        QTest::newRow("no mass") << 0.0 << 0.38;
        QTest::newRow("no area") << 20.0 << 0.0;
        QTest::newRow("neither") << 0.0 << 0.0;
    }

    void noTraffic()
    {
        QFETCH(double, mass);
        QFETCH(double, area);
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::h, 2.0);
        vars.setValue(Slot::M, mass);
        vars.setValue(Slot::FSt, area);
        const FiberglassRun run = calculateFiberglass(vars, Laying::Trench, Wall::ThreeLayer);
        QVERIFY(run.outcome.isCompleted());
        QCOMPARE(run.results.P, 0.0);
        QCOMPARE(run.results.Qtr, 0.0);
        // 1.3 · 16 kN/m³ · 2 m of cover.
        QCOMPARE(run.results.Qc, 41600.0);
    }

    void groundWater_data()
    {
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("qgv");
        // The axis of the pipe lies at D/2 + h = 2.15 m.
        QTest::newRow("no water however deep") << 0.0 << 0.0;
        QTest::newRow("above the axis: 1.15 m of water") << 1.0 << 12650.0;
        QTest::newRow("at the axis") << 2.15 << 0.0;
        QTest::newRow("below the axis") << 3.0 << 0.0;
    }

    void groundWater()
    {
        QFETCH(double, level);
        QFETCH(double, qgv);
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::h, 2.0);
        vars.setValue(Slot::Hv, level);
        const FiberglassRun run = calculateFiberglass(vars, Laying::Trench, Wall::ThreeLayer);
        QVERIFY(near(run.results.Qgv, qgv, 1e-9));
        QVERIFY(near(vars.value(Slot::QgvSt), qgv / 1e6, 1e-15));
    }

    void verdicts()
    {
        FiberglassResults r;
        r.Mras = r.Mpr = 10;
        QVERIFY(r.strengthHolds());
        r.Mras = 10.5;
        QVERIFY(!r.strengthHolds());
        r.psi = 0.05;
        QVERIFY(r.ovalityHolds());
        r.psi = 0.0500001;
        QVERIFY(!r.ovalityHolds());
        r.Qc = 3;
        r.Qgv = 2;
        r.Gy = 5;
        QVERIFY(r.stabilityHolds());
        r.Gy = 4.9;
        QVERIFY(!r.stabilityHolds());
    }

    void faults_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<Laying>("laying");
        QTest::addColumn<Wall>("wall");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("writtenKeys");

        const int zero = int(CalcOutcome::Kind::DivisionByZero);
        const int invalid = int(CalcOutcome::Kind::Fault);
        QTest::newRow("friction angle 0") << "fi=0" << Laying::Trenchless << Wall::ThreeLayer << zero << QStringList{};
        QTest::newRow("friction angle 0 and no soil")
            << "fi=0 GammaGrSt=0" << Laying::Trenchless << Wall::ThreeLayer << invalid << QStringList{};
        QTest::newRow("diameter 0") << "DSt=0" << Laying::Trench << Wall::ThreeLayer << zero << QStringList{"gc"};
        QTest::newRow("soil modulus 0") << "EgrSt=0" << Laying::Trench << Wall::ThreeLayer << zero << QStringList{"gc"};
        QTest::newRow("no layer gap") << "t=0 sSt=0" << Laying::Trench << Wall::ThreeLayer << invalid
                                      << QStringList{"gc", "Mras"};
        QTest::newRow("Poisson 1") << "MuSt=1" << Laying::Trench << Wall::ThreeLayer << zero
                                   << QStringList{"gc", "Mras", "Mpr"};
        QTest::newRow("binder 0") << "EtauSvSt=0" << Laying::Trench << Wall::ThreeLayer << zero
                                  << QStringList{"gc", "Mras", "Mpr"};
        QTest::newRow("traffic over negative depth")
            << "h=-1 M=20 FSt=1.155" << Laying::Trench << Wall::ThreeLayer << zero << QStringList{};
        // Gy is set to 0 before its root fails, and stays so.
        QTest::newRow("root of negative") << "EgrSt=-7" << Laying::Trench << Wall::ThreeLayer << invalid
                                          << QStringList{"gc", "Mras", "Mpr", "psiSt", "Gy"};
    }

    void faults()
    {
        QFETCH(QString, change);
        QFETCH(Laying, laying);
        QFETCH(Wall, wall);
        QFETCH(int, kind);
        QFETCH(QStringList, writtenKeys);

        CalcVariables vars;
        vars.applyCatalogue();
        assign(vars, change);
        fill(vars, kOutputs);
        const FiberglassRun run = calculateFiberglass(vars, laying, wall);
        QCOMPARE(int(run.outcome.kind()), kind);
        QCOMPARE(written(vars, kOutputs), writtenKeys);
        if (writtenKeys.contains(QStringLiteral("Gy")))
            QCOMPARE(vars.value(Slot::Gy), 0.0);
    }
};

QTEST_APPLESS_MAIN(TestFiberglass)
#include "tst_fiberglass.moc"
