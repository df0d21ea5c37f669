#include "refdata/ReferenceTransfer.h"

#include "model/CalcVariables.h"
#include "model/FiberglassMaterial.h"
#include "refdata/FiberglassTubeRow.h"
#include "refdata/MaterialRow.h"
#include "refdata/SoilRow.h"
#include "refdata/TubeRow.h"

void ReferenceTransfer::applyTube(CalcVariables &vars, const TubeRow &row)
{
    vars.setValue(Slot::Din, row.Din);
    vars.setValue(Slot::Dout, row.Dout);
    vars.setValue(Slot::s, row.s);
    vars.setValue(Slot::Lv, row.Lv);
    vars.setValue(Slot::Lsh, row.Lsh);
}

void ReferenceTransfer::applyFiberglassTube(CalcVariables &vars, const FiberglassTubeRow &row)
{
    vars.setValue(Slot::DSt, row.D);
    vars.setValue(Slot::Din, row.D);
    vars.setValue(Slot::Dout, 0.0);
    vars.setValue(Slot::sSt, row.s);
    vars.setValue(Slot::t, row.t);
}

bool ReferenceTransfer::applyMaterial(CalcVariables &vars, const MaterialRow &row)
{
    vars.setValue(Slot::Eo, row.Eo_MPa);
    vars.setValue(Slot::Etau, row.Etau_MPa);
    vars.setValue(Slot::Mu, row.Mu);
    vars.setValue(Slot::Sigmao, row.Sigmao_MPa);
    vars.selectedMaterialId = row.TubeMaterialId;
    vars.setValue(Slot::Et, row.Etau_MPa);
    vars.setValue(Slot::MuSt, row.Mu);
    vars.setValue(Slot::Sigmat, row.Sigmao_MPa / 2.0);
    return FiberglassMaterial::isFiberglass(row.TubeMaterialId);
}

void ReferenceTransfer::applySoil(CalcVariables &vars, const SoilRow &row)
{
    vars.setValue(Slot::Gamma, row.Gamma_kN_m3);
    vars.setValue(Slot::Egr, row.Egr_MPa);
    vars.setValue(Slot::fi, row.Fi);
    vars.setValue(Slot::Kk, row.Kk);
    vars.setValue(Slot::GammaGrSt, row.Gamma_kN_m3);
    vars.setValue(Slot::EgrSt, row.Egr_MPa);
    vars.selectedSoilId = row.SoilId;
}
