#include "reports/TemplateFiller.h"

#include "reports/ReportNumber.h"

#include <QRegularExpression>
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

void TemplateFiller::replaceTag(const QString &tag, const QString &value)
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
        replaceTag(tag, value);
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

void TemplateFiller::replaceNumber(const QString &tag, const ReportNumber &number)
{
    if (m_recording) {
        replaceTag(tag, QString());
        return;
    }
    int position = find(tag);
    while (position >= 0)
        position = find(tag, insertNumber(position, int(tag.size()), number));
}

int TemplateFiller::insertNumber(int position, int length, const ReportNumber &number)
{
    const QChar minus(0x2212);
    const QTextBlock block = m_document.findBlock(position);
    const QString before = block.text().left(position - block.position());
    int previousAt = int(before.size()) - 1;
    while (previousAt >= 0 && before[previousAt].isSpace())
        --previousAt;
    const QChar previous = previousAt >= 0 ? before[previousAt] : QChar();

    QTextCursor cursor(&m_document);
    cursor.setPosition(position + 1);
    QTextCharFormat format = cursor.charFormat(); // the tag's first character
    bool raisedAfter = false;
    const int after = position + length;
    if (after < block.position() + block.length() - 1) {
        cursor.setPosition(after + 1);
        raisedAfter = cursor.charFormat().verticalAlignment() == QTextCharFormat::AlignSuperScript;
    }

    ReportNumber shown = number;
    if (number.isNegative() && (previous == QLatin1Char('+') || previous == minus)) {
        // "a + −x" reads "a − x", "a − −x" reads "a + x".
        const int signAt = block.position() + previousAt;
        cursor.setPosition(signAt + 1);
        const QTextCharFormat signFormat = cursor.charFormat();
        cursor.setPosition(signAt);
        cursor.setPosition(signAt + 1, QTextCursor::KeepAnchor);
        cursor.insertText(previous == minus ? QStringLiteral("+") : QString(minus), signFormat);
        shown = number.magnitude();
    }
    const bool operandOf = previous == QLatin1Char('/') || previous.isLetter() || raisedAfter;
    const bool bracket =
        (shown.isNegative() && (operandOf || previous == QChar(0x00B7))) || (shown.hasPowerOfTen() && operandOf);

    QString text = bracket ? QStringLiteral("(") : QString();
    if (shown.isNegative())
        text += minus;
    text += shown.mantissa();
    cursor.setPosition(position);
    cursor.setPosition(after, QTextCursor::KeepAnchor);
    if (shown.hasPowerOfTen()) {
        cursor.insertText(text + QStringLiteral("·10"), format);
        QTextCharFormat raised = format;
        raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        cursor.insertText(shown.exponentText(), raised);
        text.clear();
    }
    if (bracket)
        text += QLatin1Char(')');
    cursor.insertText(text, format);
    return cursor.position();
}

void TemplateFiller::replaceCompared(const QString &valueTag, const QString &limitTag, double value, double limit)
{
    const int digits = ReportNumber::digitsToCompare(value, limit);
    replaceNumber(valueTag, ReportNumber::computed(value, digits));
    if (!limitTag.isEmpty())
        replaceNumber(limitTag, ReportNumber::computed(limit, digits));
}

void TemplateFiller::useDecimalSeparator(const QString &separator)
{
    if (m_recording)
        return;
    static const QRegularExpression decimal(QStringLiteral("(?<=\\d)[.,](?=\\d)"));
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        QVector<int> found;
        for (auto it = decimal.globalMatch(block.text()); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (match.captured() != separator)
                found.append(block.position() + int(match.capturedStart()));
        }
        // From the last one back, so a longer separator keeps the others in place.
        for (auto it = found.crbegin(); it != found.crend(); ++it)
            replaceAt(*it, 1, separator);
    }
}

void TemplateFiller::replaceTags(const QVector<QPair<QString, QString>> &tagsAndValues)
{
    if (m_recording) {
        for (const auto &[tag, value] : tagsAndValues)
            replaceTag(tag, value);
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

void TemplateFiller::cutIfBlock(int n, bool removeWholeBlock)
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
