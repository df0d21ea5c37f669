#pragma once

#include "model/Result.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QChart;
struct ChartData;

// The picture of a calculation's chart: curves, the marks of the present
// inputs, the limit line, a legend and axis titles.  The same figure is
// shown in the main window, saved as PNG or SVG, and put into the report.
// Needs a QApplication (the chart is a graphics widget), but no screen.
class ChartFigure
{
public:
    // The size a figure is saved and put into reports with, in pixels of
    // 96 per inch: 180 by 116 mm, within the width of the report's text.
    static QSize defaultSize() { return QSize(680, 440); }

    // A new chart of the data; the caller owns it.  Its legend stands
    // below the plot until placeLegend() decides for the size it is drawn in.
    static QChart *createChart(const ChartData &data);
    // Legend entries side by side below the plot while they fit the width,
    // else in a column at its right.
    static void placeLegend(QChart *chart, const QSize &size);

    // The figure drawn at `size`, `scale` device pixels to a pixel.
    static QImage image(const ChartData &data, const QSize &size, qreal scale = 2);
    static QByteArray png(const ChartData &data, const QSize &size);
    static QByteArray svg(const ChartData &data, const QSize &size);

    enum class Format { None, Png, Svg };
    // The format a file name asks for by its extension, any case.
    static Format formatOf(const QString &path);
    // Writes the figure to the file all or nothing, as PNG or SVG by the
    // extension; a failure carries the reason in Russian.
    static Result<> save(const ChartData &data, const QString &path, const QSize &size);
};
