#pragma once

#include "calc/CalcKind.h"
#include "calc/FiberglassChoices.h"
#include "calc/CalcOutcome.h"
#include "calc/CalcVerdict.h"
#include "calc/CalcWarning.h"
#include "calc/FiberglassCalc.h"
#include "calc/FiberglassResults.h"

#include <QVector>

class CalcVariables;

// One calculation run on a variable set and judged: how it ended, the checks
// and the verdict of a static calculation, and the warnings about values
// outside the method's range.  Whatever the program says about a result
// comes from here, so the window, the reports and the command line say the
// same.  A caller that tries many variants (a sweep, a choice among tubes)
// runs each on a variable set of its own.
struct CalcAssessment
{
    CalcKind kind = CalcKind::Hydraulic;
    CalcOutcome outcome = CalcOutcome::notRun();
    // Every quantity of a fiberglass run; zeros for the other calculations.
    FiberglassResults fiberglass;
    // Empty unless a static or fiberglass run completed.
    CalcVerdict verdict;
    // Empty unless the run completed.
    QVector<CalcWarning> warnings;

    bool completed() const { return outcome.isCompleted(); }

    // Runs the calculation on `vars`, which receive its results, and judges
    // them.  The laying method and the wall construction matter to the
    // fiberglass calculation only.
    // Without warnings the run formats no text for them: a caller that
    // only compares results (on another thread, say) has no use for it.
    enum class Warnings { Included, Left };
    static CalcAssessment run(CalcVariables &vars, CalcKind kind, Laying laying = Laying::Trench,
                              Wall wall = Wall::ThreeLayer, Warnings warnings = Warnings::Included);
};
