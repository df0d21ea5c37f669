#include "reports/FiberglassReport.h"

#include "calc/FiberglassResults.h"
#include "model/NumberFormat.h"
#include "reports/TemplateFiller.h"

namespace {

const char kSix[] = "0.000000";
const char kNine[] = "0.000000000";
const char kThree[] = "0.000";

struct Number
{
    const char *tag;
    double value;
    const char *format;
};

void replaceNumbers(TemplateFiller &filler, std::initializer_list<Number> numbers)
{
    for (const Number &n : numbers)
        filler.ReplaceTag(QString::fromLatin1(n.tag),
                          NumberFormat::formatReportNumber(QString::fromLatin1(n.format), n.value));
}

QString negation(bool fails)
{
    return fails ? QStringLiteral("не") : QString();
}

} // namespace

void FiberglassReport::fill(TemplateFiller &filler, const FiberglassResults &r, const Choices &choices,
                            const NameLookup &soilName)
{
    if (choices.materialId == 4)
        filler.ReplaceTag(QStringLiteral("$PIPETYPE$"), QStringLiteral("SN 5000"));
    else if (choices.materialId == 5)
        filler.ReplaceTag(QStringLiteral("$PIPETYPE$"), QStringLiteral("SN 10000"));

    filler.ReplaceTag(QStringLiteral("$SOILE$"), soilName(choices.soilId));
    filler.ReplaceTag(QStringLiteral("$TUBENAME$"), QStringLiteral("стеклопластиковых труб"));
    replaceNumbers(filler, {
                               {"$D$", r.D, kSix},
                               {"$s$", r.s, kNine},
                               {"$t$", r.t, kNine},
                               {"$Et$", r.Et, kSix},
                               {"$Et/1000000$", r.Et / 1000000, kSix},
                               {"$Sigmat$", r.Sigmat, kSix},
                               {"$Sigmat/1000000$", r.Sigmat / 1000000, kSix},
                               {"$MuSt$", r.MuSt, kSix},
                               {"$EtauSvSt$", r.EtauSvSt, kSix},
                               {"$EtauSvSt/1000000$", r.EtauSvSt / 1000000, kSix},
                               {"$fi$", r.fi, kSix},
                           });
    filler.ReplaceTag(QStringLiteral("$WayOfLining$"), choices.layingText);
    replaceNumbers(filler, {
                               {"$Egr$", r.Egr, kSix},
                               {"$Egr/1000000$", r.Egr / 1000000, kSix},
                               {"$h$", r.h, kNine},
                               {"$M$", r.M, kSix},
                               {"$F$", r.F, kSix},
                               {"$Hv$", r.Hv, kSix},
                               {"$GammaGrSt$", r.GammaGrSt, kSix},
                               {"$GammaGrSt/1000$", r.GammaGrSt / 1000, kSix},
                               {"$fi$", r.fi, kSix},
                               {"$Kk$", r.Kk, kSix},
                               {"$a$", r.a, kSix},
                               {"$Qgr1$", r.Qgr1, kSix},
                               {"$Qgr2$", r.Qgr2, kSix},
                               {"$Qgr$", r.Qgr, kSix},
                               {"$Qgr1/1000000$", r.Qgr1 / 1000000, kNine},
                               {"$Qgr2/1000000$", r.Qgr2 / 1000000, kNine},
                               {"$Qgr/1000000$", r.Qgr / 1000000, kNine},
                               {"$P$", r.P, kSix},
                               {"$Qtr$", r.Qtr, kSix},
                               {"$Qtr/1000000$", r.Qtr / 1000000, kNine},
                               {"$Qc$", r.Qc, kSix},
                               {"$Qc/1000000$", r.Qc / 1000000, kNine},
                               {"$I$", r.I, kNine},
                               {"$n$", r.n, kNine},
                               {"$Mras$", r.Mras, kSix},
                               {"$Mras/1000$", r.Mras / 1000, kNine},
                               {"$k$", r.k, kThree},
                               {"$W$", r.W, kNine},
                               {"$m$", r.m, kNine},
                               {"$Mpr$", r.Mpr, kSix},
                               {"$Mpr/1000$", r.Mpr / 1000, kNine},
                               {"$A$", r.A, kThree},
                               {"$Gt$", r.Gt, kThree},
                               {"$Gt/1000000$", r.Gt / 1000000, kSix},
                           });
    filler.ReplaceTag(QStringLiteral("$NO$"), negation(!r.strengthHolds()));
    replaceNumbers(filler, {
                               {"$Etausvst$", r.EtauSvSt, kSix},
                               {"$Gy$", r.Gy, kSix},
                               {"$Gy/1000000$", r.Gy / 1000000, kSix},
                               {"$psi$", r.psi, kSix},
                           });
    filler.ReplaceTag(QStringLiteral("$NOPSI$"), negation(!r.ovalityHolds()));
    replaceNumbers(filler, {
                               {"$Egr$", r.Egr, kSix},
                               {"$Kov$", r.Kov, kSix},
                               {"$Kzu$", r.Kzu, kSix},
                               {"$Qgv$", r.Qgv, kSix},
                               {"$Qgv/1000000$", r.Qgv / 1000000, kNine},
                               {"$Gammav$", r.Gammav, kSix},
                           });
    filler.ReplaceTag(QStringLiteral("$NOUU$"), negation(!r.stabilityHolds()));

    // What the run leaves out, said in words where the formulas would
    // compute with zeros.
    const bool traffic = r.M != 0.0 && r.F != 0.0;
    filler.ReplaceTag(QStringLiteral("$TrafficOff$"),
                      r.M == 0.0 ? QStringLiteral("масса на ось транспортного средства M = 0")
                                 : QStringLiteral("площадь опирания колеса F = 0"));
    const double axisDepth = r.D / 2 + r.h;
    replaceNumbers(filler, {
                               {"$AxisDepth$", axisDepth, kSix},
                               {"$QcQgv/1000000$", (r.Qc + r.Qgv) / 1000000, kNine},
                           });
    filler.ReplaceTag(QStringLiteral("$WallKind$"), wallKind(choices.wallIndex));

    // Blocks 1, 3 and 5 hold the trenchless text, 2 and 4 the trench text.
    const int laying = choices.layingIndex;
    for (int block = 1; block <= 5; ++block) {
        const bool trenchlessBlock = block % 2 == 1;
        filler.CutIfBlock(block, trenchlessBlock ? laying != 1 : laying != 0);
    }
    // Blocks 6, 8 and 10 hold the single-layer wall, 7, 9 and 11 the three-layer one.
    const bool singleLayer = choices.wallIndex == 0;
    for (int block = 6; block <= 11; ++block) {
        const bool singleLayerBlock = block % 2 == 0;
        filler.CutIfBlock(block, singleLayerBlock != singleLayer);
    }
    filler.CutIfBlock(12, !traffic);
    filler.CutIfBlock(13, traffic);
    // The calculation counts ground water only with a level, above the axis.
    const bool noLevel = r.Hv == 0.0;
    const bool water = !noLevel && axisDepth > r.Hv;
    filler.CutIfBlock(14, !water);
    filler.CutIfBlock(15, !noLevel);
    filler.CutIfBlock(16, water || noLevel);
    filler.CutIfBlock(17, choices.materialId != 4 && choices.materialId != 5);
}

QString FiberglassReport::wallKind(int wallIndex)
{
    return wallIndex == 0 ? QStringLiteral("однослойная") : QStringLiteral("трёхслойная");
}
