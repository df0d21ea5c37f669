#pragma once

#include "calc/CalcKind.h"
#include "cli/VariableSettings.h"

#include <QString>

#include <optional>

class CalcSession;
class CliArgs;

// The options that every command running a calculation shares, taken from
// the command line in one place: the calculation, "--set", "--material",
// "--tube", "--soil", "--database", "--laying", "--wall" and
// "--decimal-separator".  Applied to a session in the order the program's
// user would do it: material, tube, soil (rows of the reference database),
// then the assignments.
class CalcOptions
{
public:
    // What the command asks of the options.
    enum class Purpose { Calculation, Report };

    static CalcOptions take(CliArgs &args, Purpose purpose = Purpose::Calculation);

    // Picks the rows and sets the values on the session, which then selects
    // the named calculation.  A row that does not exist is a usage error; a
    // database that cannot be read throws DatabaseError.
    void applyTo(CalcSession &session) const;

    CalcKind kind() const { return m_kind; }
    int laying() const { return m_laying; }
    int wall() const { return m_wall; }
    const std::optional<int> &material() const { return m_material; }

    // The calculation named on the command line (a usage error otherwise).
    static CalcKind takeKind(CliArgs &args);

private:
    void checkMaterialFitsKind(Purpose purpose) const;

    CalcKind m_kind = CalcKind::Hydraulic;
    VariableSettings m_settings;
    std::optional<int> m_tube;
    std::optional<int> m_material;
    std::optional<int> m_soil;
    std::optional<QString> m_database;
    int m_laying = 0;
    int m_wall = 1;
};
