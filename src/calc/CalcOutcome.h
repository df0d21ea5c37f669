#pragma once

#include <QString>

// How a calculation ended, in words the user can act on.  The window turns it
// into a message box or a line under the results; the command-line tool into
// a message and an exit status.
class CalcOutcome
{
public:
    enum class Kind {
        Completed,
        Stopped, // the input check stopped it before anything more was written
        DivisionByZero,
        Fault, // any other arithmetic fault
    };

    static CalcOutcome completed() { return CalcOutcome(Kind::Completed); }
    // A run that did not start; says nothing.
    static CalcOutcome notRun() { return CalcOutcome(Kind::Stopped); }
    // The input check stopped the run at the input `variable` (its key).
    static CalcOutcome stopped(const QString &variable, const QString &message);
    // A fault while `computing` (the key of the quantity) was being worked
    // out; `variable` names the input that plainly caused it, or is empty.
    static CalcOutcome failed(Kind kind, const QString &computing, const QString &variable, const QString &message);

    Kind kind() const { return m_kind; }
    bool isCompleted() const { return m_kind == Kind::Completed; }
    // The Russian text the user is shown: empty for a completed run.
    const QString &displayText() const { return m_message; }
    // The key of the input the message names, or empty.
    const QString &variable() const { return m_variable; }
    // The key of the quantity being computed at a fault, or empty.
    const QString &computing() const { return m_computing; }
    // "completed", "stopped", "division_by_zero" or "fault".
    QString keyword() const;
    // In a word or two, as a table of runs lists it: "выполнен",
    // "остановлен", "деление на ноль" or "ошибка".
    QString word() const;
    // In a line, as the command-line tool sums a run up: "расчёт выполнен",
    // "расчёт остановлен проверкой входных данных", "деление на ноль" or
    // "ошибка вычисления".
    QString summary() const;

private:
    explicit CalcOutcome(Kind kind) : m_kind(kind) {}

    Kind m_kind;
    QString m_message;
    QString m_variable;
    QString m_computing;
};
