#pragma once

#include <QString>

#include <cstdint>
#include <functional>

struct FiberglassResults;
class TemplateFiller;

// The fiberglass report: one run of the fiberglass calculation, every
// number through FormatReportNumber (a point as the separator, no trailing
// zeros), the verdicts on strength, ovality and stability, and the blocks of
// the two laying methods.
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
        int layingIndex = 0;
        QString layingText;
    };
    using NameLookup = std::function<QString(std::int32_t id)>;

    static void fill(TemplateFiller &filler, const FiberglassResults &results, const Choices &choices,
                     const NameLookup &soilName);
};
