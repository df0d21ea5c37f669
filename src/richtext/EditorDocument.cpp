#include "richtext/EditorDocument.h"

#include "richtext/DocumentCopy.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QScopedValueRollback>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <cmath>

EditorDocument::EditorDocument(QObject *parent)
    : QObject(parent), m_document(new QTextDocument(this)), m_name(untitledName())
{
    // The editor window keeps the text off the control's edges itself.
    m_document->setDocumentMargin(0);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    m_document->setDefaultFont(font);
    m_document->clearUndoRedoStacks();
    m_document->setModified(false);
    m_cursor = QTextCursor(m_document);
    connect(m_document, &QTextDocument::modificationChanged, this, &EditorDocument::modifiedChanged);
}

EditorDocument::~EditorDocument() = default;

QString EditorDocument::untitledName()
{
    return QStringLiteral("Без имени");
}

void EditorDocument::setDocumentName(const QString &name)
{
    m_name = name;
    Q_EMIT documentNameChanged(m_name);
}

bool EditorDocument::isModified() const
{
    return m_document->isModified();
}

void EditorDocument::setModified(bool modified)
{
    m_document->setModified(modified);
}

void EditorDocument::newDocument()
{
    setDocumentName(untitledName());
    {
        const QScopedValueRollback<bool> changing(m_changing, true);
        // Without undo, so that nothing of the former document can come back.
        m_document->setUndoRedoEnabled(false);
        m_document->clear();
        m_document->setUndoRedoEnabled(true);
        m_document->setModified(false);
    }
    cursorToStart();
}

Result<> EditorDocument::loadDocumentFile(const QString &path)
{
    // The carets of the window ride along to the end of the new content.
    // Until they are back at its start the document has no page size, so
    // that the window, asking where they were, lays out nothing: restored,
    // the page size has the new content laid out from its start, in steps,
    // the first page first.
    const QSizeF pageSize = m_document->pageSize();
    m_document->setPageSize(QSizeF(0, 0));
    Result<> result;
    {
        const QScopedValueRollback<bool> changing(m_changing, true);
        result = DocumentFile::load(path, *m_document);
    }
    if (result.ok())
        cursorToStart();
    m_document->setPageSize(pageSize);
    return result;
}

void EditorDocument::replaceContent(const QTextDocument &source)
{
    {
        const QScopedValueRollback<bool> changing(m_changing, true);
        m_document->setUndoRedoEnabled(false);
        m_document->clear();
        // Pictures live in the source's resources, not in its text.
        DocumentCopy::copyPictures(source, *m_document);
        QTextCursor cursor(m_document);
        cursor.insertFragment(QTextDocumentFragment(&source));
        m_document->setUndoRedoEnabled(true);
        m_document->setModified(true);
    }
    cursorToStart();
}

Result<> EditorDocument::openDocumentFile(const QString &path)
{
    const Result<> result = loadDocumentFile(path);
    if (result.ok()) {
        setDocumentName(path);
        m_document->setModified(false);
    }
    return result;
}

Result<> EditorDocument::saveDocumentFile(const QString &path)
{
    const Result<> result = DocumentFile::save(path, *m_document);
    if (result.ok()) {
        setDocumentName(path);
        m_document->setModified(false);
    }
    return result;
}

bool EditorDocument::couldNotOpen(const Result<> &result)
{
    return !result.ok() && result.message() != DocumentFile::loadFailedText();
}

QString EditorDocument::documentText() const
{
    return m_document->toPlainText();
}

int EditorDocument::documentLength() const
{
    return m_document->characterCount() - 1;
}

int EditorDocument::findInDocument(const QString &text, int start, int length) const
{
    const int size = documentLength();
    if (text.isEmpty() || start < 0 || start > size)
        return -1;
    const int end = length < 0 ? size : int(std::min<qint64>(qint64(start) + length, size));
    const QTextCursor found = m_document->find(text, start, QTextDocument::FindCaseSensitively);
    if (found.isNull() || found.selectionEnd() > end)
        return -1;
    return found.selectionStart();
}

