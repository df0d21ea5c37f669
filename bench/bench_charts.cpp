// Times the sweeps behind the command line and the chart page: the largest
// sweep allowed, the chart data of each calculation, and the figure drawn
// for the window, a PNG and an SVG.
// Run: build/bin/bench_charts  (add -iterations N as QtTest allows)
#include "calc/CalcSession.h"
#include "calc/ChartData.h"
#include "calc/ParameterSweep.h"
#include "model/NumberFormat.h"
#include "ui/ChartFigure.h"

#include <QChart>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(CalcKind)

class BenchCharts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void largestSweep()
    {
        CalcSession session;
        ParameterSweep sweep(session, CalcKind::Static);
        for (const char *text : {"Htr=0.01:10:0.01", "Hw=0:9.9:0.1"}) {
            const Result<SweepRange> range = SweepRange::parse(QString::fromLatin1(text), ParameterSweep::MaxPoints);
            QVERIFY(range);
            QVERIFY(sweep.addRange(*range));
        }
        QCOMPARE(sweep.pointCount(), ParameterSweep::MaxPoints);
        qint64 completed = 0;
        QBENCHMARK
        {
            sweep.run([&completed](const ParameterSweep::Point &point) { completed += point.completed(); });
        }
        QVERIFY(completed > 0);
    }

    void chartData_data()
    {
        QTest::addColumn<CalcKind>("kind");
        QTest::newRow("hydraulic") << CalcKind::Hydraulic;
        QTest::newRow("static") << CalcKind::Static;
        QTest::newRow("fiberglass") << CalcKind::Fiberglass;
    }
    void chartData()
    {
        QFETCH(CalcKind, kind);
        CalcSession session;
        QBENCHMARK
        {
            QVERIFY(ChartData::build(session, kind).hasPoints());
        }
    }

    void figure()
    {
        CalcSession session;
        const ChartData data = ChartData::build(session, CalcKind::Static);
        QBENCHMARK
        {
            const std::unique_ptr<QChart> chart(ChartFigure::createChart(data));
        }
    }

    void png()
    {
        CalcSession session;
        const ChartData data = ChartData::build(session, CalcKind::Hydraulic);
        QBENCHMARK
        {
            QVERIFY(!ChartFigure::png(data, ChartFigure::defaultSize()).isEmpty());
        }
    }

    void svg()
    {
        CalcSession session;
        const ChartData data = ChartData::build(session, CalcKind::Hydraulic);
        QBENCHMARK
        {
            QVERIFY(!ChartFigure::svg(data, ChartFigure::defaultSize()).isEmpty());
        }
    }
};

QTEST_MAIN(BenchCharts)
#include "bench_charts.moc"
