#include "editor/remain.h"

#include "editor/EditorRuler.h"
#include "editor/RichEditControl.h"
#include "editor/TFormReport.h"
#include "editor/UpDown.h"
#include "reports/ReportUnit.h"
#include "richtext/DocumentFile.h"
#include "ui/Dialogs.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>

namespace {

// Larger sizes are not applied: no printer or screen has use for them.
constexpr int kMaxFontSize = 1638;

int pointSizeOf(const QFont &font)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    // A size in pixels of the document, 96 to the inch.
    return qRound(font.pixelSize() * 0.75);
}

bool isTextField(const QWidget *widget)
{
    if (qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget)
        || qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget))
        return true;
    const auto *combo = qobject_cast<const QComboBox *>(widget);
    return combo && combo->isEditable();
}

} // namespace

TFormEditor::TFormEditor(QWidget *mainWindow) : QMainWindow(nullptr), m_document(new EditorDocument(this))
{
    ui.setupUi(this);
    resize(defaultSize(mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen()));
    // The program ends with the main window, whether this one is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAcceptDrops(true);
    ui.Editor->setDocument(m_document->textDocument());
    ui.Editor->setFont(m_document->defaultFont());
    connectCommands();
    FormCreate();
    if (mainWindow)
        move(mainWindow->geometry().center() - rect().center());
}

TFormEditor::~TFormEditor()
{
    // The control lets go of the document before the document goes.
    ui.Editor->setDocument(nullptr);
}

void TFormEditor::connectCommands()
{
    connect(ui.FileNewCmd, &QAction::triggered, this, &TFormEditor::FileNewCmdExecute);
    connect(ui.FileOpenCmd, &QAction::triggered, this, &TFormEditor::FileOpen);
    connect(ui.FileSaveCmd, &QAction::triggered, this, [this] { FileSave(); });
    connect(ui.FileSaveAsCmd, &QAction::triggered, this, [this] { FileSaveAs(); });
    connect(ui.FilePrinterSetup, &QAction::triggered, this, &TFormEditor::FilePrinterSetupExecute);
    connect(ui.FilePrintPreviewCmd, &QAction::triggered, this, &TFormEditor::FilePrintPreviewCmdExecute);
    connect(ui.FilePrintCmd, &QAction::triggered, this, &TFormEditor::FilePrint);
    connect(ui.FileExportPdfCmd, &QAction::triggered, this, &TFormEditor::FileExportPdfExecute);
    connect(ui.FileExitCmd, &QAction::triggered, this, &TFormEditor::FileExit);
    connect(ui.EditUndoCmd, &QAction::triggered, this, &TFormEditor::EditUndo);
    connect(ui.EditRedoCmd, &QAction::triggered, this, &TFormEditor::EditRedo);
    connect(ui.EditCutCmd, &QAction::triggered, this, &TFormEditor::EditCut);
    connect(ui.EditCopyCmd, &QAction::triggered, this, &TFormEditor::EditCopy);
    connect(ui.EditPasteCmd, &QAction::triggered, this, &TFormEditor::EditPaste);
    connect(ui.EditFontCmd, &QAction::triggered, this, &TFormEditor::SelectFont);

    connect(ui.BoldButton, &QAction::triggered, this, &TFormEditor::BoldButtonClick);
    connect(ui.ItalicButton, &QAction::triggered, this, &TFormEditor::ItalicButtonClick);
    connect(ui.UnderlineButton, &QAction::triggered, this, &TFormEditor::UnderlineButtonClick);
    connect(ui.AlignGroup, &QActionGroup::triggered, this, &TFormEditor::AlignButtonClick);
    connect(ui.BulletsButton, &QAction::triggered, this, &TFormEditor::BulletsButtonClick);
    connect(ui.FontName, &QComboBox::textActivated, this, &TFormEditor::FontNameChange);
    // A size applies once it is chosen, never while it is being typed.
    connect(ui.FontSize->lineEdit(), &QLineEdit::returnPressed, this, &TFormEditor::fontSizeEntered);
    connect(ui.FontSize->lineEdit(), &QLineEdit::editingFinished, this, &TFormEditor::fontSizeLeft);
    connect(ui.FontSize, &QComboBox::textActivated, this, [this](const QString &text) {
        const bool inTheBox = ui.FontSize->hasFocus() || ui.FontSize->lineEdit()->hasFocus();
        FontSizeChange(text);
        // Back to the text after a choice from the list, not when the box
        // lost the focus to something else.
        if (inTheBox)
            ui.Editor->setFocus();
    });
    connect(ui.UpDown1, &UpDown::stepped, this, [this](int points) { FontSizeChange(QString::number(points)); });

    connect(ui.Ruler, &EditorRuler::firstIndentReleased, this, &TFormEditor::FirstIndMouseUp);
    connect(ui.Ruler, &EditorRuler::leftIndentReleased, this, &TFormEditor::LeftIndMouseUp);
    connect(ui.Ruler, &EditorRuler::rightIndentReleased, this, &TFormEditor::RightIndMouseUp);
    connect(ui.Ruler, &EditorRuler::resized, this, &TFormEditor::SelectionChange);

    connect(ui.Editor, &QTextEdit::cursorPositionChanged, this, &TFormEditor::pullCursor);
    connect(ui.Editor, &QTextEdit::selectionChanged, this, &TFormEditor::pullCursor);
    connect(ui.Editor, &QTextEdit::copyAvailable, this, &TFormEditor::ActionList2Update);
    connect(ui.Editor, &QTextEdit::undoAvailable, this, &TFormEditor::ActionList2Update);
    connect(ui.Editor, &QTextEdit::redoAvailable, this, &TFormEditor::ActionList2Update);
    connect(ui.Editor, &RichEditControl::filesDropped, this, &TFormEditor::FilesDropped);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TFormEditor::ActionList2Update);

    connect(m_document, &EditorDocument::cursorChanged, this, &TFormEditor::pushCursor);
    connect(m_document, &EditorDocument::documentNameChanged, this, &TFormEditor::showDocumentName);
    connect(m_document, &EditorDocument::modifiedChanged, this, &TFormEditor::SetModified);
    // Every change of the content.
    connect(m_document->textDocument(), &QTextDocument::contentsChanged, this,
            [this] { SetModified(m_document->isModified()); });
}

