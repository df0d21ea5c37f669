#pragma once

#include "cli/CommandResult.h"
#include "model/SlotKeys.h"

#include <QString>
#include <QVector>

class CliArgs;
class CalcSession;

// The "--set KEY=VALUE" assignments of a command line, checked before
// anything is computed.
class VariableSettings
{
public:
    struct Assignment
    {
        Slot slot;
        double value;
    };

    // Takes every "--set" from the arguments.  An unknown key or a value that
    // is not a number is a usage failure naming it.
    static CommandResult<VariableSettings> takeFrom(CliArgs &args);

    // A number written with a point, an optional sign and an optional
    // exponent ("-1.5e3"); nothing else, not even blanks.
    static bool parseNumber(const QString &text, double *value);

    // Sets the inputs in the order they were given.
    void applyTo(CalcSession &session) const;

    const QVector<Assignment> &assignments() const { return m_assignments; }

private:
    QVector<Assignment> m_assignments;
};
