#include "editor/ReportEditor.h"

#include "editor/EditorRuler.h"
#include "editor/ReportTextEdit.h"
#include "editor/ReportPrinter.h"
#include "editor/StepArrows.h"
#include "model/ResourceLocator.h"
#include "reports/ReportPage.h"
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

ReportEditor::ReportEditor(QWidget *mainWindow) : QMainWindow(nullptr), m_document(new EditorDocument(this))
{
    ui.setupUi(this);
    resize(defaultSize(mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen()));
    // The main window closes this one as the program ends; closed last of
    // the two, it ends the program itself, so that none runs without a window.
    setAcceptDrops(true);
    ui.richEdit->setDocument(m_document->textDocument());
    ui.richEdit->setFont(m_document->defaultFont());
    connectCommands();
    setUp();
    if (mainWindow)
        move(mainWindow->geometry().center() - rect().center());
}

ReportEditor::~ReportEditor()
{
    // The size box losing the focus as the window goes must not call back
    // into a window half taken down.
    ui.fontSizeBox->lineEdit()->disconnect(this);
    // The control lets go of the document before the document goes.
    ui.richEdit->setDocument(nullptr);
}

void ReportEditor::connectCommands()
{
    connect(ui.newAction, &QAction::triggered, this, &ReportEditor::startNewDocument);
    connect(ui.openAction, &QAction::triggered, this, &ReportEditor::chooseAndOpenFile);
    connect(ui.saveAction, &QAction::triggered, this, [this] { save(); });
    connect(ui.saveAsAction, &QAction::triggered, this, [this] { saveAs(); });
    connect(ui.printerSetupAction, &QAction::triggered, this, &ReportEditor::setUpPrinter);
    connect(ui.previewAction, &QAction::triggered, this, &ReportEditor::previewReport);
    connect(ui.printAction, &QAction::triggered, this, &ReportEditor::printReport);
    connect(ui.exportPdfAction, &QAction::triggered, this, &ReportEditor::exportPdf);
    connect(ui.closeAction, &QAction::triggered, this, &ReportEditor::closeEditor);
    connect(ui.undoAction, &QAction::triggered, this, &ReportEditor::undo);
    connect(ui.redoAction, &QAction::triggered, this, &ReportEditor::redo);
    connect(ui.cutAction, &QAction::triggered, this, &ReportEditor::cut);
    connect(ui.copyAction, &QAction::triggered, this, &ReportEditor::copy);
    connect(ui.pasteAction, &QAction::triggered, this, &ReportEditor::paste);
    connect(ui.fontAction, &QAction::triggered, this, &ReportEditor::chooseFont);

    connect(ui.boldAction, &QAction::triggered, this, &ReportEditor::applyBold);
    connect(ui.italicAction, &QAction::triggered, this, &ReportEditor::applyItalic);
    connect(ui.underlineAction, &QAction::triggered, this, &ReportEditor::applyUnderline);
    connect(ui.alignmentGroup, &QActionGroup::triggered, this, &ReportEditor::applyAlignment);
    connect(ui.bulletsAction, &QAction::triggered, this, &ReportEditor::applyBullets);
    connect(ui.fontNameBox, &QComboBox::textActivated, this, &ReportEditor::applyFontName);
    // A size applies once it is chosen, never while it is being typed.
    connect(ui.fontSizeBox->lineEdit(), &QLineEdit::returnPressed, this, &ReportEditor::fontSizeEntered);
    connect(ui.fontSizeBox->lineEdit(), &QLineEdit::editingFinished, this, &ReportEditor::fontSizeLeft);
    connect(ui.fontSizeBox, &QComboBox::textActivated, this, [this](const QString &text) {
        const bool inTheBox = ui.fontSizeBox->hasFocus() || ui.fontSizeBox->lineEdit()->hasFocus();
        applyFontSize(text);
        // Back to the text after a choice from the list, not when the box
        // lost the focus to something else.
        if (inTheBox)
            ui.richEdit->setFocus();
    });
    connect(ui.fontSizeArrows, &StepArrows::stepped, this,
            [this](int points) { applyFontSize(QString::number(points)); });

    connect(ui.ruler, &EditorRuler::firstIndentReleased, this, &ReportEditor::applyFirstIndent);
    connect(ui.ruler, &EditorRuler::leftIndentReleased, this, &ReportEditor::applyLeftIndent);
    connect(ui.ruler, &EditorRuler::rightIndentReleased, this, &ReportEditor::applyRightIndent);
    connect(ui.ruler, &EditorRuler::resized, this, &ReportEditor::showSelectionFormat);

    connect(ui.richEdit, &QTextEdit::cursorPositionChanged, this, &ReportEditor::pullCursor);
    connect(ui.richEdit, &QTextEdit::selectionChanged, this, &ReportEditor::pullCursor);
    connect(ui.richEdit, &QTextEdit::copyAvailable, this, &ReportEditor::updateEditCommands);
    connect(ui.richEdit, &QTextEdit::undoAvailable, this, &ReportEditor::updateEditCommands);
    connect(ui.richEdit, &QTextEdit::redoAvailable, this, &ReportEditor::updateEditCommands);
    connect(ui.richEdit, &ReportTextEdit::filesDropped, this, &ReportEditor::openDroppedFiles);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &ReportEditor::updateEditCommands);

    connect(m_document, &EditorDocument::cursorChanged, this, &ReportEditor::pushCursor);
    connect(m_document, &EditorDocument::documentNameChanged, this, &ReportEditor::showDocumentName);
    connect(m_document, &EditorDocument::modifiedChanged, this, &ReportEditor::showModified);
    // Every change of the content.
    connect(m_document->textDocument(), &QTextDocument::contentsChanged, this,
            [this] { showModified(m_document->isModified()); });
}