void TFormEditor::FormCreate()
{
    m_dialogFolder = QCoreApplication::applicationDirPath();
    SetDocumentName(EditorDocument::untitledName());
    FillFontNames();
    SetTextMargins();
    SelectionChange();
    ActionList2Update();
    SetModified(m_document->isModified());
}

void TFormEditor::FillFontNames()
{
    QStringList names;
    for (const QString &family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            names << family;
    }
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    ui.FontName->addItems(names);
}

void TFormEditor::setReportForm(TFormReport *form)
{
    m_report = form;
}

bool TFormEditor::acceptsLetterCommands(const QWidget *focus)
{
    for (const QWidget *w = focus; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (isTextField(w))
            return false;
    }
    return true;
}

QString TFormEditor::fileFilter()
{
    return QStringLiteral("Rich Text Files (*.RTF *.rtf);;Text Files (*.TXT *.txt)");
}

QSize TFormEditor::defaultSize(const QScreen *screen)
{
    const qreal dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    const int text = qCeil(ReportPage::TextWidth / 25.4 * dpi);
    const int scrollBar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The text, its gutters, the scroll bar and a little room on either side.
    QSize size(text + 2 * EditorRuler::Gutter + scrollBar + 24, 640);
    if (screen) {
        const QSize room = screen->availableGeometry().size() * 0.95;
        size = size.boundedTo(room);
    }
    return size;
}

bool TFormEditor::hasStartFile() const
{
    return !m_startFileTried && !m_startFile.isEmpty() && startFileProblem().isEmpty();
}

QString TFormEditor::startFileProblem() const
{
    if (m_startFile.isEmpty())
        return QString();
    return DocumentFile::checkReadable(m_startFile).message;
}

bool TFormEditor::hasUserChanges() const
{
    // The history starts afresh with every built, opened or new document, so
    // whatever can be undone is the user's.
    return m_document->isModified() && m_document->textDocument()->availableUndoSteps() > 0;
}

bool TFormEditor::confirmReplace()
{
    if (!isVisible() || !hasUserChanges())
        return true;
    return ConfirmSaveChanges();
}

void TFormEditor::markBuiltDocument()
{
    QTextDocument *doc = m_document->textDocument();
    doc->clearUndoRedoStacks();
    // Unsaved: saving asks for a name.
    doc->setModified(true);
    m_document->SelectRange(0, 0);
    SetModified(true);
    ActionList2Update();
}

