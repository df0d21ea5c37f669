#include "calc/ChartData.h"

#include "calc/CalcSession.h"
#include "calc/ParameterSweep.h"
#include "model/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

QString num(double value, const char *format = "0.###")
{
    return NumberFormat::format(QString::fromLatin1(format), value);
}

// Curves of one sweep: the values a point gives each curve (not finite: left out).
struct CurveSource
{
    QString name;
    int axis;
    std::function<double(const ParameterSweep::Point &)> value;
};

void addPoint(ChartData::Curve &curve, bool *broken, double x, double y)
{
    if (!std::isfinite(y)) {
        *broken = true;
        return;
    }
    if (*broken || curve.segments.isEmpty())
        curve.segments.append(QVector<QPointF>());
    curve.segments.last().append(QPointF(x, y));
    *broken = false;
}

// The range of a set of values with room above; [low, high] at least.
void fitRange(const QVector<ChartData::Curve> &curves, int axis, double low, double high, double cap, double *min,
              double *max)
{
    double top = -INFINITY;
    double bottom = INFINITY;
    for (const ChartData::Curve &curve : curves) {
        if (curve.axis != axis)
            continue;
        for (const auto &segment : curve.segments) {
            for (const QPointF &p : segment) {
                top = std::max(top, p.y());
                bottom = std::min(bottom, p.y());
            }
        }
        if (curve.marker) {
            top = std::max(top, curve.marker->y());
            cap = std::max(cap, curve.marker->y() * 1.1);
        }
    }
    *max = std::isfinite(top) ? std::clamp(top * 1.05, high, std::max(cap, high)) : high;
    *min = std::isfinite(bottom) && bottom < low ? bottom - 0.05 * (*max - bottom) : low;
    // Both ends on round numbers.
    const double interval = ChartData::niceInterval((*max - *min) / 6);
    *max = std::ceil(*max / interval - 1e-9) * interval;
    *min = std::floor(*min / interval + 1e-9) * interval;
}

// Sweeps the input along the x axis from `from` to `to` in steps of `step`.
void sweepInto(ChartData &data, ParameterSweep &sweep, double from, double to, double step,
               const QVector<CurveSource> &sources)
{
    for (const CurveSource &source : sources)
        data.curves.append(ChartData::Curve{source.name, source.axis, {}, std::nullopt});
    const Result<SweepRange> range =
        SweepRange::make(ChartData::axisSlot(data.kind), from, to, step, ParameterSweep::MaxPoints);
    const Result<> added = range ? sweep.addRange(*range) : range.status();
    if (!added) {
        data.note = QStringLiteral("График не построен: %1").arg(added.message());
        return;
    }
    QVector<bool> broken(sources.size(), false);
    QString firstFailure;
    sweep.run([&](const ParameterSweep::Point &point) {
        const double x = point.inputs.value(0);
        ++data.pointCount;
        if (!point.completed()) {
            ++data.leftOut;
            if (firstFailure.isEmpty())
                firstFailure = point.outcome.displayText();
            for (bool &b : broken)
                b = true;
            return;
        }
        for (int i = 0; i < sources.size(); ++i)
            addPoint(data.curves[i], &broken[i], x, sources[i].value(point));
    });

    const ParameterSweep::Point present = sweep.runUnchanged();
    if (present.completed()) {
        for (int i = 0; i < sources.size(); ++i) {
            const double y = sources[i].value(present);
            if (std::isfinite(y))
                data.curves[i].marker = QPointF(data.markerX, y);
        }
    }

    QStringList notes;
    if (data.leftOut > 0) {
        notes << QStringLiteral("Расчёт не выполнен в %1 из %2 точек графика, они не показаны. %3")
                     .arg(data.leftOut)
                     .arg(data.pointCount)
                     .arg(firstFailure)
                     .trimmed();
    }
    if (!present.completed() && !present.outcome.displayText().isEmpty())
        notes
            << QStringLiteral("При текущих исходных данных расчёт не выполнен: %1").arg(present.outcome.displayText());
    data.note = notes.join(QLatin1Char('\n'));
}

double utilisationOf(const ParameterSweep::Point &point, int check)
{
    return check < point.checks.size() ? point.checks[check].utilisation : NAN;
}

