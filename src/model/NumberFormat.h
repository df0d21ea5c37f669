#pragma once

#include <QString>

// The number format language of the program.  A format is made of digit
// placeholders and at most one "." (see format() for the rules):
//   "0"  always yields a digit, "0" where the value has none;
//   "#"  yields the value's digit and nothing where it has none;
//   "."  stands for the decimal separator;
//   ","  before the "." groups the integer digits by the thousands separator.
// Any other characters before the first or after the last placeholder are
// written as they stand.
//
// The separators are those of the user's locale when the program starts;
// tests and the command-line tool set them explicitly.
class NumberFormat
{
public:
    static QString decimalSeparator();
    static void setDecimalSeparator(const QString &separator);
    static QString thousandsSeparator();
    static void setThousandsSeparator(const QString &separator);
    // Takes both separators from the system locale.
    static void useSystemLocale();

    // The value written in the format.  The value is rounded half away from
    // zero on its decimal expansion to 18 significant digits.  A magnitude of
    // 1e18 or more is written in the general format; values that are not
    // finite as "NAN", "INF" or "-INF".  An empty format means the general
    // format.
    static QString format(const QString &fmt, double value);
    static QString formatExtended(const QString &fmt, long double value);

    // At most `precision` significant digits, trailing zeros dropped, in
    // scientific notation ("1,5E20") for very large or very small numbers.
    static QString general(long double value, int precision = 15);

    // A value rounded half away from zero to `digits` significant digits,
    // on its decimal expansion to 18 significant digits as format() rounds:
    // value = ±d.ddd × 10^exponent, with the digits "dddd" without trailing
    // zeros (empty for zero).
    struct Significant
    {
        bool negative = false;
        QString digits;
        int exponent = 0;
    };
    static Significant roundSignificant(long double value, int digits);

    // Reads a number written with the given decimal separator: an optional
    // sign, digits with at most one separator, an optional exponent; nothing
    // else (no blanks, no digit grouping).  Fails on a value out of range.
    static bool parse(const QString &text, const QString &decimalSep, double *value);
    // A number as the user types it: either "," or "." as the decimal
    // separator, whatever the locale, an optional sign and exponent,
    // surrounding blanks ignored.
    static bool parseEntry(const QString &text, double *value);

private:
    static QString formatWith(const QString &fmt, long double value, const QString &decimalSep,
                              const QString &groupSep);
    static QString generalWith(long double value, int precision, const QString &decimalSep);
};