void TFormEditor::ShowEditor()
{
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TFormEditor::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormEditor::FormShow()
{
    ShowCaretPosition();
    SetModified(m_document->isModified());
    ui.Editor->setFocus();
    if (hasStartFile()) {
        m_startFileTried = true;
        // A report built before the window first showed stays.
        if (m_document->isUntitled() && !m_document->isModified() && m_document->documentLength() == 0)
            OpenDocumentFile(m_startFile);
    }
    m_startFileTried = true;
}

bool TFormEditor::ConfirmSaveChanges()
{
    if (!m_document->isModified())
        return true;
    const QMessageBox::StandardButton answer = Dialogs::instance().question(
        this, QStringLiteral("Сохранить изменения в %1?").arg(m_document->documentName()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    switch (answer) {
    case QMessageBox::Yes:
        // A save that did not happen (cancelled or failed) keeps the changes
        // and stops what was to follow.
        return FileSave();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

bool TFormEditor::confirmProgramEnd()
{
    return !isVisible() || ConfirmSaveChanges();
}

void TFormEditor::FileNewCmdExecute()
{
    if (ConfirmSaveChanges())
        FileNew();
}

void TFormEditor::FileNew()
{
    m_document->FileNew();
    m_document->textDocument()->clearUndoRedoStacks();
    SetModified(false);
    ActionList2Update();
}

void TFormEditor::FileOpen()
{
    if (!ConfirmSaveChanges())
        return;
    const QString path = Dialogs::instance().openFileName(this, QStringLiteral("Открыть"), m_dialogFolder, fileFilter());
    if (path.isEmpty())
        return;
    if (OpenDocumentFile(path)) {
        ui.Editor->setReadOnly(false);
        rememberDialogFolder(path);
    }
}

void TFormEditor::rememberDialogFolder(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (folder == m_dialogFolder)
        return;
    m_dialogFolder = folder;
    Q_EMIT dialogFolderChanged(folder);
}

bool TFormEditor::OpenDocumentFile(const QString &path)
{
    const DocumentFile::Result result = m_document->OpenDocumentFile(path);
    if (!result.ok) {
        Dialogs::instance().generalError(this, result.message);
        return false;
    }
    // Nothing of the former document can be brought back into this one.
    m_document->textDocument()->clearUndoRedoStacks();
    ui.Editor->setFocus();
    SetModified(false);
    ActionList2Update();
    return true;
}

bool TFormEditor::FileSave()
{
    if (m_document->isUntitled())
        return FileSaveAs();
    return saveTo(m_document->documentName());
}

bool TFormEditor::FileSaveAs()
{
    const QString path
        = Dialogs::instance().saveFileName(this, QStringLiteral("Сохранить как"), m_dialogFolder, fileFilter());
    if (path.isEmpty())
        return false;
    if (!Dialogs::instance().confirmOverwrite(this, path))
        return false;
    if (!saveTo(path))
        return false;
    rememberDialogFolder(path);
    return true;
}

bool TFormEditor::saveTo(const QString &path)
{
    const DocumentFile::Result result = m_document->SaveDocumentFile(path);
    if (!result.ok) {
        Dialogs::instance().generalError(this, result.message);
        return false;
    }
    SetModified(false);
    return true;
}

void TFormEditor::FileExit()
{
    close();
}

void TFormEditor::closeEvent(QCloseEvent *event)
{
    if (ConfirmSaveChanges())
        event->accept();
    else
        event->ignore();
}

void TFormEditor::FilesDropped(const QStringList &files)
{
    if (files.isEmpty() || !ConfirmSaveChanges())
        return;
    OpenDocumentFile(files.first());
}

void TFormEditor::dragEnterEvent(QDragEnterEvent *event)
{
    if (!RichEditControl::droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TFormEditor::dropEvent(QDropEvent *event)
{
    const QStringList files = RichEditControl::droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    FilesDropped(files);
}

void TFormEditor::FilePrintPreviewCmdExecute()
{
    if (!m_report)
        return;
    setEnabled(false);
    const auto enableAgain = qScopeGuard([this] { setEnabled(true); });
    m_report->preview(this, *m_document->textDocument());
}

void TFormEditor::FilePrint()
{
    if (m_report)
        m_report->print(this, *m_document->textDocument());
}

void TFormEditor::FilePrinterSetupExecute()
{
    if (m_report)
        m_report->printerSetup(this, *m_document->textDocument());
}

void TFormEditor::FileExportPdfExecute()
{
    if (!m_report)
        return;
    const QString base = m_document->isUntitled() ? QStringLiteral("Отчёт")
                                                  : QFileInfo(m_document->documentName()).completeBaseName();
    m_report->exportPdf(this, *m_document->textDocument(), m_dialogFolder + QLatin1Char('/') + base + QStringLiteral(".pdf"));
}

void TFormEditor::EditUndo()
{
    ui.Editor->undo();
}

void TFormEditor::EditRedo()
{
    ui.Editor->redo();
}

void TFormEditor::EditCut()
{
    ui.Editor->cut();
}

void TFormEditor::EditCopy()
{
    ui.Editor->copy();
}

void TFormEditor::EditPaste()
{
    ui.Editor->paste();
}

void TFormEditor::ActionList2Update()
{
    const bool selected = ui.Editor->textCursor().hasSelection();
    ui.EditCutCmd->setEnabled(selected);
    ui.EditCopyCmd->setEnabled(selected);
    ui.EditUndoCmd->setEnabled(m_document->textDocument()->isUndoAvailable());
    ui.EditRedoCmd->setEnabled(m_document->textDocument()->isRedoAvailable());
    ui.EditPasteCmd->setEnabled(ui.Editor->canPaste());
}

void TFormEditor::mergeCurrentFormat(const QTextCharFormat &format)
{
    m_document->mergeCurrentCharFormat(format);
}

void TFormEditor::BoldButtonClick()
{
    if (m_syncingToolbar)
        return;
    QTextCharFormat format;
    format.setFontWeight(ui.BoldButton->isChecked() ? QFont::Bold : QFont::Normal);
    mergeCurrentFormat(format);
}

void TFormEditor::ItalicButtonClick()
{
    if (m_syncingToolbar)
        return;
    QTextCharFormat format;
    format.setFontItalic(ui.ItalicButton->isChecked());
    mergeCurrentFormat(format);
}

void TFormEditor::UnderlineButtonClick()
{
    if (m_syncingToolbar)
        return;
    QTextCharFormat format;
    format.setFontUnderline(ui.UnderlineButton->isChecked());
    mergeCurrentFormat(format);
}

void TFormEditor::AlignButtonClick(QAction *button)
{
    if (m_syncingToolbar)
        return;
    switch (button->data().toInt()) {
    case 1:
        m_document->setAlignment(Qt::AlignRight);
        break;
    case 2:
        m_document->setAlignment(Qt::AlignHCenter);
        break;
    default:
        m_document->setAlignment(Qt::AlignLeft);
        break;
    }
}

void TFormEditor::BulletsButtonClick()
{
    if (m_syncingToolbar)
        return;
    m_document->setBullets(ui.BulletsButton->isChecked());
}

void TFormEditor::FontNameChange(const QString &name)
{
    if (m_syncingToolbar)
        return;
    // A name typed that matches no installed typeface is not applied.
    const int index = ui.FontName->findText(name, Qt::MatchFixedString);
    if (index < 0)
        return;
    QTextCharFormat format;
    format.setFontFamilies(QStringList{ui.FontName->itemText(index)});
    mergeCurrentFormat(format);
}

void TFormEditor::FontSizeChange(const QString &text)
{
    if (m_syncingToolbar)
        return;
    const QString typed = text.trimmed();
    bool ok = false;
    const int size = typed.toInt(&ok);
    if (typed.isEmpty() || !ok || size < 1 || size > kMaxFontSize) {
        // The box shows the size of the text again.
        SelectionChange();
        if (!typed.isEmpty())
            Dialogs::instance().message(
                this, QStringLiteral("Размер шрифта — целое число пунктов от 1 до %1.").arg(kMaxFontSize));
        return;
    }
    QTextCharFormat format;
    format.setFontPointSize(size);
    mergeCurrentFormat(format);
    // The box holds what was applied, so that leaving it applies nothing more.
    showFontSize(size);
}

void TFormEditor::fontSizeEntered()
{
    // Only a size the user typed: Enter on the size shown changes nothing.
    QLineEdit *box = ui.FontSize->lineEdit();
    if (!box->isModified())
        return;
    box->setModified(false);
    const QString text = box->text();
    FontSizeChange(text);
    if (!text.trimmed().isEmpty())
        ui.Editor->setFocus();
}

void TFormEditor::fontSizeLeft()
{
    // The box may also lose the focus untouched.
    QLineEdit *box = ui.FontSize->lineEdit();
    if (!box->isModified())
        return;
    box->setModified(false);
    FontSizeChange(box->text());
}

void TFormEditor::showFontSize(int points)
{
    const QScopedValueRollback<bool> syncing(m_syncingToolbar, true);
    const QString text = QString::number(points);
    // The entry of the list when there is one, so that the box never takes
    // the text for a new choice from its list.
    const int index = ui.FontSize->findText(text);
    ui.FontSize->setCurrentIndex(index);
    ui.FontSize->setEditText(text);
    ui.FontSize->lineEdit()->setModified(false);
}

void TFormEditor::SelectFont()
{
    QFontDialog dialog(m_document->currentFont(), this);
    dialog.setWindowTitle(QStringLiteral("Шрифт"));
    if (Dialogs::instance().execDialog(&dialog) == QDialog::Accepted) {
        QTextCharFormat format;
        format.setFont(dialog.currentFont());
        mergeCurrentFormat(format);
    }
    SelectionChange();
    ui.Editor->setFocus();
}

void TFormEditor::FirstIndMouseUp()
{
    holdingMarkers([this] { m_document->setFirstIndent(ui.Ruler->firstIndentAtMarker()); });
    // The following lines keep their place on the ruler.
    LeftIndMouseUp();
}

void TFormEditor::LeftIndMouseUp()
{
    holdingMarkers([this] { m_document->setLeftIndent(ui.Ruler->leftIndentAtMarker(m_document->indents().first)); });
    SelectionChange();
}

void TFormEditor::RightIndMouseUp()
{
    holdingMarkers([this] { m_document->setRightIndent(ui.Ruler->rightIndentAtMarker()); });
    SelectionChange();
}

void TFormEditor::holdingMarkers(const std::function<void()> &change)
{
    const QScopedValueRollback<bool> holding(m_applyingIndents, true);
    change();
}

void TFormEditor::SelectionChange()
{
    const QScopedValueRollback<bool> syncing(m_syncingToolbar, true);
    ui.Ruler->placeMarkers(m_document->indents());
    const QFont font = m_document->currentFont();
    ui.BoldButton->setChecked(font.bold());
    ui.ItalicButton->setChecked(font.italic());
    ui.UnderlineButton->setChecked(font.underline());
    ui.BulletsButton->setChecked(m_document->hasBullets());
    showFontSize(pointSizeOf(font));
    const QString family = font.family();
    ui.FontName->setCurrentIndex(ui.FontName->findText(family, Qt::MatchFixedString));
    ui.FontName->setEditText(family);
    const Qt::Alignment alignment = m_document->alignment();
    if (alignment & Qt::AlignHCenter)
        ui.CenterAlign->setChecked(true);
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        ui.RightAlign->setChecked(true);
    else if (!(alignment & Qt::AlignJustify))
        ui.LeftAlign->setChecked(true);
    ShowCaretPosition();
}

void TFormEditor::ShowCaretPosition()
{
    // Lines as they are laid out in the window, wrapped lines counted.
    const QTextCursor cursor = ui.Editor->textCursor();
    const int position = cursor.selectionStart();
    const QTextDocument *doc = m_document->textDocument();
    const QTextBlock block = doc->findBlock(position);
    int line = 0;
    for (QTextBlock b = doc->begin(); b.isValid() && b != block; b = b.next())
        line += std::max(1, b.layout() ? b.layout()->lineCount() : 1);
    int lineStart = block.position();
    if (const QTextLayout *layout = block.layout()) {
        const QTextLine textLine = layout->lineForTextPosition(position - block.position());
        if (textLine.isValid()) {
            line += textLine.lineNumber();
            lineStart += textLine.textStart();
        }
    }
    ui.StatusPanel[0]->setText(QString::asprintf("Ст: %3d   Кол: %3d", line + 1, position - lineStart + 1));
}

void TFormEditor::SetModified(bool modified)
{
    ui.StatusPanel[1]->setText(modified ? QStringLiteral("Изменён") : QString());
}

void TFormEditor::SetDocumentName(const QString &name)
{
    m_document->setDocumentName(name);
}

void TFormEditor::showDocumentName(const QString &name)
{
    setWindowTitle(QStringLiteral("%1 - %2").arg(QFileInfo(name).fileName(), Dialogs::applicationTitle()));
}

void TFormEditor::SetTextMargins()
{
    ui.Editor->setTextMargins(EditorRuler::Gutter, EditorRuler::Gutter);
}

void TFormEditor::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    SetTextMargins();
    SelectionChange();
}

void TFormEditor::pushCursor()
{
    {
        const QScopedValueRollback<bool> pushing(m_pushingCursor, true);
        ui.Editor->setTextCursor(m_document->cursor());
    }
    if (!m_applyingIndents)
        SelectionChange();
    ActionList2Update();
}

void TFormEditor::pullCursor()
{
    if (m_pushingCursor)
        return;
    m_document->setCursor(ui.Editor->textCursor());
    SelectionChange();
    ActionList2Update();
}
