#include "DocumentDigest.h"
#include "TestDocuments.h"

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

QTextTable *firstTable(const QTextDocument &document)
{
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame))
            return table;
    }
    return nullptr;
}

QByteArray readFile(const char *name)
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lengths go through twips: equal when they round to the same twip.
bool sameLength(double a, double b)
{
    return std::lround(a * 15) == std::lround(b * 15);
}

} // namespace

class TestRtfWriter : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsText();
    void roundTripKeepsCharacterFormats();
    void roundTripKeepsParagraphFormats();
    void roundTripKeepsListsTablesAndPictures();
    void secondRoundTripChangesNothing();
    void header();
    void encodesCharacters_data();
    void encodesCharacters();
    void oneParagraphPerLine();
    void emptyDocument();
    void tableAtTheStartAndTheEnd();
    void roundTripKeepsWhatReads_data();
    void roundTripKeepsWhatReads();
    void listDefinitionsWrittenBack();
    void headerRowsWrittenBack();
    void editedListsKeepTheirNumbers();
    void layoutWritten_data();
    void layoutWritten();
    void weightsWritten_data();
    void weightsWritten();
};

void TestRtfWriter::roundTripKeepsText()
{
    QTextDocument source;
    TestDocuments::fillRich(source);
    QTextDocument copy;
    QVERIFY(RtfReader::read(RtfWriter::write(source), copy));
    QCOMPARE(TestDocuments::text(copy), TestDocuments::text(source));
    QCOMPARE(copy.toRawText(), source.toRawText());
}

void TestRtfWriter::roundTripKeepsCharacterFormats()
{
    QTextDocument source;
    TestDocuments::fillRich(source);
    QTextDocument copy;
    QVERIFY(RtfReader::read(RtfWriter::write(source), copy));

    // Character by character, over the whole text (tables included).
    QTextCursor a(&source);
    QTextCursor b(&copy);
    int compared = 0;
    while (!a.atEnd()) {
        a.movePosition(QTextCursor::NextCharacter);
        b.movePosition(QTextCursor::NextCharacter);
        if (a.atBlockStart())
            continue; // The paragraph mark's format, not a character's.
        const QTextCharFormat fa = a.charFormat();
        const QTextCharFormat fb = b.charFormat();
        const QString where = QStringLiteral("at %1 '%2'").arg(a.position()).arg(a.block().text());
        QCOMPARE(a.position(), b.position());
        QCOMPARE(fb.isImageFormat(), fa.isImageFormat());
        if (fa.isImageFormat())
            continue; // Pictures: see roundTripKeepsListsTablesAndPictures.

        QVERIFY2(fa.fontFamilies() == fb.fontFamilies() || fa.fontFamilies().isNull(), qPrintable(where));
        QVERIFY2(fa.fontPointSize() == fb.fontPointSize(), qPrintable(where));
        QVERIFY2((fa.fontWeight() >= QFont::DemiBold) == (fb.fontWeight() >= QFont::DemiBold), qPrintable(where));
        QVERIFY2(fa.fontItalic() == fb.fontItalic(), qPrintable(where));
        QVERIFY2(fa.fontUnderline() == fb.fontUnderline(), qPrintable(where));
        QVERIFY2(fa.fontStrikeOut() == fb.fontStrikeOut(), qPrintable(where));
        QVERIFY2(fa.verticalAlignment() == fb.verticalAlignment(), qPrintable(where));
        QVERIFY2(fa.foreground().style() == fb.foreground().style(), qPrintable(where));
        if (fa.foreground().style() != Qt::NoBrush)
            QVERIFY2(fa.foreground().color() == fb.foreground().color(), qPrintable(where));
        QVERIFY2(fa.background().style() == fb.background().style(), qPrintable(where));
        if (fa.background().style() != Qt::NoBrush)
            QVERIFY2(fa.background().color() == fb.background().color(), qPrintable(where));
        ++compared;
    }
    QVERIFY(b.atEnd());
    QVERIFY(compared > 100);
}