void ReportEditor::setUp()
{
    m_dialogFolder = ResourceLocator::forApplication().defaultDocumentsDir();
    setDocumentName(EditorDocument::untitledName());
    fillFontNames();
    applyTextMargins();
    showSelectionFormat();
    updateEditCommands();
    showModified(m_document->isModified());
}

void ReportEditor::fillFontNames()
{
    QStringList names;
    for (const QString &family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            names << family;
    }
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    ui.fontNameBox->addItems(names);
}

void ReportEditor::setReportPrinter(ReportPrinter *printer)
{
    m_report = printer;
}

bool ReportEditor::acceptsLetterCommands(const QWidget *focus)
{
    for (const QWidget *w = focus; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (isTextField(w))
            return false;
    }
    return true;
}

QString ReportEditor::fileFilter()
{
    return QStringLiteral("Документы RTF (*.rtf *.RTF);;Текстовые файлы (*.txt *.TXT)");
}

QSize ReportEditor::defaultSize(const QScreen *screen)
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

bool ReportEditor::hasStartFile() const
{
    return !m_startFileTried && !m_startFile.isEmpty() && startFileProblem().isEmpty();
}

QString ReportEditor::startFileProblem() const
{
    if (m_startFile.isEmpty())
        return QString();
    return DocumentFile::checkReadable(m_startFile).message();
}

bool ReportEditor::hasUserChanges() const
{
    // Built, opened, saved and new documents start unmodified, so every
    // modification is the user's.
    return m_document->isModified();
}

bool ReportEditor::confirmReplace()
{
    if (!isVisible() || !hasUserChanges())
        return true;
    return confirmSaveChanges();
}

void ReportEditor::markBuiltDocument()
{
    QTextDocument *doc = m_document->textDocument();
    doc->clearUndoRedoStacks();
    // Nothing of the user's to lose yet: the report can be built again.  It
    // has no file, so saving asks for a name.
    doc->setModified(false);
    m_document->selectRange(0, 0);
    showModified(false);
    updateEditCommands();
}

void ReportEditor::showEditor()
{
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void ReportEditor::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        onShown();
}

void ReportEditor::onShown()
{
    showCaretPosition();
    showModified(m_document->isModified());
    ui.richEdit->setFocus();
    if (hasStartFile()) {
        m_startFileTried = true;
        // A report built before the window first showed stays.
        if (m_document->isUntitled() && !m_document->isModified() && m_document->documentLength() == 0)
            openDocumentFile(m_startFile);
    }
    m_startFileTried = true;
}

