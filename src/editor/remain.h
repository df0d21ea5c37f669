#pragma once

#include "editor/TFormEditorUi.h"
#include "richtext/EditorDocument.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QScreen;
class TFormReport;

// The report editor: a rich-text editor window with file and edit menus, a
// formatting toolbar, a ruler for the paragraph indents and a status bar.
// Reports are built in its document (document()) and then shown with
// ShowEditor(); from here the user edits, saves, previews and prints them.
// Created once at start-up; closing it only hides it.
class TFormEditor : public QMainWindow
{
    Q_OBJECT

public:
    // The window opens centred over mainWindow, which does not own it.
    explicit TFormEditor(QWidget *mainWindow = nullptr);
    ~TFormEditor() override;

    EditorDocument &document() { return *m_document; }
    const TFormEditorUi &widgets() const { return ui; }

    // Where preview, printing and the PDF export lay the document out.
    void setReportForm(TFormReport *form);
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

    // The folder the open and save dialogs start in: the executable's folder
    // unless set; a file opened or saved through them makes its folder the
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

public Q_SLOTS:
    // Shows the window, not modal, and brings it to the front.
    void ShowEditor();

    // Asks whether to save a modified document; false when the user
    // cancelled or the save did not happen, and the caller stops.
    bool ConfirmSaveChanges();
    // Asks, then ends the program's use of the document: false keeps the
    // program running.  Asks only while the window is shown, since closing
    // it asked already.
    bool confirmProgramEnd();

    // File commands.
    void FileNewCmdExecute();
    void FileNew();
    void FileOpen();
    bool OpenDocumentFile(const QString &path);
    bool FileSave();
    bool FileSaveAs();
    void FileExit();
    void FilesDropped(const QStringList &files);
    void FilePrintPreviewCmdExecute();
    void FilePrint();
    void FilePrinterSetupExecute();
    void FileExportPdfExecute();

    // Edit commands.
    void EditUndo();
    void EditRedo();
    void EditCut();
    void EditCopy();
    void EditPaste();
    void ActionList2Update();

    // Formatting.
    void BoldButtonClick();
    void ItalicButtonClick();
    void UnderlineButtonClick();
    void AlignButtonClick(QAction *button);
    void BulletsButtonClick();
    void FontNameChange(const QString &name);
    // Applies a size chosen in the size box (typed and confirmed, picked from
    // its list or stepped with its arrows); a text that is no size from 1 to
    // 1638 points is refused with a message, an empty one is let go.
    void FontSizeChange(const QString &text);
    void SelectFont();

    // Ruler.
    void FirstIndMouseUp();
    void LeftIndMouseUp();
    void RightIndMouseUp();

    void SelectionChange();
    void ShowCaretPosition();
    void SetModified(bool modified);
    void SetDocumentName(const QString &name);
    void SetTextMargins();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void FormCreate();
    // The size box: Enter, and leaving it after typing.
    void fontSizeEntered();
    void fontSizeLeft();
    void showFontSize(int points);
    void FormShow();
    void FillFontNames();
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

    TFormEditorUi ui;
    EditorDocument *m_document;
    QPointer<TFormReport> m_report;
    QString m_startFile;
    bool m_startFileTried = false;
    QString m_dialogFolder;
    bool m_syncingToolbar = false;
    bool m_pushingCursor = false;
    // Set while a released ruler marker changes the indents: the markers stay
    // where the user left them until all of the release has been applied.
    bool m_applyingIndents = false;
};
