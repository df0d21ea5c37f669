#include "calc/CalcVerdict.h"

#include <algorithm>
#include <cmath>

namespace {

// "устойчивость с учётом транспорта, 100,7 %": the check's title in the
// middle of a sentence, then its utilisation where it has one.
QString named(const CalcCheck &check)
{
    QString title = check.title;
    if (!title.isEmpty())
        title[0] = title[0].toLower();
    if (!std::isfinite(check.utilisation))
        return title;
    return QStringLiteral("%1, %2").arg(title, CalcCheck::percentText(check.utilisation));
}

} // namespace

bool CalcVerdict::holds() const
{
    return judged() && std::all_of(m_checks.begin(), m_checks.end(), [](const CalcCheck &c) { return c.holds; });
}

QVector<CalcCheck> CalcVerdict::failing() const
{
    QVector<CalcCheck> list;
    for (const CalcCheck &check : m_checks) {
        if (!check.holds)
            list << check;
    }
    return list;
}

const CalcCheck *CalcVerdict::governing() const
{
    const CalcCheck *worst = nullptr;
    for (const CalcCheck &check : m_checks) {
        if (!check.holds && !std::isfinite(check.utilisation))
            return &check;
        if (!worst
            || (std::isfinite(check.utilisation)
                && (!std::isfinite(worst->utilisation) || check.utilisation > worst->utilisation)))
            worst = &check;
    }
    return worst;
}

QString CalcVerdict::keyword() const
{
    if (!judged())
        return QString();
    return holds() ? QStringLiteral("holds") : QStringLiteral("fails");
}

QString CalcVerdict::text() const
{
    if (!judged())
        return QString();
    if (holds()) {
        return QStringLiteral("Выполнено: все проверки; наибольшее использование — %1").arg(named(*governing()));
    }
    QStringList parts;
    for (const CalcCheck &check : failing())
        parts << named(check);
    return QStringLiteral("Не выполнено: %1").arg(parts.join(QStringLiteral("; ")));
}
