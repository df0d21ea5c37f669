#pragma once

#include "calc/CalcCheck.h"

#include <QString>
#include <QVector>

// The verdict on a pipe from the checks of its static calculation: it holds
// when every check holds.  The results line, the checks panel, the chart,
// the reports and the command line all speak from this one list.
class CalcVerdict
{
public:
    // No verdict: a hydraulic calculation, or a run without results.
    CalcVerdict() = default;
    explicit CalcVerdict(QVector<CalcCheck> checks) : m_checks(std::move(checks)) {}

    const QVector<CalcCheck> &checks() const { return m_checks; }
    // Whether there is a verdict at all.
    bool judged() const { return !m_checks.isEmpty(); }
    // Every check holds; false without a verdict.
    bool holds() const;
    // The checks that fail, in their order.
    QVector<CalcCheck> failing() const;
    // The check that comes nearest to its limit or goes furthest past it;
    // null without a verdict.  A failing check without a ratio (its limit
    // not above zero) governs before any other.
    const CalcCheck *governing() const;

    // "holds" or "fails"; empty without a verdict.
    QString keyword() const;
    // The verdict in words, empty without one: "Выполнено: все проверки;
    // наибольшее использование — прочность, 65,9 %" or "Не выполнено:
    // устойчивость с учётом транспорта, 100,7 %" (every failing check,
    // separated by "; ").
    QString text() const;

private:
    QVector<CalcCheck> m_checks;
};