void TestRtfWriter::roundTripKeepsParagraphFormats()
{
    QTextDocument source;
    TestDocuments::fillRich(source);
    QTextDocument copy;
    QVERIFY(RtfReader::read(RtfWriter::write(source), copy));
    QCOMPARE(copy.blockCount(), source.blockCount());
    for (QTextBlock a = source.begin(), b = copy.begin(); a.isValid(); a = a.next(), b = b.next()) {
        const QTextBlockFormat fa = a.blockFormat();
        const QTextBlockFormat fb = b.blockFormat();
        const QByteArray where = a.text().toUtf8();
        QCOMPARE(b.text(), a.text());
        QVERIFY2((fa.alignment() & Qt::AlignHorizontal_Mask) == (fb.alignment() & Qt::AlignHorizontal_Mask)
                     || (fa.alignment() <= Qt::AlignLeft && fb.alignment() <= Qt::AlignLeft),
                 where.constData());
        QVERIFY2(sameLength(fa.leftMargin(), fb.leftMargin()), where.constData());
        QVERIFY2(sameLength(fa.rightMargin(), fb.rightMargin()), where.constData());
        QVERIFY2(sameLength(fa.textIndent(), fb.textIndent()), where.constData());
        QVERIFY2(sameLength(fa.topMargin(), fb.topMargin()), where.constData());
        QVERIFY2(sameLength(fa.bottomMargin(), fb.bottomMargin()), where.constData());
        QVERIFY2(fa.lineHeightType() == fb.lineHeightType(), where.constData());
        QVERIFY2(qFuzzyCompare(fa.lineHeight() + 1, fb.lineHeight() + 1), where.constData());
    }
}

void TestRtfWriter::roundTripKeepsListsTablesAndPictures()
{
    QTextDocument source;
    TestDocuments::fillRich(source);
    QTextDocument copy;
    QVERIFY(RtfReader::read(RtfWriter::write(source), copy));

    for (QTextBlock a = source.begin(), b = copy.begin(); a.isValid(); a = a.next(), b = b.next()) {
        QCOMPARE(bool(b.textList()), bool(a.textList()));
        if (a.textList()) {
            QCOMPARE(b.textList()->format().style(), a.textList()->format().style());
            QCOMPARE(b.textList()->itemNumber(b), a.textList()->itemNumber(a));
        }
    }

    QTextTable *a = firstTable(source);
    QTextTable *b = firstTable(copy);
    QVERIFY(a && b);
    QCOMPARE(b->rows(), a->rows());
    QCOMPARE(b->columns(), a->columns());
    QCOMPARE(b->format().columnWidthConstraints(), a->format().columnWidthConstraints());
    QCOMPARE(b->format().alignment(), Qt::AlignHCenter);
    QCOMPARE(b->cellAt(0, 1).format().background().color(), QColor(220, 220, 220));
    QVERIFY(!b->cellAt(1, 0).format().hasProperty(QTextFormat::BackgroundBrush));
    // The table's grid comes back as the borders of every cell.
    for (const QTextTableCell &cell : {b->cellAt(0, 0), b->cellAt(2, 0)}) {
        const QTextTableCellFormat format = cell.format().toTableCellFormat();
        QCOMPARE(format.topBorder(), 1.0);
        QCOMPARE(format.rightBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
    }
    for (int r = 0; r < a->rows(); ++r) {
        for (int c = 0; c < a->columns(); ++c) {
            QCOMPARE(b->cellAt(r, c).row(), a->cellAt(r, c).row());
            QCOMPARE(b->cellAt(r, c).column(), a->cellAt(r, c).column());
            QCOMPARE(b->cellAt(r, c).rowSpan(), a->cellAt(r, c).rowSpan());
            QCOMPARE(b->cellAt(r, c).columnSpan(), a->cellAt(r, c).columnSpan());
        }
    }

    const QTextCharFormat picture = TestDocuments::formatAt(copy, QStringLiteral("\uFFFC"));
    QVERIFY(picture.isImageFormat());
    QCOMPARE(picture.toImageFormat().width(), 80.0);
    QCOMPARE(picture.toImageFormat().height(), 40.0);
    const QImage image =
        copy.resource(QTextDocument::ImageResource, QUrl(picture.toImageFormat().name())).value<QImage>();
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32), TestDocuments::picture(40, 20));
}

void TestRtfWriter::secondRoundTripChangesNothing()
{
    QTextDocument source;
    TestDocuments::fillRich(source);
    const QByteArray first = RtfWriter::write(source);
    QTextDocument copy;
    QVERIFY(RtfReader::read(first, copy));
    QCOMPARE(RtfWriter::write(copy), first);
}

