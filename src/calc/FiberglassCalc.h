#pragma once

#include "calc/CalcOutcome.h"
#include "calc/FiberglassResults.h"

class CalcVariables;

// Laying method: index 0 is a trench; every other index is trenchless.
enum FiberglassLaying { LayingTrench = 0, LayingTrenchless = 1 };
// Wall construction: index 0 single-layer, index 1 three-layer.
enum FiberglassWall { WallSingleLayer = 0, WallThreeLayer = 1 };

struct FiberglassRun
{
    CalcOutcome outcome;
    FiberglassResults results;
};

// The static calculation of a fiberglass pipe.  Writes gc, Mras, Mpr, psiSt,
// Gy (twice: 0 first) and QgvSt; returns every quantity of the run for the
// report.  A fault ends it at the failing step; what was written before stays.
FiberglassRun calculateFiberglass(CalcVariables &vars, int layingIndex, int wallIndex);
