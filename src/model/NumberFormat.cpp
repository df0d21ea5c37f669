#include "model/NumberFormat.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Separators
{
    QString decimal;
    QString thousands;
};

Separators systemSeparators()
{
    const QLocale locale = QLocale::system();
    return {locale.decimalPoint(), locale.groupSeparator()};
}

Separators &separators()
{
    static Separators s = systemSeparators();
    return s;
}

// A finite number as sign, significant digits and the position of the
// decimal point: value = 0.digits * 10^pointPos.  No leading zero digit
// unless the value is zero (then digits is empty).
struct Decimal
{
    bool negative = false;
    std::string digits;
    int pointPos = 0;

    bool isZero() const { return digits.empty(); }

    void stripTrailingZeros()
    {
        const auto last = digits.find_last_not_of('0');
        if (last == std::string::npos)
            digits.clear();
        else
            digits.erase(last + 1);
    }

    // Rounds half away from zero to `decimals` places after the point.
    void roundToDecimals(int decimals)
    {
        const long keep = static_cast<long>(pointPos) + decimals;
        if (keep >= static_cast<long>(digits.size()))
            return;
        if (keep < 0) {
            digits.clear();
            return;
        }
        const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.erase(static_cast<std::size_t>(keep));
        if (up) {
            int i = static_cast<int>(digits.size()) - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++pointPos;
            }
        }
        stripTrailingZeros();
    }

    // The digit at position k counted from the decimal point: k = 1 is the
    // first digit after the point, k = 0 the units digit, k = -1 the tens.
    char digitAt(long k) const
    {
        const long index = static_cast<long>(pointPos) + k - 1;
        if (index < 0 || index >= static_cast<long>(digits.size()))
            return '0';
        return digits[static_cast<std::size_t>(index)];
    }
};

// The value's decimal expansion to `significant` digits, rounded from its
// exact binary value.
Decimal toDecimal(long double value, int significant)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.*Le", significant - 1, value);
    Decimal d;
    const char *p = buffer;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p != 'e' && *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits.push_back(*p);
    }
    const int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    d.pointPos = exponent + 1;
    d.stripTrailingZeros();
    return d;
}

