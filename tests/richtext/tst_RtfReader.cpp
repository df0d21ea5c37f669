#include "TestDocuments.h"

#include "richtext/PlainTextCodec.h"
#include "richtext/RtfReader.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

#include <cmath>

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void malformed_data();
    void malformed();
    void rejectsWhatIsNotRtf_data();
    void rejectsWhatIsNotRtf();
    void characterFormats();
    void groupsRestoreFormats();
    void paragraphFormats_data();
    void paragraphFormats();
    void lists();
    void levelTexts_data();
    void levelTexts();
    void longNumbersMoveTheFirstLine();
    void longListGoesOnInPieces();
    void table();
    void headerRows_data();
    void headerRows();
    void mergedCells();
    void pictures_data();
    void pictures();
    void brokenPictureIsLeftOut();
    void wordPadFile();
    void otherWriters_data();
    void otherWriters();
    void codePages_data();
    void codePages();
    void unsupportedCodePageIsReported();
    void textOnlyReadsTheSameText_data();
    void textOnlyReadsTheSameText();
};

namespace {

// A list table of one list (\listid1, \ls1) with the given levels.
QByteArray listTable(const QByteArray &levels)
{
    return "{\\*\\listtable{\\list\\listtemplateid1" + levels
           + "\\listid1}}"
             "{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}";
}

// Paragraphs of \ls1 at the given levels, each with its level as text.
QByteArray items(const QList<int> &levels)
{
    QByteArray body;
    for (const int level : levels)
        body += "\\pard\\ls1\\ilvl" + QByteArray::number(level) + " L" + QByteArray::number(level) + "\\par";
    return body;
}

QByteArray readFile(const QString &name)
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void TestRtfReader::text_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("expected");

    QTest::newRow("paragraphs, last mark") << QByteArray("a\\par b\\par") << QStringLiteral("a\nb");
    QTest::newRow("last paragraph without mark") << QByteArray("a\\par b") << QStringLiteral("a\nb");
    QTest::newRow("line ends are not text") << QByteArray("a\r\nb\nc") << QStringLiteral("abc");
    QTest::newRow("Windows-1251 by \\'hh")
        << QByteArray("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, \\'b8\\'a8") << QStringLiteral("Привет, ёЁ");
    QTest::newRow("Windows-1252 by \\fcharset0")
        << QByteArray("{\\fonttbl{\\f5\\fcharset0 Arial;}}{\\f5 caf\\'e9 \\'80}") << QStringLiteral("café €");
    QTest::newRow("code page by \\cpg") << QByteArray("{\\fonttbl{\\f5\\cpg1253 Arial;}}{\\f5\\'e1}")
                                        << QStringLiteral("α");
    QTest::newRow("symbol character set") << QByteArray("{\\f2 abp\\'b7\\'a3}") << QStringLiteral("αβπ•≤");
    QTest::newRow("multi-byte code page")
        << QByteArray("{\\fonttbl{\\f5\\fcharset128 MS Mincho;}}{\\f5\\'82\\'a0\\'82\\'a2}x")
        << QStringLiteral("あいx");
    QTest::newRow("Macintosh pages by \\fcharset")
        << QByteArray("{\\fonttbl{\\f5\\fcharset77 R;}{\\f6\\fcharset89 C;}{\\f7\\fcharset85 G;}{\\f8\\fcharset88 E;}"
                      "{\\f9\\fcharset86 T;}}{\\f5\\'8e}{\\f6\\'80\\'9f}{\\f7\\'c1}{\\f8\\'81}{\\f9\\'da}")
        << QStringLiteral("éАЯΝĀĞ");
    QTest::newRow("\\u with \\uc1") << QByteArray("\\u1055?\\u1088?\\u1080?") << QStringLiteral("При");
    QTest::newRow("\\u with \\uc0") << QByteArray("\\uc0\\u1055\\u1088 x") << QStringLiteral("Прx");
    QTest::newRow("\\u with \\uc2 skips two")
        << QByteArray("\\uc2\\u1055\\'3f\\'3fx\\u1088 ab c") << QStringLiteral("Пxр c");
    QTest::newRow("\\uc is scoped by groups") << QByteArray("{\\uc0\\u1055}\\u1088?x") << QStringLiteral("Прx");
    QTest::newRow("space after \\u? is text") << QByteArray("\\u1055? \\u1088?") << QStringLiteral("П р");
    QTest::newRow("negative \\u, surrogate pair")
        << QByteArray("\\u-10179?\\u-8704?") << QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("lone surrogate replaced") << QByteArray("\\u-10179?x") << QStringLiteral("\uFFFDx");
    QTest::newRow("surrogate pair across a format change")
        << QByteArray("\\u-10179?{\\b\\u-8704?}") << QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("characters by name") << QByteArray("\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote")
                                        << QStringLiteral("—–•‘’“”");
    QTest::newRow("control symbols") << QByteArray("a\\~b\\-c\\_d\\{\\}\\\\")
                                     << QStringLiteral("a\u00A0b\u00ADc\u2011d{}\\");
    QTest::newRow("tab and line") << QByteArray("a\\tab b\\line c") << QStringLiteral("a\tb\nc");
    QTest::newRow("backslash before line end is \\par") << QByteArray("a\\\nb") << QStringLiteral("a\nb");
    QTest::newRow("page and section end paragraphs") << QByteArray("a\\page b\\sect c") << QStringLiteral("a\nb\nc");
    QTest::newRow("unknown control words ignored")
        << QByteArray("\\foo\\barbaz12 text\\qqq-3 !") << QStringLiteral("text!");
    QTest::newRow("unknown starred destination skipped")
        << QByteArray("{\\*\\unknown {nested} junk}text{\\*\\generator Writer;}") << QStringLiteral("text");
    QTest::newRow("tables of the header are not text")
        << QByteArray("{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}body") << QStringLiteral("body");
    QTest::newRow("field through its result")
        << QByteArray("see {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} here")
        << QStringLiteral("see link here");
    QTest::newRow("headers, footers and footnotes skipped")
        << QByteArray("{\\header H}{\\footer F}a{\\footnote\\pard N\\par}b") << QStringLiteral("ab");
    QTest::newRow("hidden text dropped") << QByteArray("a{\\v hidden}b") << QStringLiteral("ab");
    QTest::newRow("\\upr takes the \\ud part") << QByteArray("{\\upr{x}{\\*\\ud{\\u1044?}}}") << QStringLiteral("Д");
    QTest::newRow("\\bin data is not text") << QByteArray("a\\bin3 {}}b") << QStringLiteral("ab");
    QTest::newRow("number text without a list kept")
        << QByteArray("{\\pntext 1)\\tab}item\\par") << QStringLiteral("1)\titem");
    QTest::newRow("bullet by \\pn") << QByteArray(
        "{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li720 one\\par"
        "{\\pntext\\f2\\'b7\\tab}two\\par\\pard three")
                                    << QStringLiteral("• one\n• two\nthree");
    QTest::newRow("numbering by \\pn") << QByteArray(
        "{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\li720 one\\par"
        "{\\pntext 2.\\tab}two\\par") << QStringLiteral("1. one\n2. two");
    QTest::newRow("table rows and cells")
        << QByteArray("\\trowd\\cellx2000\\cellx4000\\pard\\intbl A\\cell B\\cell\\row"
                      "\\trowd\\cellx2000\\cellx4000\\pard\\intbl C\\par D\\cell E\\cell\\row\\pard after")
        << QStringLiteral("A\tB\nC D\tE\nafter");
    QTest::newRow("row definition after the cells")
        << QByteArray("\\pard\\intbl A\\cell B\\cell\\trowd\\cellx1000\\cellx2000\\row") << QStringLiteral("A\tB");
    QTest::newRow("nested table keeps its text")
        << QByteArray("\\trowd\\cellx3000\\pard\\intbl outer\\par\\pard\\intbl\\itap2 in1\\nestcell in2\\nestcell"
                      "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}{\\nonesttables\\par}"
                      "\\pard\\intbl\\itap1 tail\\cell\\row")
        << QStringLiteral("outer in1 in2 tail");
}

