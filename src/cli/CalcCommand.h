#pragma once

#include "calc/FiberglassCalc.h"

#include <QString>

class CliArgs;
class TCalcVariables;

// "pipecalc-cli calc hydraulic|static|fiberglass": runs one calculation from
// the catalogue defaults and the --set assignments and prints the output rows
// of its view and the outcome.
class CalcCommand
{
public:
    enum class Kind { Hydraulic, Static, Fiberglass };

    // Exit statuses.
    static constexpr int ExitCompleted = 0;
    static constexpr int ExitUsage = 2;
    static constexpr int ExitStopped = 3;
    static constexpr int ExitDivisionByZero = 4;
    static constexpr int ExitFault = 5;

    static int run(CliArgs &args);

    // The calculation named on the command line (a usage error otherwise).
    static Kind takeKind(CliArgs &args);
    // "--laying trench|trenchless" (trench when absent) and
    // "--wall single|three" (three-layer when absent) as the indexes of the
    // fiberglass options.
    static int takeLaying(CliArgs &args);
    static int takeWall(CliArgs &args);

    // Runs the calculation; the fiberglass results are empty for the others.
    static FiberglassRun execute(Kind kind, TCalcVariables &vars, int laying, int wall);
    static int exitCode(const CalcOutcome &outcome);
    static QString kindName(Kind kind);
};
