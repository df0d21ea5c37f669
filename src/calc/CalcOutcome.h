#pragma once

#include <QString>

class CalcFault;

// How a calculation ended.  The window turns it into a message box; the
// command-line tool into a message and an exit status.
class CalcOutcome
{
public:
    enum class Kind {
        Completed,
        Stopped, // the input guard stopped it: nothing more was written, nothing is said
        DivisionByZero,
        Fault, // any other arithmetic fault, with its text
    };

    static CalcOutcome completed() { return CalcOutcome(Kind::Completed, QString()); }
    static CalcOutcome stopped() { return CalcOutcome(Kind::Stopped, QString()); }
    static CalcOutcome fromFault(const CalcFault &fault);

    Kind kind() const { return m_kind; }
    bool isCompleted() const { return m_kind == Kind::Completed; }
    // The fault's own text ("Invalid floating point operation"); empty
    // unless the kind is Fault.
    const QString &faultMessage() const { return m_message; }
    // The text the user is shown: empty for a completed or stopped run, the
    // division-by-zero message, or the fault's text ending in a full stop as
    // the general error box writes it.
    QString displayText() const;
    // "completed", "stopped", "division_by_zero" or "fault".
    QString keyword() const;

private:
    CalcOutcome(Kind kind, QString message) : m_kind(kind), m_message(std::move(message)) {}

    Kind m_kind;
    QString m_message;
};
