#pragma once

#include <cstdint>

class CalcVariables;
struct FiberglassTubeRow;
struct MaterialRow;
struct SoilRow;
struct TubeRow;

// What a click on a reference grid row copies into the variables.  Units are
// the same in the database and in the variables, so nothing is converted
// except where noted.
class ReferenceTransfer
{
public:
    // Din, Dout, s, Lv, Lsh (slots 1 to 5) from the tube.
    static void applyTube(CalcVariables &vars, const TubeRow &row);
    // DSt and Din from D, Dout 0, sSt and t.
    static void applyFiberglassTube(CalcVariables &vars, const FiberglassTubeRow &row);
    // Eo, Etau, Mu, Sigmao, selectedMaterialId, and for the fiberglass
    // calculation Et (long-term modulus), MuSt and Sigmat (half the
    // short-term strength).  Returns whether the fiberglass tube grid is the
    // one to show instead of the corrugated one; the caller then updates the
    // fiberglass panel and the views.
    static bool applyMaterial(CalcVariables &vars, const MaterialRow &row);
    // Gamma, Egr, fi, Kk, GammaGrSt, EgrSt and selectedSoilId.
    static void applySoil(CalcVariables &vars, const SoilRow &row);
};