void EditorDocument::selectRange(int start, int length)
{
    const int size = documentLength();
    const int from = std::clamp(start, 0, size);
    const int to = int(std::clamp<qint64>(qint64(from) + std::max(length, 0), from, size));
    m_cursor.setPosition(from);
    m_cursor.setPosition(to, QTextCursor::KeepAnchor);
    Q_EMIT cursorChanged();
}

void EditorDocument::replaceSelection(const QString &text)
{
    QTextCharFormat format =
        m_cursor.hasSelection() ? characterFormatAt(m_cursor.selectionStart()) : m_cursor.charFormat();
    // The text of a replaced picture is text, not another picture.
    format.clearProperty(QTextFormat::ObjectType);
    {
        const QScopedValueRollback<bool> changing(m_changing, true);
        m_cursor.beginEditBlock();
        m_cursor.insertText(text, format);
        m_cursor.endEditBlock();
    }
    Q_EMIT cursorChanged();
}

void EditorDocument::insertPicture(const QImage &picture, const QSizeF &size, const QString &caption)
{
    // A name no picture of the document has yet.
    QUrl name;
    for (int n = 1;; ++n) {
        name = QUrl(QStringLiteral("insertedpicture:%1").arg(n));
        if (!m_document->resource(QTextDocument::ImageResource, name).isValid())
            break;
    }
    m_document->addResource(QTextDocument::ImageResource, name, picture);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(size.width());
    format.setHeight(size.height());
    {
        const QScopedValueRollback<bool> changing(m_changing, true);
        m_cursor.setPosition(m_cursor.selectionEnd());
        m_cursor.beginEditBlock();
        if (!m_cursor.atBlockStart())
            m_cursor.insertBlock();
        m_cursor.insertImage(format);
        if (!caption.isEmpty()) {
            QTextBlockFormat centred = m_cursor.blockFormat();
            centred.setAlignment(Qt::AlignHCenter);
            m_cursor.insertBlock(centred);
            m_cursor.insertText(caption);
        }
        if (!m_cursor.atBlockEnd()) {
            m_cursor.insertBlock();
            m_cursor.movePosition(QTextCursor::PreviousCharacter);
        }
        m_cursor.endEditBlock();
    }
    Q_EMIT cursorChanged();
}

int EditorDocument::selectionStart() const
{
    return m_cursor.selectionStart();
}

int EditorDocument::selectionLength() const
{
    return m_cursor.selectionEnd() - m_cursor.selectionStart();
}

void EditorDocument::setCursor(const QTextCursor &cursor)
{
    if (!m_changing && cursor.document() == m_document)
        m_cursor = cursor;
}

QFont EditorDocument::defaultFont() const
{
    return m_document->defaultFont();
}

QFont EditorDocument::currentFont() const
{
    const QTextCharFormat format =
        m_cursor.hasSelection() ? characterFormatAt(m_cursor.selectionStart()) : m_cursor.charFormat();
    return format.font().resolve(m_document->defaultFont());
}

void EditorDocument::mergeCurrentCharFormat(const QTextCharFormat &format)
{
    {
        const QScopedValueRollback<bool> changing(m_changing, true);
        m_cursor.mergeCharFormat(format);
    }
    Q_EMIT cursorChanged();
}

