#pragma once

#include "calc/CalcKind.h"
#include "calc/CalcOutcome.h"
#include "calc/CalcVerdict.h"
#include "calc/FiberglassChoices.h"
#include "refdata/FiberglassTubeRow.h"
#include "refdata/TubeRow.h"

#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class CalcSession;
class CalcVariables;

// The catalogue against the job: every tube of the table the tube page
// shows, calculated with the session's inputs and choices and that tube's
// sizes.
//  - Static and fiberglass: each tube's outcome and checks, and the greatest
//    cover depth (Htr, or h for a fiberglass pipe) on a 1 cm grid from 0 to
//    30 m at which every check holds.
//  - Hydraulic: the filling h/d at which each tube carries a required flow
//    at the present slope, the velocity there, and whether that filling is
//    within the largest one allowed.
// The selection takes a copy of the inputs when it is made and calculates
// on copies of its own, so it may run on another thread while the session
// goes on changing; nothing it holds is shared with the session.
class TubeSelection
{
public:
    // The deepest cover searched and the step of the search, in metres.
    static constexpr double DepthLimit = 30.0;
    static constexpr int DepthStepsPerMetre = 100;
    static constexpr double DefaultMaxFilling = 0.8;
    // How close to the required flow the filling found carries.
    static constexpr double FlowTolerance = 0.001;

    struct Tube
    {
        // As "--tube" takes it: the 1-based row of its table.
        int number = 0;
        QString name;
        bool fiberglass = false;
        TubeRow corrugated;
        FiberglassTubeRow fiberglassRow;
        // The inside diameter in metres (the mean one of a fiberglass
        // tube), by which tubes are compared in size.
        double diameter() const { return fiberglass ? fiberglassRow.D : corrugated.Din; }
    };

    struct Row
    {
        CalcKind kind = CalcKind::Static;
        Tube tube;
        // The run at the present inputs (static, fiberglass) or at the
        // filling found (hydraulic; at full filling when none was found).
        CalcOutcome outcome = CalcOutcome::notRun();
        // Static and fiberglass: the checks of that run.
        CalcVerdict verdict;
        std::optional<double> maxDepth;
        // Hydraulic: the filling that carries the flow, the flow it carries
        // and the velocity there.
        std::optional<double> filling;
        double flow = 0;
        double velocity = 0;
        bool fits = false;

        // Static and fiberglass: every check holds; hydraulic: the flow is
        // carried within the largest filling.
        bool passes() const;
        // The greatest utilisation, of the governing check; not a number
        // without one.
        double utilisation() const;
        // The key of the governing check ("strength"), empty without one.
        QString governingKey() const;
        const CalcCheck *governing() const { return verdict.governing(); }
    };

    // Takes the session's inputs and choices and the tubes its reference
    // data holds now (the fiberglass ones for a fiberglass material).
    TubeSelection(CalcSession &session, CalcKind kind);
    ~TubeSelection();
    TubeSelection(const TubeSelection &) = delete;
    TubeSelection &operator=(const TubeSelection &) = delete;

    CalcKind kind() const { return m_kind; }
    const QVector<Tube> &tubes() const { return m_tubes; }

    // Hydraulic: the flow in l/s and the largest filling h/d.
    void setRequiredFlow(double litresPerSecond) { m_flow = litresPerSecond; }
    double requiredFlow() const { return m_flow; }
    void setMaxFilling(double filling) { m_maxFilling = filling; }
    double maxFilling() const { return m_maxFilling; }
    // Why the flow or the filling cannot be used, in Russian; empty when
    // they can.
    static QString flowProblem(double litresPerSecond);
    static QString fillingProblem(double filling);

    // One tube, by its index in tubes().
    Row evaluate(int index) const;
    // Every tube in order.  `progress` hears after each tube how many are
    // done; when it returns false the selection stops and returns the rows
    // done so far.
    QVector<Row> run(const std::function<bool(int done, int total)> &progress = {}) const;

    // The index of the smallest tube that passes (by diameter, the first
    // of equal ones); -1 when none passes.
    static int smallestPassing(const QVector<Row> &rows);
    // The depth of a step of the search, in metres.
    static double depthAt(int step) { return double(step) / DepthStepsPerMetre; }

private:
    void applyTube(CalcVariables &vars, const Tube &tube) const;
    std::optional<double> greatestDepth(CalcVariables &vars) const;
    bool holdsAt(CalcVariables &vars, double depth) const;
    void findFilling(CalcVariables &vars, Row &row) const;

    CalcKind m_kind;
    std::unique_ptr<CalcVariables> m_inputs;
    Laying m_laying = Laying::Trench;
    Wall m_wall = Wall::ThreeLayer;
    QVector<Tube> m_tubes;
    double m_flow = 0;
    double m_maxFilling = DefaultMaxFilling;
};