void TestRtfWriter::header()
{
    QTextDocument document;
    TestDocuments::fillRich(document);
    const QByteArray rtf = RtfWriter::write(document);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251\\deff0"));
    QVERIFY(rtf.contains("{\\fonttbl\n{\\f0\\fnil\\fcharset204 "));
    QVERIFY(rtf.contains(" Liberation Serif;}"));
    QVERIFY(
        rtf.contains("{\\colortbl;\\red200\\green0\\blue0;\\red255\\green255\\blue0;\\red220\\green220\\blue220;}"));
    QVERIFY(rtf.endsWith("}\n"));
    QCOMPARE(rtf.count('{'), rtf.count('}') - rtf.count("\\}") + rtf.count("\\{"));
}

void TestRtfWriter::encodesCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Cyrillic as \\'hh") << QStringLiteral("Ёж") << QByteArray("\\'a8\\'e6");
    QTest::newRow("euro is in Windows-1251") << QStringLiteral("€") << QByteArray("\\'88");
    QTest::newRow("Greek as \\uN?") << QStringLiteral("α") << QByteArray("\\u945?");
    QTest::newRow("above 32767 negative") << QString(QChar(0xF0B7)) << QByteArray("\\u-3913?");
    QTest::newRow("surrogate pair") << QString::fromUtf8("\xF0\x9F\x98\x80") << QByteArray("\\u-10179?\\u-8704?");
    QTest::newRow("braces and backslash") << QStringLiteral("{a}\\") << QByteArray("\\{a\\}\\\\");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QByteArray("a\\tab b");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QByteArray("a\\line b");
    QTest::newRow("non-breaking space and hyphens")
        << QStringLiteral("a\u00A0b\u00ADc\u2011d") << QByteArray("a\\~b\\-c\\_d");
    QTest::newRow("text after a control word") << QStringLiteral("α1") << QByteArray("\\u945?1");
}

void TestRtfWriter::encodesCharacters()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QTextDocument document;
    QTextCursor(&document).insertText(text);
    const QByteArray rtf = RtfWriter::write(document);
    QVERIFY2(rtf.contains(expected), rtf.constData());
    QTextDocument copy;
    QVERIFY(RtfReader::read(rtf, copy));
    QCOMPARE(copy.toRawText(), text);
}

void TestRtfWriter::oneParagraphPerLine()
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("first\nsecond\nthird"));
    const QList<QByteArray> lines = RtfWriter::write(document).split('\n');
    QStringList paragraphs;
    for (const QByteArray &line : lines) {
        if (line.startsWith("\\pard"))
            paragraphs.append(QString::fromLatin1(line));
    }
    QCOMPARE(paragraphs.size(), 3);
    QVERIFY(paragraphs[0].endsWith(QLatin1String(" first\\par")));
    QVERIFY(paragraphs[2].endsWith(QLatin1String(" third\\par")));
}

void TestRtfWriter::emptyDocument()
{
    QTextDocument document;
    QTextDocument copy;
    copy.setPlainText(QStringLiteral("old"));
    QVERIFY(RtfReader::read(RtfWriter::write(document), copy));
    QCOMPARE(copy.blockCount(), 1);
    QCOMPARE(copy.toPlainText(), QString());
}

void TestRtfWriter::tableAtTheStartAndTheEnd()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextTable *table = cursor.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("a"));
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("b"));
    const int blocks = document.blockCount();
    QTextDocument copy;
    QVERIFY(RtfReader::read(RtfWriter::write(document), copy));
    QCOMPARE(copy.blockCount(), blocks);
    QCOMPARE(TestDocuments::text(copy), QStringLiteral("a\tb"));
}

