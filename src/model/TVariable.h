#pragma once

#include <QString>

// One named quantity of the calculation state: its value and everything the
// grids and reports need to show it.  Nothing is checked: any double and any
// text are stored as given.
class TVariable
{
public:
    TVariable() = default;

    void SetName(const QString &name) { m_name = name; }
    void SetValue(double value) { m_value = value; }
    void SetFormat(const QString &format) { m_format = format; }
    void SetDescription(const QString &description) { m_description = description; }
    void SetUnits(const QString &units) { m_units = units; }
    void SetSymbolMark(bool mark) { m_symbolMark = mark; }

    const QString &GetName() const { return m_name; }
    double GetValue() const { return m_value; }
    const QString &GetFormat() const { return m_format; }
    const QString &GetDescription() const { return m_description; }
    const QString &GetUnits() const { return m_units; }
    bool HasSymbolMark() const { return m_symbolMark; }

    // The name as the input grid shows it: a marked name in Greek letters
    // ("m" is mu, "j" phi), any other name as stored.
    QString shownName() const;
    // A Latin name as the Greek symbol typeface draws it.
    static QString symbolName(const QString &name);

    // The value written in the variable's own display format with the
    // program's decimal separator.
    QString FormatValue() const;

    // The value multiplied by factor, written in the variable's format.  The
    // product is formed and formatted in extended precision, never rounded to
    // double on the way.
    QString FormatScaled(double factor) const;

private:
    QString m_name;
    double m_value = 0.0;
    QString m_format;
    QString m_description;
    QString m_units;
    bool m_symbolMark = false;
};
