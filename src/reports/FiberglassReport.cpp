#include "reports/FiberglassReport.h"

#include "calc/CalcCheck.h"
#include "calc/FiberglassResults.h"
#include "model/FiberglassMaterial.h"
#include "model/NumberFormat.h"
#include "reports/ReportNumber.h"
#include "reports/TemplateFiller.h"

namespace {

using Kind = ReportNumber::Origin;

struct Number
{
    const char *tag;
    double value;
    Kind kind;
};

void replaceNumbers(TemplateFiller &filler, std::initializer_list<Number> numbers)
{
    for (const Number &n : numbers) {
        filler.replaceNumber(QString::fromLatin1(n.tag), ReportNumber::of(n.kind, n.value));
    }
}

QString negation(bool fails)
{
    return fails ? QStringLiteral("не") : QString();
}

} // namespace

void FiberglassReport::fill(TemplateFiller &filler, const FiberglassResults &r, const Choices &choices,
                            const NameLookup &soilName)
{
    filler.useDecimalSeparator(NumberFormat::decimalSeparator());
    if (choices.materialId == FiberglassMaterial::Sn5000)
        filler.replaceTag(QStringLiteral("$PIPETYPE$"), QStringLiteral("SN 5000"));
    else if (choices.materialId == FiberglassMaterial::Sn10000)
        filler.replaceTag(QStringLiteral("$PIPETYPE$"), QStringLiteral("SN 10000"));

    filler.replaceTag(QStringLiteral("$SOILE$"), soilName(choices.soilId));
    filler.replaceTag(QStringLiteral("$TUBENAME$"), QStringLiteral("стеклопластиковых труб"));
    replaceNumbers(filler, {
                               {"$D$", r.D, Kind::Input},
                               {"$s$", r.s, Kind::Input},
                               {"$t$", r.t, Kind::Input},
                               {"$Et$", r.Et, Kind::Input},
                               {"$Et/1000000$", r.Et / 1000000, Kind::Input},
                               {"$Sigmat$", r.Sigmat, Kind::Input},
                               {"$Sigmat/1000000$", r.Sigmat / 1000000, Kind::Input},
                               {"$MuSt$", r.MuSt, Kind::Input},
                               {"$EtauSvSt$", r.EtauSvSt, Kind::Input},
                               {"$EtauSvSt/1000000$", r.EtauSvSt / 1000000, Kind::Input},
                               {"$fi$", r.fi, Kind::Input},
                           });
    filler.replaceTag(QStringLiteral("$WayOfLining$"), FiberglassChoices::label(choices.laying));
    replaceNumbers(filler, {
                               {"$Egr$", r.Egr, Kind::Input},
                               {"$Egr/1000000$", r.Egr / 1000000, Kind::Input},
                               {"$h$", r.h, Kind::Input},
                               {"$M$", r.M, Kind::Input},
                               {"$F$", r.F, Kind::Input},
                               {"$Hv$", r.Hv, Kind::Input},
                               {"$GammaGrSt$", r.GammaGrSt, Kind::Input},
                               {"$GammaGrSt/1000$", r.GammaGrSt / 1000, Kind::Input},
                               {"$Kk$", r.Kk, Kind::Input},
                               {"$a$", r.a, Kind::Input},
                               {"$Qgr1$", r.Qgr1, Kind::Computed},
                               {"$Qgr2$", r.Qgr2, Kind::Computed},
                               {"$Qgr$", r.Qgr, Kind::Computed},
                               {"$Qgr1/1000000$", r.Qgr1 / 1000000, Kind::Computed},
                               {"$Qgr2/1000000$", r.Qgr2 / 1000000, Kind::Computed},
                               {"$Qgr/1000000$", r.Qgr / 1000000, Kind::Computed},
                               {"$P$", r.P, Kind::Computed},
                               {"$Qtr$", r.Qtr, Kind::Computed},
                               {"$Qtr/1000000$", r.Qtr / 1000000, Kind::Computed},
                               {"$Qc$", r.Qc, Kind::Computed},
                               {"$Qc/1000000$", r.Qc / 1000000, Kind::Computed},
                               {"$I$", r.I, Kind::Computed},
                               {"$n$", r.n, Kind::Computed},
                               {"$Mras$", r.Mras, Kind::Computed},
                               {"$Mras/1000$", r.Mras / 1000, Kind::Computed},
                               {"$k$", r.k, Kind::Computed},
                               {"$W$", r.W, Kind::Computed},
                               {"$m$", r.m, Kind::Input},
                               {"$Mpr$", r.Mpr, Kind::Computed},
                               {"$Mpr/1000$", r.Mpr / 1000, Kind::Computed},
                               {"$A$", r.A, Kind::Computed},
                               {"$Gt$", r.Gt, Kind::Computed},
                               {"$Gt/1000000$", r.Gt / 1000000, Kind::Computed},
                           });
    const QVector<CalcCheck> checks = CalcCheck::fiberglass(r);
    // The checks hold the moments in kN·m and the loads in MPa.
    filler.replaceCompared(QStringLiteral("$Strength.Mras/1000$"), QStringLiteral("$Strength.Mpr/1000$"),
                           checks[0].value, checks[0].limit);
    filler.replaceTag(QStringLiteral("$NO$"), negation(!r.strengthHolds()));
    replaceNumbers(filler, {
                               {"$Etausvst$", r.EtauSvSt, Kind::Input},
                               {"$Gy$", r.Gy, Kind::Computed},
                               {"$Gy/1000000$", r.Gy / 1000000, Kind::Computed},
                               {"$psi$", r.psi, Kind::Computed},
                           });
    filler.replaceCompared(QStringLiteral("$Ovality.psi$"), QString(), checks[1].value, checks[1].limit);
    filler.replaceTag(QStringLiteral("$NOPSI$"), negation(!r.ovalityHolds()));
    replaceNumbers(filler, {
                               {"$Kov$", r.Kov, Kind::Computed},
                               {"$Kzu$", r.Kzu, Kind::Input},
                               {"$Qgv$", r.Qgv, Kind::Computed},
                               {"$Qgv/1000000$", r.Qgv / 1000000, Kind::Computed},
                               {"$Gammav$", r.Gammav, Kind::Input},
                           });
    filler.replaceCompared(QStringLiteral("$Stability.QcQgv/1000000$"), QStringLiteral("$Stability.Gy/1000000$"),
                           checks[2].value, checks[2].limit);
    filler.replaceTag(QStringLiteral("$NOUU$"), negation(!r.stabilityHolds()));

    // What the run leaves out, said in words where the formulas would
    // compute with zeros.
    const bool traffic = r.M != 0.0 && r.F != 0.0;
    filler.replaceTag(QStringLiteral("$TrafficOff$"),
                      r.M == 0.0 ? QStringLiteral("масса на ось транспортного средства M = 0 кг")
                                 : QStringLiteral("площадь опирания колеса F = 0 м²"));
    const double axisDepth = r.D / 2 + r.h;
    replaceNumbers(filler, {{"$AxisDepth$", axisDepth, Kind::Computed}});
    filler.replaceTag(QStringLiteral("$WallKind$"), FiberglassChoices::reportWord(choices.wall));

    // Blocks 1, 3 and 5 hold the trenchless text, 2 and 4 the trench text.
    const bool trenchless = choices.laying == Laying::Trenchless;
    for (int block = 1; block <= 5; ++block) {
        const bool trenchlessBlock = block % 2 == 1;
        filler.cutIfBlock(block, trenchlessBlock != trenchless);
    }
    // Blocks 6, 8 and 10 hold the single-layer wall, 7, 9 and 11 the three-layer one.
    const bool singleLayer = choices.wall == Wall::SingleLayer;
    for (int block = 6; block <= 11; ++block) {
        const bool singleLayerBlock = block % 2 == 0;
        filler.cutIfBlock(block, singleLayerBlock != singleLayer);
    }
    filler.cutIfBlock(12, !traffic);
    filler.cutIfBlock(13, traffic);
    // The calculation counts ground water only with a level, above the axis.
    const bool noLevel = r.Hv == 0.0;
    const bool water = !noLevel && axisDepth > r.Hv;
    filler.cutIfBlock(14, !water);
    filler.cutIfBlock(15, !noLevel);
    filler.cutIfBlock(16, water || noLevel);
    filler.cutIfBlock(17, !FiberglassMaterial::isFiberglass(choices.materialId));
}
