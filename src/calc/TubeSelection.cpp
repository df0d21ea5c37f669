#include "calc/TubeSelection.h"

#include "calc/CalcAssessment.h"
#include "calc/CalcSession.h"
#include "calc/ChartData.h"
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/CalcVariables.h"
#include "refdata/ReferenceTransfer.h"

#include <cmath>
#include <limits>

namespace {

// The filling is first looked for on this grid, then narrowed down between
// the two neighbouring points that enclose the flow.
constexpr int FillingSteps = 100;
// Narrowing stops when the flow is this close, far within the tolerance
// promised, or after so many halvings.
constexpr double FlowAccuracy = 1e-7;
constexpr int FillingHalvings = 80;

} // namespace

bool TubeSelection::Row::passes() const
{
    if (kind == CalcKind::Hydraulic)
        return fits;
    return outcome.isCompleted() && verdict.holds();
}

double TubeSelection::Row::utilisation() const
{
    const CalcCheck *check = verdict.governing();
    return check ? check->utilisation : std::numeric_limits<double>::quiet_NaN();
}

QString TubeSelection::Row::governingKey() const
{
    const CalcCheck *check = verdict.governing();
    return check ? check->key : QString();
}

TubeSelection::TubeSelection(CalcSession &session, CalcKind kind)
    : m_kind(kind), m_inputs(std::make_unique<CalcVariables>()), m_laying(session.laying()), m_wall(session.wall())
{
    m_inputs->copyFrom(session.vars());
    // The tube page lists the fiberglass tubes while a fiberglass material
    // is chosen, whatever the calculation; so do "--tube" and the selection.
    ReferenceData &refs = session.referenceData();
    if (session.vars().isFiberglassMaterial()) {
        const QVector<FiberglassTubeRow> &rows = refs.fiberglassTubes()->rows();
        for (int i = 0; i < rows.size(); ++i) {
            Tube tube;
            tube.number = i + 1;
            tube.name = CalcSession::tubeName(rows[i]);
            tube.fiberglass = true;
            tube.fiberglassRow = rows[i];
            m_tubes << tube;
        }
    } else {
        const QVector<TubeRow> &rows = refs.tubes()->rows();
        for (int i = 0; i < rows.size(); ++i) {
            Tube tube;
            tube.number = i + 1;
            tube.name = CalcSession::tubeName(rows[i]);
            tube.corrugated = rows[i];
            m_tubes << tube;
        }
    }
}

TubeSelection::~TubeSelection() = default;

QString TubeSelection::flowProblem(double litresPerSecond)
{
    if (!std::isfinite(litresPerSecond) || litresPerSecond <= 0)
        return QStringLiteral("требуемый расход должен быть больше нуля");
    return QString();
}

QString TubeSelection::fillingProblem(double filling)
{
    if (!std::isfinite(filling) || filling <= 0 || filling > 1)
        return QStringLiteral("наибольшее наполнение h/d должно быть больше 0 и не больше 1");
    return QString();
}

void TubeSelection::applyTube(CalcVariables &vars, const Tube &tube) const
{
    if (tube.fiberglass)
        ReferenceTransfer::applyFiberglassTube(vars, tube.fiberglassRow);
    else
        ReferenceTransfer::applyTube(vars, tube.corrugated);
}

bool TubeSelection::holdsAt(CalcVariables &vars, double depth) const
{
    vars.setValue(ChartData::axisSlot(m_kind), depth);
    // Only inputs are read and only results written, so one set serves every
    // depth without being copied again.
    if (m_kind == CalcKind::Static) {
        if (!calculateStatic(vars).isCompleted())
            return false;
        return CalcVerdict(CalcCheck::corrugated(vars)).holds();
    }
    const FiberglassRun run = calculateFiberglass(vars, m_laying, m_wall);
    return run.outcome.isCompleted() && CalcVerdict(CalcCheck::fiberglass(run.results)).holds();
}

std::optional<double> TubeSelection::greatestDepth(CalcVariables &vars) const
{
    // Every centimetre from the deepest up, so that no depth where the pipe
    // holds is missed, however the utilisation varies with depth: it is not
    // monotonic (the depth coefficient steps at 1 m, traffic loads fade with
    // depth while soil loads grow).
    const int steps = int(DepthLimit * DepthStepsPerMetre);
    for (int step = steps; step >= 0; --step) {
        if (holdsAt(vars, depthAt(step)))
            return depthAt(step);
    }
    return std::nullopt;
}

void TubeSelection::findFilling(CalcVariables &vars, Row &row) const
{
    const auto flowAt = [&vars, &row](double filling) -> std::optional<double> {
        vars.setValue(Slot::hs_d, filling);
        row.outcome = calculateHydraulic(vars);
        if (!row.outcome.isCompleted())
            return std::nullopt;
        return vars.value(Slot::qs);
    };
    const double wanted = m_flow;
    const auto closeEnough = [wanted](double flow) { return std::abs(flow - wanted) <= wanted * FlowAccuracy; };

    // The flow grows with the filling up to about 0.94 and falls a little
    // after: the smallest filling that carries it is the first crossing.
    double below = 0;
    double above = -1;
    for (int step = 1; step <= FillingSteps; ++step) {
        const double filling = double(step) / FillingSteps;
        const std::optional<double> flow = flowAt(filling);
        if (!flow)
            return;
        if (*flow >= wanted) {
            above = filling;
            break;
        }
        below = filling;
    }
    if (above < 0) {
        // Not even a full tube carries it; the outcome is that of the full tube.
        return;
    }
    double found = above;
    for (int i = 0; i < FillingHalvings; ++i) {
        const std::optional<double> flow = flowAt(found);
        if (!flow)
            return;
        if (closeEnough(*flow))
            break;
        if (*flow > wanted)
            above = found;
        else
            below = found;
        found = 0.5 * (below + above);
    }
    // The run at the filling reported, so that its results are those shown.
    const std::optional<double> flow = flowAt(found);
    if (!flow || std::abs(*flow - wanted) > wanted * FlowTolerance)
        return;
    row.filling = found;
    row.flow = *flow;
    row.velocity = vars.value(Slot::Vnf);
    row.fits = found <= m_maxFilling;
}

TubeSelection::Row TubeSelection::evaluate(int index) const
{
    Row row;
    row.kind = m_kind;
    row.tube = m_tubes.value(index);
    CalcVariables vars;
    vars.copyFrom(*m_inputs);
    applyTube(vars, row.tube);
    if (m_kind == CalcKind::Hydraulic) {
        findFilling(vars, row);
        return row;
    }
    // As a single calculation of the tube would judge it.
    const CalcAssessment assessment =
        CalcAssessment::run(vars, m_kind, m_laying, m_wall, CalcAssessment::Warnings::Left);
    row.outcome = assessment.outcome;
    row.verdict = assessment.verdict;
    row.maxDepth = greatestDepth(vars);
    return row;
}

QVector<TubeSelection::Row> TubeSelection::run(const std::function<bool(int, int)> &progress) const
{
    QVector<Row> rows;
    rows.reserve(m_tubes.size());
    for (int i = 0; i < m_tubes.size(); ++i) {
        rows << evaluate(i);
        if (progress && !progress(i + 1, int(m_tubes.size())))
            break;
    }
    return rows;
}

int TubeSelection::smallestPassing(const QVector<Row> &rows)
{
    int best = -1;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].passes() && (best < 0 || rows[i].tube.diameter() < rows[best].tube.diameter()))
            best = i;
    }
    return best;
}
