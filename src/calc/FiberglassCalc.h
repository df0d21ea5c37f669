#pragma once

#include "calc/CalcOutcome.h"
#include "calc/FiberglassResults.h"
#include "calc/FiberglassChoices.h"

class CalcVariables;

struct FiberglassRun
{
    CalcOutcome outcome;
    FiberglassResults results;
};

// The static calculation of a fiberglass pipe.  Writes gc, Mras, Mpr, psiSt,
// Gy (twice: 0 first) and QgvSt; returns every quantity of the run for the
// report.  A fault ends it at the failing step; what was written before stays.
FiberglassRun calculateFiberglass(CalcVariables &vars, Laying laying, Wall wall);
