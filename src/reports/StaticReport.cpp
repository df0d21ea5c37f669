#include "reports/StaticReport.h"

#include "calc/CalcCheck.h"
#include "calc/StaticCalc.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"
#include "reports/ReportNumber.h"
#include "reports/TemplateFiller.h"

namespace {

using Kind = ReportNumber::Origin;

struct Entry
{
    const char *tag;
    Slot slot;
    Kind kind;
    double factor = 1; // into the unit the tag names
};

void replaceAll(TemplateFiller &filler, const CalcVariables &vars, std::initializer_list<Entry> entries)
{
    for (const Entry &e : entries) {
        const double value = vars.value(e.slot) * e.factor;
        filler.replaceNumber(QString::fromLatin1(e.tag), ReportNumber::of(e.kind, value));
    }
}

void verdict(TemplateFiller &filler, const char *signTag, const char *notTag, const char *relationTag, bool holds)
{
    // The signs written "<=" and ">" serve templates of their own; ours
    // print the relation as "≤" or ">".
    filler.replaceOptionalTag(QString::fromLatin1(signTag), StaticReport::sign(holds));
    filler.replaceTag(QString::fromLatin1(notTag), StaticReport::negation(holds));
    filler.replaceTag(QString::fromLatin1(relationTag), StaticReport::relation(holds));
}

} // namespace