void TestRtfReader::text()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(TestDocuments::rtf(body), document));
    QCOMPARE(TestDocuments::text(document), expected);
}

void TestRtfReader::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    const QByteArray deep = QByteArray(100000, '{') + "x" + QByteArray(100000, '}');
    QTest::newRow("group never closed") << QByteArray("{\\rtf1 a\\par {\\b bold") << QStringLiteral("a\nbold");
    QTest::newRow("too many closing braces") << QByteArray("{\\rtf1 a}}}} junk {b}") << QStringLiteral("a");
    QTest::newRow("truncated \\'h") << QByteArray("{\\rtf1 a\\'c") << QStringLiteral("a");
    QTest::newRow("broken \\'hh") << QByteArray("{\\rtf1 a\\'zzb}") << QStringLiteral("azzb");
    QTest::newRow("truncated backslash") << QByteArray("{\\rtf1 a\\") << QStringLiteral("a");
    QTest::newRow("truncated font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset204 Ari") << QString();
    QTest::newRow("absurd numbers") << QByteArray(
        "{\\rtf1\\fs99999999999999999\\li-99999999999\\sl-2147483648\\cellx-2147483648 "
        "\\f99999999999\\cf99999999\\ls-7\\ilvl2147483647\\picw99999 \\u99999999?x}")
                                    << QStringLiteral("x");
    QTest::newRow("absurd \\uc") << QByteArray("{\\rtf1\\uc999999999\\u1055 abc{x}}") << QStringLiteral("Пx");
    QTest::newRow("nesting 100000 deep") << QByteArray("{\\rtf1 a" + deep + "b}") << QStringLiteral("ab");
    QTest::newRow("nesting 100000 deep, never closed")
        << QByteArray("{\\rtf1 a" + QByteArray(100000, '{') + "x") << QStringLiteral("a");
    QTest::newRow("\\bin past the end") << QByteArray("{\\rtf1 a\\bin999999999 xyz") << QStringLiteral("a");
    QTest::newRow("\\bin negative") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringLiteral("ab");
    QTest::newRow("absurd cell boundaries")
        << QByteArray("{\\rtf1\\trowd\\cellx999999999\\cellx-5\\cellx-5\\intbl a\\cell b\\cell c\\cell\\row}")
        << QStringLiteral("a\tb\tc");
    QTest::newRow("cells without a row end") << QByteArray("{\\rtf1\\intbl a\\cell b") << QStringLiteral("a\tb");
    QTest::newRow("\\row without cells") << QByteArray("{\\rtf1\\row\\cell\\row x}") << QStringLiteral("\nx");
    QTest::newRow("picture never closed") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47") << QStringLiteral("a");
    QTest::newRow("star at the end") << QByteArray("{\\rtf1 a{\\*") << QStringLiteral("a");
    QTest::newRow("control word of 100000 letters")
        << QByteArray("{\\rtf1 a\\" + QByteArray(100000, 'b') + " c}") << QStringLiteral("ac");
    QTest::newRow("NUL and control bytes") << QByteArray("{\\rtf1 a\0\x01\x1f"
                                                         "b\\'00c}",
                                                         20)
                                           << QStringLiteral("abc");
    QTest::newRow("unknown code page") << QByteArray("{\\rtf1\\ansi\\ansicpg99999 caf\\'e9}") << QStringLiteral("café");
    QTest::newRow("byte the page maps to a control character")
        << QByteArray("{\\rtf1\\pc a\x7f\\'7f\\'1ab}") << QStringLiteral("ab");
}

