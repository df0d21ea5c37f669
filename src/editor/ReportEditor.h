#pragma once

#include "editor/ReportEditorWidgets.h"
#include "richtext/EditorDocument.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QScreen;
class ReportPrinter;

// The report editor: a rich-text editor window with file and edit menus, a
// formatting toolbar, a ruler for the paragraph indents and a status bar.
// Reports are built in its document (document()) and then shown with
// showEditor(); from here the user edits, saves, previews and prints them.
// Created once at start-up; closing it only hides it.
class ReportEditor : public QMainWindow
{
    Q_OBJECT

public:
    // The window opens centred over mainWindow, which does not own it.
    explicit ReportEditor(QWidget *mainWindow = nullptr);
    ~ReportEditor() override;

    EditorDocument &document() { return *m_document; }

    // Where preview, printing and the PDF export lay the document out.
    void setReportPrinter(ReportPrinter *printer);
    // The file named on the command line.  It opens once, at the first
    // showing of the window, and only into a document that holds nothing
    // yet: never over a report built before that.
    void setStartFile(const QString &path) { m_startFile = path; }
    // Whether there is a start file that names a file and is still to open.
    bool hasStartFile() const;
    // Why the file named at start cannot be opened (missing, unreadable, or
    // no regular file), in the words of a failed open; empty when it can,
    // or when none was named.
    QString startFileProblem() const;

    // Whether the document holds changes the user made since it was built,
    // opened or saved, and not saved: a report just built is unsaved, but
    // holds none of the user's changes.
    bool hasUserChanges() const;
    // Before the document gives way to another one (a new report): asks the
    // save question when the user's changes would be lost.  Yes saves first
    // (a save cancelled or failed stops), No lets them go, Cancel keeps the
    // document.  True when the caller may replace the document.  A window
    // that is not shown asks nothing: closing it asked already.
    bool confirmReplace();
    // A report has just been built in the document: nothing to undo or redo,
    // unsaved but without changes of the user's, the caret at the start.
    void markBuiltDocument();

    // The size the window opens with: wide enough for the report's text
    // width at 100 %, within the screen's room.
    static QSize defaultSize(const QScreen *screen);

    // The folder the open and save dialogs start in: the user's documents
    // folder unless set; a file opened or saved through them makes its folder the
    // next start, and dialogFolderChanged() tells.
    const QString &dialogFolder() const { return m_dialogFolder; }
    void setDialogFolder(const QString &folder) { m_dialogFolder = folder; }

    // Whether the main window's plain letter commands may act while the
    // given widget of this window has the focus: not in its text fields,
    // where the letters are typed.
    static bool acceptsLetterCommands(const QWidget *focus);

    static QString fileFilter();
    bool isSyncingToolbar() const { return m_syncingToolbar; }

Q_SIGNALS:
    void dialogFolderChanged(const QString &folder);
    // The document was started anew or replaced by a file opened.
    void documentReplaced();

public Q_SLOTS:
    // Shows the window, not modal, and brings it to the front.
    void showEditor();

    // Asks whether to save a modified document; false when the user
    // cancelled or the save did not happen, and the caller stops.
    bool confirmSaveChanges();
    // Asks, then ends the program's use of the document: false keeps the
    // program running.  Asks only while the window is shown, since closing
    // it asked already.
    bool confirmProgramEnd();
    // Closes the window without a question: the program ends, and
    // confirmProgramEnd() asked already.
    void closeForProgramEnd();

    // File commands.
    void startNewDocument();
    void newDocument();
    void chooseAndOpenFile();
    bool openDocumentFile(const QString &path);
    bool save();
    bool saveAs();
    void closeEditor();
    void openDroppedFiles(const QStringList &files);
    void previewReport();
    void printReport();
    void setUpPrinter();
    void exportPdf();

    // Edit commands.
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void updateEditCommands();

    // Formatting.
    void applyBold();
    void applyItalic();
    void applyUnderline();
    void applyAlignment(QAction *button);
    void applyBullets();
    void applyFontName(const QString &name);
    // Applies a size chosen in the size box (typed and confirmed, picked from
    // its list or stepped with its arrows); a text that is no size from 1 to
    // 1638 points is refused with a message, an empty one is let go.
    void applyFontSize(const QString &text);
    void chooseFont();

    // Ruler.
    void applyFirstIndent();
    void applyLeftIndent();
    void applyRightIndent();

    void showSelectionFormat();
    void showCaretPosition();
    void showModified(bool modified);
    void setDocumentName(const QString &name);
    void applyTextMargins();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void setUp();
    // The size box: Enter, and leaving it after typing.
    void fontSizeEntered();
    void fontSizeLeft();
    void showFontSize(int points);
    void onShown();
    void fillFontNames();
    void connectCommands();
    void showDocumentName(const QString &name);
    bool saveTo(const QString &path);
    void rememberDialogFolder(const QString &file);
    void mergeCurrentFormat(const QTextCharFormat &format);
    // Runs a change of indents with the markers held where the user left them.
    void holdingMarkers(const std::function<void()> &change);
    // The document's caret into the control, and the user's back.
    void pushCursor();
    void pullCursor();

    ReportEditorWidgets ui;
    EditorDocument *m_document;
    QPointer<ReportPrinter> m_report;
    QString m_startFile;
    bool m_startFileTried = false;
    QString m_dialogFolder;
    bool m_syncingToolbar = false;
    // Set while the window closes because the program ends.
    bool m_endAgreed = false;
    bool m_pushingCursor = false;
    // Set while a released ruler marker changes the indents: the markers stay
    // where the user left them until all of the release has been applied.
    bool m_applyingIndents = false;
};