ChartData hydraulic(const CalcSession &session)
{
    ChartData data;
    data.kind = CalcKind::Hydraulic;
    data.title = QStringLiteral("Скорость и расход при неполном наполнении");
    data.xTitle = QStringLiteral("Наполнение h/d");
    data.yTitle = QStringLiteral("Скорость V, м/с");
    data.y2Title = QStringLiteral("Расход q, л/с");
    data.xMin = 0;
    data.xMax = 1;
    data.markerX = session.input(Slot::hs_d);
    data.markerName = QStringLiteral("Рабочая точка h/d = %1").arg(num(data.markerX));

    ParameterSweep sweep(session, CalcKind::Hydraulic);
    [[maybe_unused]] const Result<> columns = sweep.setColumns({Slot::Vnf, Slot::qs});
    Q_ASSERT(columns.ok());
    sweepInto(data, sweep, 0.05, 1, 0.01,
              {
                  {QStringLiteral("Скорость Vnf, м/с"), 0,
                   [](const ParameterSweep::Point &p) { return p.values.value(0, NAN); }},
                  {QStringLiteral("Расход qs, л/с"), 1,
                   [](const ParameterSweep::Point &p) { return p.values.value(1, NAN); }},
              });
    fitRange(data.curves, 0, 0, 0.1, INFINITY, &data.yMin, &data.yMax);
    fitRange(data.curves, 1, 0, 1, INFINITY, &data.y2Min, &data.y2Max);
    return data;
}

ChartData utilisation(const CalcSession &session, CalcKind kind)
{
    const bool fiberglass = kind == CalcKind::Fiberglass;
    const Slot depth = ChartData::axisSlot(kind);
    ChartData data;
    data.kind = kind;
    data.limitLine = true;
    if (fiberglass) {
        data.title = session.laying() == Laying::Trench
                         ? QStringLiteral("Стеклопластиковая труба, траншейная прокладка")
                         : QStringLiteral("Стеклопластиковая труба, бестраншейная прокладка");
        data.xTitle = QStringLiteral("Глубина от поверхности до верха трубы h, м");
    } else {
        data.title = QStringLiteral("Гофрированная труба в траншее");
        data.xTitle = QStringLiteral("Глубина заложения Hтр, м");
    }
    data.yTitle = QStringLiteral("Значение / предел");
    data.markerX = session.input(depth);
    data.markerName = QStringLiteral("Текущая глубина %1 м").arg(num(data.markerX));

    // From the surface to twice the present depth, at least 6 m, in about
    // a hundred nice steps.
    const double present = std::isfinite(data.markerX) ? data.markerX : 0;
    data.xMin = std::min(0.0, std::floor(present));
    data.xMax = std::max(6.0, std::ceil(2 * present));
    const double step = ChartData::niceInterval((data.xMax - data.xMin) / 100);

    ParameterSweep sweep(session, kind);
    [[maybe_unused]] const Result<> columns = sweep.setColumns({});
    Q_ASSERT(columns.ok());
    QVector<CurveSource> sources;
    const QVector<CalcCheck> names = fiberglass ? CalcCheck::fiberglass({}) : CalcCheck::corrugated({});
    for (int i = 0; i < names.size(); ++i) {
        sources.append({names[i].title, 0, [i](const ParameterSweep::Point &p) { return utilisationOf(p, i); }});
    }
    sweepInto(data, sweep, data.xMin, data.xMax, step, sources);
    fitRange(data.curves, 0, 0, 1.2, 3, &data.yMin, &data.yMax);
    return data;
}

} // namespace

int ChartData::Curve::pointCount() const
{
    int count = 0;
    for (const auto &segment : segments)
        count += int(segment.size());
    return count;
}

double ChartData::niceInterval(double raw)
{
    if (!(raw > 0) || !std::isfinite(raw))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
        if (m * power >= raw * (1 - 1e-9))
            return m * power;
    }
    return 10 * power;
}

bool ChartData::hasPoints() const
{
    return std::any_of(curves.begin(), curves.end(), [](const Curve &c) { return c.pointCount() > 0; });
}

ChartData ChartData::build(const CalcSession &session, CalcKind kind)
{
    return kind == CalcKind::Hydraulic ? hydraulic(session) : utilisation(session, kind);
}

Slot ChartData::axisSlot(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return Slot::hs_d;
    case CalcKind::Static:
        return Slot::Htr;
    case CalcKind::Fiberglass:
        return Slot::h;
    }
    return Slot::None;
}
