#include "richtext/PlainTextCodec.h"

#include "richtext/CodePage.h"
#include "richtext/FrameItems.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <algorithm>

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// The Unicode superscript and subscript forms of the characters that have
// one; 0 for the others.
char16_t raised(char16_t ch)
{
    static const char16_t digits[] = u"\u2070\u00B9\u00B2\u00B3\u2074\u2075\u2076\u2077\u2078\u2079";
    if (ch >= '0' && ch <= '9')
        return digits[ch - '0'];
    switch (ch) {
    case '+':
        return 0x207A;
    case '-':
    case 0x2212:
        return 0x207B;
    case '=':
        return 0x207C;
    case '(':
        return 0x207D;
    case ')':
        return 0x207E;
    case 'i':
        return 0x2071;
    case 'n':
        return 0x207F;
    default:
        return 0;
    }
}

char16_t lowered(char16_t ch)
{
    if (ch >= '0' && ch <= '9')
        return static_cast<char16_t>(0x2080 + (ch - '0'));
    switch (ch) {
    case '+':
        return 0x208A;
    case '-':
    case 0x2212:
        return 0x208B;
    case '=':
        return 0x208C;
    case '(':
        return 0x208D;
    case ')':
        return 0x208E;
    case 'a':
        return 0x2090;
    case 'e':
        return 0x2091;
    case 'o':
        return 0x2092;
    case 'x':
        return 0x2093;
    case 'h':
        return 0x2095;
    case 'k':
        return 0x2096;
    case 'l':
        return 0x2097;
    case 'm':
        return 0x2098;
    case 'n':
        return 0x2099;
    case 'p':
        return 0x209A;
    case 's':
        return 0x209B;
    case 't':
        return 0x209C;
    case 'i':
        return 0x1D62;
    case 'r':
        return 0x1D63;
    case 'u':
        return 0x1D64;
    case 'v':
        return 0x1D65;
    case 'j':
        return 0x2C7C;
    default:
        return 0;
    }
}

// Whether an exponent reads whole after "^": one number or one name
// ("0,0516", "−3", "a"), or text in brackets of its own.
bool readsWhole(const QString &text)
{
    if (text.startsWith(QLatin1Char('(')) && text.endsWith(QLatin1Char(')'))) {
        int depth = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            depth += text.at(i) == QLatin1Char('(') ? 1 : text.at(i) == QLatin1Char(')') ? -1 : 0;
            if (depth == 0)
                return i == text.size() - 1;
        }
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QChar(0x2212));
        if (!sign && !c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char(','))
            return false;
    }
    return true;
}

// Raised or lowered text as plain text shows it: in superscript or
// subscript characters when every character has one ("0.8⁴"), otherwise
// after "^" or "_" ("^a,b"); an exponent that is more than one number or
// name is bracketed ("^(1/b)").
QString shifted(const QString &text, bool up)
{
    QString forms(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t form = up ? raised(text.at(i).unicode()) : lowered(text.at(i).unicode());
        if (!form) {
            if (up && !readsWhole(text.trimmed()))
                return QStringLiteral("^(") + text + QLatin1Char(')');
            return (up ? QLatin1Char('^') : QLatin1Char('_')) + text;
        }
        forms[i] = QChar(form);
    }
    return forms;
}

// A paragraph's text, its raised and lowered runs shown as such.
QString paragraphText(const QTextBlock &block)
{
    QString text;
    QString run;
    QTextCharFormat::VerticalAlignment runAlignment = QTextCharFormat::AlignNormal;
    const auto endRun = [&] {
        if (runAlignment == QTextCharFormat::AlignSuperScript || runAlignment == QTextCharFormat::AlignSubScript)
            text += shifted(run, runAlignment == QTextCharFormat::AlignSuperScript);
        else
            text += run;
        run.clear();
    };
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        QTextCharFormat::VerticalAlignment alignment = fragment.charFormat().verticalAlignment();
        if (alignment != QTextCharFormat::AlignSuperScript && alignment != QTextCharFormat::AlignSubScript)
            alignment = QTextCharFormat::AlignNormal;
        if (alignment != runAlignment) {
            endRun();
            runAlignment = alignment;
        }
        run += fragment.text();
    }
    endRun();
    return text;
}

QString blockText(const QTextBlock &block)
{
    QString text = paragraphText(block);
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
        const bool ascii =
            std::all_of(data.cbegin(), data.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar ch : std::as_const(text)) {
        const char16_t c = ch.unicode();
        const int byte = c < 0x80 ? c : page.charToByte(c);
        if (byte < 0)
            return QByteArray(kUtf8Mark) + text.toUtf8();
        *out++ = static_cast<char>(byte);
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
    // Laid out anew once the text is in (see RtfReader::read).
    const QSizeF pageSize = document.pageSize();
    document.setPageSize(QSizeF(0, 0));
    document.setPlainText(*text);
    document.setPageSize(pageSize);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    return true;
}

QByteArray PlainTextCodec::write(const QTextDocument &document)
{
    return encode(documentText(document));
}
