#pragma once

#include "app/ReportLayer.h"

class TFormEditor;
class TFormMain;
class TFormReport;

// The reports as the report command makes them in the program: built from
// the template, then put into the report editor's document, the report page
// titled, the caret at the start and the editor shown.  A report that cannot
// be built leaves the editor's document as it was.
class MainReports : public ReportLayer
{
public:
    MainReports(TFormMain &main, TFormEditor &editor, TFormReport &report);

    void makeReport(CalcSession &session, CalcKind kind) override;
    bool insertPicture(const QImage &picture, const QSizeF &size) override;

private:
    TFormMain &m_main;
    TFormEditor &m_editor;
    TFormReport &m_report;
    QString m_title;
};
