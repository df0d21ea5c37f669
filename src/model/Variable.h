#pragma once

#include <QString>

// One named quantity of the calculation state: its value and everything the
// grids and reports need to show it.  Nothing is checked: any double and any
// text are stored as given.
class Variable
{
public:
    Variable() = default;

    void setName(const QString &name) { m_name = name; }
    void setValue(double value) { m_value = value; }
    void setFormat(const QString &format) { m_format = format; }
    void setDescription(const QString &description) { m_description = description; }
    void setUnits(const QString &units) { m_units = units; }
    void setSymbolMark(bool mark) { m_symbolMark = mark; }

    const QString &name() const { return m_name; }
    double value() const { return m_value; }
    const QString &format() const { return m_format; }
    const QString &description() const { return m_description; }
    const QString &units() const { return m_units; }
    bool hasSymbolMark() const { return m_symbolMark; }

    // The name as the input grid shows it: a marked name in Greek letters
    // ("m" is mu, "j" phi), any other name as stored.
    QString shownName() const;
    // A Latin name as the Greek symbol typeface draws it.
    static QString symbolName(const QString &name);

    // The value written in the variable's own display format with the
    // program's decimal separator.
    QString formatValue() const;

    // The value multiplied by factor, written in the variable's format.  The
    // product is formed and formatted in extended precision, never rounded to
    // double on the way.
    QString formatScaled(double factor) const;

private:
    QString m_name;
    double m_value = 0.0;
    QString m_format;
    QString m_description;
    QString m_units;
    bool m_symbolMark = false;
};
