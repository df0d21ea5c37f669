#include "calc/SweepRange.h"

#include "model/NumberFormat.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// The fewest decimal digits after the point that write the double exactly
// as its shortest round-trip form does ("0.1" -> 1, "1.5e-07" -> 8, "200" -> 0);
// -1 when that takes more than a double can hold in its integer range.
int decimalsOf(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    const QByteArray text(buffer, int(result.ptr - buffer));
    const int e = text.indexOf('e');
    const QByteArray mantissa = e < 0 ? text : text.left(e);
    const int exponent = e < 0 ? 0 : text.mid(e + 1).toInt();
    const int point = mantissa.indexOf('.');
    const int fraction = point < 0 ? 0 : int(mantissa.size()) - point - 1;
    const int decimals = fraction - exponent;
    return decimals < 0 ? 0 : decimals;
}

// value * 10^decimals as a whole number, when it is one that a double holds
// exactly.
bool scaled(double value, int decimals, qint64 *result)
{
    const double s = std::round(value * std::pow(10.0, decimals));
    if (!(std::fabs(s) < 9007199254740992.0)) // 2^53
        return false;
    *result = qint64(s);
    return true;
}

QString number(double value)
{
    return NumberFormat::general(value, 15);
}

} // namespace

Result<SweepRange> SweepRange::make(Slot slot, double from, double to, double step, qint64 maxCount)
{
    const QString key = SlotKeys::key(slot);
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step))
        return Result<SweepRange>::failure(
            QStringLiteral("%1: начало, конец и шаг должны быть конечными числами").arg(key));
    if (step == 0)
        return Result<SweepRange>::failure(QStringLiteral("%1: шаг не может быть равен нулю").arg(key));
    if (!std::isfinite(to - from))
        return Result<SweepRange>::failure(QStringLiteral("%1: расстояние от %2 до %3 не умещается в числах расчёта")
                                               .arg(key, number(from), number(to)));
    if ((to - from) * step < 0)
        return Result<SweepRange>::failure(
            QStringLiteral("%1: шаг %2 ведёт от %3 в сторону от %4").arg(key, number(step), number(from), number(to)));

    SweepRange r;
    r.m_slot = slot;
    r.m_from = from;
    r.m_to = to;
    r.m_step = step;
    const int decimals = std::max({decimalsOf(from), decimalsOf(to), decimalsOf(step)});
    qint64 f = 0;
    qint64 t = 0;
    qint64 s = 0;
    long double count = 0;
    if (decimals <= 17 && scaled(from, decimals, &f) && scaled(to, decimals, &t) && scaled(step, decimals, &s)
        && s != 0) {
        r.m_decimals = decimals;
        r.m_scaledFrom = f;
        r.m_scaledStep = s;
        count = (long double)((t - f) / s) + 1; // both of one sign: truncation is the floor
    } else {
        // Beyond exact decimals: a tolerance keeps TO in the range when the
        // quotient falls a hair short of a whole number.
        const long double q = ((long double)to - from) / step;
        count = std::floor(q + 1e-9L * std::max<long double>(1, std::fabs(q))) + 1;
    }
    if (count > (long double)maxCount)
        return Result<SweepRange>::failure(
            QStringLiteral("%1: %2 значений от %3 до %4 с шагом %5 — больше допустимых %6")
                .arg(key, QString::number(double(count), 'g', 15), number(from), number(to), number(step))
                .arg(maxCount));
    r.m_count = qint64(count);
    return r;
}

Result<SweepRange> SweepRange::parse(const QString &text, qint64 maxCount)
{
    const int eq = text.indexOf(QLatin1Char('='));
    const QStringList parts = eq < 0 ? QStringList() : text.mid(eq + 1).split(QLatin1Char(':'));
    if (eq < 0 || parts.size() != 3)
        return Result<SweepRange>::failure(QStringLiteral("ожидается KEY=FROM:TO:STEP, получено: %1").arg(text));
    const QString key = text.left(eq);
    const auto slot = SlotKeys::fromKey(key);
    if (!slot)
        return Result<SweepRange>::failure(QStringLiteral("Неизвестная переменная: %1").arg(key));
    double numbers[3];
    for (int i = 0; i < 3; ++i) {
        if (!NumberFormat::parse(parts[i].trimmed(), QStringLiteral("."), &numbers[i]))
            return Result<SweepRange>::failure(
                QStringLiteral("%1: «%2» не является числом (число пишется с точкой: 0.5, -1.5e3)").arg(key, parts[i]));
    }
    return make(*slot, numbers[0], numbers[1], numbers[2], maxCount);
}

double SweepRange::value(qint64 i) const
{
    if (m_decimals < 0) {
        // The tolerance that keeps TO in the range may put the last value a
        // hair beyond it, where near the largest number lies infinity: TO
        // stands in for it.
        const double v = m_from + double(i) * m_step;
        return m_step > 0 ? std::min(v, m_to) : std::max(v, m_to);
    }
    // The decimal number itself, read as a typed value would be.
    const qint64 n = m_scaledFrom + i * m_scaledStep;
    QByteArray digits = QByteArray::number(n < 0 ? -n : n);
    if (m_decimals > 0) {
        if (digits.size() <= m_decimals)
            digits.prepend(QByteArray(m_decimals - digits.size() + 1, '0'));
        digits.insert(digits.size() - m_decimals, '.');
    }
    if (n < 0)
        digits.prepend('-');
    return digits.toDouble();
}

QVector<double> SweepRange::values() const
{
    QVector<double> list;
    list.reserve(m_count);
    for (qint64 i = 0; i < m_count; ++i)
        list << value(i);
    return list;
}
