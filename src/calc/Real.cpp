#include "calc/Real.h"

#include "calc/CalcFault.h"

#include <cfloat>
#include <climits>
#include <cmath>

namespace {

[[noreturn]] void divisionByZero()
{
    throw CalcFault(CalcFault::Kind::DivisionByZero, QString());
}

[[noreturn]] void invalidOperation(const char16_t *what)
{
    throw CalcFault(CalcFault::Kind::InvalidOperation, QString::fromUtf16(what));
}

[[noreturn]] void overflow()
{
    throw CalcFault(CalcFault::Kind::Overflow, QStringLiteral("число вышло за пределы допустимого диапазона"));
}

const char16_t kNotANumber[] = u"результат не является числом";
const char16_t kZeroOverZero[] = u"неопределённость 0/0";
const char16_t kRootOfNegative[] = u"квадратный корень из отрицательного числа";
const char16_t kLogOfNegative[] = u"логарифм отрицательного числа";
const char16_t kPowerOfNegative[] = u"дробная степень отрицательного числа";
const char16_t kInfiniteAngle[] = u"тригонометрическая функция бесконечного угла";
const char16_t kArccosRange[] = u"арккосинус числа вне отрезка [-1; 1]";

// Checks the result of an operation whose operands were a and b.
Real checked(double result, double a, double b)
{
    if (std::isnan(result) && !std::isnan(a) && !std::isnan(b))
        invalidOperation(kNotANumber);
    if (std::isinf(result) && std::isfinite(a) && std::isfinite(b))
        overflow();
    return Real(result);
}

Real fromExtended(long double result, double operand)
{
    if (std::isnan(result) && !std::isnan(operand))
        invalidOperation(kNotANumber);
    if (std::isfinite(operand) && (std::isinf(result) || std::fabs(result) > static_cast<long double>(DBL_MAX)))
        overflow();
    return Real(static_cast<double>(result));
}

} // namespace

Real operator+(Real a, Real b)
{
    return checked(a.m_value + b.m_value, a.m_value, b.m_value);
}

Real operator-(Real a, Real b)
{
    return checked(a.m_value - b.m_value, a.m_value, b.m_value);
}

Real operator*(Real a, Real b)
{
    return checked(a.m_value * b.m_value, a.m_value, b.m_value);
}

Real operator/(Real a, Real b)
{
    if (b.m_value == 0.0 && !std::isnan(a.m_value)) {
        if (a.m_value == 0.0)
            invalidOperation(kZeroOverZero);
        divisionByZero();
    }
    return checked(a.m_value / b.m_value, a.m_value, b.m_value);
}

Real Real::sqrt(Real x)
{
    if (x.m_value < 0.0)
        invalidOperation(kRootOfNegative);
    return Real(std::sqrt(x.m_value));
}

Real Real::ln(Real x)
{
    if (x.m_value < 0.0)
        invalidOperation(kLogOfNegative);
    if (x.m_value == 0.0)
        divisionByZero();
    return Real(std::log(x.m_value));
}

Real Real::log10(Real x)
{
    if (x.m_value < 0.0)
        invalidOperation(kLogOfNegative);
    if (x.m_value == 0.0)
        divisionByZero();
    return Real(std::log10(x.m_value));
}

Real Real::exp(Real x)
{
    return fromExtended(std::exp(static_cast<long double>(x.m_value)), x.m_value);
}

Real Real::abs(Real x)
{
    return Real(std::fabs(x.m_value));
}

Real Real::sin(Real x)
{
    if (std::isinf(x.m_value))
        invalidOperation(kInfiniteAngle);
    return Real(std::sin(x.m_value));
}

Real Real::arccos(Real x)
{
    if (x.m_value < -1.0 || x.m_value > 1.0)
        invalidOperation(kArccosRange);
    return Real(std::acos(x.m_value));
}

Real Real::tanDegrees(Real degrees)
{
    constexpr double pi = 3.14159265358979323846;
    const double radians = degrees.m_value * (pi / 180.0);
    if (std::isinf(radians))
        invalidOperation(kInfiniteAngle);
    return Real(std::tan(radians));
}

Real Real::intPower(Real base, int exponent)
{
    long double result = 1.0L;
    long double factor = base.m_value;
    unsigned long n = exponent < 0 ? 0UL - static_cast<unsigned long>(exponent) : static_cast<unsigned long>(exponent);
    while (n != 0) {
        if (n & 1UL)
            result *= factor;
        n >>= 1;
        if (n != 0)
            factor *= factor;
    }
    if (exponent < 0) {
        if (result == 0.0L)
            divisionByZero();
        result = 1.0L / result;
    }
    return fromExtended(result, base.m_value);
}

Real Real::power(Real base, Real exponent)
{
    const double b = base.m_value;
    const double e = exponent.m_value;
    if (e == 0.0)
        return Real(1.0);
    if (b == 0.0 && e > 0.0)
        return Real(0.0);
    if (std::trunc(e) == e && std::fabs(e) <= static_cast<double>(INT_MAX))
        return intPower(base, static_cast<int>(e));
    if (b < 0.0)
        invalidOperation(kPowerOfNegative);
    if (b == 0.0)
        divisionByZero();
    const long double result = std::exp(static_cast<long double>(e) * std::log(static_cast<long double>(b)));
    return fromExtended(result, b);
}