QString nonFiniteText(long double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

struct Pattern
{
    QString prefix;
    QString suffix;
    int minIntegerDigits = 0;
    bool grouping = false;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool hasPlaceholder = false;
};

Pattern parsePattern(const QString &fmt)
{
    Pattern p;
    int first = -1;
    int last = -1;
    for (int i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt[i];
        if (isPlaceholder(c) || c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (first < 0)
                first = i;
            last = i;
        }
        if (isPlaceholder(c))
            p.hasPlaceholder = true;
    }
    if (first < 0)
        return p;
    p.prefix = fmt.left(first);
    p.suffix = fmt.mid(last + 1);

    const QString body = fmt.mid(first, last - first + 1);
    const int dot = body.indexOf(QLatin1Char('.'));
    const QString integerPart = dot < 0 ? body : body.left(dot);
    const QString fractionPart = dot < 0 ? QString() : body.mid(dot + 1);

    int placeholders = 0;
    int firstZero = -1;
    for (const QChar c : integerPart) {
        if (c == QLatin1Char(','))
            p.grouping = true;
        if (!isPlaceholder(c))
            continue;
        if (c == QLatin1Char('0') && firstZero < 0)
            firstZero = placeholders;
        ++placeholders;
    }
    p.minIntegerDigits = firstZero < 0 ? 0 : placeholders - firstZero;

    for (const QChar c : fractionPart) {
        if (!isPlaceholder(c))
            continue;
        ++p.maxDecimals;
        if (c == QLatin1Char('0'))
            p.minDecimals = p.maxDecimals;
    }
    return p;
}

QString groupDigits(const QString &digits, const QString &separator)
{
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

} // namespace

QString NumberFormat::decimalSeparator()
{
    return separators().decimal;
}

void NumberFormat::setDecimalSeparator(const QString &separator)
{
    separators().decimal = separator;
}

QString NumberFormat::thousandsSeparator()
{
    return separators().thousands;
}

void NumberFormat::setThousandsSeparator(const QString &separator)
{
    separators().thousands = separator;
}

void NumberFormat::useSystemLocale()
{
    separators() = systemSeparators();
}

QString NumberFormat::format(const QString &fmt, double value)
{
    return formatExtended(fmt, static_cast<long double>(value));
}

QString NumberFormat::formatExtended(const QString &fmt, long double value)
{
    return formatWith(fmt, value, decimalSeparator(), thousandsSeparator());
}

QString NumberFormat::general(long double value, int precision)
{
    return generalWith(value, precision, decimalSeparator());
}

NumberFormat::Significant NumberFormat::roundSignificant(long double value, int digits)
{
    Significant result;
    if (!std::isfinite(value))
        return result;
    Decimal d = toDecimal(value, 18);
    d.roundToDecimals(digits - d.pointPos);
    if (d.isZero())
        return result;
    result.negative = d.negative;
    result.digits = QString::fromLatin1(d.digits.c_str());
    result.exponent = d.pointPos - 1;
    return result;
}

bool NumberFormat::parse(const QString &text, const QString &decimalSep, double *value)
{
    if (decimalSep.isEmpty())
        return false;
    const QString sep = QRegularExpression::escape(decimalSep);
    // Anchored to the very end: "$" would let a final new line through.
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[+-]?(\\d+(%1\\d*)?|%1\\d+)([eE][+-]?\\d+)?").arg(sep)));
    if (!pattern.match(text).hasMatch())
        return false;
    QString plain = text;
    plain.replace(decimalSep, QStringLiteral("."));
    bool ok = false;
    const double parsed = plain.toDouble(&ok); // reads the C locale
    if (!ok || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

bool NumberFormat::parseEntry(const QString &text, double *value)
{
    const QString trimmed = text.trimmed();
    return parse(trimmed, QStringLiteral(","), value) || parse(trimmed, QStringLiteral("."), value);
}

QString NumberFormat::formatWith(const QString &fmt, long double value, const QString &decimalSep,
                                 const QString &groupSep)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (std::fabs(value) >= 1e18L)
        return generalWith(value, 15, decimalSep);

    const Pattern pattern = parsePattern(fmt);
    if (!pattern.hasPlaceholder)
        return generalWith(value, 15, decimalSep);

    Decimal d = toDecimal(value, 18);
    d.roundToDecimals(pattern.maxDecimals);

    QString integerDigits;
    for (long k = -(static_cast<long>(d.pointPos) - 1); k <= 0; ++k)
        integerDigits += QLatin1Char(d.digitAt(k));
    while (integerDigits.startsWith(QLatin1Char('0')))
        integerDigits.remove(0, 1);
    while (integerDigits.size() < pattern.minIntegerDigits)
        integerDigits.prepend(QLatin1Char('0'));
    if (pattern.grouping)
        integerDigits = groupDigits(integerDigits, groupSep);

    QString fraction;
    for (int k = 1; k <= pattern.maxDecimals; ++k)
        fraction += QLatin1Char(d.digitAt(k));
    while (fraction.size() > pattern.minDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    QString text = pattern.prefix;
    if (d.negative && !d.isZero())
        text += QLatin1Char('-');
    text += integerDigits;
    if (!fraction.isEmpty())
        text += decimalSep + fraction;
    text += pattern.suffix;
    return text;
}

QString NumberFormat::generalWith(long double value, int precision, const QString &decimalSep)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const Decimal d = toDecimal(value, precision);
    if (d.isZero())
        return QStringLiteral("0");

    const QString digits = QString::fromLatin1(d.digits.c_str());
    QString text = d.negative ? QStringLiteral("-") : QString();
    if (d.pointPos > precision || d.pointPos < -3) {
        text += digits.left(1);
        if (digits.size() > 1)
            text += decimalSep + digits.mid(1);
        text += QLatin1Char('E') + QString::number(d.pointPos - 1);
        return text;
    }
    if (d.pointPos <= 0) {
        text += QLatin1Char('0') + decimalSep + QString(-d.pointPos, QLatin1Char('0')) + digits;
        return text;
    }
    const QString integerDigits = digits.left(d.pointPos).leftJustified(d.pointPos, QLatin1Char('0'));
    text += integerDigits;
    if (digits.size() > d.pointPos)
        text += decimalSep + digits.mid(d.pointPos);
    return text;
}