void StaticReport::fill(TemplateFiller &filler, const CalcVariables &vars, const NameLookup &soilName,
                        const NameLookup &materialName)
{
    filler.useDecimalSeparator(NumberFormat::decimalSeparator());
    // Diameters are held in metres, the wall and the corrugation in
    // millimetres, the axle mass in tonnes.
    replaceAll(filler, vars,
               {
                   {"$Dout.Value.mm$", Slot::Dout, Kind::Input, 1000},
                   {"$Dout.Value.cm$", Slot::Dout, Kind::Input, 100},
                   {"$Din.Value.mm$", Slot::Din, Kind::Input, 1000},
                   {"$Din.Value.cm$", Slot::Din, Kind::Input, 100},
                   {"$s.Value.mm$", Slot::s, Kind::Input},
                   {"$s.Value.cm$", Slot::s, Kind::Input, 0.1},
                   {"$g.Value.m_c2$", Slot::g, Kind::Input},
                   {"$Lv.Value.mm$", Slot::Lv, Kind::Input},
                   {"$Lv.Value.cm$", Slot::Lv, Kind::Input, 0.1},
                   {"$Lsh.Value.mm$", Slot::Lsh, Kind::Input},
                   {"$Lsh.Value.cm$", Slot::Lsh, Kind::Input, 0.1},
                   {"$Htr.Value.m$", Slot::Htr, Kind::Input},
                   {"$Eo.Value.MPa$", Slot::Eo, Kind::Input},
                   {"$Etau.Value.MPa$", Slot::Etau, Kind::Input},
                   {"$Mu.Value$", Slot::Mu, Kind::Input},
                   {"$Sigmao.Value.MPa$", Slot::Sigmao, Kind::Input},
                   {"$Gamma.Value.kN_m3$", Slot::Gamma, Kind::Input},
                   {"$Egr.Value.MPa$", Slot::Egr, Kind::Input},
                   {"$m.Value.ton$", Slot::m, Kind::Input},
                   {"$m.Value.kg$", Slot::m, Kind::Input, 1000},
                   {"$Hw.Value.m$", Slot::Hw, Kind::Input},
                   {"$F.Value.m2$", Slot::F, Kind::Input},
                   {"$P.Value.MPa$", Slot::P, Kind::Computed},
               });
    // The verdicts are those of the checks the window shows beside the results.
    const QVector<CalcCheck> checks = CalcCheck::corrugated(vars);
    filler.replaceCompared(QStringLiteral("$S_cond.Value$"), QString(), checks[0].value, checks[0].limit);
    verdict(filler, "$S_cond.Sign$", "$Not1$", "$S_cond.Rel$", checks[0].holds);
    replaceAll(filler, vars,
               {
                   {"$e.Value.mm$", Slot::e, Kind::Computed},
                   {"$e.Value.cm$", Slot::e, Kind::Computed, 0.1},
                   {"$y.Value.cm$", Slot::y, Kind::Computed},
                   {"$I.Value.cm4$", Slot::I, Kind::Computed},
                   {"$A.Value.cm2$", Slot::A, Kind::Computed},
                   {"$D.Value.cm$", Slot::D, Kind::Computed},
                   {"$qc.Value.MPa$", Slot::qc, Kind::Computed},
                   {"$Go.Value.MPa$", Slot::Go, Kind::Computed},
                   {"$Psi_gr.Value$", Slot::Psi_gr, Kind::Computed},
                   {"$Psi_gr.Value.Percent$", Slot::Psi_gr, Kind::Computed, 100},
                   {"$Psi_t.Value$", Slot::Psi_t, Kind::Computed},
                   {"$Psi_t.Value.Percent$", Slot::Psi_t, Kind::Computed, 100},
                   {"$Psi_m.Value$", Slot::Psi_m, Kind::Input},
                   {"$Psi_m.Value.Percent$", Slot::Psi_m, Kind::Input, 100},
                   {"$Psi.Value$", Slot::Psi, Kind::Computed},
                   {"$Psi.Value.Percent$", Slot::Psi, Kind::Computed, 100},
                   {"$Eps_p.Value$", Slot::Eps_p, Kind::Computed},
                   {"$Eps_p.Value.Percent$", Slot::Eps_p, Kind::Computed, 100},
                   {"$Eps_c.Value$", Slot::Eps_c, Kind::Computed},
                   {"$Eps_c.Value.Percent$", Slot::Eps_c, Kind::Computed, 100},
                   {"$Eps_pp.Value$", Slot::Eps_pp, Kind::Computed},
                   {"$Eps_pp.Value.Percent$", Slot::Eps_pp, Kind::Computed, 100},
                   {"$Eps_pn.Value$", Slot::Eps_pn, Kind::Computed},
                   {"$Eps_pn.Value.Percent$", Slot::Eps_pn, Kind::Computed, 100},
                   {"$Kug.Value$", Slot::Kug, Kind::Input},
                   {"$Kov.Value$", Slot::Kov, Kind::Computed},
                   {"$n.Value$", Slot::n, Kind::Input},
                   {"$qgr.Value.MPa$", Slot::qgr, Kind::Computed},
                   {"$Qgv.Value.MPa$", Slot::Qgv, Kind::Computed},
                   {"$qvn.Value.MPa$", Slot::qvn, Kind::Computed},
                   {"$qvntr.Value.MPa$", Slot::qvntr, Kind::Computed},
                   {"$qust.Value.MPa$", Slot::qust, Kind::Computed},
               });
    filler.replaceCompared(QStringLiteral("$Cond2.Value.MPa$"), QStringLiteral("$Cond2.Limit.MPa$"), checks[1].value,
                           checks[1].limit);
    verdict(filler, "$Cond2.Sign$", "$Not2$", "$Cond2.Rel$", checks[1].holds);
    filler.replaceCompared(QStringLiteral("$Cond3.Value.MPa$"), QStringLiteral("$Cond3.Limit.MPa$"), checks[2].value,
                           checks[2].limit);
    verdict(filler, "$Cond3.Sign$", "$Not3$", "$Cond3.Rel$", checks[2].holds);
    replaceAll(filler, vars,
               {
                   {"$Gammav.Value.kN_m3$", Slot::Gammav, Kind::Input},
                   {"$qt.Value.MPa$", Slot::qt, Kind::Computed},
                   {"$Kok.Value$", Slot::Kok, Kind::Input},
                   {"$Ktau.Value$", Slot::Ktau, Kind::Input},
                   {"$Kw.Value$", Slot::Kw, Kind::Input},
                   {"$Kgr.Value$", Slot::Kgr, Kind::Input},
                   {"$Kg.Value$", Slot::Kg, Kind::Input},
                   {"$Ksigma.Value$", Slot::Ksigma, Kind::Input},
                   {"$Kzpsi.Value$", Slot::Kzpsi, Kind::Input},
                   {"$Kz.Value$", Slot::Kz, Kind::Input},
                   {"$Gtau.Value.MPa$", Slot::Gtau, Kind::Computed},
                   {"$Kzu.Value$", Slot::Kzu, Kind::Input},
               });
    filler.replaceTag(QStringLiteral("$SoilType.Value$"), soilName(vars.selectedSoilId));
    filler.replaceTag(QStringLiteral("$Material.Value$"), materialName(vars.selectedMaterialId));

    // The soil over the axis as the calculation splits it at the water table.
    const double depth = vars.value(Slot::Htr);
    const double level = vars.value(Slot::Hw);
    const SoilColumn column = StaticSoilColumn(depth, vars.value(Slot::Dout), level);
    filler.replaceNumber(QStringLiteral("$DryDepth.m$"), ReportNumber::computed(column.dry));
    filler.replaceNumber(QStringLiteral("$SubmergedDepth.m$"), ReportNumber::computed(column.submerged));

    const bool traffic = vars.value(Slot::m) != 0.0;
    filler.cutIfBlock(1, !traffic);
    filler.cutIfBlock(2, traffic);
    // The calculation counts ground water only below a level above zero,
    // and its pressure only with the level above the depth of laying.
    const bool water = level > 0.0;
    const bool pressure = water && depth > level;
    filler.cutIfBlock(3, !pressure);
    filler.cutIfBlock(4, water);
    filler.cutIfBlock(5, !water);
    filler.cutIfBlock(6, water);
    filler.cutIfBlock(7, !water || pressure);
}
