#include "calc/CalcCheck.h"

#include "calc/FiberglassResults.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"

#include <cmath>
#include <limits>

double CalcCheck::ratio(double value, double limit)
{
    return limit > 0 ? value / limit : std::numeric_limits<double>::quiet_NaN();
}

QString CalcCheck::percentText(double utilisation)
{
    if (!std::isfinite(utilisation))
        return QStringLiteral("—");
    return NumberFormat::format(QStringLiteral("0.#"), utilisation * 100) + QStringLiteral(" %");
}

QVector<CalcCheck> CalcCheck::corrugated(const CalcVariables &vars)
{
    const double sCond = vars.value(Slot::S_cond);
    const double qvn = vars.value(Slot::qvn);
    const double qvntr = vars.value(Slot::qvntr);
    const double qust = vars.value(Slot::qust);
    const QString mpa = QStringLiteral("МПа");
    return {
        {QStringLiteral("strength"), QStringLiteral("Прочность"), QStringLiteral("S"), QString(), QString(), sCond, 1.0,
         ratio(sCond, 1.0), sCond <= 1.0},
        {QStringLiteral("stability"), QStringLiteral("Устойчивость без учёта транспорта"), QStringLiteral("qвн"),
         QStringLiteral("qуст"), mpa, qvn, qust, ratio(qvn, qust), qvn <= qust},
        {QStringLiteral("stability_traffic"), QStringLiteral("Устойчивость с учётом транспорта"),
         QStringLiteral("qвн.тр"), QStringLiteral("qуст"), mpa, qvntr, qust, ratio(qvntr, qust), qvntr <= qust},
    };
}

QVector<CalcCheck> CalcCheck::fiberglass(const FiberglassResults &r)
{
    // Shown in the units of the output grid; judged in those of the run.
    const double load = r.Qc + r.Qgv;
    return {
        {QStringLiteral("strength"), QStringLiteral("Прочность"), QStringLiteral("Mрас"), QStringLiteral("Mпр"),
         QStringLiteral("кН·м"), r.Mras / 1000, r.Mpr / 1000, ratio(r.Mras, r.Mpr), r.strengthHolds()},
        {QStringLiteral("ovality"), QStringLiteral("Овальность"), QStringLiteral("ψ"), QString(), QString(), r.psi,
         0.05, ratio(r.psi, 0.05), r.ovalityHolds()},
        {QStringLiteral("stability"), QStringLiteral("Устойчивость"), QStringLiteral("Qc + Qгв"),
         QStringLiteral("[G]y"), QStringLiteral("МПа"), load / 1e6, r.Gy / 1e6, ratio(load, r.Gy), r.stabilityHolds()},
    };
}
