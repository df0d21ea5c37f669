// Times the three calculations and the formatting of all 97 variables.
// Run: build/bin/bench_calc  (add -iterations N or -callgrind as QtTest allows)
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/NumberFormat.h"
#include "model/TCalcVariables.h"

#include <QtTest>

class BenchCalc : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void hydraulic()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        QBENCHMARK {
            CalcHydraulic(vars);
        }
    }

    void staticCorrugated()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        QBENCHMARK {
            CalcStatic(vars);
        }
    }

    void fiberglassTrenchless()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        vars.setValue(Slot::h, 2.0);
        vars.setValue(Slot::M, 20.0);
        vars.setValue(Slot::FSt, 0.38);
        QBENCHMARK {
            CalcFiberglass(vars, LayingTrenchless, WallThreeLayer);
        }
    }

    void formatAllVariables()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        CalcStatic(vars);
        CalcHydraulic(vars);
        int length = 0;
        QBENCHMARK {
            for (int n = 1; n <= SlotKeys::Count; ++n)
                length += vars.at(n).FormatValue().size();
        }
        QVERIFY(length > 0);
    }
};

QTEST_APPLESS_MAIN(BenchCalc)
#include "bench_calc.moc"
