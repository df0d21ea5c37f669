#include "calc/StaticCalc.h"

#include "calc/CalcFault.h"
#include "calc/Real.h"
#include "model/TCalcVariables.h"

namespace {

Real cube(Real x)
{
    return x * x * x;
}

Real square(Real x)
{
    return x * x;
}

} // namespace

CalcOutcome CalcStatic(TCalcVariables &vars)
{
    vars.setValue(Slot::Kok, 1.0);
    vars.setValue(Slot::Ktau, 1.25);
    vars.setValue(Slot::Kw, 0.11);
    vars.setValue(Slot::Kgr, 0.06);
    vars.setValue(Slot::Kg, 0.15);
    vars.setValue(Slot::Ksigma, 1.0);
    vars.setValue(Slot::Kzpsi, 1.0);
    vars.setValue(Slot::Kz, 2.0);
    vars.setValue(Slot::Gammav, 11.0);
    vars.setValue(Slot::g, 9.81);
    const Real g = vars.value(Slot::g);

    const Real wheelArea = vars.value(Slot::F);
    if (!(wheelArea > 0.0))
        return CalcOutcome::stopped();

    const Real axleMass = vars.value(Slot::m);
    const Real depth = vars.value(Slot::Htr);
    const Real lvMm = vars.value(Slot::Lv);
    const Real lshMm = vars.value(Slot::Lsh);
    const Real sMm = vars.value(Slot::s);
    const Real eo = vars.value(Slot::Eo);
    const Real etau = vars.value(Slot::Etau);
    const Real mu = vars.value(Slot::Mu);
    const Real sigmao = vars.value(Slot::Sigmao);
    const Real gamma = vars.value(Slot::Gamma);
    const Real egr = vars.value(Slot::Egr);
    const Real water = vars.value(Slot::Hw);
    const Real din = vars.value(Slot::Din);
    const Real dout = vars.value(Slot::Dout);

    const Real kok = vars.value(Slot::Kok);
    const Real ktau = vars.value(Slot::Ktau);
    const Real kw = vars.value(Slot::Kw);
    const Real kgr = vars.value(Slot::Kgr);
    const Real kg = vars.value(Slot::Kg);
    const Real ksigma = vars.value(Slot::Ksigma);
    const Real kzpsi = vars.value(Slot::Kzpsi);
    const Real kz = vars.value(Slot::Kz);
    const Real gammav = vars.value(Slot::Gammav);

    try {
        const Real eMm = (dout - din) * 0.5 * 1000.0;
        vars.setValue(Slot::e, eMm.v());

        const Real n = depth >= 1.0 ? 1.0 : 0.5;
        vars.setValue(Slot::n, n.v());

        const Real p = 0.001 * axleMass * g / wheelArea;
        vars.setValue(Slot::P, p.v());

        // The ring geometry is worked in centimetres.
        const Real lv = lvMm * 0.1;
        const Real lsh = lshMm * 0.1;
        const Real s = sMm * 0.1;
        const Real e = eMm * 0.1;

        const Real y = ((lv + e) * e - 2.0 * s * (lv + e - lsh)) / ((lsh + e - 2.0 * s) * 2.0);
        vars.setValue(Slot::y, y.v());

        const Real inertia = (lv * cube(e) - cube(e - 2.0 * s) * (lv - 2.0 * s) + cube(2.0 * s) * (lsh - lv)) / 12.0
                             + square(e / 2.0 - y) * 2.0 * s * (lv + e - 2.0 * s)
                             + square(y - s) * 2.0 * s * (lsh - lv);
        vars.setValue(Slot::I, inertia.v());

        const Real area = 2.0 * s * (lsh + e - 2.0 * s);
        vars.setValue(Slot::A, area.v());

        const Real d = 2.0 * y + din * 100.0;
        vars.setValue(Slot::D, d.v());

        const Real qt = p / (1.0 + 1.155 * depth / wheelArea);
        vars.setValue(Slot::qt, qt.v());

        const Real qgr = ((depth + dout / 2.0 - water) * gamma + gammav * water) / 1000.0;
        vars.setValue(Slot::qgr, qgr.v());

        const Real qc = qgr + qt;
        vars.setValue(Slot::qc, qc.v());

        const Real go = 53.7 * eo * inertia / (cube(d) * (1.0 - square(mu)) * lsh);
        vars.setValue(Slot::Go, go.v());

        const Real psiGr = kok * ktau * kw * qgr / (kg * go + kgr * egr);
        vars.setValue(Slot::Psi_gr, psiGr.v());

        const Real psiT = kok * kw * qt / (kg * go + kgr * n * egr);
        vars.setValue(Slot::Psi_t, psiT.v());

        vars.setValue(Slot::Psi_m, 0.002);
        const Real psiM = vars.value(Slot::Psi_m);

        const Real psi = psiGr + psiT + psiM;
        vars.setValue(Slot::Psi, psi.v());

        const Real epsP = 8.54 * ksigma * y / d * psi * kzpsi;
        vars.setValue(Slot::Eps_p, epsP.v());

        const Real epsC = qc * d * lsh / (2.0 * eo * area);
        vars.setValue(Slot::Eps_c, epsC.v());

        const Real epsPp = sigmao / (kz * etau);
        vars.setValue(Slot::Eps_pp, epsPp.v());

        const Real epsPn = sigmao / (kz * eo);
        vars.setValue(Slot::Eps_pn, epsPn.v());

        const Real strength = epsP / epsPp + epsC / epsPn;
        vars.setValue(Slot::S_cond, strength.v());

        const Real gtau = 53.7 * etau * inertia / (cube(d) * (1.0 - square(mu)) * lsh);
        vars.setValue(Slot::Gtau, gtau.v());

        vars.setValue(Slot::Kug, 0.5);
        const Real kug = vars.value(Slot::Kug);

        const Real kov = 1.0 - 0.7 * psi;
        vars.setValue(Slot::Kov, kov.v());

        vars.setValue(Slot::Kzu, 2.0);
        const Real kzu = vars.value(Slot::Kzu);

        const Real qgv = water > 0.0 ? (depth - water) * gammav / 1000.0 : Real(0.0);
        vars.setValue(Slot::Qgv, qgv.v());

        const Real qvn = qgr + qgv;
        vars.setValue(Slot::qvn, qvn.v());

        const Real qust = Real::sqrt(n * egr * gtau) * kug * kov / kzu;
        vars.setValue(Slot::qust, qust.v());

        const Real qvntr = qgr + qt + qgv;
        vars.setValue(Slot::qvntr, qvntr.v());
    } catch (const CalcFault &fault) {
        return CalcOutcome::fromFault(fault);
    }
    return CalcOutcome::completed();
}
