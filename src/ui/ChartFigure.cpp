#include "ui/ChartFigure.h"

#include "calc/ChartData.h"
#include "model/NumberFormat.h"
#include "model/SafeFileWriter.h"

#include <QBuffer>
#include <QChart>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QSet>
#include <QSvgGenerator>
#include <QValueAxis>

#include <cmath>
#include <memory>

namespace {

const QColor kCurveColours[] = {QColor(0, 90, 170), QColor(0, 140, 60), QColor(200, 110, 0), QColor(130, 50, 160)};

QColor curveColour(int index)
{
    return kCurveColours[index % int(std::size(kCurveColours))];
}

// The font of every text of the figure: the family the application's font
// resolves to, named as such, so that an SVG viewer finds the same letters.
// Sizes are in pixels, which an SVG file states as they are.
QFont figureFont(int pixels, bool bold = false)
{
    QFont font(QFontInfo(QFont()).family());
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// An axis over exactly [min, max], ticks at a round interval from 0.
QValueAxis *valueAxis(const QString &title, double min, double max)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setTitleFont(figureFont(12, true));
    axis->setLabelsFont(figureFont(12));
    axis->setRange(min, max);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(ChartData::niceInterval((max - min) / 6));
    axis->setLabelFormat(QStringLiteral("%.4g"));
    return axis;
}

} // namespace

void ChartFigure::placeLegend(QChart *chart, const QSize &size)
{
    // A legend below the plot gives its entries equal room in one row.  The
    // pieces of a broken curve share one entry, so labels count once.
    QLegend *legend = chart->legend();
    const QFontMetrics metrics(legend->font());
    QSet<QString> labels;
    int widest = 0;
    for (const QLegendMarker *marker : legend->markers()) {
        labels.insert(marker->label());
        widest = std::max(widest, metrics.horizontalAdvance(marker->label()) + 3 * metrics.height());
    }
    legend->setAlignment(int(labels.size()) * widest < size.width() ? Qt::AlignBottom : Qt::AlignRight);
}

namespace {

void attach(QChart *chart, QAbstractSeries *series, QAbstractAxis *x, QAbstractAxis *y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

// Later segments of a curve carry no legend entry of their own.
void hideFromLegend(QChart *chart, QAbstractSeries *series)
{
    for (QLegendMarker *marker : chart->legend()->markers(series))
        marker->setVisible(false);
}

// Draws the chart of the data into a painter's device of `size`.
void paint(const ChartData &data, const QSize &size, QPainter &painter)
{
    QGraphicsScene scene;
    QChart *chart = ChartFigure::createChart(data);
    ChartFigure::placeLegend(chart, size);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
    chart->layout()->activate();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), QRectF(QPointF(0, 0), QSizeF(size)));
}

} // namespace

QChart *ChartFigure::createChart(const ChartData &data)
{
    auto *chart = new QChart;
    chart->setTitle(data.title);
    chart->setTitleFont(figureFont(15, true));
    chart->legend()->setFont(figureFont(12));
    chart->setBackgroundRoundness(0);
    chart->setAnimationOptions(QChart::NoAnimation);
    // Axis labels with the program's decimal separator.
    chart->setLocalizeNumbers(true);
    chart->setLocale(NumberFormat::decimalSeparator() == QLatin1String(",") ? QLocale(QLocale::Russian, QLocale::Russia)
                                                                            : QLocale::c());
    chart->legend()->setShowToolTips(true);
    chart->legend()->setAlignment(Qt::AlignBottom);

    QValueAxis *x = valueAxis(data.xTitle, data.xMin, data.xMax);
    QValueAxis *y = valueAxis(data.yTitle, data.yMin, data.yMax);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    QValueAxis *y2 = nullptr;
    if (!data.y2Title.isEmpty()) {
        y2 = valueAxis(data.y2Title, data.y2Min, data.y2Max);
        // One grid is enough: the left axis draws it.
        y2->setGridLineVisible(false);
        chart->addAxis(y2, Qt::AlignRight);
    }
    auto axisOf = [&](int index) -> QValueAxis * { return index == 1 && y2 ? y2 : y; };

    if (data.limitLine) {
        auto *limit = new QLineSeries;
        limit->setName(QStringLiteral("Предел"));
        limit->append(x->min(), 1);
        limit->append(x->max(), 1);
        limit->setPen(QPen(QColor(200, 0, 0), 2, Qt::DashLine));
        attach(chart, limit, x, y);
    }

    for (int i = 0; i < data.curves.size(); ++i) {
        const ChartData::Curve &curve = data.curves[i];
        const QPen pen(curveColour(i), 2.5);
        // A curve with no points still names itself in the legend.
        const int segments = std::max(1, int(curve.segments.size()));
        for (int s = 0; s < segments; ++s) {
            auto *series = new QLineSeries;
            series->setName(curve.name);
            series->setPen(pen);
            if (s < curve.segments.size()) {
                series->append(curve.segments[s].toList());
                // A point alone draws no line: its dot shows it.
                series->setPointsVisible(curve.segments[s].size() == 1);
            }
            attach(chart, series, x, axisOf(curve.axis));
            if (s > 0)
                hideFromLegend(chart, series);
        }
    }

    // The present inputs: a mark on each curve, one legend entry.
    bool named = false;
    for (int axis = 0; axis < 2; ++axis) {
        auto *marks = new QScatterSeries;
        marks->setName(data.markerName);
        marks->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        marks->setMarkerSize(11);
        marks->setColor(QColor(20, 20, 20));
        marks->setBorderColor(Qt::white);
        for (const ChartData::Curve &curve : data.curves) {
            const int curveAxis = curve.axis == 1 && y2 ? 1 : 0;
            if (curve.marker && curveAxis == axis)
                marks->append(*curve.marker);
        }
        if (marks->count() == 0) {
            delete marks;
            continue;
        }
        attach(chart, marks, x, axisOf(axis));
        if (named)
            hideFromLegend(chart, marks);
        named = true;
    }
    return chart;
}

QImage ChartFigure::image(const ChartData &data, const QSize &size, qreal scale)
{
    QImage picture(size * scale, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    paint(data, size, painter);
    painter.end();
    return picture;
}

QByteArray ChartFigure::png(const ChartData &data, const QSize &size)
{
    QImage picture = image(data, size);
    // Saved at 192 pixels per inch, so that it prints at the size it shows.
    const int dotsPerMetre = qRound(192 / 0.0254);
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

QByteArray ChartFigure::svg(const ChartData &data, const QSize &size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(data.title);
    generator.setDescription(data.note);
    QPainter painter(&generator);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    paint(data, size, painter);
    painter.end();
    return bytes;
}

ChartFigure::Format ChartFigure::formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return Format::Png;
    if (suffix == QLatin1String("svg"))
        return Format::Svg;
    return Format::None;
}

Result<> ChartFigure::save(const ChartData &data, const QString &path, const QSize &size)
{
    QByteArray bytes;
    switch (formatOf(path)) {
    case Format::Png:
        bytes = png(data, size);
        break;
    case Format::Svg:
        bytes = svg(data, size);
        break;
    case Format::None:
        return Result<>::failure(
            QStringLiteral("График сохраняется в PNG или SVG: имя файла должно оканчиваться на .png или .svg"));
    }
    if (bytes.isEmpty())
        return Result<>::failure(QStringLiteral("Не удалось нарисовать график"));
    const Result<> written = SafeFileWriter::writeFile(path, bytes);
    if (!written)
        return Result<>::failure(QStringLiteral("График не сохранён в файле «%1»: %2").arg(path, written.message()));
    return {};
}
