// Times the three calculations and the formatting of all the variables.
// Run: build/bin/bench_calc  (add -iterations N or -callgrind as QtTest allows)
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"

#include <QtTest>

class BenchCalc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void hydraulic()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        QBENCHMARK
        {
            calculateHydraulic(vars);
        }
    }

    void staticCorrugated()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        QBENCHMARK
        {
            calculateStatic(vars);
        }
    }

    void fiberglassTrenchless()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::h, 2.0);
        vars.setValue(Slot::M, 20.0);
        vars.setValue(Slot::FSt, 0.38);
        QBENCHMARK
        {
            calculateFiberglass(vars, Laying::Trenchless, Wall::ThreeLayer);
        }
    }

    void formatAllVariables()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        calculateStatic(vars);
        calculateHydraulic(vars);
        int length = 0;
        QBENCHMARK
        {
            for (int n = 1; n <= SlotKeys::Count; ++n)
                length += vars.at(n).formatValue().size();
        }
        QVERIFY(length > 0);
    }
};

QTEST_APPLESS_MAIN(BenchCalc)
#include "bench_calc.moc"
