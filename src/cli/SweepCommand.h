#pragma once

#include "calc/CalcKind.h"
#include "calc/ParameterSweep.h"
#include "cli/Command.h"
#include "cli/CommandResult.h"
#include "model/SlotKeys.h"

#include <QString>
#include <QVector>

class CliArgs;

// "pipecalc-cli sweep KIND --vary KEY=FROM:TO:STEP [--vary ...]
// [--columns KEY,...] [--csv|--json]": runs the calculation at every
// combination of the varied inputs, each from the inputs the calculation
// options give, and prints one row a combination: the varied inputs, the
// outcome and the values of the columns (empty where the run did not
// complete).
class SweepCommand : public Command
{
public:
    SweepCommand();
    // A column of the rows: a variable, or the utilisation of a check
    // ("util_strength").
    struct Column
    {
        QString name;
        Slot slot = Slot::None;
        int check = -1;
    };

    int execute(CliArgs &args) const override;

    // The columns named by "--columns", or those the calculation prints by
    // default: the results its output grid lists and the utilisation of
    // each of its checks.  A usage failure for a name that is neither.
    static CommandResult<QVector<Column>> columns(CalcKind kind, const QString &list);

    // A number as CSV writes it: "." as the decimal separator and the
    // fewest digits that read back to the same double.
    static QString csvNumber(double value);

private:
    enum class Format { Text, Csv, Json };

    // What the command line asks for, checked: the sweep with its inputs
    // set, the columns, and the keys of the varied inputs.
    struct Plan
    {
        CalcKind kind;
        ParameterSweep sweep;
        QVector<Column> columns;
        QStringList names; // of the columns
        QStringList varied;
        Format format;
    };

    static CommandResult<Plan> parse(CliArgs &args);
    // The whole sweep as one JSON object.
    static CommandResult<> writeJson(const Plan &plan);
    // CSV, written in batches as the rows come.
    static CommandResult<> writeCsv(const Plan &plan);
    // An aligned table to read.
    static CommandResult<> writeText(const Plan &plan);
};
