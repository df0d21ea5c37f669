#pragma once

#include "calc/CalcOutcome.h"

class CalcVariables;

// The hydraulic calculation of a gravity pipeline running partly full.
// Reads Din, i_s, hs_d, nu and Ke; writes Rs, Kw_h, Rsnf_Rsf, g, bs, a, Ls,
// V, Vf_begin, Requ, Rephi, bs_end, Vf_end, Vnf and qs, in this order.
// Stops without writing anything when i_s, hs_d or nu is not above zero or
// hs_d is above 1.
// A fault ends it at the failing step; what was written before stays.
CalcOutcome calculateHydraulic(CalcVariables &vars);

// The iteration of the friction-law exponent gives up after this many steps.
constexpr int HydraulicIterationLimit = 100;