void TestRtfReader::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(TestDocuments::text(document), expected);
}

void TestRtfReader::rejectsWhatIsNotRtf_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("hello {\\rtf1 x}");
    QTest::newRow("cut header") << QByteArray("{\\rt");
    QTest::newRow("other group") << QByteArray("{\\pict 00}");
}

void TestRtfReader::rejectsWhatIsNotRtf()
{
    QFETCH(QByteArray, data);
    QTextDocument document;
    document.setPlainText(QStringLiteral("before"));
    QVERIFY(!RtfReader::read(data, document));
    QCOMPARE(document.toPlainText(), QStringLiteral("before"));
    QVERIFY(RtfReader::isRtf("\xEF\xBB\xBF \r\n{\\rtf1}"));
}

void TestRtfReader::characterFormats()
{
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(
        TestDocuments::rtf("n{\\b B}{\\i I}{\\ul U\\ulnone V}{\\strike S}{\\f1\\fs28 C}{\\cf1 R}{\\cb2 G}"
                           "{\\highlight1 H}{\\super P}{\\sub Q}{\\super X\\nosupersub Y}{\\b\\i\\plain Z}{\\b0 W}"
                           "{\\up6 J}{\\dn4 K}{\\up8\\up0 L}"),
        document));
    const QTextCharFormat normal = TestDocuments::formatAt(document, QStringLiteral("n"));
    QCOMPARE(normal.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    QCOMPARE(normal.fontPointSize(), 10.0);
    QCOMPARE(normal.fontWeight(), int(QFont::Normal));
    QVERIFY(!normal.hasProperty(QTextFormat::ForegroundBrush));

    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("B")).fontWeight(), int(QFont::Bold));
    QVERIFY(TestDocuments::formatAt(document, QStringLiteral("I")).fontItalic());
    QVERIFY(TestDocuments::formatAt(document, QStringLiteral("U")).fontUnderline());
    QVERIFY(!TestDocuments::formatAt(document, QStringLiteral("V")).fontUnderline());
    QVERIFY(TestDocuments::formatAt(document, QStringLiteral("S")).fontStrikeOut());
    const QTextCharFormat courier = TestDocuments::formatAt(document, QStringLiteral("C"));
    QCOMPARE(courier.fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
    QCOMPARE(courier.fontPointSize(), 14.0);
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("R")).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("G")).background().color(), QColor(0, 0, 255));
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("H")).background().color(), QColor(255, 0, 0));
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("P")).verticalAlignment(),
             QTextCharFormat::AlignSuperScript);
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("Q")).verticalAlignment(),
             QTextCharFormat::AlignSubScript);
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("Y")).verticalAlignment(), QTextCharFormat::AlignNormal);
    // Raised and lowered text, as LibreOffice writes super- and subscripts.
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("J")).verticalAlignment(),
             QTextCharFormat::AlignSuperScript);
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("K")).verticalAlignment(),
             QTextCharFormat::AlignSubScript);
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("L")).verticalAlignment(), QTextCharFormat::AlignNormal);
    // \plain: the default font, 12 points, nothing else.
    const QTextCharFormat plain = TestDocuments::formatAt(document, QStringLiteral("Z"));
    QCOMPARE(plain.fontWeight(), int(QFont::Normal));
    QVERIFY(!plain.fontItalic());
    QCOMPARE(plain.fontPointSize(), 12.0);
    QCOMPARE(plain.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("W")).fontWeight(), int(QFont::Normal));
}

void TestRtfReader::groupsRestoreFormats()
{
    {
        // Multi-byte characters keep the format in force where they stand.
        QTextDocument document;
        QVERIFY(TestDocuments::readRtf(
            TestDocuments::rtf("{\\fonttbl{\\f5\\fcharset128 MS Mincho;}}{\\f5\\'82\\'a0\\b\\'82\\'a2}"), document));
        QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("あ")).fontWeight(), int(QFont::Normal));
        QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("い")).fontWeight(), int(QFont::Bold));
    }

    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(TestDocuments::rtf("\\b a{\\b0\\i\\qc b\\par}c\\par d"), document));
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("a")).fontWeight(), int(QFont::Bold));
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("b")).fontWeight(), int(QFont::Normal));
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("c")).fontWeight(), int(QFont::Bold));
    QVERIFY(!TestDocuments::formatAt(document, QStringLiteral("c")).fontItalic());
    // The paragraph takes the properties in force at its mark.
    QCOMPARE(document.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
    QVERIFY(document.findBlockByNumber(1).blockFormat().alignment() != Qt::AlignHCenter);
}

