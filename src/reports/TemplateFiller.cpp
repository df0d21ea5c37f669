#include "reports/TemplateFiller.h"

#include <QTextCursor>
#include <QTextDocument>

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
        QTextCursor at(&m_document);
        at.setPosition(position + 1);
        const QTextCharFormat format = at.charFormat(); // the tag's first character
        QTextCursor cursor(&m_document);
        cursor.setPosition(position);
        cursor.setPosition(position + int(tag.size()), QTextCursor::KeepAnchor);
        cursor.insertText(value, format);
        position = find(tag, position + int(value.size()));
    }
}

void TemplateFiller::replaceOptionalTag(const QString &tag, const QString &value)
{
    if (!m_recording)
        ReplaceTag(tag, value);
}

void TemplateFiller::removeRange(int start, int length)
{
    QTextCursor cursor(&m_document);
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
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
        removeRange(a, b - a + int(close.size()));
        return;
    }
    removeRange(a, int(open.size()));
    removeRange(b - int(open.size()), int(close.size()));
}
