// Times the tube selection over the shipped catalogue: the static one with
// the greatest-depth search for every tube (a budget of 0.2 s), the
// fiberglass one likewise, and the hydraulic one for a required flow (a
// budget of 0.05 s).  Each case prints its own time against the budget.
// Run: build/bin/bench_selection  (add -iterations N as QtTest allows)
#include "calc/CalcSession.h"
#include "calc/TubeSelection.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

// The tubes of the shipped database as the tube page reads them.
void openCatalogue(CalcSession &session)
{
    session.referenceData().database().setDatabaseFile(QStringLiteral(PIPECALC_REFERENCE_DB));
    QVERIFY(session.referenceData().loadTubes());
}

void timeAgainst(const TubeSelection &selection, double budgetSeconds)
{
    QElapsedTimer timer;
    timer.start();
    const QVector<TubeSelection::Row> rows = selection.run();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    QVERIFY(!rows.isEmpty());
    qInfo("%d tubes in %.4f s (budget %.2f s)", int(rows.size()), seconds, budgetSeconds);
}

} // namespace

class BenchSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void staticWithDepthSearch()
    {
        CalcSession session;
        openCatalogue(session);
        session.setMode(1);
        QVERIFY(session.pickMaterialById(1).valueOr(false));
        QVERIFY(session.pickSoilById(4).valueOr(false));
        openCatalogue(session);
        TubeSelection selection(session, CalcKind::Static);
        QCOMPARE(selection.tubes().size(), 12);
        timeAgainst(selection, 0.2);
        QBENCHMARK
        {
            selection.run();
        }
    }

    void fiberglassWithDepthSearch()
    {
        CalcSession session;
        openCatalogue(session);
        session.setMode(1);
        QVERIFY(session.pickMaterialById(4).valueOr(false));
        QVERIFY(session.pickSoilById(1).valueOr(false));
        session.setInput(Slot::M, 20);
        session.setInput(Slot::FSt, 0.38);
        session.setInput(Slot::Hv, 1);
        openCatalogue(session);
        TubeSelection selection(session, CalcKind::Fiberglass);
        QCOMPARE(selection.tubes().size(), 11);
        timeAgainst(selection, 0.2);
        QBENCHMARK
        {
            selection.run();
        }
    }

    // The longest search: no depth holds for any tube, so every centimetre
    // from 30 m up is calculated.
    void staticNoDepthHolds()
    {
        CalcSession session;
        openCatalogue(session);
        session.setInput(Slot::Egr, 0.05);
        session.setInput(Slot::m, 400);
        TubeSelection selection(session, CalcKind::Static);
        QVERIFY(!selection.evaluate(0).maxDepth);
        timeAgainst(selection, 0.2);
        QBENCHMARK
        {
            selection.run();
        }
    }

    void fiberglassNoDepthHolds()
    {
        CalcSession session;
        openCatalogue(session);
        session.setMode(1);
        QVERIFY(session.pickMaterialById(4).valueOr(false));
        QVERIFY(session.pickSoilById(7).valueOr(false));
        session.setInput(Slot::M, 20);
        session.setInput(Slot::FSt, 0.38);
        openCatalogue(session);
        TubeSelection selection(session, CalcKind::Fiberglass);
        QVERIFY(!selection.evaluate(0).maxDepth);
        timeAgainst(selection, 0.2);
        QBENCHMARK
        {
            selection.run();
        }
    }

    void hydraulicForAFlow()
    {
        CalcSession session;
        openCatalogue(session);
        TubeSelection selection(session, CalcKind::Hydraulic);
        selection.setRequiredFlow(120);
        timeAgainst(selection, 0.05);
        QBENCHMARK
        {
            selection.run();
        }
    }
};

QTEST_GUILESS_MAIN(BenchSelection)
#include "bench_selection.moc"
