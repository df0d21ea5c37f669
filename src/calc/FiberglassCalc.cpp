#include "calc/FiberglassCalc.h"

#include "calc/CalcDiagnosis.h"
#include "calc/CalcFault.h"
#include "calc/Real.h"
#include "model/CalcVariables.h"

namespace {

void run(CalcVariables &vars, Laying laying, Wall wall, FiberglassResults &r, CalcDiagnosis &diagnosis)
{
    const bool trench = laying == Laying::Trench;

    r.Kk = vars.value(Slot::Kk);
    r.F = vars.value(Slot::FSt);
    r.fi = vars.value(Slot::fi);
    const Real axleMassTonnes = vars.value(Slot::M);
    const Real gamma = Real(vars.value(Slot::GammaGrSt)) * 1000.0;
    r.GammaGrSt = gamma.v();
    r.D = vars.value(Slot::DSt);
    r.h = vars.value(Slot::h);
    const Real d = r.D;
    const Real h = r.h;
    const Real fi = r.fi;

    // Soil pressure.
    if (trench) {
        diagnosis.at("Qgr");
        r.Qgr = (1.3 * gamma * h).v();
    } else {
        diagnosis.at("Qgr1");
        const Real tanHalf = Real::tanDegrees(45.0 - fi / 2.0);
        const Real tanFi = Real::tanDegrees(fi);
        const Real qgr1 = (2.0 * tanHalf + 1.0) * (0.75 * gamma * d / tanFi);
        r.Qgr1 = qgr1.v();
        diagnosis.at("Qgr2");
        const Real qgr2 =
            1.5 * Real(r.Kk) * gamma * (tanHalf * tanHalf) * Real::power(2.718281, -3.14 * tanFi) * (d / 2.0 + h);
        r.Qgr2 = qgr2.v();
        diagnosis.at("Qgr");
        r.Qgr = qgr1 > qgr2 ? r.Qgr1 : r.Qgr2;
    }

    // Traffic.
    r.M = (axleMassTonnes * 1000.0).v();
    r.a = 9.81;
    if (r.M == 0.0 || r.F == 0.0) {
        r.P = 0.0;
        r.Qtr = 0.0;
    } else {
        diagnosis.at("P");
        const Real p = Real(r.M) * r.a / r.F;
        r.P = p.v();
        diagnosis.at("Qtr");
        r.Qtr = (p / (1.155 * h / r.F + 1.0)).v();
    }

    diagnosis.at("Qc");
    const Real qc = Real(r.Qgr) + r.Qtr;
    r.Qc = qc.v();
    vars.setValue(Slot::gc, (qc / 1000000.0).v());

    const Real egr = Real(vars.value(Slot::EgrSt)) * 1000000.0;
    r.Egr = egr.v();
    diagnosis.at("k");
    const Real k = 0.769 * egr / d;
    r.k = k.v();

    r.t = vars.value(Slot::t);
    r.s = vars.value(Slot::sSt);
    const Real et = Real(vars.value(Slot::Et)) * 1000000.0;
    r.Et = et.v();
    const Real t = r.t;
    const Real s = r.s;

    diagnosis.at("I");
    // A three-layer wall carries its bending in the two skins, each s thick
    // with its middle (t + s)/2 from the wall's axis: their own inertia and
    // the parallel-axis terms.  With t = 0 this is the solid wall 2s thick.
    const Real inertia = wall == Wall::SingleLayer ? Real::intPower(s, 3) / 12.0
                                                   : Real::intPower(s, 3) / 6.0 + s * Real::intPower(t + s, 2) / 2.0;
    r.I = inertia.v();

    diagnosis.at("n");
    const Real n = 1.0 / (16.0 * et * inertia / (Real::intPower(d, 4) * k) + 0.0642);
    r.n = n.v();

    diagnosis.at("Mras");
    const Real mras = d * d * 0.0625 * qc * (1.0 - 0.056 * n);
    r.Mras = mras.v();
    vars.setValue(Slot::Mras, (mras / 1000.0).v());

    const Real sigmat = Real(vars.value(Slot::Sigmat)) * 1000000.0;
    r.Sigmat = sigmat.v();
    diagnosis.at("W");
    Real w = s * s / 6.0;
    if (wall == Wall::ThreeLayer)
        w = inertia / (0.5 * t + s);
    r.W = w.v();

    r.m = 0.7;
    diagnosis.at("Mpr");
    const Real mpr = Real(r.m) * sigmat * w;
    r.Mpr = mpr.v();
    vars.setValue(Slot::Mpr, (mpr / 1000.0).v());

    diagnosis.at("A");
    const Real area = wall == Wall::ThreeLayer ? 2.0 * s : s;
    r.A = area.v();

    r.MuSt = vars.value(Slot::MuSt);
    const Real binder = Real(vars.value(Slot::EtauSvSt)) * 1000000.0;
    r.EtauSvSt = binder.v();
    const Real mu = r.MuSt;

    diagnosis.at("Gt");
    const Real gt = (53.7 * et * inertia / (Real::intPower(d, 3) * (1.0 - mu * mu)))
                    / (63.22 * et * inertia / (d * d * binder * area) + 1.0);
    r.Gt = gt.v();

    const Real c = trench ? 0.11 : 0.13;
    diagnosis.at("psi");
    const Real psi = c * qc / (0.15 * gt + 0.06 * egr) + 0.01;
    r.psi = psi.v();
    vars.setValue(Slot::psiSt, r.psi);

    r.Hv = vars.value(Slot::Hv);
    vars.setValue(Slot::Gy, 0.0);
    r.Kzu = 3.0;
    diagnosis.at("Kov");
    const Real kov = 1.0 - 0.7 * psi;
    r.Kov = kov.v();
    diagnosis.at("Gy");
    const Real gy = Real::sqrt(egr * gt) * (0.5 * kov) / r.Kzu;
    r.Gy = gy.v();
    vars.setValue(Slot::Gy, (gy / 1000000.0).v());

    // Ground water.
    r.Gammav = 11000.0;
    diagnosis.at("Qgv");
    const Real axisDepth = d / 2.0 + h;
    if (r.Hv != 0.0 && axisDepth > r.Hv)
        r.Qgv = ((axisDepth - r.Hv) * r.Gammav).v();
    else
        r.Qgv = 0.0;
    vars.setValue(Slot::QgvSt, (Real(r.Qgv) / 1000000.0).v());
}

} // namespace

