#include "app/ProgramWindows.h"

#include "app/CommandKeyFilter.h"
#include "app/EditorPlacement.h"
#include "app/HelpLauncher.h"
#include "app/EditorReportMaker.h"
#include "app/MainWindow.h"
#include "editor/ReportPrinter.h"
#include "editor/ReportEditor.h"
#include "calc/CalcProject.h"
#include "model/ResourceLocator.h"
#include "ui/Dialogs.h"

#include <QFileInfo>
#include <QTimer>

ProgramWindows::ProgramWindows(const QString &settingsFileName, const QString &databaseFolder)
    : m_main(std::make_unique<MainWindow>(settingsFileName, databaseFolder)),
      m_editor(std::make_unique<ReportEditor>(m_main.get())), m_report(std::make_unique<ReportPrinter>())
{
    m_editor->setReportPrinter(m_report.get());
    m_reports = std::make_unique<EditorReportMaker>(*m_main, *m_editor, *m_report);
    m_main->setReportMaker(m_reports.get());
    // C and R typed into the report stay letters.
    m_main->commandKeys()->addLetterWindow(m_editor.get(),
                                           [](QWidget *focus) { return ReportEditor::acceptsLetterCommands(focus); });
    ReportEditor *editor = m_editor.get();
    // One question for the report as the program ends, then the editor
    // closes with the main window.
    m_main->setCloseGuard([editor] {
        if (!editor->confirmProgramEnd())
            return false;
        editor->closeForProgramEnd();
        return true;
    });
    keepEditorFolder();
    m_editorPlacement = new EditorPlacement(editor, m_main->settings());
    // F1 in the editor opens the guide at the editor's chapter.
    HelpLauncher::setChapter(editor, QStringLiteral("editor"));
}

void ProgramWindows::showAtStart(const QString &file)
{
    if (!file.isEmpty()) {
        if (CalcProject::isProjectFile(file))
            m_main->openProjectAtStart(QFileInfo(file).absoluteFilePath());
        else
            m_editor->setStartFile(file);
    }
    m_main->show();
    if (m_editor->hasStartFile())
        m_editor->showEditor();
    const QString problem = m_editor->startFileProblem();
    if (!problem.isEmpty()) {
        MainWindow *window = m_main.get();
        QTimer::singleShot(0, window, [window, problem] { Dialogs::instance().generalError(window, problem); });
    }
}

void ProgramWindows::keepEditorFolder()
{
    // The editor's dialogs start where the user last opened or saved a
    // report, kept in the settings at once; a folder that is gone gives the
    // default start.  A settings file that cannot be written is said when
    // the program ends.
    const SettingsStore settings = m_main->settings();
    const QString stored = settings.editorDialogFolder();
    m_editor->setDialogFolder(!stored.isEmpty() && QFileInfo(stored).isDir()
                                  ? stored
                                  : ResourceLocator::forApplication().defaultDocumentsDir());
    QObject::connect(m_editor.get(), &ReportEditor::dialogFolderChanged, m_editor.get(),
                     [settings](const QString &folder) {
                         // Said, if it fails, when the program ends.
                         static_cast<void>(settings.writeEditorDialogFolder(folder));
                     });
}

ProgramWindows::~ProgramWindows()
{
    HelpLauncher::closeWindow();
    m_editorPlacement->saveIfShown();
    m_main->setReportMaker(nullptr);
}
