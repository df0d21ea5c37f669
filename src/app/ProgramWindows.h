#pragma once

#include <QString>

#include <memory>

class EditorPlacement;
class EditorReportMaker;
class ReportEditor;
class MainWindow;
class ReportPrinter;

// The windows that live for the whole run, created in this order: the main
// window, the report editor (hidden until a report shows it) and the holder
// of the report page; and what ties them together: the report command builds
// its reports in the editor and titles the report page; the main window's letter
// commands also act in the editor (but not while one of its text fields has
// the focus), ending the program asks about the editor's unsaved changes
// first, and the editor's file dialogs start in the folder last used, kept
// in the settings file, as are the editor's size and place.
class ProgramWindows
{
public:
    // As MainWindow takes them; empty for the defaults beside the executable.
    explicit ProgramWindows(const QString &settingsFileName = QString(), const QString &databaseFolder = QString());
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    // Shows the main window, with the file named first on the command line
    // (empty for none): a project opens in the main window as it is first
    // shown; any other file opens in the report editor, which shows it
    // beside the main window from the start.  A file that cannot be opened
    // (missing, unreadable, a device or a FIFO, which is not waited for) is
    // said in the general error box once the main window is up, and the
    // program carries on.
    void showAtStart(const QString &file);

    MainWindow &main() { return *m_main; }
    ReportEditor &editor() { return *m_editor; }
    ReportPrinter &report() { return *m_report; }

private:
    void keepEditorFolder();

    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<ReportEditor> m_editor;
    std::unique_ptr<ReportPrinter> m_report;
    std::unique_ptr<EditorReportMaker> m_reports;
    EditorPlacement *m_editorPlacement = nullptr;
};
