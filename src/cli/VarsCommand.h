#pragma once

#include "cli/Command.h"
#include "cli/CommandResult.h"
#include "model/SlotKeys.h"

#include <QString>
#include <QVector>

class CliArgs;
class JsonWriter;
class CalcVariables;

// "pipecalc-cli vars": all the variables after the catalogue and the --set
// assignments.
class VarsCommand : public Command
{
public:
    VarsCommand();
    int execute(CliArgs &args) const override;

    // The JSON array of all the slots in slot order.
    static void writeVariables(JsonWriter &json, const CalcVariables &vars);
    // Rows of variables as aligned text columns: key, name, value, units
    // (and the description when asked for).
    static QString table(const CalcVariables &vars, const QVector<Slot> &slotList, bool withDescription);

    // Applies "--decimal-separator SEP" when given.
    static CommandResult<> takeDecimalSeparator(CliArgs &args);
};