void TestRtfReader::paragraphFormats_data()
{
    QTest::addColumn<QByteArray>("properties");
    QTest::addColumn<int>("property");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("\\qc") << QByteArray("\\qc") << int(QTextFormat::BlockAlignment) << QVariant(int(Qt::AlignHCenter));
    QTest::newRow("\\qr") << QByteArray("\\qr") << int(QTextFormat::BlockAlignment) << QVariant(int(Qt::AlignRight));
    QTest::newRow("\\qj") << QByteArray("\\qj") << int(QTextFormat::BlockAlignment) << QVariant(int(Qt::AlignJustify));
    QTest::newRow("\\ql after \\qc") << QByteArray("\\qc\\ql") << int(QTextFormat::BlockAlignment) << QVariant();
    QTest::newRow("\\pard resets") << QByteArray("\\qc\\li720\\pard") << int(QTextFormat::BlockLeftMargin)
                                   << QVariant();
    // Twips to document units (pixels of 96 per inch): 15 twips each.
    QTest::newRow("\\li") << QByteArray("\\li720") << int(QTextFormat::BlockLeftMargin) << QVariant(48.0);
    QTest::newRow("\\ri") << QByteArray("\\ri360") << int(QTextFormat::BlockRightMargin) << QVariant(24.0);
    QTest::newRow("\\fi") << QByteArray("\\fi-270") << int(QTextFormat::TextIndent) << QVariant(-18.0);
    QTest::newRow("\\sb") << QByteArray("\\sb120") << int(QTextFormat::BlockTopMargin) << QVariant(8.0);
    QTest::newRow("\\sa") << QByteArray("\\sa240") << int(QTextFormat::BlockBottomMargin) << QVariant(16.0);
    QTest::newRow("\\sl multiple") << QByteArray("\\sl360\\slmult1") << int(QTextFormat::LineHeight) << QVariant(150.0);
    QTest::newRow("\\sl multiple type") << QByteArray("\\sl360\\slmult1") << int(QTextFormat::LineHeightType)
                                        << QVariant(int(QTextBlockFormat::ProportionalHeight));
    QTest::newRow("\\sl at least") << QByteArray("\\sl300\\slmult0") << int(QTextFormat::LineHeightType)
                                   << QVariant(int(QTextBlockFormat::MinimumHeight));
    QTest::newRow("\\sl exactly") << QByteArray("\\sl-300") << int(QTextFormat::LineHeight) << QVariant(20.0);
    QTest::newRow("\\sl exactly type") << QByteArray("\\sl-300") << int(QTextFormat::LineHeightType)
                                       << QVariant(int(QTextBlockFormat::FixedHeight));
    QTest::newRow("\\pagebb") << QByteArray("\\pagebb") << int(QTextFormat::PageBreakPolicy)
                              << QVariant(int(QTextFormat::PageBreak_AlwaysBefore));
}

void TestRtfReader::paragraphFormats()
{
    QFETCH(QByteArray, properties);
    QFETCH(int, property);
    QFETCH(QVariant, expected);
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(TestDocuments::rtf("first\\par\\pard" + properties + " text\\par"), document));
    const QTextBlockFormat format = document.findBlockByNumber(1).blockFormat();
    if (!expected.isValid())
        QVERIFY2(!format.hasProperty(property), qPrintable(format.property(property).toString()));
    else
        QCOMPARE(format.property(property), expected);
    QVERIFY(!document.findBlockByNumber(0).blockFormat().hasProperty(property)
            || property == int(QTextFormat::BlockAlignment));
}

