#include "app/EditorReportMaker.h"

#include "app/MainWindow.h"
#include "editor/ReportPrinter.h"
#include "editor/ReportEditor.h"
#include "reports/CalcReport.h"
#include "richtext/EditorDocument.h"
#include "ui/Dialogs.h"

#include <QTextDocument>

EditorReportMaker::EditorReportMaker(MainWindow &main, ReportEditor &editor, ReportPrinter &report)
    : m_main(main), m_editor(editor), m_report(report)
{
    // A new or opened document is no report of the program's.
    QObject::connect(&m_editor, &ReportEditor::documentReplaced, &m_editor, [this] { m_openReport.reset(); });
}

void EditorReportMaker::makeReport(CalcSession &session, CalcKind kind)
{
    // Changes the user made to the document are not lost without a question.
    if (!m_editor.confirmReplace())
        return;
    QTextDocument built;
    const CalcReport::Result result = CalcReport::build(session, kind, built);
    switch (result.status) {
    case CalcReport::Status::Built:
        break;
    case CalcReport::Status::NotCurrent:
    case CalcReport::Status::TemplateMissing:
        Dialogs::instance().message(&m_main, result.message);
        return;
    case CalcReport::Status::TemplateUnreadable:
    case CalcReport::Status::TemplateIncomplete:
    // The names come from the database; when it cannot be opened the
    // report ends here.
    case CalcReport::Status::DatabaseUnreadable:
        Dialogs::instance().generalError(&m_main, result.message);
        return;
    }

    m_editor.newDocument();
    m_editor.document().replaceContent(built);
    m_report.setTitle(CalcReport::title(kind));
    // Undo starts from the report as built.
    m_editor.markBuiltDocument();
    m_openReport = session.currentResults(kind);
    m_editor.showEditor();
}

bool EditorReportMaker::insertPicture(const QImage &picture, const QSizeF &size, const QString &caption)
{
    m_editor.document().insertPicture(picture, size, caption);
    m_editor.showEditor();
    return true;
}
