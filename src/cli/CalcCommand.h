#pragma once

#include "calc/FiberglassCalc.h"

#include <QString>

#include <optional>

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

    // "--tube N", "--material ID", "--soil ID" and "--database PATH": rows
    // of the reference database picked as the clicks on the grids pick them.
    struct ReferencePicks
    {
        std::optional<int> tube; // 1-based row of the tube grid of the material's kind
        std::optional<int> material;
        std::optional<int> soil;
        std::optional<QString> database;

        bool any() const { return tube || material || soil; }
    };
    static ReferencePicks takePicks(CliArgs &args);
    // The material first, since it decides which tube grid the tube number
    // counts in; then the tube and the soil.  An id or number that matches
    // no row is a usage error.
    static void applyPicks(TCalcVariables &vars, const ReferencePicks &picks);

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
    // What the tool says on standard error when a calculation did not complete.
    static QString outcomeMessage(const CalcOutcome &outcome);
    static QString kindName(Kind kind);
};