void TestRtfReader::lists()
{
    QTextDocument document;
    const QByteArray tables =
        "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}}"
        "\\listid11}{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
        "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01.;}}\\listid22}}"
        "{\\*\\listoverridetable{\\listoverride\\listid11\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid22\\listoverridecount0\\ls2}}";
    QVERIFY(
        TestDocuments::readRtf(TestDocuments::rtf(tables
                                                  + "{\\listtext\\'95\\tab}\\pard\\ls1\\li720\\fi-360 b1\\par"
                                                    "{\\listtext\\'95\\tab}\\pard\\ls1\\li720\\fi-360 b2\\par"
                                                    "{\\listtext 1.\\tab}\\pard\\ls2\\li720\\fi-360 n1\\par"
                                                    "{\\listtext a.\\tab}\\pard\\ls2\\ilvl1\\li1440\\fi-360 sub\\par"
                                                    "\\pard between\\par"
                                                    "{\\listtext 2.\\tab}\\pard\\ls2\\li720\\fi-360 n2\\par"),
                               document));
    QCOMPARE(TestDocuments::text(document), QStringLiteral("• b1\n• b2\n1. n1\na. sub\nbetween\n2. n2"));
    QTextList *bullets = document.findBlockByNumber(0).textList();
    QVERIFY(bullets);
    QCOMPARE(bullets->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(document.findBlockByNumber(1).textList(), bullets);
    QTextList *numbers = document.findBlockByNumber(2).textList();
    QVERIFY(numbers && numbers != bullets);
    QCOMPARE(numbers->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(document.findBlockByNumber(3).textList()->format().style(), QTextListFormat::ListLowerAlpha);
    // The same list goes on after a paragraph outside it.
    QCOMPARE(document.findBlockByNumber(5).textList(), numbers);
    // The text of an item stands at \li; the marker lies in the hanging indent.
    QCOMPARE(document.findBlockByNumber(0).blockFormat().leftMargin(), 48.0);
    QCOMPARE(document.findBlockByNumber(0).blockFormat().textIndent(), 0.0);
}

void TestRtfReader::levelTexts_data()
{
    QTest::addColumn<QByteArray>("levels");
    QTest::addColumn<QList<int>>("items");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("lists"); // QTextLists made.

    // Level 0 in upper Roman numerals with a word before the number.
    const QByteArray chapter = "{\\listlevel\\levelnfc1{\\leveltext\\'07\\'c3\\'eb\\'e0\\'e2\\'e0 \\'00;}}";
    QTest::newRow("words around the number")
        << chapter << QList<int>{0, 0, 0} << QStringLiteral("Глава I L0\nГлава II L0\nГлава III L0") << 1;
    QTest::newRow("words and a second level with a leading zero")
        << chapter + "{\\listlevel\\levelnfc22{\\leveltext\\'0a\\'d0\\'e0\\'e7\\'e4\\'e5\\'eb \\'00.\\'01;}}"
        << QList<int>{0, 1, 1, 0, 1}
        << QStringLiteral("Глава I L0\nРаздел I.01 L1\nРаздел I.02 L1\nГлава II L0\nРаздел II.01 L1") << 3;
    QTest::newRow("legal numbering shows the levels above in figures")
        << QByteArray("{\\listlevel\\levelnfc1{\\leveltext\\'02\\'00.;}}"
                      "{\\listlevel\\levelnfc0\\levellegal1{\\leveltext\\'04\\'00.\\'01.;}}"
                      "{\\listlevel\\levelnfc4{\\leveltext\\'06\\'00.\\'01.\\'02);}}")
        << QList<int>{0, 0, 1, 1, 2} << QStringLiteral("I. L0\nII. L0\n2.1. L1\n2.2. L1\nII.2.a) L2") << 3;
    QTest::newRow("number formats") << QByteArray(
        "{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}{\\listlevel\\levelnfc2{\\leveltext\\'02\\'01);}}"
        "{\\listlevel\\levelnfc3{\\leveltext\\'02\\'02.;}}{\\listlevel\\levelnfc4{\\leveltext\\'03(\\'03);}}")
                                    << QList<int>{0, 1, 1, 1, 1, 2, 2, 3, 3, 0}
                                    << QStringLiteral(
                                           "1. L0\ni) L1\nii) L1\niii) L1\niv) L1\nA. L2\nB. L2\n(a) L3\n(b) L3\n2. L0")
                                    << 4;
    QTest::newRow("items a QTextList cannot number get their number as text")
        << QByteArray("{\\listlevel\\levelnfc0\\levelstartat3{\\leveltext\\'02\\'00.;}}"
                      "{\\listlevel\\levelnfc22{\\leveltext\\'02\\'01.;}}")
        << QList<int>{0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}
        << QStringLiteral("3.\tL0\n01. L1\n02. L1\n03. L1\n04. L1\n05. L1\n06. L1\n07. L1\n08. L1\n09. L1\n10.\tL1")
        << 1;
    QTest::newRow("levels that go on past the levels above")
        << QByteArray("{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
                      "{\\listlevel\\levelnfc4\\levelnorestart1{\\leveltext\\'02\\'01.;}}")
        << QList<int>{0, 1, 1, 0, 1} << QStringLiteral("1. L0\na. L1\nb. L1\n2. L0\nc. L1") << 2;
    QTest::newRow("bullets of the Symbol typeface, and a dash") << QByteArray(
        "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}\\f2}{\\listlevel\\levelnfc23{\\leveltext\\'01\\'96;}}")
                                                                << QList<int>{0, 1, 0}
                                                                << QStringLiteral("• L0\n–\tL1\n• L0") << 1;
    QTest::newRow("no number") << QByteArray("{\\listlevel\\levelnfc255{\\leveltext\\'00;}}") << QList<int>{0, 0}
                               << QStringLiteral("L0\nL0") << 0;
    // A bullet level shows a bullet whatever its level text says: none, an
    // empty one, or one made for a number.
    QTest::newRow("bullet levels without a bullet in their text")
        << QByteArray("{\\listlevel\\levelnfc23}{\\listlevel\\levelnfc23{\\leveltext\\'00;}}"
                      "{\\listlevel\\levelnfc23\\levelnfcn23{\\leveltext\\'02\\'02.;}}")
        << QList<int>{0, 1, 2, 2} << QStringLiteral("• L0\n• L1\n• L2\n• L2") << 3;
    // A level text without its own number shows as it stands, whatever the
    // level's number format: a bullet, a dash, the numbers of the levels
    // above.
    QTest::newRow("level texts without their own number") << QByteArray(
        "{\\listlevel\\levelnfc0{\\leveltext\\'01\\u8226 ?;}}{\\listlevel\\levelnfc4{\\leveltext\\'01\\'96;}}"
        "{\\listlevel\\levelnfc0{\\leveltext\\'01\\'a7;}\\f2}{\\listlevel\\levelnfc0{\\leveltext\\'03\\'00.\\'01;}}")
                                                          << QList<int>{0, 0, 1, 2, 3, 3}
                                                          << QStringLiteral("• L0\n• L0\n–\tL1\n• L2\n2.a\tL3\n2.a\tL3")
                                                          << 2;
}

void TestRtfReader::levelTexts()
{
    QFETCH(QByteArray, levels);
    QFETCH(QList<int>, items);
    QFETCH(QString, expected);
    QFETCH(int, lists);
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(TestDocuments::rtf(listTable(levels) + ::items(items)), document));
    QCOMPARE(TestDocuments::text(document), expected);
    QSet<QTextList *> made;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.textList())
            made.insert(block.textList());
    }
    QCOMPARE(made.size(), lists);
}

