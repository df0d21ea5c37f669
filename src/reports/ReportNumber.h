#pragma once

#include <QString>

// A number as the reports print it, so that an engineer can redo every line
// by hand from the numbers printed:
//  - a computed value carries 4 significant digits (more when asked), an
//    input or a constant of the method as many as it holds, at most 6;
//  - a whole number of up to 6 digits is written whole;
//  - no value that is not 0 is ever written as 0: a value below 0.0001 or
//    from 1 000 000 up is written with a power of ten, "1,49·10⁻⁶";
//  - the decimal separator is the one the user chose (NumberFormat), the
//    minus sign is "−".
// A computed value shows all its digits, zeros included ("0,1270"); an
// input only those it holds ("2,5").
class ReportNumber
{
public:
    static constexpr int ComputedDigits = 4;
    static constexpr int InputDigits = 6;

    ReportNumber() = default;

    // A value worked out by the calculation, with `digits` significant digits.
    static ReportNumber computed(double value, int digits = ComputedDigits);
    // A value the user gave or the method fixes.
    static ReportNumber input(double value);
    // Where a value comes from, which decides its digits.
    enum class Origin { Input, Computed };
    static ReportNumber of(Origin origin, double value)
    {
        return origin == Origin::Input ? input(value) : computed(value);
    }

    // The significant digits, from 4 up, with which `value` and `limit`
    // printed side by side show on which side of the limit the value lies:
    // equal values stay at 4, different ones get as many digits as make
    // their printed forms differ ("1,000003 > 1").
    static int digitsToCompare(double value, double limit);

    bool isZero() const { return m_digits.isEmpty(); }
    bool isNegative() const { return m_negative; }
    // The same number without its sign.
    ReportNumber magnitude() const;

    // The digits of the magnitude with the decimal separator: "1,234".
    QString mantissa() const;
    // The power of ten the mantissa is multiplied by; 0 when none is written.
    int powerOfTen() const { return m_power; }
    bool hasPowerOfTen() const { return m_power != 0; }
    // The exponent as it is raised: "−6", "10".
    QString exponentText() const;

    // On one line, the exponent in superscript characters: "−1,49·10⁻⁶".
    QString text() const;

private:
    static ReportNumber rounded(double value, int digits, bool keepZeros);

    bool m_negative = false;
    QString m_digits;   // the significant digits shown; empty for zero
    int m_exponent = 0; // of the first digit: value = d.ddd × 10^m_exponent
    int m_power = 0;    // the power of ten written, 0 for none
};
