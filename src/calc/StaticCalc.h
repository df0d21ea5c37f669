#pragma once

#include "calc/CalcOutcome.h"

class CalcVariables;

// The static calculation of a corrugated polymer pipe in a trench.  Writes
// the fixed coefficients and g first, then stops without more when F is not
// above zero; otherwise writes the ring geometry, loads, ovality, strains and
// the admissible external pressure.  A fault ends it at the failing step;
// what was written before stays.
CalcOutcome calculateStatic(CalcVariables &vars);

// The soil over the pipe's axis, split at the water table: `dry` metres of
// soil above the table, which weigh Gamma, and `submerged` metres below it
// down to the axis, which weigh Gammav.  The water level is the depth of the
// table below the surface; a level not above zero means no ground water, so
// all the soil is dry.
struct SoilColumn
{
    double dry = 0;
    double submerged = 0;
};
SoilColumn StaticSoilColumn(double depth, double outerDiameter, double waterLevel);
