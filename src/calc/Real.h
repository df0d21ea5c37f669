#pragma once

// A double whose arithmetic reports faults the way an engineer expects a
// calculator to: every operation that divides a non-zero number by zero,
// takes the logarithm of zero or raises zero to a negative power throws a
// division-by-zero CalcFault; 0/0, roots, logarithms and fractional powers of
// negative numbers throw an invalid-operation fault; a finite computation that
// leaves the range of double throws an overflow fault.  Underflow to zero is
// not a fault.
class Real
{
public:
    constexpr Real(double value = 0.0) : m_value(value) {} // NOLINT: implicit by design

    constexpr double v() const { return m_value; }

    friend Real operator+(Real a, Real b);
    friend Real operator-(Real a, Real b);
    friend Real operator*(Real a, Real b);
    friend Real operator/(Real a, Real b);
    friend constexpr Real operator-(Real a) { return Real(-a.m_value); }

    Real &operator+=(Real b) { return *this = *this + b; }
    Real &operator-=(Real b) { return *this = *this - b; }
    Real &operator*=(Real b) { return *this = *this * b; }
    Real &operator/=(Real b) { return *this = *this / b; }

    friend constexpr bool operator<(Real a, Real b) { return a.m_value < b.m_value; }
    friend constexpr bool operator>(Real a, Real b) { return a.m_value > b.m_value; }
    friend constexpr bool operator<=(Real a, Real b) { return a.m_value <= b.m_value; }
    friend constexpr bool operator>=(Real a, Real b) { return a.m_value >= b.m_value; }
    friend constexpr bool operator==(Real a, Real b) { return a.m_value == b.m_value; }
    friend constexpr bool operator!=(Real a, Real b) { return a.m_value != b.m_value; }

    // Checked functions.
    static Real sqrt(Real x);
    static Real ln(Real x);
    static Real log10(Real x);
    static Real exp(Real x);
    static Real abs(Real x);
    static Real sin(Real x);
    static Real arccos(Real x);
    // Tangent of an angle given in degrees (converted with pi/180).
    static Real tanDegrees(Real degrees);
    // Base to an integral exponent by repeated squaring and multiplication;
    // accepts negative bases.
    static Real intPower(Real base, int exponent);
    // The power rules of the calculations: an exponent of 0 gives 1; a base
    // of 0 with a positive exponent gives 0; an integral exponent is applied
    // by multiplication; anything else is exp(exponent * ln(base)).
    static Real power(Real base, Real exponent);

private:
    double m_value;
};
