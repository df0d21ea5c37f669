#include "calc/HydraulicCalc.h"

#include "calc/CalcDiagnosis.h"
#include "calc/CalcFault.h"
#include "calc/PartlyFilledCircle.h"
#include "calc/Real.h"
#include "model/CalcVariables.h"

CalcOutcome calculateHydraulic(CalcVariables &vars)
{
    using Test = CalcDiagnosis::Test;
    CalcDiagnosis diagnosis(
        vars, {"Rs", "Kw_h", "Rsnf_Rsf", "a", "Ls", "V", "Vf_end", "Rephi", "Requ", "bs_end", "Vnf", "qs"},
        {
            {Slot::Din, Test::Positive, "Ls", true},
            {Slot::Ke, Test::Positive, "a"},
        });

    const double din = vars.value(Slot::Din);
    const double slope = vars.value(Slot::i_s);
    if (!(slope > 0.0))
        return diagnosis.stopped(Slot::i_s);
    const double filling = vars.value(Slot::hs_d);
    if (!(filling > 0.0))
        return diagnosis.stopped(Slot::hs_d);
    // Above 1 the geometry of the partly filled circle folds back to nothing.
    if (!(filling <= 1.0))
        return diagnosis.stopped(Slot::hs_d, Test::AtMostOne);
    const double nu = vars.value(Slot::nu);
    if (!(nu > 0.0))
        return diagnosis.stopped(Slot::nu);

    try {
        diagnosis.at("Rs");
        const Real rs = Real(din) / 4.0;
        vars.setValue(Slot::Rs, rs.v());

        diagnosis.at("Kw_h");
        const Real wetted = Real(PartlyFilledCircle::wettedAreaFactor(filling)) * din * din;
        vars.setValue(Slot::Kw_h, wetted.v());

        diagnosis.at("Rsnf_Rsf");
        vars.setValue(Slot::Rsnf_Rsf, PartlyFilledCircle::hydraulicRadiusRatio(filling));
        const Real radiusRatio = vars.value(Slot::Rsnf_Rsf);

        const Real ke = vars.value(Slot::Ke);

        vars.setValue(Slot::g, 9.81);
        const Real g = vars.value(Slot::g);
        vars.setValue(Slot::bs, 2.0);
        Real b = vars.value(Slot::bs);

        diagnosis.at("a");
        const Real a = 0.3124 * Real::power(ke, 0.0516);
        vars.setValue(Slot::a, a.v());

        diagnosis.at("Ls");
        // Relative roughness: roughness over the diameter, both in mm.
        const Real ls = 0.2 * Real::power(ke / (4.0 * rs * 1000.0), a);
        vars.setValue(Slot::Ls, ls.v());

        diagnosis.at("V");
        // The full-section velocity raised to the power b.
        const Real x = slope * 2.0 * g * 4.0 * rs / ls;
        vars.setValue(Slot::V, x.v());
        vars.setValue(Slot::Vf_begin, x.v());

        diagnosis.at("Vf_end");
        Real w = Real::power(x, 1.0 / b);
        diagnosis.at("Rephi");
        Real rephi = w * 4.0 * rs / nu;
        diagnosis.at("Requ");
        const Real requ = 2000.0 * rs * 1000.0 / ke;

        diagnosis.at("bs_end");
        bool settled = false;
        for (int step = 0; step < HydraulicIterationLimit && !settled; ++step) {
            w = Real::power(x, 1.0 / b);
            rephi = w * 4.0 * rs / nu;
            b = 3.0 - Real::log10(requ) / Real::log10(rephi);
            const Real y = Real::power(w, b);
            settled = Real::abs(y - x) / x < 0.001;
        }
        if (!settled) {
            throw CalcFault(
                CalcFault::Kind::NotConverged,
                QStringLiteral("показатель степени bs не установился за %1 шагов").arg(HydraulicIterationLimit));
        }

        vars.setValue(Slot::Requ, requ.v());
        vars.setValue(Slot::Rephi, rephi.v());
        vars.setValue(Slot::bs_end, b.v());
        vars.setValue(Slot::Vf_end, w.v());

        diagnosis.at("Vnf");
        const Real vnf = w * Real::power(radiusRatio, (1.0 + a) / b);
        vars.setValue(Slot::Vnf, vnf.v());

        diagnosis.at("qs");
        const Real qs = vnf * wetted * 1000.0;
        vars.setValue(Slot::qs, qs.v());
    } catch (const CalcFault &fault) {
        return diagnosis.fault(fault);
    }
    return CalcOutcome::completed();
}
