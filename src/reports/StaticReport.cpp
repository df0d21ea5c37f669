#include "reports/StaticReport.h"

#include "calc/CalcCheck.h"
#include "calc/StaticCalc.h"
#include "model/NumberFormat.h"
#include "model/TCalcVariables.h"
#include "reports/TemplateFiller.h"

namespace {

struct Entry
{
    const char *tag;
    Slot slot;
    double factor; // 0 writes the value as it is
};

void replaceAll(TemplateFiller &filler, const TCalcVariables &vars, std::initializer_list<Entry> entries)
{
    for (const Entry &e : entries) {
        const TVariable &v = vars[e.slot];
        filler.ReplaceTag(QString::fromLatin1(e.tag), e.factor == 0 ? v.FormatValue() : v.FormatScaled(e.factor));
    }
}

void verdict(TemplateFiller &filler, const char *signTag, const char *notTag, const char *relationTag, bool holds)
{
    // The signs written "<=" and ">" serve templates of their own; ours
    // print the relation as "≤" or ">".
    filler.replaceOptionalTag(QString::fromLatin1(signTag), StaticReport::sign(holds));
    filler.ReplaceTag(QString::fromLatin1(notTag), StaticReport::negation(holds));
    filler.ReplaceTag(QString::fromLatin1(relationTag), StaticReport::relation(holds));
}

} // namespace

