#pragma once

#include "calc/CalcOutcome.h"

class TCalcVariables;

// The static calculation of a corrugated polymer pipe in a trench.  Writes
// the fixed coefficients and g first, then stops without more when F is not
// above zero; otherwise writes the ring geometry, loads, ovality, strains and
// the admissible external pressure.  A fault ends it at the failing step;
// what was written before stays.
CalcOutcome CalcStatic(TCalcVariables &vars);
