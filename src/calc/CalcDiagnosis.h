#pragma once

#include "calc/CalcOutcome.h"
#include "model/SlotKeys.h"

#include <QString>
#include <QVector>

#include <functional>

class CalcFault;
class CalcVariables;
class Variable;

// Puts into words why a calculation did not complete.  A stop names the input
// the check refused.  A fault names the quantity that was being computed and,
// where an input is plainly wrong for it (a zero diameter, a negative
// modulus), that input: of the rules whose quantity comes at or before the
// one being computed, the first that the inputs break.
class CalcDiagnosis
{
public:
    enum class Test {
        Positive,            // must be above zero
        NotNegative,         // may be zero
        BelowOneInMagnitude, // a Poisson's ratio
        AboveInnerDiameter,  // the outer diameter must exceed Din
        AtMostOne,           // a ratio of a part to the whole
    };
    struct Rule
    {
        Slot input;
        Test test;
        const char *from; // the first quantity the input can break
        // A polymer pipe's diameter: tell the user to pick a tube or type it.
        bool tubeDiameter = false;
    };
    // The words for a quantity being computed ("Go («Кратковременная …»)").
    using Describe = std::function<QString(const QString &key)>;

    // `steps` lists the quantities in the order they are computed.
    CalcDiagnosis(const CalcVariables &vars, QVector<const char *> steps, QVector<Rule> rules, Describe describe = {});

    // The quantity about to be computed.
    void at(const char *step) { m_step = step; }
    const char *step() const { return m_step; }

    // The input check refused `input`, which must pass `test`.
    CalcOutcome stopped(Slot input, Test test = Test::Positive) const;
    CalcOutcome fault(const CalcFault &fault) const;

    // A variable as the messages name it: its name as the grid shows it and
    // its description, «…» around the description.
    static QString label(const Variable &variable);
    // A slot's label for quantities that are slots.
    static Describe slotLabels(const CalcVariables &vars);

private:
    int stepIndex(const char *step) const;
    bool breaks(const Rule &rule) const;
    QString requirement(const Rule &rule) const;

    const CalcVariables &m_vars;
    QVector<const char *> m_steps;
    QVector<Rule> m_rules;
    Describe m_describe;
    const char *m_step = nullptr;
};