void TestRtfWriter::roundTripKeepsWhatReads_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected"); // In the digest, before and after.

    QTest::newRow("two tables apart") << readFile("two-tables.rtf")
                                      << QStringLiteral("table 1x2, 0 header rows\n"
                                                        "cell 0,0 1x1\nДиаметр\ncell 0,1 1x1\n0,5\nend of table\n"
                                                        "\ntable 1x4, 0 header rows\n");
    QTest::newRow("two-level list") << readFile("roman-list.rtf")
                                    << QStringLiteral("[I.] Исходные данные\n[1.] Труба\n[2.] Грунт\n[II.] Расчёт\n"
                                                      "[1.] Нагрузки\n[III.] Выводы\nКонец.\n");
    const QByteArray listTable =
        "{\\*\\listtable{\\list{\\listlevel\\levelnfc1{\\leveltext\\'07\\'c3\\'eb\\'e0\\'e2\\'e0 \\'00;}}"
        "{\\listlevel\\levelnfc22\\levellegal1{\\leveltext\\'0a\\'d0\\'e0\\'e7\\'e4\\'e5\\'eb \\'00.\\'01;}}"
        "{\\listlevel\\levelnfc3\\levelnorestart1{\\leveltext\\'02\\'02);}}\\listid5}}"
        "{\\*\\listoverridetable{\\listoverride\\listid5\\ls3}}";
    QByteArray items;
    for (const int level : {0, 1, 2, 1, 0, 1, 2, 2, 1})
        items += "\\pard\\ls3\\ilvl" + QByteArray::number(level) + " x\\par";
    QTest::newRow("words, legal numbering, leading zeros, no restart")
        << TestDocuments::rtf(listTable + items)
        << QStringLiteral("[Глава I] x\n[Раздел 1.01] x\n[A)] x\n[Раздел 1.02] x\n[Глава II] x\n[Раздел 2.01] x\n"
                          "[B)] x\n[C)] x\n[Раздел 2.02] x\n");
    QTest::newRow("header rows") << TestDocuments::rtf(
        "\\trowd\\trhdr\\cellx2000\\intbl H\\cell\\row\\trowd\\cellx2000\\intbl a\\cell\\row")
                                 << QStringLiteral("table 2x1, 1 header rows\n");
    QTest::newRow("numbers as text past a QTextList")
        << TestDocuments::rtf("{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat7{\\leveltext\\'02\\'00.;}}"
                              "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                              "\\pard\\ls1 a\\par\\pard\\ls1 b\\par")
        << QStringLiteral("7.\ta\n8.\tb\n");
    // A level text whose length byte is above 0x7F (no character of the
    // code page), with a tab in it.
    QTest::newRow("long level text") << TestDocuments::rtf(
        "{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'82" + QByteArray(128, 'x')
        + "\\tab\\'00;}}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 a\\par")
                                     << QLatin1Char('[') + QString(128, QLatin1Char('x')) + QStringLiteral("\t1] a\n");
    // Numbering by \pn with text before the number longer than a level text
    // can be: cut to fit.
    QTest::newRow("long text before a number")
        << TestDocuments::rtf("{\\*\\pn\\pnlvlbody\\pndec{\\pntxtb " + QByteArray(300, 'x') + "}{\\pntxta .}}a\\par")
        << QLatin1Char('[') + QString(253, QLatin1Char('x')) + QStringLiteral("1.] a\n");
    // Past the items one QTextList takes, numbers come as text.
    QByteArray numbered = "{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}";
    for (int i = 0; i < 1002; ++i)
        numbered += "i\\par ";
    QTest::newRow("1002 numbered items") << TestDocuments::rtf(numbered)
                                         << QStringLiteral("[999.] i\n[1000.] i\n1001.\ti\n1002.\ti\n");
    // Boundaries at the farthest one a row may have, and cells past their
    // definitions an inch each beyond it: written back, every column must
    // still stand apart, so that the cell of the second row keeps its span.
    QTest::newRow("cells past the farthest boundary")
        << TestDocuments::rtf("\\trowd\\cellx2000\\cellx200000\\cellx200000\\cellx200000"
                              "\\intbl a\\cell b\\cell c\\cell d\\cell e\\cell\\row"
                              "\\trowd\\cellx200000\\intbl f\\cell g\\cell h\\cell\\row")
        << QStringLiteral("cell 1,2 1x3\ng\n");
    // A tab in the text around a number, where the list is written from
    // its prefix and suffix.
    QTest::newRow("tab around a number") << QByteArray(
        "{\\rtf{*\\listtable{\\list\\listlevel{\\leveltext'\\'00\t\\'01}\\listlevel\\levelstartat\\listid1}"
        "\\listoverridetable{\\listid1\\ls1}}\\ls1")
                                         << QString();
    // A level text of 255 characters showing the number of the level above,
    // II, in place of its one-character placeholder: prefix, number and
    // suffix no longer fit a level text, so the numbers come as text.
    QTest::newRow("prefix and suffix past a level text")
        << TestDocuments::rtf(
               "{\\*\\listtable{\\list{\\listlevel\\levelnfc1{\\leveltext;}}{\\listlevel{\\leveltext\\'ff"
               + QByteArray(252, 'x')
               + "\\'00.\\'01;}}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                 "\\pard\\ls1 a\\par\\pard\\ls1 b\\par\\pard\\ls1\\ilvl1 c\\par")
        << QString(252, QLatin1Char('x')) + QStringLiteral("II.1\tc\n");
    // Bullets as other writers define them: a bullet level without a level
    // text, and a decimal level whose text is a bullet without a number.
    QTest::newRow("bullet levels of other writers") << TestDocuments::rtf(
        "{\\*\\listtable{\\list{\\listlevel\\levelnfc23}{\\listlevel\\levelnfc0{\\leveltext\\'01\\u8226 ?;}}"
        "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
        "\\pard\\ls1 a\\par\\pard\\ls1\\ilvl1 b\\par\\pard\\ls1\\ilvl1 c\\par")
                                                    << QStringLiteral("[bullet -1] a\n[bullet -1] b\n[bullet -1] c\n");
    for (const char *file : {"wordpad.rtf", "libreoffice.rtf", "pandoc.rtf", "mac-japanese.rtf", "big5.rtf"})
        QTest::newRow(file) << readFile(file) << QString();
}

void TestRtfWriter::roundTripKeepsWhatReads()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument read;
    QVERIFY(RtfReader::read(rtf, read));
    const QString digest = DocumentDigest::of(read);
    QVERIFY2(digest.contains(expected), qPrintable(digest));

    const QByteArray written = RtfWriter::write(read);
    QTextDocument again;
    QVERIFY(RtfReader::read(written, again));
    QCOMPARE(DocumentDigest::of(again), digest);
    QCOMPARE(RtfWriter::write(again), written);
}

