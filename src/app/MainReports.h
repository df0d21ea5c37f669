#pragma once

#include "app/ReportLayer.h"

#include <functional>

class TemplateFiller;
class TFormEditor;
class TFormMain;
class TFormReport;

// The reports as the report command makes them: a new document in the
// report editor, the template loaded into it, its placeholders and blocks
// filled from the variables (and, for the fiberglass report, from the run
// just made), the caret at the start, and the editor shown.
class MainReports : public ReportLayer
{
public:
    MainReports(TFormMain &main, TFormEditor &editor, TFormReport &report);

    void setTitle(const QString &title) override;
    void reportHydraulic() override;
    void reportStatic() override;
    void reportFiberglass(const FiberglassResults &results, int layingIndex, const QString &layingText) override;

private:
    // The common flow; `fill` replaces the report's own placeholders.
    void build(const char *templateName, const std::function<void(TemplateFiller &)> &fill);

    TFormMain &m_main;
    TFormEditor &m_editor;
    TFormReport &m_report;
    QString m_title;
};
