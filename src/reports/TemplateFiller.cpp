#include "reports/TemplateFiller.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>
#include <QTextDocument>

#include <algorithm>

int TemplateFiller::find(const QString &text, int from) const
{
    if (text.isEmpty())
        return -1;
    const QTextCursor found = m_document.find(text, from, QTextDocument::FindCaseSensitively);
    return found.isNull() ? -1 : found.selectionStart();
}

void TemplateFiller::ReplaceTag(const QString &tag, const QString &value)
{
    if (m_recording) {
        if (!m_tags.contains(tag))
            m_tags << tag;
        return;
    }
    int position = find(tag);
    while (position >= 0) {
        replaceAt(position, int(tag.size()), value);
        position = find(tag, position + int(value.size()));
    }
}

void TemplateFiller::replaceOptionalTag(const QString &tag, const QString &value)
{
    if (!m_recording)
        ReplaceTag(tag, value);
}

void TemplateFiller::replaceAt(int position, int length, const QString &value)
{
    QTextCursor at(&m_document);
    at.setPosition(position + 1);
    const QTextCharFormat format = at.charFormat(); // the tag's first character
    QTextCursor cursor(&m_document);
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    cursor.insertText(value, format);
}

void TemplateFiller::ReplaceTags(const QVector<QPair<QString, QString>> &tagsAndValues)
{
    if (m_recording) {
        for (const auto &[tag, value] : tagsAndValues)
            ReplaceTag(tag, value);
        return;
    }
    // Every occurrence first, then the replacements from the last one back,
    // so that the positions still to replace stay where they were found.
    struct Occurrence
    {
        int position;
        int length;
        const QString *value;
    };
    QVector<Occurrence> found;
    for (const auto &[tag, value] : tagsAndValues) {
        for (int at = find(tag); at >= 0; at = find(tag, at + int(tag.size())))
            found.append({at, int(tag.size()), &value});
    }
    std::sort(found.begin(), found.end(),
              [](const Occurrence &a, const Occurrence &b) { return a.position > b.position; });
    for (const Occurrence &o : found)
        replaceAt(o.position, o.length, *o.value);
}

void TemplateFiller::removeRange(int start, int length)
{
    QTextCursor cursor(&m_document);
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

namespace {

// Whether a paragraph end between two paragraphs may go: not between the
// cells of a table or across the edge of a frame.
bool joinable(const QTextBlock &upper, const QTextBlock &lower)
{
    const QTextCursor top(upper);
    const QTextCursor bottom(lower);
    return upper.isValid() && lower.isValid() && !top.currentTable() && !bottom.currentTable()
           && top.currentFrame() == bottom.currentFrame();
}

} // namespace

void TemplateFiller::removeWhole(int start, int end)
{
    // A block of whole paragraphs goes with its paragraphs, so that no empty
    // one is left where it stood.
    const QTextBlock first = m_document.findBlock(start);
    const QTextBlock last = m_document.findBlock(end);
    const bool wholeParagraphs = start == first.position() && end == last.position() + last.length() - 1;
    if (wholeParagraphs && joinable(last, last.next())) {
        // With the end of its last paragraph: the paragraph after keeps its own format.
        removeRange(start, end - start + 1);
        return;
    }
    const QTextBlock previous = first.previous();
    if (wholeParagraphs && joinable(previous, first)) {
        // The last paragraph of its frame: with the end of the one before,
        // which keeps its format.
        const QTextBlockFormat format = previous.blockFormat();
        const QTextCharFormat characters = previous.charFormat();
        const int at = previous.position();
        removeRange(start - 1, end - start + 1);
        QTextCursor cursor(&m_document);
        cursor.setPosition(at);
        cursor.setBlockFormat(format);
        cursor.setBlockCharFormat(characters);
        return;
    }
    removeRange(start, end - start);
}

void TemplateFiller::CutIfBlock(int n, bool removeWholeBlock)
{
    if (m_recording) {
        if (!m_blocks.contains(n))
            m_blocks << n;
        return;
    }
    const QString open = QStringLiteral("$IF%1$").arg(n);
    const QString close = QStringLiteral("$/IF%1$").arg(n);
    const int a = find(open);
    const int b = find(close);
    if (a < 0 || b < 0 || b < a + int(open.size()))
        return;
    if (removeWholeBlock) {
        removeWhole(a, b + int(close.size()));
        return;
    }
    removeRange(a, int(open.size()));
    removeRange(b - int(open.size()), int(close.size()));
}
