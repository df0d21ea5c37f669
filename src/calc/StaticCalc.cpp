#include "calc/StaticCalc.h"

#include "calc/CalcDiagnosis.h"
#include "calc/CalcFault.h"
#include "calc/Real.h"
#include "model/CalcVariables.h"

#include <algorithm>

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

SoilColumn StaticSoilColumn(double depth, double outerDiameter, double waterLevel)
{
    const double axis = depth + outerDiameter / 2.0;
    if (!(waterLevel > 0.0))
        return {axis, 0.0};
    const double dry = std::min(waterLevel, axis);
    return {dry, axis - dry};
}

CalcOutcome calculateStatic(CalcVariables &vars)
{
    using Test = CalcDiagnosis::Test;
    CalcDiagnosis diagnosis(vars, {"e",      "n",    "P",      "y",     "I",   "A",     "D",     "qt",     "qgr",
                                   "qc",     "Go",   "Psi_gr", "Psi_t", "Psi", "Eps_p", "Eps_c", "Eps_pp", "Eps_pn",
                                   "S_cond", "Gtau", "Kov",    "Qgv",   "qvn", "qust",  "qvntr"},
                            {
                                {Slot::Din, Test::Positive, "e", true},
                                {Slot::Dout, Test::Positive, "e", true},
                                {Slot::Dout, Test::AboveInnerDiameter, "e", true},
                                {Slot::s, Test::Positive, "y"},
                                {Slot::Lv, Test::Positive, "y"},
                                {Slot::Lsh, Test::Positive, "y"},
                                {Slot::Htr, Test::NotNegative, "qt"},
                                {Slot::Eo, Test::Positive, "Go"},
                                {Slot::Mu, Test::BelowOneInMagnitude, "Go"},
                                {Slot::Egr, Test::NotNegative, "Psi_gr"},
                                {Slot::Etau, Test::Positive, "Eps_pp"},
                                {Slot::Sigmao, Test::Positive, "Eps_pp"},
                            });

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
        return diagnosis.stopped(Slot::F);

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
        diagnosis.at("e");
        const Real eMm = (dout - din) * 0.5 * 1000.0;
        vars.setValue(Slot::e, eMm.v());

        diagnosis.at("n");
        const Real n = depth >= 1.0 ? 1.0 : 0.5;
        vars.setValue(Slot::n, n.v());

        diagnosis.at("P");
        const Real p = 0.001 * axleMass * g / wheelArea;
        vars.setValue(Slot::P, p.v());

        // The ring geometry is worked in centimetres.
        const Real lv = lvMm * 0.1;
        const Real lsh = lshMm * 0.1;
        const Real s = sMm * 0.1;
        const Real e = eMm * 0.1;

        diagnosis.at("y");
        const Real y = ((lv + e) * e - 2.0 * s * (lv + e - lsh)) / ((lsh + e - 2.0 * s) * 2.0);
        vars.setValue(Slot::y, y.v());

        diagnosis.at("I");
        const Real inertia = (lv * cube(e) - cube(e - 2.0 * s) * (lv - 2.0 * s) + cube(2.0 * s) * (lsh - lv)) / 12.0
                             + square(e / 2.0 - y) * 2.0 * s * (lv + e - 2.0 * s)
                             + square(y - s) * 2.0 * s * (lsh - lv);
        vars.setValue(Slot::I, inertia.v());

        diagnosis.at("A");
        const Real area = 2.0 * s * (lsh + e - 2.0 * s);
        vars.setValue(Slot::A, area.v());

        diagnosis.at("D");
        const Real d = 2.0 * y + din * 100.0;
        vars.setValue(Slot::D, d.v());

        diagnosis.at("qt");
        const Real qt = p / (1.0 + 1.155 * depth / wheelArea);
        vars.setValue(Slot::qt, qt.v());

        diagnosis.at("qgr");
        const SoilColumn column = StaticSoilColumn(depth.v(), dout.v(), water.v());
        const Real qgr = (Real(column.dry) * gamma + Real(column.submerged) * gammav) / 1000.0;
        vars.setValue(Slot::qgr, qgr.v());

        diagnosis.at("qc");
        const Real qc = qgr + qt;
        vars.setValue(Slot::qc, qc.v());

        diagnosis.at("Go");
        const Real go = 53.7 * eo * inertia / (cube(d) * (1.0 - square(mu)) * lsh);
        vars.setValue(Slot::Go, go.v());

        diagnosis.at("Psi_gr");
        const Real psiGr = kok * ktau * kw * qgr / (kg * go + kgr * egr);
        vars.setValue(Slot::Psi_gr, psiGr.v());

        diagnosis.at("Psi_t");
        const Real psiT = kok * kw * qt / (kg * go + kgr * n * egr);
        vars.setValue(Slot::Psi_t, psiT.v());

        vars.setValue(Slot::Psi_m, 0.002);
        const Real psiM = vars.value(Slot::Psi_m);

        diagnosis.at("Psi");
        const Real psi = psiGr + psiT + psiM;
        vars.setValue(Slot::Psi, psi.v());

        diagnosis.at("Eps_p");
        const Real epsP = 8.54 * ksigma * y / d * psi * kzpsi;
        vars.setValue(Slot::Eps_p, epsP.v());

        diagnosis.at("Eps_c");
        const Real epsC = qc * d * lsh / (2.0 * eo * area);
        vars.setValue(Slot::Eps_c, epsC.v());

        diagnosis.at("Eps_pp");
        const Real epsPp = sigmao / (kz * etau);
        vars.setValue(Slot::Eps_pp, epsPp.v());

        diagnosis.at("Eps_pn");
        const Real epsPn = sigmao / (kz * eo);
        vars.setValue(Slot::Eps_pn, epsPn.v());

        diagnosis.at("S_cond");
        const Real strength = epsP / epsPp + epsC / epsPn;
        vars.setValue(Slot::S_cond, strength.v());

        diagnosis.at("Gtau");
        const Real gtau = 53.7 * etau * inertia / (cube(d) * (1.0 - square(mu)) * lsh);
        vars.setValue(Slot::Gtau, gtau.v());

        vars.setValue(Slot::Kug, 0.5);
        const Real kug = vars.value(Slot::Kug);

        diagnosis.at("Kov");
        const Real kov = 1.0 - 0.7 * psi;
        vars.setValue(Slot::Kov, kov.v());

        vars.setValue(Slot::Kzu, 2.0);
        const Real kzu = vars.value(Slot::Kzu);

        diagnosis.at("Qgv");
        // The water presses on the pipe only with the table above the depth of laying.
        const Real head = water > 0.0 && depth > water ? depth - water : Real(0.0);
        const Real qgv = head * gammav / 1000.0;
        vars.setValue(Slot::Qgv, qgv.v());

        diagnosis.at("qvn");
        const Real qvn = qgr + qgv;
        vars.setValue(Slot::qvn, qvn.v());

        diagnosis.at("qust");
        const Real qust = Real::sqrt(n * egr * gtau) * kug * kov / kzu;
        vars.setValue(Slot::qust, qust.v());

        diagnosis.at("qvntr");
        const Real qvntr = qgr + qt + qgv;
        vars.setValue(Slot::qvntr, qvntr.v());
    } catch (const CalcFault &fault) {
        return diagnosis.fault(fault);
    }
    return CalcOutcome::completed();
}
