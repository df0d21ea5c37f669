#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Redoes the formula lines of a report's plain text the way an engineer
// checks them by hand: from the numbers printed, never from the program's
// own values.  For every "… = expression = result unit" it evaluates the
// expression (numbers, + − · /, brackets, powers written "x²", "10⁻³" or
// "x^(…)", degrees, √, sin, cos, tg, arccos, lg, min and max) and holds the
// printed result against it; a result given again in other units
// ("= 13435 Па = 0,01344 МПа") or in per cent ("0,0408 (4,080 %)") must say
// the same; a relation between two printed numbers ("0,6589 ≤ 1") must
// hold as printed, and a strict one must show different numbers; the
// columns "value, unit, SI value" of a table row must agree.  Lines that
// continue with "=" or "+" on the next line are joined first.
class FormulaLineChecker
{
public:
    explicit FormulaLineChecker(QChar decimalSeparator, double tolerance = 0.005)
        : m_separator(decimalSeparator), m_tolerance(tolerance)
    {}

    // What is off, one line each ("line: what"); empty when all is right.
    QStringList check(const QString &text);
    // How many steps the last check redid.
    int steps() const { return m_steps; }
    // The symbols of the results the last check found printed as 0, as
    // the text names them ("Q_гв" of "Q_гв = (6 − 6)·11·10⁻³ = 0 МПа").
    const QStringList &zeroResults() const { return m_zeros; }
    // The lines of the last check that print a number after "=" but had
    // nothing to redo: a formula the checker could not read.
    const QStringList &unreadLines() const { return m_unread; }

    // The value of an expression as printed; nothing when it is not one.
    std::optional<double> evaluate(const QString &expression) const;

private:
    struct Quantity
    {
        double value = 0;
        QString unit;   // as printed after the number, may be empty
        int length = 0; // the characters the number and unit took
    };
    // A number at the start of the text (after blanks), with its power of
    // ten and the unit after it.
    std::optional<Quantity> leadingQuantity(const QString &text) const;

    void checkLine(const QString &line, QStringList &findings);
    void checkRelations(const QString &line, QStringList &findings);
    void checkTableRow(const QString &line, QStringList &findings);
    bool close(double expected, double printed) const;

    QChar m_separator;
    double m_tolerance;
    int m_steps = 0;
    QStringList m_zeros;
    QStringList m_unread;
};
