#include "calc/CalcSession.h"
#include "calc/ChartData.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(CalcKind)

namespace {

// The y of a curve at x; NaN when the curve has no point there.
double yAt(const ChartData::Curve &curve, double x)
{
    for (const auto &segment : curve.segments) {
        for (const QPointF &p : segment) {
            if (std::fabs(p.x() - x) < 1e-12)
                return p.y();
        }
    }
    return NAN;
}

bool hasX(const ChartData::Curve &curve, double x)
{
    return !std::isnan(yAt(curve, x));
}

} // namespace

class TestChartData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The curves against single runs of the calculation at a few points.
    void curvesAreSingleRuns_data()
    {
        QTest::addColumn<CalcKind>("kind");
        QTest::addColumn<int>("laying");
        QTest::addColumn<QList<double>>("xs");
        QTest::newRow("hydraulic") << CalcKind::Hydraulic << 0 << QList<double>{0.05, 0.5, 0.8, 1};
        QTest::newRow("static") << CalcKind::Static << 0 << QList<double>{0, 0.9, 1, 3.5, 7};
        QTest::newRow("fiberglass in a trench") << CalcKind::Fiberglass << 0 << QList<double>{0, 2, 6};
        QTest::newRow("fiberglass trenchless") << CalcKind::Fiberglass << 1 << QList<double>{0.5, 2, 6};
    }
    void curvesAreSingleRuns()
    {
        QFETCH(CalcKind, kind);
        QFETCH(int, laying);
        QFETCH(QList<double>, xs);
        const Slot axis = ChartData::axisSlot(kind);
        CalcSession session;
        session.setLaying(laying == 1 ? Laying::Trenchless : Laying::Trench);
        session.setInput(Slot::Htr, 3.5);
        session.setInput(Slot::h, 2);
        session.setInput(Slot::hs_d, 0.6);
        session.setInput(Slot::M, 20);
        session.setInput(Slot::FSt, 0.38);
        session.setInput(Slot::fi, 30);
        const ChartData data = ChartData::build(session, kind);
        QCOMPARE(data.leftOut, 0);
        QVERIFY(data.note.isEmpty());
        QCOMPARE(data.curves.size(), kind == CalcKind::Hydraulic ? 2 : 3);
        QCOMPARE(data.limitLine, kind != CalcKind::Hydraulic);

        for (const double x : xs) {
            CalcSession single;
            single.setLaying(laying == 1 ? Laying::Trenchless : Laying::Trench);
            single.setInput(Slot::M, 20);
            single.setInput(Slot::FSt, 0.38);
            single.setInput(Slot::fi, 30);
            single.setInput(axis, x);
            QVERIFY(single.run(kind).isCompleted());
            if (kind == CalcKind::Hydraulic) {
                QCOMPARE(yAt(data.curves[0], x), single.vars().value(Slot::Vnf));
                QCOMPARE(yAt(data.curves[1], x), single.vars().value(Slot::qs));
                QCOMPARE(data.curves[1].axis, 1);
            } else if (kind == CalcKind::Static) {
                QCOMPARE(yAt(data.curves[0], x), single.vars().value(Slot::S_cond));
                QCOMPARE(yAt(data.curves[2], x), single.vars().value(Slot::qvntr) / single.vars().value(Slot::qust));
            } else {
                const FiberglassResults &r = single.fiberglassResults();
                QCOMPARE(yAt(data.curves[0], x), r.Mras / r.Mpr);
                QCOMPARE(yAt(data.curves[1], x), r.psi / 0.05);
                QCOMPARE(yAt(data.curves[2], x), (r.Qc + r.Qgv) / r.Gy);
            }
        }
        // The present inputs are marked on every curve.
        const double present = session.input(axis);
        QCOMPARE(data.markerX, present);
        for (const ChartData::Curve &curve : data.curves) {
            QVERIFY(curve.marker.has_value());
            QCOMPARE(curve.marker->x(), present);
        }
        QVERIFY(data.xMin <= present && present <= data.xMax);
    }

    void hydraulicAxis()
    {
        CalcSession session;
        const ChartData data = ChartData::build(session, CalcKind::Hydraulic);
        QCOMPARE(data.curves[0].pointCount(), 96); // 0.05 to 1 by 0.01
        QCOMPARE(data.curves[0].segments.first().first().x(), 0.05);
        QCOMPARE(data.curves[0].segments.last().last().x(), 1.0);
        QCOMPARE(data.xTitle, QStringLiteral("Наполнение h/d"));
        QCOMPARE(data.yTitle, QStringLiteral("Скорость V, м/с"));
        QCOMPARE(data.y2Title, QStringLiteral("Расход q, л/с"));
        // The axes hold every point.
        for (const ChartData::Curve &curve : data.curves) {
            const double top = curve.axis == 1 ? data.y2Max : data.yMax;
            for (const auto &segment : curve.segments) {
                for (const QPointF &p : segment)
                    QVERIFY(p.y() <= top);
            }
        }
    }

    // A point where the calculation faults breaks the curves there: it is
    // left out, never drawn as zero.
    void aFailedPointBreaksTheCurves()
    {
        CalcSession session;
        session.setMode(1);
        // The traffic load divides by 1 + 1.155 * Htr / F, which is 0 at -0.5 m.
        session.setInput(Slot::F, 0.5775);
        session.setInput(Slot::Htr, -1);
        const ChartData data = ChartData::build(session, CalcKind::Static);
        QCOMPARE(data.xMin, -1.0);
        QCOMPARE(data.leftOut, 1);
        QVERIFY2(data.note.contains(QStringLiteral("в 1 из")), qPrintable(data.note));
        QVERIFY2(data.note.contains(QStringLiteral("Деление на ноль")), qPrintable(data.note));
        for (const ChartData::Curve &curve : data.curves) {
            QVERIFY(!hasX(curve, -0.5));
            QVERIFY(hasX(curve, -0.6));
            QVERIFY(hasX(curve, -0.4));
            QCOMPARE(curve.segments.size(), 2);
            QCOMPARE(curve.segments[0].last().x(), -0.6);
            QCOMPARE(curve.segments[1].first().x(), -0.4);
        }
    }

    void noPointAtAll()
    {
        CalcSession session;
        session.setInput(Slot::i_s, 0);
        const ChartData data = ChartData::build(session, CalcKind::Hydraulic);
        QVERIFY(!data.hasPoints());
        QCOMPARE(data.leftOut, data.pointCount);
        for (const ChartData::Curve &curve : data.curves)
            QVERIFY(!curve.marker.has_value());
        QVERIFY2(data.note.contains(QStringLiteral("При текущих исходных данных расчёт не выполнен")),
                 qPrintable(data.note));
    }

    // The depth axis reaches twice the present depth, at least 6 m.
    void depthAxis_data()
    {
        QTest::addColumn<double>("depth");
        QTest::addColumn<double>("xMax");
        QTest::newRow("shallow") << 0.8 << 6.0;
        QTest::newRow("deep") << 7.3 << 15.0;
    }
    void depthAxis()
    {
        QFETCH(double, depth);
        QFETCH(double, xMax);
        CalcSession session;
        session.setInput(Slot::Htr, depth);
        const ChartData data = ChartData::build(session, CalcKind::Static);
        QCOMPARE(data.xMin, 0.0);
        QCOMPARE(data.xMax, xMax);
        QCOMPARE(data.curves[0].segments.last().last().x(), xMax);
        QVERIFY(data.yMin <= 0 && data.yMax >= 1.2);
    }
};

QTEST_GUILESS_MAIN(TestChartData)
#include "tst_chartdata.moc"
