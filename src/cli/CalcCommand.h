#pragma once

#include "calc/CalcKind.h"
#include "cli/Command.h"

#include <QString>

class CalcOutcome;
class CliArgs;
class JsonWriter;

// "pipecalc-cli calc hydraulic|static|fiberglass": runs one calculation from
// the catalogue defaults (or a project), the rows picked from the reference
// database and the --set assignments, and prints the output rows of its view
// and the outcome; "--save-project FILE" keeps the inputs as a project.
class CalcCommand : public Command
{
public:
    CalcCommand();
    int execute(CliArgs &args) const override;

    // How a run ended, as members of the current JSON object: "outcome" (its
    // keyword), "message", and "variable" and "computing" (keys, or null).
    static void writeOutcome(JsonWriter &out, const CalcOutcome &outcome);
};
