#include "calc/CalcCheck.h"
#include "calc/FiberglassResults.h"
#include "calc/StaticCalc.h"
#include "model/CalcVariables.h"

#include <QtTest>

#include <cmath>

class TestCalcCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each check holds up to and including its limit.
    void corrugated_data()
    {
        QTest::addColumn<double>("sCond");
        QTest::addColumn<double>("qvn");
        QTest::addColumn<double>("qvntr");
        QTest::addColumn<double>("qust");
        QTest::addColumn<QList<bool>>("holds");
        QTest::addColumn<QList<double>>("utilisation");
        QTest::newRow("all hold") << 0.5 << 0.1 << 0.2 << 0.25 << QList<bool>{true, true, true}
                                  << QList<double>{0.5, 0.4, 0.8};
        QTest::newRow("at the limits") << 1.0 << 0.25 << 0.25 << 0.25 << QList<bool>{true, true, true}
                                       << QList<double>{1, 1, 1};
        QTest::newRow("just above") << std::nextafter(1.0, 2.0) << 0.1 << std::nextafter(0.25, 1.0) << 0.25
                                    << QList<bool>{false, true, false}
                                    << QList<double>{std::nextafter(1.0, 2.0), 0.4, std::nextafter(0.25, 1.0) / 0.25};
        QTest::newRow("strength fails only")
            << 1.5 << 0.1 << 0.2 << 0.25 << QList<bool>{false, true, true} << QList<double>{1.5, 0.4, 0.8};
        // No admissible pressure: a ratio to a limit of nothing says nothing.
        QTest::newRow("no admissible pressure")
            << 0.5 << 0.0 << 0.1 << 0.0 << QList<bool>{true, true, false} << QList<double>{0.5, NAN, NAN};
    }
    void corrugated()
    {
        QFETCH(double, sCond);
        QFETCH(double, qvn);
        QFETCH(double, qvntr);
        QFETCH(double, qust);
        QFETCH(QList<bool>, holds);
        QFETCH(QList<double>, utilisation);
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::S_cond, sCond);
        vars.setValue(Slot::qvn, qvn);
        vars.setValue(Slot::qvntr, qvntr);
        vars.setValue(Slot::qust, qust);
        const QVector<CalcCheck> checks = CalcCheck::corrugated(vars);
        QCOMPARE(checks.size(), 3);
        const double values[] = {sCond, qvn, qvntr};
        const double limits[] = {1, qust, qust};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(checks[i].value, values[i]);
            QCOMPARE(checks[i].limit, limits[i]);
            QCOMPARE(checks[i].holds, holds[i]);
            if (std::isnan(utilisation[i]))
                QVERIFY(std::isnan(checks[i].utilisation));
            else
                QCOMPARE(checks[i].utilisation, utilisation[i]);
        }
        QCOMPARE(checks[0].key, QStringLiteral("strength"));
        QCOMPARE(checks[2].key, QStringLiteral("stability_traffic"));
    }

    void corrugatedWorkedExample()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        QVERIFY(calculateStatic(vars).isCompleted());
        const QVector<CalcCheck> checks = CalcCheck::corrugated(vars);
        // S 0.658893; qvn 0.1222 and qvntr 0.149040 over qust 0.250616.
        QVERIFY(std::fabs(checks[0].utilisation - 0.658893) < 1e-6);
        QVERIFY(std::fabs(checks[1].utilisation - 0.487599) < 1e-5);
        QVERIFY(std::fabs(checks[2].utilisation - 0.594695) < 1e-5);
        for (const CalcCheck &check : checks)
            QVERIFY(check.holds);
    }

    // Judged in the units of the run, shown in those of the output grid.
    void fiberglass_data()
    {
        QTest::addColumn<double>("mras");
        QTest::addColumn<double>("mpr");
        QTest::addColumn<double>("psi");
        QTest::addColumn<double>("qc");
        QTest::addColumn<double>("qgv");
        QTest::addColumn<double>("gy");
        QTest::addColumn<QList<bool>>("holds");
        QTest::newRow("all hold") << 485.5 << 529200.0 << 0.0108 << 86372.19 << 12650.0 << 4108826.51
                                  << QList<bool>{true, true, true};
        QTest::newRow("at the limits") << 1000.0 << 1000.0 << 0.05 << 3e6 << 1e6 << 4e6
                                       << QList<bool>{true, true, true};
        QTest::newRow("above") << 1000.5 << 1000.0 << 0.0500001 << 3e6 << 1e6 + 1 << 4e6
                               << QList<bool>{false, false, false};
    }
    void fiberglass()
    {
        QFETCH(double, mras);
        QFETCH(double, mpr);
        QFETCH(double, psi);
        QFETCH(double, qc);
        QFETCH(double, qgv);
        QFETCH(double, gy);
        QFETCH(QList<bool>, holds);
        FiberglassResults r;
        r.Mras = mras;
        r.Mpr = mpr;
        r.psi = psi;
        r.Qc = qc;
        r.Qgv = qgv;
        r.Gy = gy;
        const QVector<CalcCheck> checks = CalcCheck::fiberglass(r);
        QCOMPARE(checks.size(), 3);
        // The verdicts of the report.
        QCOMPARE(checks[0].holds, r.strengthHolds());
        QCOMPARE(checks[1].holds, r.ovalityHolds());
        QCOMPARE(checks[2].holds, r.stabilityHolds());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(checks[i].holds, holds[i]);
        QCOMPARE(checks[0].value, mras / 1000);
        QCOMPARE(checks[0].limit, mpr / 1000);
        QCOMPARE(checks[0].utilisation, mras / mpr);
        QCOMPARE(checks[1].utilisation, psi / 0.05);
        QCOMPARE(checks[2].value, (qc + qgv) / 1e6);
        QCOMPARE(checks[2].limit, gy / 1e6);
        QCOMPARE(checks[2].utilisation, (qc + qgv) / gy);
        QCOMPARE(checks[2].units, QStringLiteral("МПа"));
    }
};

QTEST_GUILESS_MAIN(TestCalcCheck)
#include "tst_calccheck.moc"
