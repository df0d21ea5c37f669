#include "calc/ChartData.h"
#include "model/NumberFormat.h"
#include "ui/ChartFigure.h"
#include "ui/VerdictPanel.h"

#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// Two curves: one broken by a left-out point, one on the right axis with a
// point standing alone; the present inputs marked on both.
ChartData fixture()
{
    ChartData data;
    data.title = QStringLiteral("Проба");
    data.xTitle = QStringLiteral("x, м");
    data.yTitle = QStringLiteral("y, м/с");
    data.y2Title = QStringLiteral("q, л/с");
    data.xMin = 0;
    data.xMax = 4;
    data.yMax = 10;
    data.y2Max = 100;
    data.markerX = 1;
    data.markerName = QStringLiteral("Рабочая точка");
    data.curves = {
        {QStringLiteral("Скорость"), 0, {{{0, 1}, {1, 2}}, {{3, 4}, {4, 5}}}, QPointF(1, 2)},
        {QStringLiteral("Расход"), 1, {{{2, 50}}}, QPointF(1, 20)},
    };
    return data;
}

// The entries the legend shows once the chart is on the screen.
QStringList legendLabels(QChart *chart)
{
    QChartView view(chart);
    view.resize(600, 400);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return {};
    QStringList labels;
    for (QLegendMarker *marker : chart->legend()->markers()) {
        if (marker->isVisible())
            labels << marker->label();
    }
    view.setChart(new QChart);
    return labels;
}

} // namespace

