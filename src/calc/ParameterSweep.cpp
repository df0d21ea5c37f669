#include "calc/ParameterSweep.h"

#include "calc/CalcAssessment.h"
#include "calc/CalcSession.h"
#include "model/CalcViews.h"
#include "model/CalcVariables.h"

#include <memory>

ParameterSweep::ParameterSweep(CalcKind kind) : m_kind(kind), m_columns(CalcViews::outputRows(CalcKinds::view(kind)))
{
    CalcVariables defaults;
    defaults.applyCatalogue();
    for (int n = 1; n <= SlotKeys::Count; ++n)
        m_variables[size_t(n - 1)] = defaults.at(n);
}

ParameterSweep::ParameterSweep(const CalcSession &session, CalcKind kind) : ParameterSweep(kind)
{
    setInputs(session);
}

void ParameterSweep::setInputs(const CalcSession &session)
{
    const CalcVariables &vars = session.vars();
    for (int n = 1; n <= SlotKeys::Count; ++n)
        m_variables[size_t(n - 1)] = vars.at(n);
    m_mode = vars.mode;
    m_material = vars.selectedMaterialId;
    m_soil = vars.selectedSoilId;
    m_laying = session.laying();
    m_wall = session.wall();
}

Result<> ParameterSweep::addRange(const SweepRange &range)
{
    const QString key = SlotKeys::key(range.slot());
    if (!CalcSession::inputSlots(m_kind).contains(range.slot())) {
        QStringList inputs;
        for (const Slot slot : CalcSession::inputSlots(m_kind))
            inputs << SlotKeys::key(slot);
        return Result<>::failure(QStringLiteral("%1 не является исходным данным расчёта %2; изменять можно: %3")
                                     .arg(key, CalcKinds::name(m_kind), inputs.join(QStringLiteral(", "))));
    }
    for (const SweepRange &other : m_ranges) {
        if (other.slot() == range.slot())
            return Result<>::failure(QStringLiteral("%1 изменяется дважды").arg(key));
    }
    if (range.count() > 0 && pointCount() > MaxPoints / range.count())
        return Result<>::failure(QStringLiteral("сочетаний значений больше допустимых %1").arg(MaxPoints));
    m_ranges << range;
    return {};
}

qint64 ParameterSweep::pointCount() const
{
    qint64 count = 1;
    for (const SweepRange &range : m_ranges)
        count *= range.count();
    return count;
}

Result<> ParameterSweep::setColumns(const QVector<Slot> &columns)
{
    const QVector<Slot> inputs = CalcSession::inputSlots(m_kind);
    const QVector<Slot> results = resultSlots(m_kind);
    for (const Slot slot : columns) {
        if (!inputs.contains(slot) && !results.contains(slot)) {
            return Result<>::failure(QStringLiteral("%1 не является ни исходным данным, ни результатом расчёта %2")
                                         .arg(SlotKeys::key(slot), CalcKinds::name(m_kind)));
        }
    }
    m_columns = columns;
    return {};
}

ParameterSweep::Point ParameterSweep::runWith(const QVector<Slot> &varied, const QVector<double> &inputs) const
{
    // A variable set of its own, a fresh copy of the one taken.
    auto vars = std::make_unique<CalcVariables>();
    for (int n = 1; n <= SlotKeys::Count; ++n)
        vars->at(n) = m_variables[size_t(n - 1)];
    vars->mode = std::uint8_t(m_mode);
    vars->selectedMaterialId = m_material;
    vars->selectedSoilId = m_soil;
    for (int i = 0; i < varied.size() && i < inputs.size(); ++i)
        vars->setValue(varied[i], inputs[i]);

    Point point;
    point.inputs = inputs;
    const CalcAssessment assessment = CalcAssessment::run(*vars, m_kind, m_laying, m_wall);
    point.outcome = assessment.outcome;
    point.checks = assessment.verdict.checks();
    // What a run that did not complete left in the variables is no result.
    if (point.completed()) {
        point.values.reserve(m_columns.size());
        for (const Slot slot : m_columns)
            point.values << vars->value(slot);
    }
    return point;
}

ParameterSweep::Point ParameterSweep::runAt(const QVector<double> &inputs) const
{
    QVector<Slot> varied;
    for (const SweepRange &range : m_ranges)
        varied << range.slot();
    return runWith(varied, inputs);
}

ParameterSweep::Point ParameterSweep::runUnchanged() const
{
    return runWith({}, {});
}

void ParameterSweep::run(const std::function<void(const Point &)> &sink) const
{
    runWhile([&sink](const Point &point) {
        sink(point);
        return true;
    });
}

void ParameterSweep::runWhile(const std::function<bool(const Point &)> &sink) const
{
    const qint64 total = pointCount();
    if (total <= 0)
        return;
    const int n = int(m_ranges.size());
    QVector<qint64> index(n, 0);
    QVector<double> inputs(n);
    for (qint64 p = 0; p < total; ++p) {
        for (int i = 0; i < n; ++i)
            inputs[i] = m_ranges[i].value(index[i]);
        if (!sink(runAt(inputs)))
            return;
        for (int i = n - 1; i >= 0; --i) {
            if (++index[i] < m_ranges[i].count())
                break;
            index[i] = 0;
        }
    }
}

QVector<ParameterSweep::Point> ParameterSweep::points() const
{
    QVector<Point> list;
    list.reserve(pointCount());
    run([&list](const Point &point) { list << point; });
    return list;
}

QVector<Slot> ParameterSweep::resultSlots(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return {Slot::Rs,       Slot::Kw_h, Slot::Rsnf_Rsf, Slot::g,      Slot::bs,     Slot::a,   Slot::Ls, Slot::V,
                Slot::Vf_begin, Slot::Requ, Slot::Rephi,    Slot::bs_end, Slot::Vf_end, Slot::Vnf, Slot::qs};
    case CalcKind::Static:
        return {Slot::Kok,    Slot::Ktau,   Slot::Kw,    Slot::Kgr, Slot::Kg,    Slot::Ksigma, Slot::Kzpsi,
                Slot::Kz,     Slot::Gammav, Slot::g,     Slot::e,   Slot::n,     Slot::P,      Slot::y,
                Slot::I,      Slot::A,      Slot::D,     Slot::qt,  Slot::qgr,   Slot::qc,     Slot::Go,
                Slot::Psi_gr, Slot::Psi_t,  Slot::Psi_m, Slot::Psi, Slot::Eps_p, Slot::Eps_c,  Slot::Eps_pp,
                Slot::Eps_pn, Slot::S_cond, Slot::Gtau,  Slot::Kug, Slot::Kov,   Slot::Kzu,    Slot::Qgv,
                Slot::qvn,    Slot::qust,   Slot::qvntr};
    case CalcKind::Fiberglass:
        return {Slot::gc, Slot::Mras, Slot::Mpr, Slot::psiSt, Slot::Gy, Slot::QgvSt};
    }
    return {};
}

QStringList ParameterSweep::checkKeys(CalcKind kind)
{
    QVector<CalcCheck> checks;
    if (kind == CalcKind::Static)
        checks = CalcCheck::corrugated(CalcVariables());
    else if (kind == CalcKind::Fiberglass)
        checks = CalcCheck::fiberglass(FiberglassResults());
    QStringList keys;
    for (const CalcCheck &check : checks)
        keys << check.key;
    return keys;
}
