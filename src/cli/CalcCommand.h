#pragma once

#include "calc/CalcKind.h"

#include <QString>

class CalcOutcome;
class CliArgs;

// "pipecalc-cli calc hydraulic|static|fiberglass": runs one calculation from
// the catalogue defaults (or a project), the rows picked from the reference
// database and the --set assignments, and prints the output rows of its view
// and the outcome; "--save-project FILE" keeps the inputs as a project.
class CalcCommand
{
public:
    // Exit statuses.
    static constexpr int ExitCompleted = 0;
    static constexpr int ExitUsage = 2;
    static constexpr int ExitStopped = 3;
    static constexpr int ExitDivisionByZero = 4;
    static constexpr int ExitFault = 5;
    // --save-project: the project file could not be written.
    static constexpr int ExitCannotWrite = 9;

    static int run(CliArgs &args);

    static int exitCode(const CalcOutcome &outcome);
};
