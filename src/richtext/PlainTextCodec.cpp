#include "richtext/PlainTextCodec.h"

#include "richtext/CodePage.h"
#include "richtext/FrameItems.h"

#include <QStringDecoder>
#include <algorithm>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

QString blockText(const QTextBlock &block)
{
    QString text = block.text();
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (QTextList *list = block.textList()) {
        const QTextListFormat::Style style = list->format().style();
        const bool bullet = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
                            || style == QTextListFormat::ListSquare;
        text.prepend((bullet ? QString(QChar(0x2022)) : list->itemText(block)) + QLatin1Char(' '));
    }
    return text;
}

void appendFrame(QTextFrame::iterator begin, QStringList &lines)
{
    for (const FrameItems::Item &item : FrameItems::of(begin)) {
        QTextFrame *frame = item.frame;
        if (!frame) {
            lines.append(blockText(item.block));
            continue;
        }
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table) {
            appendFrame(frame->begin(), lines);
            continue;
        }
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns();) {
                const QTextTableCell cell = table->cellAt(r, c);
                QStringList cellLines;
                if (cell.row() == r)
                    appendFrame(cell.begin(), cellLines);
                cells.append(cellLines.join(QLatin1Char(' ')));
                c = cell.isValid() ? std::max(c + 1, cell.column() + cell.columnSpan()) : c + 1;
            }
            lines.append(cells.join(QLatin1Char('\t')));
        }
    }
}

} // namespace

std::optional<QString> PlainTextCodec::decode(const QByteArray &data)
{
    if (data.contains('\0'))
        return std::nullopt;
    QString text;
    if (data.startsWith(kUtf8Mark)) {
        text = QString::fromUtf8(data.constData() + 3, data.size() - 3);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = utf8.decode(data);
        const bool ascii = std::all_of(data.cbegin(), data.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (!ascii && !utf8.hasError())
            text = decoded;
        else
            text = CodePage::get(1251).decode(data);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QByteArray PlainTextCodec::encode(const QString &source)
{
    QString text = source;
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const CodePage &page = CodePage::get(1251);
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        const int byte = page.charToByte(ch.unicode());
        if (byte < 0)
            return QByteArray(kUtf8Mark) + text.toUtf8();
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

QString PlainTextCodec::documentText(const QTextDocument &document)
{
    QStringList lines;
    appendFrame(document.rootFrame()->begin(), lines);
    return lines.join(QLatin1Char('\n'));
}

bool PlainTextCodec::read(const QByteArray &data, QTextDocument &document)
{
    const std::optional<QString> text = decode(data);
    if (!text)
        return false;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.setPlainText(*text);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    return true;
}

QByteArray PlainTextCodec::write(const QTextDocument &document)
{
    return encode(documentText(document));
}