bool ReportEditor::confirmSaveChanges()
{
    if (!m_document->isModified())
        return true;
    // A save that did not happen (cancelled or failed) keeps the changes and
    // stops what was to follow.
    return Dialogs::instance().askToSave(
        this,
        QStringLiteral("Сохранить изменения в документе «%1»?").arg(QFileInfo(m_document->documentName()).fileName()),
        [this] { return save(); });
}

bool ReportEditor::confirmProgramEnd()
{
    return !isVisible() || confirmSaveChanges();
}

void ReportEditor::closeForProgramEnd()
{
    const QScopedValueRollback<bool> agreed(m_endAgreed, true);
    close();
}

void ReportEditor::startNewDocument()
{
    if (confirmSaveChanges())
        newDocument();
}

void ReportEditor::newDocument()
{
    m_document->newDocument();
    m_document->textDocument()->clearUndoRedoStacks();
    showModified(false);
    updateEditCommands();
    Q_EMIT documentReplaced();
}

void ReportEditor::chooseAndOpenFile()
{
    if (!confirmSaveChanges())
        return;
    const QString path =
        Dialogs::instance().openFileName(this, QStringLiteral("Открыть"), m_dialogFolder, fileFilter());
    if (path.isEmpty())
        return;
    if (openDocumentFile(path)) {
        ui.richEdit->setReadOnly(false);
        rememberDialogFolder(path);
    }
}

void ReportEditor::rememberDialogFolder(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (folder == m_dialogFolder)
        return;
    m_dialogFolder = folder;
    Q_EMIT dialogFolderChanged(folder);
}

bool ReportEditor::openDocumentFile(const QString &path)
{
    const Result<> result = m_document->openDocumentFile(path);
    if (!result.ok()) {
        Dialogs::instance().generalError(this, result.message());
        return false;
    }
    // Nothing of the former document can be brought back into this one.
    m_document->textDocument()->clearUndoRedoStacks();
    ui.richEdit->setFocus();
    showModified(false);
    updateEditCommands();
    Q_EMIT documentReplaced();
    return true;
}

bool ReportEditor::save()
{
    if (m_document->isUntitled())
        return saveAs();
    return saveTo(m_document->documentName());
}

bool ReportEditor::saveAs()
{
    const QString path =
        Dialogs::instance().saveFileName(this, QStringLiteral("Сохранить как"), m_dialogFolder, fileFilter());
    if (path.isEmpty())
        return false;
    if (!Dialogs::instance().confirmOverwrite(this, path))
        return false;
    if (!saveTo(path))
        return false;
    rememberDialogFolder(path);
    return true;
}

bool ReportEditor::saveTo(const QString &path)
{
    const Result<> result = m_document->saveDocumentFile(path);
    if (!result.ok()) {
        Dialogs::instance().generalError(this, result.message());
        return false;
    }
    showModified(false);
    return true;
}

void ReportEditor::closeEditor()
{
    close();
}

void ReportEditor::closeEvent(QCloseEvent *event)
{
    if (m_endAgreed || confirmSaveChanges())
        event->accept();
    else
        event->ignore();
}

void ReportEditor::openDroppedFiles(const QStringList &files)
{
    if (files.isEmpty() || !confirmSaveChanges())
        return;
    openDocumentFile(files.first());
}