FiberglassRun calculateFiberglass(CalcVariables &vars, Laying laying, Wall wall)
{
    using Test = CalcDiagnosis::Test;
    QVector<CalcDiagnosis::Rule> rules;
    // The angle of friction takes part only in the trenchless formulas.
    if (laying == Laying::Trenchless)
        rules.append({Slot::fi, Test::Positive, "Qgr1"});
    rules += {
        {Slot::h, Test::NotNegative, "Qtr"},    {Slot::DSt, Test::Positive, "k"},
        {Slot::sSt, Test::Positive, "I"},       {Slot::EgrSt, Test::Positive, "n"},
        {Slot::Et, Test::Positive, "Gt"},       {Slot::MuSt, Test::BelowOneInMagnitude, "Gt"},
        {Slot::EtauSvSt, Test::Positive, "Gt"},
    };
    CalcDiagnosis diagnosis(vars,
                            {"Qgr1", "Qgr2", "Qgr", "P", "Qtr", "Qc", "k", "I", "n", "Mras", "W", "Mpr", "A", "Gt",
                             "psi", "Kov", "Gy", "Qgv"},
                            rules, &FiberglassResults::label);

    FiberglassRun result{CalcOutcome::completed(), FiberglassResults{}};
    try {
        run(vars, laying, wall, result.results, diagnosis);
    } catch (const CalcFault &fault) {
        result.outcome = diagnosis.fault(fault);
    }
    return result;
}
