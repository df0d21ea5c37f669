#include "reports/ReportNumber.h"

#include "model/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace {

// Plain decimals from 0.0001 up to 999999; a power of ten beyond.
constexpr int SmallestPlainExponent = -4;
constexpr int LargestPlainExponent = 5;
// More than this says nothing a double can tell.
constexpr int MostDigits = 17;

const QChar Minus(0x2212);

QString superscript(const QString &text)
{
    static const char16_t digits[] = u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077\u2078\u2079";
    QString raised;
    for (const QChar c : text) {
        if (c.isDigit())
            raised += QChar(digits[c.digitValue()]);
        else if (c == Minus)
            raised += QChar(0x207B);
        else
            raised += c;
    }
    return raised;
}

bool sameRounding(const NumberFormat::Significant &a, const NumberFormat::Significant &b)
{
    return a.negative == b.negative && a.digits == b.digits && a.exponent == b.exponent;
}

} // namespace

ReportNumber ReportNumber::rounded(double value, int digits, bool keepZeros)
{
    ReportNumber number;
    if (!std::isfinite(value))
        return number;
    NumberFormat::Significant s = NumberFormat::roundSignificant(value, digits);
    // A whole number of up to six digits is written whole.
    if (s.exponent >= digits && s.exponent <= LargestPlainExponent) {
        digits = s.exponent + 1;
        s = NumberFormat::roundSignificant(value, digits);
    }
    if (s.digits.isEmpty())
        return number;
    number.m_negative = s.negative;
    number.m_digits = keepZeros ? s.digits.leftJustified(digits, QLatin1Char('0')) : s.digits;
    number.m_exponent = s.exponent;
    if (s.exponent < SmallestPlainExponent || s.exponent > LargestPlainExponent)
        number.m_power = s.exponent;
    return number;
}

ReportNumber ReportNumber::computed(double value, int digits)
{
    return rounded(value, std::clamp(digits, 1, MostDigits), true);
}

ReportNumber ReportNumber::input(double value)
{
    return rounded(value, InputDigits, false);
}

int ReportNumber::digitsToCompare(double value, double limit)
{
    if (!(value != limit) || !std::isfinite(value) || !std::isfinite(limit))
        return ComputedDigits;
    for (int digits = ComputedDigits; digits < MostDigits; ++digits) {
        if (!sameRounding(NumberFormat::roundSignificant(value, digits), NumberFormat::roundSignificant(limit, digits)))
            return digits;
    }
    return MostDigits;
}

ReportNumber ReportNumber::magnitude() const
{
    ReportNumber copy = *this;
    copy.m_negative = false;
    return copy;
}

QString ReportNumber::mantissa() const
{
    if (isZero())
        return QStringLiteral("0");
    const int first = m_exponent - m_power; // the place of the first digit
    QString integer;
    QString fraction;
    if (first >= 0) {
        integer = m_digits.left(first + 1).leftJustified(first + 1, QLatin1Char('0'));
        fraction = m_digits.mid(first + 1);
    } else {
        integer = QStringLiteral("0");
        fraction = QString(-first - 1, QLatin1Char('0')) + m_digits;
    }
    return fraction.isEmpty() ? integer : integer + NumberFormat::decimalSeparator() + fraction;
}

QString ReportNumber::exponentText() const
{
    return m_power < 0 ? Minus + QString::number(-m_power) : QString::number(m_power);
}

QString ReportNumber::text() const
{
    QString text = m_negative ? QString(Minus) : QString();
    text += mantissa();
    if (hasPowerOfTen())
        text += QStringLiteral("·10") + superscript(exponentText());
    return text;
}