class TestChartFigure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void brokenCurvesAndOneLegendEntryEach()
    {
        const std::unique_ptr<QChart> chart(ChartFigure::createChart(fixture()));
        QVector<QVector<QPointF>> lines;
        int scatterPoints = 0;
        for (QAbstractSeries *series : chart->series()) {
            if (auto *line = qobject_cast<QLineSeries *>(series))
                lines << line->points();
            else if (auto *scatter = qobject_cast<QScatterSeries *>(series))
                scatterPoints += scatter->count();
        }
        // A left-out point is a gap between two lines, never a point at zero.
        QCOMPARE(lines, (QVector<QVector<QPointF>>{{{0, 1}, {1, 2}}, {{3, 4}, {4, 5}}, {{2, 50}}}));
        QCOMPARE(scatterPoints, 2);
        QCOMPARE(legendLabels(chart.get()), (QStringList{"Скорость", "Расход", "Рабочая точка"}));

        QStringList titles;
        for (QAbstractAxis *axis : chart->axes())
            titles << axis->titleText();
        QCOMPARE(titles, (QStringList{"x, м", "y, м/с", "q, л/с"}));
        auto *x = qobject_cast<QValueAxis *>(chart->axes(Qt::Horizontal).first());
        QCOMPARE(x->min(), 0.0);
        QCOMPARE(x->max(), 4.0);
    }

    void limitLine()
    {
        ChartData data = fixture();
        data.y2Title.clear();
        data.limitLine = true;
        const std::unique_ptr<QChart> chart(ChartFigure::createChart(data));
        QCOMPARE(legendLabels(chart.get()).first(), QStringLiteral("Предел"));
        auto *limit = qobject_cast<QLineSeries *>(chart->series().first());
        QCOMPARE(limit->points(), (QList<QPointF>{{0, 1}, {4, 1}}));
        QCOMPARE(chart->axes(Qt::Vertical).size(), 1);
    }

    void pictures()
    {
        const ChartData data = fixture();
        const QSize size = ChartFigure::defaultSize();
        QImage png;
        QVERIFY(png.loadFromData(ChartFigure::png(data, size), "PNG"));
        QCOMPARE(png.size(), size * 2);
        // Something is drawn in the colours of the curves.
        QSet<QRgb> colours;
        for (int y = 0; y < png.height(); y += 7) {
            for (int x = 0; x < png.width(); x += 7)
                colours.insert(png.pixel(x, y));
        }
        QVERIFY(colours.size() > 10);

        const QByteArray svg = ChartFigure::svg(data, size);
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox().size(), size);
        QVERIFY(svg.contains("Скорость"));
        QVERIFY(svg.contains("<title>Проба</title>"));
    }

    void save_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("says");
        QTest::newRow("png") << "chart.png" << true << QString();
        QTest::newRow("svg in capitals") << "chart.SVG" << true << QString();
        QTest::newRow("pdf") << "chart.pdf" << false << "PNG или SVG";
        QTest::newRow("no extension") << "chart" << false << "PNG или SVG";
        QTest::newRow("missing folder") << "missing/chart.png" << false << "не сохранён";
    }
    void save()
    {
        QFETCH(QString, name);
        QFETCH(bool, saved);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const Result<> result = ChartFigure::save(fixture(), path, QSize(400, 300));
        QCOMPARE(result.ok(), saved);
        if (!saved) {
            QVERIFY2(result.message().contains(says), qPrintable(result.message()));
            QVERIFY(!QFile::exists(path));
            return;
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (ChartFigure::formatOf(path) == ChartFigure::Format::Png) {
            QImage image;
            QVERIFY(image.loadFromData(bytes, "PNG"));
            QCOMPARE(image.size(), QSize(800, 600));
        } else {
            QVERIFY(QSvgRenderer(bytes).isValid());
        }
    }

    void verdict_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("limit");
        QTest::addColumn<bool>("holds");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("holds") << 0.1078 << 0.251445 << true << "0,1078 ≤ 0,2514 МПа"
                               << "42,9 %"
                               << "✔ выполнено";
        QTest::newRow("equality") << 0.25 << 0.25 << true << "0,25 ≤ 0,25 МПа"
                                  << "100 %"
                                  << "✔ выполнено";
        QTest::newRow("fails") << 0.3 << 0.25 << false << "0,3 > 0,25 МПа"
                               << "120 %"
                               << "✘ не выполнено";
        QTest::newRow("no limit") << 0.1 << 0.0 << false << "0,1 > 0 МПа"
                                  << "—"
                                  << "✘ не выполнено";
    }
    void verdict()
    {
        QFETCH(double, value);
        QFETCH(double, limit);
        QFETCH(bool, holds);
        QFETCH(QString, condition);
        QFETCH(QString, percent);
        QFETCH(QString, verdict);
        CalcCheck check{QStringLiteral("stability"),
                        QStringLiteral("Устойчивость"),
                        QStringLiteral("qвн"),
                        QStringLiteral("qуст"),
                        QStringLiteral("МПа"),
                        value,
                        limit,
                        CalcCheck::ratio(value, limit),
                        holds};
        VerdictPanel panel;
        panel.setChecks({check}, VerdictPanel::Shown::Current);
        QCOMPARE(panel.cellText(0, VerdictPanel::ColumnCheck), QStringLiteral("Устойчивость"));
        QCOMPARE(panel.cellText(0, VerdictPanel::ColumnCondition), condition);
        QCOMPARE(panel.cellText(0, VerdictPanel::ColumnUtilisation), percent);
        QCOMPARE(panel.cellText(0, VerdictPanel::ColumnVerdict), verdict);
        // Colour says it too, beside the word.
        const QColor back = panel.table()->item(0, VerdictPanel::ColumnVerdict)->background().color();
        QVERIFY(holds ? back.green() > back.red() : back.red() > back.green());
    }

    void verdictOutdatedAndHidden()
    {
        const CalcCheck check{QStringLiteral("strength"),
                              QStringLiteral("Прочность"),
                              QStringLiteral("S"),
                              QString(),
                              QString(),
                              0.5,
                              1,
                              0.5,
                              true};
        VerdictPanel panel;
        panel.setChecks({check}, VerdictPanel::Shown::Outdated);
        QCOMPARE(panel.cellText(0, VerdictPanel::ColumnCondition), QStringLiteral("0,5 ≤ 1"));
        for (int c = 0; c < VerdictPanel::ColumnCount; ++c)
            QCOMPARE(panel.table()->item(0, c)->foreground().color(), QColor(128, 128, 128));

        panel.setChecks({check}, VerdictPanel::Shown::Hidden);
        QCOMPARE(panel.cellText(0, VerdictPanel::ColumnCheck), QStringLiteral("Прочность"));
        for (int c = VerdictPanel::ColumnCondition; c < VerdictPanel::ColumnCount; ++c)
            QCOMPARE(panel.cellText(0, c), QString());
    }
};

QTEST_MAIN(TestChartFigure)
#include "tst_chartfigure.moc"