void TestRtfReader::longNumbersMoveTheFirstLine()
{
    // The number stands at the first-line indent; a number wider than the
    // hanging indent pushes the first line's text to the next tab stop
    // (every half inch here), where a word processor puts it, so that the
    // number Qt draws left of the text has its room.
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(
        TestDocuments::rtf("\\deftab720"
                           + listTable("{\\listlevel\\levelnfc1{\\leveltext\\'07\\'c3\\'eb\\'e0\\'e2\\'e0 \\'00;}}"
                                       "{\\listlevel\\levelnfc0{\\leveltext\\'02\\'01.;}}")
                           + "\\pard\\ls1\\fi-720\\li720\\fs32 a\\par\\pard\\ls1\\ilvl1\\fi-360\\li1440 b\\par"),
        document));
    const QTextBlockFormat chapter = document.findBlockByNumber(0).blockFormat();
    QCOMPARE(chapter.leftMargin(), 48.0);
    QVERIFY(chapter.textIndent() > 0);
    QCOMPARE(std::fmod(chapter.leftMargin() + chapter.textIndent(), 48.0), 0.0);
    const QTextBlockFormat item = document.findBlockByNumber(1).blockFormat();
    QCOMPARE(item.leftMargin(), 96.0);
    QCOMPARE(item.textIndent(), 0.0);
}

void TestRtfReader::longListGoesOnInPieces()
{
    // Qt walks a whole list for every item added: a list of thousands of
    // items is read as lists of a thousand, with nothing lost.
    QByteArray items;
    for (int i = 0; i < 1200; ++i)
        items += "{\\*\\pn\\pnlvlblt}item " + QByteArray::number(i) + "\\par";
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(TestDocuments::rtf(items), document));
    QCOMPARE(document.blockCount(), 1200);
    QCOMPARE(document.lastBlock().text(), QStringLiteral("item 1199"));
    QTextList *first = document.firstBlock().textList();
    QVERIFY(first);
    QCOMPARE(first->count(), 1000);
    QTextList *second = document.lastBlock().textList();
    QVERIFY(second && second != first);
    QCOMPARE(second->count(), 200);
    QCOMPARE(second->format().style(), QTextListFormat::ListDisc);
}

void TestRtfReader::table()
{
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(
        TestDocuments::rtf(
            "before\\par\\trowd\\trgaph60\\trqc\\clbrdrt\\brdrs\\clbrdrb\\brdrw45\\brdrs\\cellx1500"
            "\\clcbpat2\\cellx4500"
            "\\pard\\intbl\\qc {\\b A}\\cell B\\cell\\row"
            "\\trowd\\trgaph60\\cellx1500\\cellx4500\\pard\\intbl C\\cell D\\cell\\row\\pard after\\par"),
        document));
    QTextTable *table = nullptr;
    for (QTextFrame *frame : document.rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable *>(frame);
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 2);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 2);
    QCOMPARE(widths[0], QTextLength(QTextLength::FixedLength, 100));
    QCOMPARE(widths[1], QTextLength(QTextLength::FixedLength, 200));
    // Borders are the cells' own: top and a thick bottom for the first.
    QCOMPARE(table->format().border(), 0.0);
    const QTextTableCellFormat first = table->cellAt(0, 0).format().toTableCellFormat();
    QCOMPARE(first.topBorder(), 1.0);
    QCOMPARE(first.bottomBorder(), 3.0);
    QCOMPARE(first.leftBorderStyle(), QTextFrameFormat::BorderStyle_None);
    QVERIFY(!table->cellAt(0, 1).format().hasProperty(QTextFormat::TableCellTopBorder));
    QCOMPARE(table->cellAt(0, 1).format().background().color(), QColor(0, 0, 255));
    QVERIFY(!table->cellAt(0, 0).format().hasProperty(QTextFormat::BackgroundBrush));
    QCOMPARE(table->format().alignment(), Qt::AlignHCenter);
    QCOMPARE(table->format().cellPadding(), 4.0);
    const QTextTableCell a = table->cellAt(0, 0);
    QCOMPARE(a.firstCursorPosition().block().text(), QStringLiteral("A"));
    QCOMPARE(a.firstCursorPosition().block().blockFormat().alignment(), Qt::AlignHCenter);
    QTextCursor inA = a.firstCursorPosition();
    inA.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(inA.charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("D"));
    QCOMPARE(TestDocuments::text(document), QStringLiteral("before\nA\tB\nC\tD\nafter"));
}