void StaticReport::fill(TemplateFiller &filler, const TCalcVariables &vars, const NameLookup &soilName,
                        const NameLookup &materialName)
{
    replaceAll(filler, vars,
               {
                   {"$Dout.Value.mm$", Slot::Dout, 1000},
                   {"$Dout.Value.cm$", Slot::Dout, 100},
                   {"$Din.Value.mm$", Slot::Din, 1000},
                   {"$Din.Value.cm$", Slot::Din, 100},
                   {"$s.Value.mm$", Slot::s, 0},
                   {"$s.Value.cm$", Slot::s, 0.1},
                   {"$g.Value.m_c2$", Slot::g, 0},
                   {"$Lv.Value.mm$", Slot::Lv, 0},
                   {"$Lv.Value.cm$", Slot::Lv, 0.1},
                   {"$Lsh.Value.mm$", Slot::Lsh, 0},
                   {"$Lsh.Value.cm$", Slot::Lsh, 0.1},
                   {"$Htr.Value.m$", Slot::Htr, 0},
                   {"$Eo.Value.MPa$", Slot::Eo, 0},
                   {"$Etau.Value.MPa$", Slot::Etau, 0},
                   {"$Mu.Value$", Slot::Mu, 0},
                   {"$Sigmao.Value.MPa$", Slot::Sigmao, 0},
                   {"$Gamma.Value.kN_m3$", Slot::Gamma, 0},
                   {"$Egr.Value.MPa$", Slot::Egr, 0},
                   {"$m.Value.ton$", Slot::m, 0},
                   {"$m.Value.kg$", Slot::m, 1000},
                   {"$Hw.Value.m$", Slot::Hw, 0},
                   {"$F.Value.m2$", Slot::F, 0},
                   {"$P.Value.MPa$", Slot::P, 0},
                   {"$S_cond.Value$", Slot::S_cond, 0},
               });
    // The verdicts are those of the checks the window shows beside the results.
    const QVector<CalcCheck> checks = CalcCheck::corrugated(vars);
    verdict(filler, "$S_cond.Sign$", "$Not1$", "$S_cond.Rel$", checks[0].holds);
    replaceAll(filler, vars,
               {
                   {"$e.Value.mm$", Slot::e, 0},
                   {"$e.Value.cm$", Slot::e, 0.1},
                   {"$y.Value.cm$", Slot::y, 0},
                   {"$I.Value.cm4$", Slot::I, 0},
                   {"$A.Value.cm2$", Slot::A, 0},
                   {"$D.Value.cm$", Slot::D, 0},
                   {"$qc.Value.MPa$", Slot::qc, 0},
                   {"$Go.Value.MPa$", Slot::Go, 0},
                   {"$Psi_gr.Value$", Slot::Psi_gr, 0},
                   {"$Psi_gr.Value.Percent$", Slot::Psi_gr, 100},
                   {"$Psi_t.Value$", Slot::Psi_t, 0},
                   {"$Psi_t.Value.Percent$", Slot::Psi_t, 100},
                   {"$Psi_m.Value$", Slot::Psi_m, 0},
                   {"$Psi_m.Value.Percent$", Slot::Psi_m, 100},
                   {"$Psi.Value$", Slot::Psi, 0},
                   {"$Psi.Value.Percent$", Slot::Psi, 100},
                   {"$Eps_p.Value$", Slot::Eps_p, 0},
                   {"$Eps_p.Value.Percent$", Slot::Eps_p, 100},
                   {"$Eps_c.Value$", Slot::Eps_c, 0},
                   {"$Eps_c.Value.Percent$", Slot::Eps_c, 100},
                   {"$Eps_pp.Value$", Slot::Eps_pp, 0},
                   {"$Eps_pp.Value.Percent$", Slot::Eps_pp, 100},
                   {"$Eps_pn.Value$", Slot::Eps_pn, 0},
                   {"$Eps_pn.Value.Percent$", Slot::Eps_pn, 100},
                   {"$Kug.Value$", Slot::Kug, 0},
                   {"$Kov.Value$", Slot::Kov, 0},
                   {"$n.Value$", Slot::n, 0},
                   {"$qgr.Value.MPa$", Slot::qgr, 0},
                   {"$Qgv.Value.MPa$", Slot::Qgv, 0},
                   {"$qvn.Value.MPa$", Slot::qvn, 0},
                   {"$qvntr.Value.MPa$", Slot::qvntr, 0},
                   {"$qust.Value.MPa$", Slot::qust, 0},
               });
    verdict(filler, "$Cond2.Sign$", "$Not2$", "$Cond2.Rel$", checks[1].holds);
    verdict(filler, "$Cond3.Sign$", "$Not3$", "$Cond3.Rel$", checks[2].holds);
    replaceAll(filler, vars,
               {
                   {"$Gammav.Value.kN_m3$", Slot::Gammav, 0},
                   {"$qt.Value.MPa$", Slot::qt, 0},
                   {"$Kok.Value$", Slot::Kok, 0},
                   {"$Ktau.Value$", Slot::Ktau, 0},
                   {"$Kw.Value$", Slot::Kw, 0},
                   {"$Kgr.Value$", Slot::Kgr, 0},
                   {"$Kg.Value$", Slot::Kg, 0},
                   {"$Ksigma.Value$", Slot::Ksigma, 0},
                   {"$Kzpsi.Value$", Slot::Kzpsi, 0},
                   {"$Kz.Value$", Slot::Kz, 0},
                   {"$Gtau.Value.MPa$", Slot::Gtau, 0},
                   {"$Kzu.Value$", Slot::Kzu, 0},
               });
    filler.ReplaceTag(QStringLiteral("$SoilType.Value$"), soilName(vars.SelectedSoilId));
    filler.ReplaceTag(QStringLiteral("$Material.Value$"), materialName(vars.SelectedMaterialId));

    // The soil over the axis as the calculation splits it at the water table.
    const double depth = vars.value(Slot::Htr);
    const double level = vars.value(Slot::Hw);
    const SoilColumn column = StaticSoilColumn(depth, vars.value(Slot::Dout), level);
    filler.ReplaceTag(QStringLiteral("$DryDepth.m$"), NumberFormat::format(vars[Slot::Htr].GetFormat(), column.dry));
    filler.ReplaceTag(QStringLiteral("$SubmergedDepth.m$"),
                      NumberFormat::format(vars[Slot::Htr].GetFormat(), column.submerged));

    const bool traffic = vars.value(Slot::m) != 0.0;
    filler.CutIfBlock(1, !traffic);
    filler.CutIfBlock(2, traffic);
    // The calculation counts ground water only below a level above zero,
    // and its pressure only with the level above the depth of laying.
    const bool water = level > 0.0;
    const bool pressure = water && depth > level;
    filler.CutIfBlock(3, !pressure);
    filler.CutIfBlock(4, water);
    filler.CutIfBlock(5, !water);
    filler.CutIfBlock(6, water);
    filler.CutIfBlock(7, !water || pressure);
}
