#pragma once

#include <QString>

struct FiberglassResults;

// What the report command hands on to the reports.
class ReportLayer
{
public:
    virtual ~ReportLayer() = default;

    // The title line of the report page.
    virtual void setTitle(const QString &title) = 0;
    virtual void reportHydraulic() = 0;
    virtual void reportStatic() = 0;
    // The fiberglass report of the run just made, with the laying method as
    // the options panel shows it.
    virtual void reportFiberglass(const FiberglassResults &results, int layingIndex, const QString &layingText) = 0;
};