void ReportEditor::dragEnterEvent(QDragEnterEvent *event)
{
    if (!ReportTextEdit::droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ReportEditor::dropEvent(QDropEvent *event)
{
    const QStringList files = ReportTextEdit::droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    openDroppedFiles(files);
}

void ReportEditor::previewReport()
{
    if (!m_report)
        return;
    setEnabled(false);
    const auto enableAgain = qScopeGuard([this] { setEnabled(true); });
    m_report->preview(this, *m_document->textDocument());
}

void ReportEditor::printReport()
{
    if (m_report)
        m_report->print(this, *m_document->textDocument());
}

void ReportEditor::setUpPrinter()
{
    if (m_report)
        m_report->printerSetup(this, *m_document->textDocument());
}

void ReportEditor::exportPdf()
{
    if (!m_report)
        return;
    const QString base =
        m_document->isUntitled() ? QStringLiteral("Отчёт") : QFileInfo(m_document->documentName()).completeBaseName();
    m_report->exportPdf(this, *m_document->textDocument(),
                        m_dialogFolder + QLatin1Char('/') + base + QStringLiteral(".pdf"));
}

void ReportEditor::undo()
{
    ui.richEdit->undo();
}

void ReportEditor::redo()
{
    ui.richEdit->redo();
}

void ReportEditor::cut()
{
    ui.richEdit->cut();
}

void ReportEditor::copy()
{
    ui.richEdit->copy();
}

void ReportEditor::paste()
{
    ui.richEdit->paste();
}

void ReportEditor::updateEditCommands()
{
    const bool selected = ui.richEdit->textCursor().hasSelection();
    ui.cutAction->setEnabled(selected);
    ui.copyAction->setEnabled(selected);
    ui.undoAction->setEnabled(m_document->textDocument()->isUndoAvailable());
    ui.redoAction->setEnabled(m_document->textDocument()->isRedoAvailable());
    ui.pasteAction->setEnabled(ui.richEdit->canPaste());
}

void ReportEditor::mergeCurrentFormat(const QTextCharFormat &format)
{
    m_document->mergeCurrentCharFormat(format);
}

void ReportEditor::applyBold()
{
    if (m_syncingToolbar)
        return;
    QTextCharFormat format;
    format.setFontWeight(ui.boldAction->isChecked() ? QFont::Bold : QFont::Normal);
    mergeCurrentFormat(format);
}

void ReportEditor::applyItalic()
{
    if (m_syncingToolbar)
        return;
    QTextCharFormat format;
    format.setFontItalic(ui.italicAction->isChecked());
    mergeCurrentFormat(format);
}

void ReportEditor::applyUnderline()
{
    if (m_syncingToolbar)
        return;
    QTextCharFormat format;
    format.setFontUnderline(ui.underlineAction->isChecked());
    mergeCurrentFormat(format);
}

void ReportEditor::applyAlignment(QAction *button)
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

void ReportEditor::applyBullets()
{
    if (m_syncingToolbar)
        return;
    m_document->setBullets(ui.bulletsAction->isChecked());
}

void ReportEditor::applyFontName(const QString &name)
{
    if (m_syncingToolbar)
        return;
    // A name typed that matches no installed typeface is not applied.
    const int index = ui.fontNameBox->findText(name, Qt::MatchFixedString);
    if (index < 0)
        return;
    QTextCharFormat format;
    format.setFontFamilies(QStringList{ui.fontNameBox->itemText(index)});
    mergeCurrentFormat(format);
}

void ReportEditor::applyFontSize(const QString &text)
{
    if (m_syncingToolbar)
        return;
    const QString typed = text.trimmed();
    bool ok = false;
    const int size = typed.toInt(&ok);
    if (typed.isEmpty() || !ok || size < 1 || size > kMaxFontSize) {
        // The box shows the size of the text again.
        showSelectionFormat();
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

void ReportEditor::fontSizeEntered()
{
    // Only a size the user typed: Enter on the size shown changes nothing.
    QLineEdit *box = ui.fontSizeBox->lineEdit();
    if (!box->isModified())
        return;
    box->setModified(false);
    const QString text = box->text();
    applyFontSize(text);
    if (!text.trimmed().isEmpty())
        ui.richEdit->setFocus();
}

void ReportEditor::fontSizeLeft()
{
    // The box may also lose the focus untouched.
    QLineEdit *box = ui.fontSizeBox->lineEdit();
    if (!box->isModified())
        return;
    box->setModified(false);
    applyFontSize(box->text());
}

void ReportEditor::showFontSize(int points)
{
    const QScopedValueRollback<bool> syncing(m_syncingToolbar, true);
    const QString text = QString::number(points);
    // The entry of the list when there is one, so that the box never takes
    // the text for a new choice from its list.
    const int index = ui.fontSizeBox->findText(text);
    ui.fontSizeBox->setCurrentIndex(index);
    ui.fontSizeBox->setEditText(text);
    ui.fontSizeBox->lineEdit()->setModified(false);
}

void ReportEditor::chooseFont()
{
    QFontDialog dialog(m_document->currentFont(), this);
    dialog.setWindowTitle(QStringLiteral("Шрифт"));
    if (Dialogs::instance().execDialog(&dialog) == QDialog::Accepted) {
        QTextCharFormat format;
        format.setFont(dialog.currentFont());
        mergeCurrentFormat(format);
    }
    showSelectionFormat();
    ui.richEdit->setFocus();
}

void ReportEditor::applyFirstIndent()
{
    holdingMarkers([this] { m_document->setFirstIndent(ui.ruler->firstIndentAtMarker()); });
    // The following lines keep their place on the ruler.
    applyLeftIndent();
}

void ReportEditor::applyLeftIndent()
{
    holdingMarkers([this] { m_document->setLeftIndent(ui.ruler->leftIndentAtMarker(m_document->indents().first)); });
    showSelectionFormat();
}

void ReportEditor::applyRightIndent()
{
    holdingMarkers([this] { m_document->setRightIndent(ui.ruler->rightIndentAtMarker()); });
    showSelectionFormat();
}

void ReportEditor::holdingMarkers(const std::function<void()> &change)
{
    const QScopedValueRollback<bool> holding(m_applyingIndents, true);
    change();
}

void ReportEditor::showSelectionFormat()
{
    const QScopedValueRollback<bool> syncing(m_syncingToolbar, true);
    ui.ruler->placeMarkers(m_document->indents());
    const QFont font = m_document->currentFont();
    ui.boldAction->setChecked(font.bold());
    ui.italicAction->setChecked(font.italic());
    ui.underlineAction->setChecked(font.underline());
    ui.bulletsAction->setChecked(m_document->hasBullets());
    showFontSize(pointSizeOf(font));
    const QString family = font.family();
    ui.fontNameBox->setCurrentIndex(ui.fontNameBox->findText(family, Qt::MatchFixedString));
    ui.fontNameBox->setEditText(family);
    const Qt::Alignment alignment = m_document->alignment();
    if (alignment & Qt::AlignHCenter)
        ui.alignCenterAction->setChecked(true);
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        ui.alignRightAction->setChecked(true);
    else if (!(alignment & Qt::AlignJustify))
        ui.alignLeftAction->setChecked(true);
    showCaretPosition();
}

void ReportEditor::showCaretPosition()
{
    // Lines as they are laid out in the window, wrapped lines counted.
    const QTextCursor cursor = ui.richEdit->textCursor();
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
    ui.statusPanels[0]->setText(QString::asprintf("Ст: %3d   Кол: %3d", line + 1, position - lineStart + 1));
}

void ReportEditor::showModified(bool modified)
{
    ui.statusPanels[1]->setText(modified ? QStringLiteral("Изменён") : QString());
}

void ReportEditor::setDocumentName(const QString &name)
{
    m_document->setDocumentName(name);
}

void ReportEditor::showDocumentName(const QString &name)
{
    setWindowTitle(QStringLiteral("%1 - %2").arg(QFileInfo(name).fileName(), Dialogs::applicationTitle()));
}

void ReportEditor::applyTextMargins()
{
    ui.richEdit->setTextMargins(EditorRuler::Gutter, EditorRuler::Gutter);
}

void ReportEditor::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyTextMargins();
    showSelectionFormat();
}

void ReportEditor::pushCursor()
{
    {
        const QScopedValueRollback<bool> pushing(m_pushingCursor, true);
        ui.richEdit->setTextCursor(m_document->cursor());
    }
    if (!m_applyingIndents)
        showSelectionFormat();
    updateEditCommands();
}

void ReportEditor::pullCursor()
{
    if (m_pushingCursor)
        return;
    m_document->setCursor(ui.richEdit->textCursor());
    showSelectionFormat();
    updateEditCommands();
}
