#pragma once

#include "calc/CalcKind.h"
#include "calc/CalcProject.h"
#include "calc/FiberglassChoices.h"
#include "cli/CommandResult.h"
#include "cli/VariableSettings.h"

#include <QString>
#include <QStringList>

#include <optional>

class CalcSession;
class CliArgs;

// The options that every command running a calculation shares, taken from
// the command line in one place: the calculation, "--project", "--set",
// "--material", "--tube", "--soil", "--database", "--laying", "--wall" and
// "--decimal-separator".  Applied to a session in the order the program's
// user would do it: the project opened first, then material, tube, soil
// (rows of the reference database), then the assignments; the command's
// calculation, and a laying or wall given, win over the project's.
class CalcOptions
{
public:
    // What the command asks of the options.
    enum class Purpose { Calculation, Report, Sweep, Chart, Select };

    // Takes the options and reads the project.  A mistake on the command
    // line is a usage failure; a project file that cannot be read ends the
    // command with ExitCode::ProjectFile.
    static CommandResult<CalcOptions> take(CliArgs &args, Purpose purpose = Purpose::Calculation);

    // Opens the project, picks the rows and sets the values on the session,
    // which then selects the named calculation.  A row that does not exist
    // is a usage failure; a choice of the project that the database lacks
    // ends the command with ExitCode::ProjectFile, a table the database
    // cannot read, or that cannot be opened, with ExitCode::Database.
    CommandResult<> applyTo(CalcSession &session) const;

    CalcKind kind() const { return m_kind; }
    const std::optional<int> &material() const { return m_material; }

    // A table the reference database could not read ends the command like
    // the program's message box would end the user's action: a failure
    // with the messages collected, ExitCode::Database.
    static CommandResult<> checkTablesRead(CalcSession &session);

    // The calculation named on the command line (a usage failure otherwise).
    static CommandResult<CalcKind> takeKind(CliArgs &args);

    // How a command's synopsis shows the calculation and these options.
    static QStringList synopsis();

private:
    // The options in turn, up to the first mistake.
    CommandResult<> takeOptions(CliArgs &args);
    CommandResult<> checkMaterialFitsKind(Purpose purpose) const;

    CalcKind m_kind = CalcKind::Hydraulic;
    std::optional<QString> m_projectFile;
    std::optional<CalcProject> m_project;
    VariableSettings m_settings;
    std::optional<int> m_tube;
    std::optional<int> m_material;
    std::optional<int> m_soil;
    std::optional<QString> m_database;
    std::optional<Laying> m_laying;
    std::optional<Wall> m_wall;
};
