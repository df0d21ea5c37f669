#include "reports/HydraulicReport.h"

#include "calc/FuncUnit.h"
#include "model/NumberFormat.h"
#include "model/TCalcVariables.h"
#include "reports/TemplateFiller.h"

void HydraulicReport::fill(TemplateFiller &filler, const TCalcVariables &vars)
{
    // The fiberglass words go with material 4 only.
    const bool fiberglass = vars.SelectedMaterialId == 4;
    filler.ReplaceTag(QStringLiteral("$TUBENAME1$"),
                      fiberglass ? QStringLiteral("стеклопластиковых труб") : QStringLiteral("труб Велтра-Норлекс"));
    filler.ReplaceTag(QStringLiteral("$TUBENAME2$"),
                      fiberglass ? QStringLiteral("стеклопластиковая труба") : QStringLiteral("труба Велтра-Норлекс"));

    const struct
    {
        const char *tag;
        Slot slot;
    } values[] = {
        {"$Din.Val$", Slot::Din},           {"$i_s.Val$", Slot::i_s},
        {"$hs_d.Val$", Slot::hs_d},         {"$g.Val$", Slot::g},           {"$Ls.Val$", Slot::Ls},
        {"$Vf.Val$", Slot::V},              {"$Ke.Val$", Slot::Ke},         {"$a.Val$", Slot::a},
        {"$Vf_begin.Val$", Slot::Vf_begin}, {"$Vf_end.Val$", Slot::Vf_end}, {"$Rsnf_Rsf.Val$", Slot::Rsnf_Rsf},
        {"$bs_end.Val$", Slot::bs_end},     {"$Vnf.Val$", Slot::Vnf},       {"$Kw.Val$", Slot::Kw_h},
        {"$qs.Val_litr$", Slot::qs},
    };
    for (const auto &v : values)
        filler.ReplaceTag(QString::fromLatin1(v.tag), vars[v.slot].FormatValue());
    // The flow does not depend on the outer diameter; a fiberglass tube leaves
    // it unknown (0), and the report then does not name one.
    const bool outerKnown = vars.value(Slot::Dout) > 0;
    filler.ReplaceTag(QStringLiteral("$Dout.Val$"), outerKnown ? vars[Slot::Dout].FormatValue() : QStringLiteral("—"));
    filler.CutIfBlock(1, !outerKnown);
    // The flow again, in cubic metres per second.
    filler.ReplaceTag(QStringLiteral("$qs.Val_m3$"), vars[Slot::qs].FormatScaled(0.001));
    filler.ReplaceTag(QStringLiteral("$Rs.Val$"), vars[Slot::Rs].FormatValue());

    // The values that the formulas of the report work with on the way.
    filler.ReplaceTag(QStringLiteral("$nu.Val$"), vars[Slot::nu].FormatValue());
    filler.ReplaceTag(QStringLiteral("$alpha.Val$"),
                      NumberFormat::format(QStringLiteral("0.###"), FuncUnit::SegmentHalfAngle(vars.value(Slot::hs_d))));
    filler.ReplaceTag(QStringLiteral("$Requ.Val$"), NumberFormat::format(QStringLiteral("0"), vars.value(Slot::Requ)));
    filler.ReplaceTag(QStringLiteral("$Rephi.Val$"), NumberFormat::format(QStringLiteral("0"), vars.value(Slot::Rephi)));
}