void TestRtfWriter::listDefinitionsWrittenBack()
{
    QTextDocument document;
    QVERIFY(RtfReader::read(
        TestDocuments::rtf(
            "{\\*\\listtable{\\list{\\listlevel\\levelnfc1{\\leveltext\\'07\\'c3\\'eb\\'e0\\'e2\\'e0 \\'00;}}"
            "{\\listlevel\\levelnfc22\\levellegal1\\levelfollow1{\\leveltext\\'03\\'00.\\'01;}}\\listid5}}"
            "{\\*\\listoverridetable{\\listoverride\\listid5\\ls3}}"
            "\\pard\\ls3 a\\par\\pard\\ls3\\ilvl1 b\\par"),
        document));
    const QByteArray rtf = RtfWriter::write(document);
    QVERIFY2(rtf.contains(
                 "\\levelnfc1\\levelnfcn1\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1{\\leveltext\\'07\\'c3\\'eb"
                 "\\'e0\\'e2\\'e0 \\'00;}{\\levelnumbers\\'07;}"),
             rtf.constData());
    QVERIFY2(rtf.contains("\\levelnfc22\\levelnfcn22\\leveljc0\\leveljcn0\\levelfollow1\\levelstartat1\\levellegal1"
                          "{\\leveltext\\'03\\'00.\\'01;}{\\levelnumbers\\'01\\'03;}"),
             rtf.constData());
    QVERIFY(rtf.contains("\\pard\\ls1\\ilvl1"));
    QVERIFY(rtf.contains("{\\listtext\\f1 1.01\\tab}"));
}

void TestRtfWriter::headerRowsWrittenBack()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    cursor.insertTable(3, 2, format);
    const QByteArray rtf = RtfWriter::write(document);
    QCOMPARE(rtf.count("\\trowd\\trhdr"), 1);
    QCOMPARE(rtf.count("\\trowd"), 3);
}