void TestRtfReader::headerRows_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<int>("headerRows");
    const QByteArray plain = "\\trowd\\cellx2000\\intbl a\\cell\\row";
    const QByteArray header = "\\trowd\\trhdr\\cellx2000\\intbl h\\cell\\row";
    QTest::newRow("none") << plain + plain << 0;
    QTest::newRow("the first") << header + plain + plain << 1;
    QTest::newRow("the first two") << header + header + plain << 2;
    QTest::newRow("only further down: no header") << plain + header << 0;
}

void TestRtfReader::headerRows()
{
    QFETCH(QByteArray, rows);
    QFETCH(int, headerRows);
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(TestDocuments::rtf(rows), document));
    QTextTable *table = qobject_cast<QTextTable *>(document.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->format().headerRowCount(), headerRows);
}

void TestRtfReader::mergedCells()
{
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(
        TestDocuments::rtf("\\trowd\\clvmgf\\cellx1000\\cellx2000\\cellx3000\\intbl A\\cell B\\cell C\\cell\\row"
                           "\\trowd\\clvmrg\\cellx1000\\cellx3000\\intbl\\cell wide\\cell\\row"),
        document));
    QTextTable *table = qobject_cast<QTextTable *>(document.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->columns(), 3);
    QCOMPARE(table->cellAt(0, 0).rowSpan(), 2);
    QCOMPARE(table->cellAt(1, 1).columnSpan(), 2);
    QCOMPARE(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("wide"));
}

void TestRtfReader::pictures_data()
{
    QTest::addColumn<QByteArray>("pict");
    QTest::addColumn<QSizeF>("size");

    const QImage image = TestDocuments::picture(30, 20);
    const QByteArray png = TestDocuments::pngHex(image);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
    }
    QTest::newRow("PNG with goal size") << QByteArray("{\\pict\\pngblip\\picw30\\pich20\\picwgoal900\\pichgoal600 "
                                                      + png + "}")
                                        << QSizeF(60, 40);
    QTest::newRow("PNG scaled") << QByteArray("{\\pict\\pngblip\\picwgoal900\\pichgoal600\\picscalex50\\picscaley200\n"
                                              + png + "}")
                                << QSizeF(30, 80);
    QTest::newRow("PNG own size") << QByteArray("{\\pict\\pngblip " + png + "}") << QSizeF(30, 20);
    QTest::newRow("JPEG") << QByteArray("{\\pict\\jpegblip\\picwgoal450\\pichgoal300 " + jpeg.toHex() + "}")
                          << QSizeF(30, 20);
    QTest::newRow("JPEG by \\bin") << QByteArray("{\\pict\\jpegblip\\bin" + QByteArray::number(jpeg.size()) + " " + jpeg
                                                 + "}")
                                   << QSizeF(30, 20);
    QTest::newRow("PNG inside \\shppict, metafile skipped")
        << QByteArray("{\\*\\shppict{\\pict\\pngblip " + png + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}")
        << QSizeF(30, 20);
}

void TestRtfReader::pictures()
{
    QFETCH(QByteArray, pict);
    QFETCH(QSizeF, size);
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(TestDocuments::rtf("a" + pict + "b"), document));
    QCOMPARE(document.toRawText(), QStringLiteral("a\uFFFCb"));
    const QTextCharFormat format = TestDocuments::formatAt(document, QStringLiteral("\uFFFC"));
    QVERIFY(format.isImageFormat());
    const QTextImageFormat image = format.toImageFormat();
    QCOMPARE(QSizeF(image.width(), image.height()), size);
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(image.name()));
    const QImage loaded = resource.value<QImage>();
    QCOMPARE(loaded.size(), QSize(30, 20));
    QCOMPARE(QColor(loaded.pixel(2, 2)).red() > 200, true);
}

void TestRtfReader::brokenPictureIsLeftOut()
{
    QTextDocument document;
    QVERIFY(TestDocuments::readRtf(
        TestDocuments::rtf("a{\\pict\\pngblip 89504e470d0a1a0a0000}b{\\pict\\jpegblip}c{\\pict\\emfblip 0102}d"),
        document));
    QCOMPARE(document.toRawText(), QStringLiteral("abcd"));
}

void TestRtfReader::wordPadFile()
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/wordpad.rtf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument document;
    QVERIFY(RtfReader::read(file.readAll(), document));
    QCOMPARE(TestDocuments::text(document),
             QStringLiteral("Расчёт трубопровода\nДиаметр трубы: 0,5 м, уклон 0,002.\n• первый пункт\n• второй пункт\n"
                            "Конец."));
    QCOMPARE(document.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("Расчёт")).fontWeight(), int(QFont::Bold));
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("Расчёт")).fontPointSize(), 14.0);
    QVERIFY(TestDocuments::formatAt(document, QStringLiteral("0,5")).fontItalic());
    QCOMPARE(TestDocuments::formatAt(document, QStringLiteral("Диаметр")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("Arial")});
    QVERIFY(document.findBlockByNumber(2).textList());
    QCOMPARE(document.findBlockByNumber(3).textList(), document.findBlockByNumber(2).textList());
    QVERIFY(!document.findBlockByNumber(4).textList());
}

