#include "calc/CalcAssessment.h"

#include "calc/HydraulicCalc.h"
#include "calc/PlausibleRanges.h"
#include "calc/StaticCalc.h"
#include "model/CalcVariables.h"

CalcAssessment CalcAssessment::run(CalcVariables &vars, CalcKind kind, Laying laying, Wall wall, Warnings warnings)
{
    CalcAssessment a;
    a.kind = kind;
    switch (kind) {
    case CalcKind::Hydraulic:
        a.outcome = calculateHydraulic(vars);
        break;
    case CalcKind::Static:
        a.outcome = calculateStatic(vars);
        if (a.completed())
            a.verdict = CalcVerdict(CalcCheck::corrugated(vars));
        break;
    case CalcKind::Fiberglass: {
        FiberglassRun run = calculateFiberglass(vars, laying, wall);
        a.outcome = run.outcome;
        a.fiberglass = run.results;
        if (a.completed())
            a.verdict = CalcVerdict(CalcCheck::fiberglass(a.fiberglass));
        break;
    }
    }
    if (a.completed() && warnings == Warnings::Included)
        a.warnings = PlausibleRanges::warnings(vars, kind, laying, wall);
    return a;
}
