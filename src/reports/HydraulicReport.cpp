#include "reports/HydraulicReport.h"

#include "calc/PartlyFilledCircle.h"
#include "model/FiberglassMaterial.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"
#include "reports/ReportNumber.h"
#include "reports/TemplateFiller.h"

void HydraulicReport::fill(TemplateFiller &filler, const CalcVariables &vars)
{
    filler.useDecimalSeparator(NumberFormat::decimalSeparator());
    // The fiberglass words go with the SN 5000 material only.
    const bool fiberglass = vars.selectedMaterialId == FiberglassMaterial::Sn5000;
    filler.replaceTag(QStringLiteral("$TUBENAME1$"),
                      fiberglass ? QStringLiteral("стеклопластиковых труб") : QStringLiteral("труб Велтра-Норлекс"));
    filler.replaceTag(QStringLiteral("$TUBENAME2$"),
                      fiberglass ? QStringLiteral("стеклопластиковая труба") : QStringLiteral("труба Велтра-Норлекс"));

    using Kind = ReportNumber::Origin;
    const struct
    {
        const char *tag;
        Slot slot;
        Kind kind;
    } values[] = {
        {"$Din.Val$", Slot::Din, Kind::Input},
        {"$i_s.Val$", Slot::i_s, Kind::Input},
        {"$hs_d.Val$", Slot::hs_d, Kind::Input},
        {"$g.Val$", Slot::g, Kind::Input},
        {"$Ke.Val$", Slot::Ke, Kind::Input},
        {"$nu.Val$", Slot::nu, Kind::Input},
        {"$Ls.Val$", Slot::Ls, Kind::Computed},
        {"$Vf.Val$", Slot::V, Kind::Computed},
        {"$a.Val$", Slot::a, Kind::Computed},
        {"$Vf_begin.Val$", Slot::Vf_begin, Kind::Computed},
        {"$Vf_end.Val$", Slot::Vf_end, Kind::Computed},
        {"$Rsnf_Rsf.Val$", Slot::Rsnf_Rsf, Kind::Computed},
        {"$bs_end.Val$", Slot::bs_end, Kind::Computed},
        {"$Vnf.Val$", Slot::Vnf, Kind::Computed},
        {"$Kw.Val$", Slot::Kw_h, Kind::Computed},
        {"$qs.Val_litr$", Slot::qs, Kind::Computed},
        {"$Rs.Val$", Slot::Rs, Kind::Computed},
        {"$Requ.Val$", Slot::Requ, Kind::Computed},
        {"$Rephi.Val$", Slot::Rephi, Kind::Computed},
    };
    for (const auto &v : values)
        filler.replaceNumber(QString::fromLatin1(v.tag), ReportNumber::of(v.kind, vars.value(v.slot)));
    // The flow does not depend on the outer diameter; a fiberglass tube leaves
    // it unknown (0), and the report then does not name one.
    const bool outerKnown = vars.value(Slot::Dout) > 0;
    if (outerKnown)
        filler.replaceNumber(QStringLiteral("$Dout.Val$"), ReportNumber::input(vars.value(Slot::Dout)));
    else
        filler.replaceTag(QStringLiteral("$Dout.Val$"), QStringLiteral("—"));
    filler.cutIfBlock(1, !outerKnown);
    // The flow again, in cubic metres per second.
    filler.replaceNumber(QStringLiteral("$qs.Val_m3$"), ReportNumber::computed(vars.value(Slot::qs) * 0.001));
    // The half angle of the wetted segment, which the formulas of the report work with.
    filler.replaceNumber(QStringLiteral("$alpha.Val$"),
                         ReportNumber::computed(PartlyFilledCircle::segmentHalfAngle(vars.value(Slot::hs_d))));
}