void TestRtfReader::otherWriters_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("bold");
    QTest::addColumn<QString>("raised");
    QTest::addColumn<int>("tableRows");

    // Written by LibreOffice Writer (\u with \'3f, \ls lists, \up and \dn)
    // and by pandoc (\u?, lists as text with \tx, cells ending in \par).
    QTest::newRow("LibreOffice")
        << QStringLiteral("libreoffice.rtf")
        << QStringList{QStringLiteral("Статический расчёт трубы"),
                       QStringLiteral("Обычный текст, жирный, курсив, синий, подчёркнутый, H₂O, м², греческие α β γ."),
                       QStringLiteral("Справа"),
                       QStringLiteral("• первый пункт"),
                       QStringLiteral("2. два"),
                       QStringLiteral("Диаметр\t500 мм"),
                       QStringLiteral("Рисунок:  конец.")}
        << QStringLiteral("жирный") << QStringLiteral("2,") << 2;
    QTest::newRow("pandoc") << QStringLiteral("pandoc.rtf")
                            << QStringList{QStringLiteral("Статический расчёт"),
                                           QStringLiteral(
                                               "Обычный текст, жирный, курсив, моно, H₂O, м² и греческие α β."),
                                           QStringLiteral("•\tпервый пункт"), QStringLiteral("2.\tдва"),
                                           QStringLiteral("Конец.")}
                            << QStringLiteral("жирный") << QStringLiteral("2 и") << 3;
}

void TestRtfReader::otherWriters()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    QFETCH(QString, bold);
    QFETCH(QString, raised);
    QFETCH(int, tableRows);

    QFile input(QStringLiteral(TEST_DATA_DIR "/") + file);
    QVERIFY(input.open(QIODevice::ReadOnly));
    QTextDocument document;
    QVERIFY(RtfReader::read(input.readAll(), document));
    const QStringList text = TestDocuments::text(document).split(QLatin1Char('\n'));
    for (const QString &line : lines)
        QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + text.join(QLatin1Char('\n'))));
    QCOMPARE(TestDocuments::formatAt(document, bold).fontWeight(), int(QFont::Bold));
    QCOMPARE(TestDocuments::formatAt(document, raised).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QTextTable *table = qobject_cast<QTextTable *>(document.rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->rows(), tableRows);
    const QTextCharFormat picture = TestDocuments::formatAt(document, QStringLiteral("\uFFFC"));
    QVERIFY(picture.isImageFormat());
    QCOMPARE(
        document.resource(QTextDocument::ImageResource, QUrl(picture.toImageFormat().name())).value<QImage>().size(),
        QSize(60, 30));
}

void TestRtfReader::codePages_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    // Each file has a lead byte and its trail written as \'hh\'hh, as \'hh
    // and the plain character, and as \'hh\\; then \u characters with their
    // double-byte fallback skipped under \uc1 and under \uc2.
    QTest::newRow("Macintosh Japanese") << "mac-japanese.rtf" << QStringLiteral("お読みください、表とアイ ああ.");
    QTest::newRow("Shift-JIS") << "shift-jis.rtf" << QStringLiteral("計算書の表とソ ああ.");
    QTest::newRow("GBK") << "gbk.rtf" << QStringLiteral("管道计算书說 中中.");
    QTest::newRow("Big5") << "big5.rtf" << QStringLiteral("管道計算許功 中中.");
    QTest::newRow("Korean") << "korean.rtf" << QStringLiteral("관로 계산서 똠 한한.");
}

void TestRtfReader::codePages()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QTextDocument document;
    RtfReader::Report report;
    QVERIFY(RtfReader::read(readFile(file), document, RtfReader::Options(), &report));
    QCOMPARE(TestDocuments::text(document), expected);
    QVERIFY(report.unsupportedCodePages.isEmpty());
}

void TestRtfReader::unsupportedCodePageIsReported()
{
    // Macintosh Arabic has no converter: its text is read as Mac Roman, and
    // said so; the pages that convert are not named.
    QTextDocument document;
    RtfReader::Report report;
    QVERIFY(RtfReader::read("{\\rtf1\\mac\\ansicpg10004\\deff9{\\fonttbl{\\f0\\fcharset89 A;}{\\f1\\cpg1361 B;}}"
                            "caf\\'8e {\\f0\\'80} {\\f1 x}}",
                            document, RtfReader::Options(), &report));
    QCOMPARE(TestDocuments::text(document), QStringLiteral("café А x"));
    QCOMPARE(report.unsupportedCodePages, (QList<int>{10004, 1361}));
}

void TestRtfReader::textOnlyReadsTheSameText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    for (const char *file :
         {"wordpad.rtf", "libreoffice.rtf", "pandoc.rtf", "two-tables.rtf", "roman-list.rtf", "shift-jis.rtf"})
        QTest::newRow(file) << readFile(QString::fromLatin1(file));
    QTest::newRow("raised and lowered") << TestDocuments::rtf(
        "m{\\super 2} H{\\sub 2}O {\\b 0.8}{\\super\\i 4}{\\super\\b 4}{\\v hidden}");
}

void TestRtfReader::textOnlyReadsTheSameText()
{
    QFETCH(QByteArray, rtf);
    QTextDocument full;
    QTextDocument text;
    RtfReader::Options options;
    options.textOnly = true;
    QVERIFY(RtfReader::read(rtf, full));
    QVERIFY(RtfReader::read(rtf, text, options, nullptr));
    QCOMPARE(PlainTextCodec::write(text), PlainTextCodec::write(full));
}

QTEST_MAIN(TestRtfReader)
#include "tst_RtfReader.moc"
