#pragma once

#include "calc/CalcKind.h"
#include "model/SlotKeys.h"

#include <QPointF>
#include <QString>
#include <QVector>

#include <optional>

class CalcSession;

// What the chart of a calculation shows, worked out from the session's
// inputs and choices as they are (the session is not changed):
//  - hydraulic: the velocity and the flow against the filling h/d from 0.05
//    to 1, with the present filling marked;
//  - static (corrugated and fiberglass): each check's utilisation (value over
//    limit, 1 is the limit) against the cover depth, with the present depth
//    marked.
// A point where the calculation stops or faults is left out and breaks its
// curve: it is never drawn as zero.
struct ChartData
{
    struct Curve
    {
        QString name; // in the legend
        int axis = 0; // 0 the left axis, 1 the right one
        // Runs of neighbouring points that were worked out.
        QVector<QVector<QPointF>> segments;
        // Where the curve passes the present inputs, when worked out there.
        std::optional<QPointF> marker;

        int pointCount() const;
    };

    CalcKind kind = CalcKind::Hydraulic;
    QString title;
    QString xTitle;
    QString yTitle;
    QString y2Title; // empty: no right axis
    double xMin = 0;
    double xMax = 1;
    double yMin = 0;
    double yMax = 1;
    double y2Min = 0;
    double y2Max = 1;
    QVector<Curve> curves;
    // A line at utilisation 1, the limit.
    bool limitLine = false;
    // The present value of the input along the x axis, and the legend text
    // of its marks.
    double markerX = 0;
    QString markerName;
    // Points of the axis and how many of them were left out.
    int pointCount = 0;
    int leftOut = 0;
    // Said under the chart: what was left out and why.
    QString note;

    bool hasPoints() const;

    static ChartData build(const CalcSession &session, CalcKind kind);

    // The smallest of 1, 2, 2.5 and 5 times a power of ten that is not
    // below `raw` (1 for no positive finite number): steps and tick
    // intervals a reader takes in at a glance.
    static double niceInterval(double raw);

    // The input along the x axis of a calculation's chart.
    static Slot axisSlot(CalcKind kind);
};
