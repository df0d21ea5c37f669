#include "TestDocuments.h"

#include "richtext/PlainTextCodec.h"
#include "richtext/RtfReader.h"

#include <QBuffer>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <utility>

namespace {

// A list of the given style, its list format indentSteps steps in, one item
// per text, each a paragraph with the given left margin (pixels).
void insertList(QTextCursor &cursor, QTextListFormat::Style style, int indentSteps, double leftMargin,
                const QTextCharFormat &format, const QStringList &texts)
{
    QTextBlockFormat item;
    item.setLeftMargin(leftMargin);
    QTextListFormat listFormat;
    listFormat.setStyle(style);
    listFormat.setIndent(indentSteps);
    QTextList *list = nullptr;
    for (const QString &text : texts) {
        cursor.insertBlock(item, format);
        if (list)
            list->add(cursor.block());
        else
            list = cursor.createList(listFormat);
        cursor.insertText(text, format);
    }
}

} // namespace

QByteArray TestDocuments::rtf(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}"
           "{\\f1\\fmodern\\fcharset204 Courier New;}{\\f2\\fnil\\fcharset2 Symbol;}}\n"
           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n"
           "\\viewkind4\\uc1\\pard\\f0\\fs20 "
           + body + "}";
}

bool TestDocuments::readRtf(const QByteArray &rtf, QTextDocument &document)
{
    return RtfReader::read(rtf, document);
}

QString TestDocuments::text(const QTextDocument &document)
{
    return PlainTextCodec::documentText(document);
}

QTextCharFormat TestDocuments::formatAt(const QTextDocument &document, const QString &needle)
{
    const QTextCursor found = document.find(needle, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return QTextCharFormat();
    QTextCursor cursor(found);
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

QImage TestDocuments::picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::red);
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::blue);
    return image;
}

QByteArray TestDocuments::pngHex(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

void TestDocuments::fillRich(QTextDocument &document)
{
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Liberation Serif")});
    plain.setFontPointSize(12);

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setBottomMargin(8);
    QTextCharFormat title = plain;
    title.setFontPointSize(16);
    title.setFontWeight(QFont::Bold);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("Гидравлический расчёт"), title);

    QTextBlockFormat indented;
    indented.setLeftMargin(48);
    indented.setRightMargin(24);
    indented.setTextIndent(24);
    indented.setTopMargin(4);
    indented.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    indented.setAlignment(Qt::AlignJustify);
    cursor.insertBlock(indented, plain);
    cursor.insertText(QStringLiteral("Обычный текст, "), plain);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("жирный"), bold);
    cursor.insertText(QStringLiteral(", "), plain);
    QTextCharFormat italic = plain;
    italic.setFontItalic(true);
    italic.setForeground(QColor(200, 0, 0));
    cursor.insertText(QStringLiteral("курсив красным"), italic);
    QTextCharFormat marked = plain;
    marked.setFontFamilies({QStringLiteral("Liberation Mono")});
    marked.setFontUnderline(true);
    marked.setFontStrikeOut(true);
    marked.setBackground(QColor(255, 255, 0));
    marked.setFontPointSize(10);
    cursor.insertText(QStringLiteral(" моно"), marked);
    QTextCharFormat super = plain;
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    cursor.insertText(QStringLiteral(" м"), plain);
    cursor.insertText(QStringLiteral("3"), super);
    cursor.insertText(QStringLiteral(" α≤β € {x} \\ a\tb") + QChar(QChar::LineSeparator)
                          + QStringLiteral("новая строка ") + QString::fromUtf8("\xF0\x9F\x98\x80"),
                      plain);

    insertList(cursor, QTextListFormat::ListDisc, 0, 30, plain,
               {QStringLiteral("первый пункт"), QStringLiteral("второй пункт")});
    QTextBlockFormat normal;
    cursor.insertBlock(normal, plain);
    cursor.insertText(QStringLiteral("Нумерация:"), plain);
    insertList(cursor, QTextListFormat::ListDecimal, 0, 30, plain, {QStringLiteral("один"), QStringLiteral("два")});

    cursor.insertBlock(normal, plain);
    QTextTableFormat tableFormat;
    tableFormat.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 120),
                                           QTextLength(QTextLength::FixedLength, 80),
                                           QTextLength(QTextLength::FixedLength, 100)});
    tableFormat.setBorder(1);
    tableFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tableFormat.setCellPadding(4);
    tableFormat.setCellSpacing(0);
    tableFormat.setAlignment(Qt::AlignHCenter);
    QTextTable *table = cursor.insertTable(3, 3, tableFormat);
    const QStringList cells = {QStringLiteral("Величина"),
                               QStringLiteral("Значение"),
                               QStringLiteral("Ед."),
                               QStringLiteral("Диаметр"),
                               QStringLiteral("0.5"),
                               QStringLiteral("м"),
                               QStringLiteral("Итог"),
                               QString(),
                               QString()};
    for (int i = 0; i < cells.size(); ++i) {
        QTextCursor cellCursor = table->cellAt(i / 3, i % 3).firstCursorPosition();
        cellCursor.insertText(cells[i], i < 3 ? bold : plain);
    }
    for (int c = 0; c < 3; ++c) {
        QTextTableCellFormat shaded = table->cellAt(0, c).format().toTableCellFormat();
        shaded.setBackground(QColor(220, 220, 220));
        table->cellAt(0, c).setFormat(shaded);
    }
    table->mergeCells(2, 0, 1, 3);
    table->mergeCells(0, 2, 2, 1);

    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.insertText(QStringLiteral("Рисунок: "), plain);
    const QImage image = picture(40, 20);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("test:picture")), image);
    QTextImageFormat imageFormat;
    imageFormat.setName(QStringLiteral("test:picture"));
    imageFormat.setWidth(80);
    imageFormat.setHeight(40);
    cursor.insertImage(imageFormat);
    cursor.insertText(QStringLiteral(" конец."), plain);
}

void TestDocuments::fillLayoutCases(QTextDocument &document)
{
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Liberation Serif")});
    plain.setFontPointSize(12);
    cursor.setBlockCharFormat(plain);
    cursor.insertText(QStringLiteral("Первая страница"), plain);
    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(newPage, plain);
    cursor.insertText(QStringLiteral("Вторая страница"), plain);

    cursor.insertBlock(QTextBlockFormat(), plain);
    const std::pair<const char *, QFont::Weight> weights[] = {
        {"светлый", QFont::Light},       {"обычный", QFont::Normal}, {"средний", QFont::Medium},
        {"полужирный", QFont::DemiBold}, {"жирный", QFont::Bold},    {"чёрный", QFont::Black}};
    for (const auto &[word, weight] : weights) {
        QTextCharFormat format = plain;
        format.setFontWeight(weight);
        cursor.insertText(QString::fromUtf8(word), format);
        cursor.insertText(QStringLiteral(" "), plain);
    }

    insertList(cursor, QTextListFormat::ListDisc, 0, 30, plain,
               {QStringLiteral("маркер один"), QStringLiteral("маркер два")});
    insertList(cursor, QTextListFormat::ListDecimal, 1, 0, plain, {QStringLiteral("номер один")});
    insertList(cursor, QTextListFormat::ListDecimal, 0, 10, plain, {QStringLiteral("узкий отступ")});
}
