#include "app/ProgramWindows.h"

#include "app/ApplicationMessageHook.h"
#include "app/MainReports.h"
#include "app/MainUnit.h"
#include "editor/TFormReport.h"
#include "editor/remain.h"

ProgramWindows::ProgramWindows(const QString &settingsFileName, const QString &databaseFolder)
    : m_main(std::make_unique<TFormMain>(settingsFileName, databaseFolder)),
      m_editor(std::make_unique<TFormEditor>(m_main.get())), m_report(std::make_unique<TFormReport>())
{
    m_editor->setReportForm(m_report.get());
    m_reports = std::make_unique<MainReports>(*m_main, *m_editor, *m_report);
    m_main->setReportLayer(m_reports.get());
    // C and R typed into the report stay letters.
    m_main->messageHook()->addLetterWindow(m_editor.get(),
                                           [](QWidget *focus) { return TFormEditor::acceptsLetterCommands(focus); });
    TFormEditor *editor = m_editor.get();
    m_main->setCloseGuard([editor] { return editor->confirmProgramEnd(); });
}

ProgramWindows::~ProgramWindows()
{
    m_main->setReportLayer(nullptr);
}
