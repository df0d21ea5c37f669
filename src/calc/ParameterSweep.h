#pragma once

#include "calc/CalcCheck.h"
#include "calc/CalcKind.h"
#include "calc/CalcOutcome.h"
#include "calc/FiberglassChoices.h"
#include "calc/SweepRange.h"
#include "model/Result.h"
#include "model/SlotKeys.h"
#include "model/Variable.h"

#include <QString>
#include <QVector>

#include <array>
#include <cstdint>
#include <functional>

class CalcSession;

// Runs one calculation over every combination of the values of some inputs.
// The sweep takes the session's inputs and choices as they are when it is
// made; every point starts afresh from them, so no point sees what another
// left behind, and the session itself is never touched.
class ParameterSweep
{
public:
    // The most points a sweep may have.
    static constexpr qint64 MaxPoints = 100000;

    struct Point
    {
        // The values of the varied inputs, in the order of the ranges.
        QVector<double> inputs;
        CalcOutcome outcome = CalcOutcome::notRun();
        // The values of the columns; empty unless the run completed.
        QVector<double> values;
        // The checks of a static calculation that completed; empty otherwise.
        QVector<CalcCheck> checks;
        bool completed() const { return outcome.isCompleted(); }
    };

    // A sweep of the calculation over the session's inputs and choices as
    // they are now.
    ParameterSweep(const CalcSession &session, CalcKind kind);
    // A sweep from the catalogue defaults, until setInputs().
    explicit ParameterSweep(CalcKind kind);
    // Takes the session's inputs and choices as they are now.
    void setInputs(const CalcSession &session);

    CalcKind kind() const { return m_kind; }

    // Adds an input to vary; the first range added varies slowest.  A
    // failure with the reason in Russian for a variable the calculation
    // does not read, one varied already, or a sweep that would pass
    // MaxPoints.
    Result<> addRange(const SweepRange &range);
    const QVector<SweepRange> &ranges() const { return m_ranges; }
    qint64 pointCount() const;

    // The quantities each point gives: by default the results the output
    // grid lists for the calculation.  A failure with the reason for a
    // variable the calculation neither reads nor works out.
    Result<> setColumns(const QVector<Slot> &columns);
    const QVector<Slot> &columns() const { return m_columns; }

    // Every point in turn, the last range varying fastest.
    void run(const std::function<void(const Point &)> &sink) const;
    // The same until the sink returns false: a reader that has gone away
    // (a full disk, a closed pipe) stops the run.
    void runWhile(const std::function<bool(const Point &)> &sink) const;
    QVector<Point> points() const;
    // One point: the inputs as taken, with the varied ones set to `inputs`.
    Point runAt(const QVector<double> &inputs) const;
    // The point of the inputs as taken, nothing varied.
    Point runUnchanged() const;

    // The variables a calculation works out (it may write them even when
    // it does not complete).
    static QVector<Slot> resultSlots(CalcKind kind);
    // The names of the checks of a calculation, in the order it gives them;
    // none for the hydraulic one.
    static QStringList checkKeys(CalcKind kind);

private:
    Point runWith(const QVector<Slot> &varied, const QVector<double> &inputs) const;

    CalcKind m_kind;
    // The session's variables (values, names and formats) as taken.
    std::array<Variable, SlotKeys::Count> m_variables{};
    int m_mode = 0;
    std::int32_t m_material = -1;
    std::int32_t m_soil = -1;
    Laying m_laying = Laying::Trench;
    Wall m_wall = Wall::ThreeLayer;
    QVector<SweepRange> m_ranges;
    QVector<Slot> m_columns;
};