void TestRtfWriter::editedListsKeepTheirNumbers()
{
    // A list read from RTF, then edited: the top item between the lists of
    // the second level removed, so that they no longer restart where the
    // RTF list would restart them.  Written apart, they keep their numbers.
    QTextDocument document;
    QVERIFY(RtfReader::read(readFile("roman-list.rtf"), document));
    QTextCursor cursor(document.findBlockByNumber(3));
    QCOMPARE(cursor.block().text(), QStringLiteral("Расчёт"));
    cursor.select(QTextCursor::BlockUnderCursor);
    cursor.removeSelectedText();
    const QString digest = DocumentDigest::of(document);
    QTextDocument again;
    QVERIFY(RtfReader::read(RtfWriter::write(document), again));
    QCOMPARE(DocumentDigest::of(again), digest);
    QVERIFY2(digest.contains(QStringLiteral("[2.] Грунт\n[1.] Нагрузки\n[II.] Выводы")), qPrintable(digest));
}

void TestRtfWriter::layoutWritten_data()
{
    QTest::addColumn<QString>("paragraph"); // Of TestDocuments::fillLayoutCases; empty for the header.
    QTest::addColumn<QByteArray>("words");  // Written together in the paragraph's line.
    QTest::addColumn<bool>("written");

    // 210 and 297 mm, 20 mm: 11906, 16838 and 1134 twips.
    QTest::newRow("A4 page with margins of 2 cm")
        << QString() << QByteArray("\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134") << true;
    QTest::newRow("page break before") << QStringLiteral("Вторая страница") << QByteArray("\\pagebb") << true;
    QTest::newRow("no page break before the first page")
        << QStringLiteral("Первая страница") << QByteArray("\\pagebb") << false;
    // The text at the left margin (30 px, 450 twips), the bullet in a
    // hanging indent of a quarter inch before it.
    QTest::newRow("bullet item") << QStringLiteral("маркер один") << QByteArray("\\fi-360\\li450") << true;
    // A list one indent step (40 px) in.
    QTest::newRow("item of an indented list") << QStringLiteral("номер один") << QByteArray("\\fi-360\\li600") << true;
    // A margin narrower than the hanging indent: the number at the page's
    // margin, not left of it.
    QTest::newRow("item with a narrow margin")
        << QStringLiteral("узкий отступ") << QByteArray("\\fi-150\\li150") << true;
}

void TestRtfWriter::layoutWritten()
{
    QFETCH(QString, paragraph);
    QFETCH(QByteArray, words);
    QFETCH(bool, written);
    QTextDocument document;
    TestDocuments::fillLayoutCases(document);
    const QByteArray rtf = RtfWriter::write(document);
    // One paragraph per line; what comes before the first is the header.
    const QList<QByteArray> lines = rtf.split('\n');
    const auto first =
        std::find_if(lines.begin(), lines.end(), [](const QByteArray &line) { return line.startsWith("\\pard"); });
    QByteArray line;
    if (paragraph.isEmpty()) {
        line = QList<QByteArray>(lines.begin(), first).join('\n');
    } else {
        const QTextCursor found = document.find(paragraph);
        QVERIFY(!found.isNull());
        QVERIFY(lines.end() - first > found.blockNumber());
        line = *(first + found.blockNumber());
    }
    QVERIFY2(line.contains(words) == written, line.constData());
}

void TestRtfWriter::weightsWritten_data()
{
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("bold"); // RTF knows bold and not bold.

    QTest::newRow("thin") << int(QFont::Thin) << false;
    QTest::newRow("light") << int(QFont::Light) << false;
    QTest::newRow("normal") << int(QFont::Normal) << false;
    QTest::newRow("medium") << int(QFont::Medium) << false;
    QTest::newRow("demibold") << int(QFont::DemiBold) << true;
    QTest::newRow("bold") << int(QFont::Bold) << true;
    QTest::newRow("extra bold") << int(QFont::ExtraBold) << true;
    QTest::newRow("black") << int(QFont::Black) << true;
}

void TestRtfWriter::weightsWritten()
{
    QFETCH(int, weight);
    QFETCH(bool, bold);
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("a"));
    QTextCharFormat format;
    format.setFontWeight(weight);
    cursor.insertText(QStringLiteral("b"), format);
    const QByteArray rtf = RtfWriter::write(document);
    QVERIFY2(rtf.contains("\\b b") == bold, rtf.constData());
    QTextDocument copy;
    QVERIFY(RtfReader::read(rtf, copy));
    QCOMPARE(TestDocuments::formatAt(copy, QStringLiteral("b")).fontWeight() >= QFont::DemiBold, bold);
}

QTEST_MAIN(TestRtfWriter)
#include "tst_RtfWriter.moc"
