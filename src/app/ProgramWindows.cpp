#include "app/ProgramWindows.h"

#include "app/ApplicationMessageHook.h"
#include "app/EditorPlacement.h"
#include "app/HelpLauncher.h"
#include "app/MainReports.h"
#include "app/MainUnit.h"
#include "editor/TFormReport.h"
#include "app/IniFile.h"
#include "editor/remain.h"
#include "calc/CalcProject.h"
#include "model/ResourceLocator.h"
#include "ui/Dialogs.h"

#include <QFileInfo>
#include <QTimer>

namespace {

const QString kEditorSection = QStringLiteral("Editor");
const QString kFolderKey = QStringLiteral("DialogFolder");

} // namespace

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
    keepEditorFolder();
    m_editorPlacement = new EditorPlacement(editor, m_main->SettingsFileName);
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
        m_editor->ShowEditor();
    const QString problem = m_editor->startFileProblem();
    if (!problem.isEmpty()) {
        TFormMain *window = m_main.get();
        QTimer::singleShot(0, window, [window, problem] { Dialogs::instance().generalError(window, problem); });
    }
}

void ProgramWindows::keepEditorFolder()
{
    // The editor's dialogs start where the user last opened or saved a
    // report, kept in the settings at once; a folder that is gone gives the
    // default start.  A settings file that cannot be written is said when
    // the program ends.
    const QString settings = m_main->SettingsFileName;
    IniFile ini(settings);
    ini.load();
    const QString stored = ini.value(kEditorSection, kFolderKey);
    m_editor->setDialogFolder(!stored.isEmpty() && QFileInfo(stored).isDir()
                                  ? stored
                                  : ResourceLocator::forApplication().defaultDocumentsDir());
    QObject::connect(m_editor.get(), &TFormEditor::dialogFolderChanged, m_editor.get(),
                     [settings](const QString &folder) {
                         IniFile file(settings);
                         file.load();
                         file.setValue(kEditorSection, kFolderKey, folder);
                         file.save();
                     });
}

ProgramWindows::~ProgramWindows()
{
    HelpLauncher::closeWindow();
    m_editorPlacement->saveIfShown();
    m_main->setReportLayer(nullptr);
}
