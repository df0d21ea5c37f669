#pragma once

#include "calc/FiberglassChoices.h"

#include <QString>

#include <cstdint>
#include <functional>

struct FiberglassResults;
class TemplateFiller;

// The fiberglass report: one run of the fiberglass calculation, every
// number through FormatReportNumber (a point as the separator, no trailing
// zeros), the verdicts on strength, ovality and stability, and the blocks of
// the template chosen by the run:
//   1, 3, 5   trenchless laying;        2, 4       trench laying;
//   6, 8, 10  single-layer wall;        7, 9, 11   three-layer wall;
//   12        a traffic load;           13         none (no axle mass or no wheel area);
//   14        ground water at the pipe; 15 no ground-water level; 16 the level below the axis;
//   17        the ring stiffness class, for the two fiberglass materials.
class FiberglassReport
{
public:
    // The title line of the report page above this report.
    static QString title() { return QStringLiteral("Статический расчёт стеклопластикового трубопровода"); }
    static constexpr const char *TemplateName = "StPlStaticReport.rtf";

    struct Choices
    {
        std::int32_t materialId = -1;
        std::int32_t soilId = -1;
        Laying laying = Laying::Trench;
        Wall wall = Wall::ThreeLayer;
    };
    using NameLookup = std::function<QString(std::int32_t id)>;

    static void fill(TemplateFiller &filler, const FiberglassResults &results, const Choices &choices,
                     const NameLookup &soilName);
};
