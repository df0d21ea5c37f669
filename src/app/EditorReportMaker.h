#pragma once

#include "app/ReportMaker.h"

class ReportEditor;
class MainWindow;
class ReportPrinter;

// The reports as the report command makes them in the program: built from
// the template, then put into the report editor's document, the report page
// titled, the caret at the start and the editor shown.  A report that cannot
// be built leaves the editor's document as it was.
class EditorReportMaker : public ReportMaker
{
public:
    EditorReportMaker(MainWindow &main, ReportEditor &editor, ReportPrinter &report);

    void makeReport(CalcSession &session, CalcKind kind) override;
    std::optional<CalcSession::ResultsStamp> openReport() const override { return m_openReport; }
    bool insertPicture(const QImage &picture, const QSizeF &size, const QString &caption) override;

private:
    MainWindow &m_main;
    ReportEditor &m_editor;
    ReportPrinter &m_report;
    QString m_title;
    std::optional<CalcSession::ResultsStamp> m_openReport;
};