Qt::Alignment EditorDocument::alignment() const
{
    return m_cursor.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

void EditorDocument::setAlignment(Qt::Alignment alignment)
{
    changeParagraphs([alignment](QTextBlockFormat &format) { format.setAlignment(alignment); });
}

bool EditorDocument::hasBullets() const
{
    return m_cursor.currentList() != nullptr;
}

void EditorDocument::setBullets(bool on)
{
    QTextList *list = nullptr;
    forSelectedParagraphs([&](const QTextBlock &block) {
        QTextCursor paragraph(block);
        if (on && !block.textList()) {
            if (list) {
                list->add(block);
            } else {
                QTextListFormat bullets;
                bullets.setStyle(QTextListFormat::ListDisc);
                bullets.setIndent(0);
                list = paragraph.createList(bullets);
            }
        } else if (!on && block.textList()) {
            block.textList()->remove(block);
        }
        QTextBlockFormat format = block.blockFormat();
        if (on) {
            // The bullet stands left of the text, so all lines start together.
            const qreal left = format.leftMargin() + format.textIndent();
            format.setTextIndent(0);
            format.setLeftMargin(std::max(left, unitsFromPoints(BulletIndent)));
        } else {
            format.setLeftMargin(0);
        }
        paragraph.setBlockFormat(format);
    });
}

EditorDocument::Indents EditorDocument::indents() const
{
    const QTextBlockFormat format = m_cursor.blockFormat();
    const qreal left = format.leftMargin() + format.indent() * m_document->indentWidth();
    return Indents{pointsFromUnits(left + format.textIndent()), pointsFromUnits(-format.textIndent()),
                   pointsFromUnits(format.rightMargin())};
}

void EditorDocument::setFirstIndent(int points)
{
    const qreal first = unitsFromPoints(points);
    const qreal indentWidth = m_document->indentWidth();
    changeParagraphs([first, indentWidth](QTextBlockFormat &format) {
        setIndents(format, first, -format.textIndent(), indentWidth);
    });
}

void EditorDocument::setLeftIndent(int points)
{
    const qreal offset = unitsFromPoints(points);
    const qreal indentWidth = m_document->indentWidth();
    changeParagraphs([offset, indentWidth](QTextBlockFormat &format) {
        const qreal first = format.leftMargin() + format.indent() * indentWidth + format.textIndent();
        setIndents(format, first, offset, indentWidth);
    });
}

void EditorDocument::setRightIndent(int points)
{
    const qreal right = unitsFromPoints(points);
    changeParagraphs([right](QTextBlockFormat &format) {
        if (format.rightMargin() != right)
            format.setRightMargin(right);
    });
}

void EditorDocument::setIndents(QTextBlockFormat &format, qreal first, qreal offset, qreal indentWidth)
{
    // Unchanged indents stay as they are written, so that the paragraph is
    // not changed at all.
    const qreal left = format.leftMargin() + format.indent() * indentWidth;
    if (left + format.textIndent() == first && -format.textIndent() == offset)
        return;
    format.setIndent(0);
    format.setTextIndent(-offset);
    format.setLeftMargin(first + offset);
}

int EditorDocument::pointsFromUnits(qreal units)
{
    return int(std::lround(units * 0.75));
}

QTextCharFormat EditorDocument::characterFormatAt(int position) const
{
    const QTextBlock block = m_document->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position))
            return it.fragment().charFormat();
    }
    return block.charFormat();
}

void EditorDocument::changeParagraphs(const std::function<void(QTextBlockFormat &)> &change)
{
    forSelectedParagraphs([&change](const QTextBlock &block) {
        QTextBlockFormat format = block.blockFormat();
        change(format);
        // A paragraph that stays as it was is not a change of the document.
        if (format != block.blockFormat())
            QTextCursor(block).setBlockFormat(format);
    });
}

void EditorDocument::forSelectedParagraphs(const std::function<void(const QTextBlock &)> &change)
{
    {
        const QScopedValueRollback<bool> changing(m_changing, true);
        // One step to undo.
        QTextCursor group(m_document);
        group.beginEditBlock();
        const QTextBlock last = m_document->findBlock(m_cursor.selectionEnd());
        for (QTextBlock block = m_document->findBlock(m_cursor.selectionStart()); block.isValid();
             block = block.next()) {
            change(block);
            if (block == last)
                break;
        }
        group.endEditBlock();
    }
    Q_EMIT cursorChanged();
}

void EditorDocument::cursorToStart()
{
    m_cursor = QTextCursor(m_document);
    Q_EMIT cursorChanged();
}
