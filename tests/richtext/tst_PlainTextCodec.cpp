#include "TestDocuments.h"

#include "richtext/PlainTextCodec.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

class TestPlainTextCodec : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void everyCharacterSurvives();
    void documentText();
    void raisedAndLoweredText_data();
    void raisedAndLoweredText();
    void readUsesTheDefaultFormat();
};

void TestPlainTextCodec::decode_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("isText");
    QTest::addColumn<QString>("expected");

    const QByteArray utf8 = QStringLiteral("Привет").toUtf8();
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF" + utf8) << true << QStringLiteral("Привет");
    QTest::newRow("mark on ASCII") << QByteArray("\xEF\xBB\xBF"
                                                 "abc")
                                   << true << QStringLiteral("abc");
    QTest::newRow("valid UTF-8 without mark") << utf8 << true << QStringLiteral("Привет");
    QTest::newRow("Windows-1251") << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2 \xb8\x88") << true
                                  << QStringLiteral("Привет ё€");
    QTest::newRow("broken UTF-8 is Windows-1251") << QByteArray("\xd0\x9f\xd0") << true << QStringLiteral("Рџ\u0420");
    QTest::newRow("ASCII") << QByteArray("plain") << true << QStringLiteral("plain");
    QTest::newRow("CR LF and CR") << QByteArray("a\r\nb\rc\n\nd") << true << QStringLiteral("a\nb\nc\n\nd");
    QTest::newRow("empty") << QByteArray() << true << QString();
    QTest::newRow("NUL bytes are not text") << QByteArray("a\0b", 3) << false << QString();
}

void TestPlainTextCodec::decode()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, isText);
    QFETCH(QString, expected);
    const std::optional<QString> text = PlainTextCodec::decode(data);
    QCOMPARE(text.has_value(), isText);
    if (text)
        QCOMPARE(*text, expected);
}

void TestPlainTextCodec::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Windows-1251 when all fits")
        << QStringLiteral("Привет ё€\n2") << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2 \xb8\x88\r\n2");
    QTest::newRow("UTF-8 with mark otherwise")
        << QStringLiteral("α = 1\n") << QByteArray("\xEF\xBB\xBF\xCE\xB1 = 1\r\n");
    QTest::newRow("ASCII") << QStringLiteral("abc") << QByteArray("abc");
}

void TestPlainTextCodec::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(PlainTextCodec::encode(text), expected);
    QCOMPARE(PlainTextCodec::decode(expected).value_or(QString()), text);
}

void TestPlainTextCodec::everyCharacterSurvives()
{
    // Windows-1251 letters with one character it lacks: the whole text
    // must come back, not with question marks.
    const QString text = QStringLiteral("Диаметр ∅ 500 мм, угол 30°, ε ≤ 5 %");
    QCOMPARE(PlainTextCodec::decode(PlainTextCodec::encode(text)).value_or(QString()), text);
}

void TestPlainTextCodec::documentText()
{
    QTextDocument document;
    TestDocuments::fillRich(document);
    const QStringList lines = PlainTextCodec::documentText(document).split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringLiteral("Гидравлический расчёт"));
    QVERIFY(lines.contains(QStringLiteral("• первый пункт")));
    QVERIFY(lines.contains(QStringLiteral("2. два")));
    QVERIFY(lines.contains(QStringLiteral("Величина\tЗначение\tЕд. м")));
    QVERIFY(lines.contains(QStringLiteral("Диаметр\t0.5\t")));
    QVERIFY(lines.contains(QStringLiteral("Рисунок:  конец.")));
}

void TestPlainTextCodec::raisedAndLoweredText_data()
{
    // Runs of text, each after its position: ^ raised, _ lowered, = normal.
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("power") << QStringList{"=0.8", "^4"} << QStringLiteral("0.8⁴");
    QTest::newRow("power inside a formula") << QStringList{"=0.0038", "^3", "=/6"} << QStringLiteral("0.0038³/6");
    QTest::newRow("every digit and sign")
        << QStringList{"=10", "^-1234567890", "= + x", "^(n+i)"} << QStringLiteral("10⁻¹²³⁴⁵⁶⁷⁸⁹⁰ + x⁽ⁿ⁺ⁱ⁾");
    QTest::newRow("one run over formats") << QStringList{"=m", "^2", "^0"} << QStringLiteral("m²⁰");
    QTest::newRow("index") << QStringList{"=H", "_2", "=O, σ", "_max", "=, D", "_n-1"}
                           << QStringLiteral("H₂O, σₘₐₓ, Dₙ₋₁");
    QTest::newRow("without forms: marked")
        << QStringList{"=e", "^x,5", "=, σ", "_тр", "=, m", "^2 "} << QStringLiteral("e^x,5, σ_тр, m^2 ");
    // An exponent of more than one number or name is bracketed, so that it
    // reads whole.
    QTest::newRow("exponent of a sum over a number") << QStringList{"=3,192·1,000", "^(1 + 0,2553)/1,818", "= = 3,192"}
                                                     << QStringLiteral("3,192·1,000^((1 + 0,2553)/1,818) = 3,192");
    QTest::newRow("root as an exponent") << QStringList{"=X", "^1/b"} << QStringLiteral("X^(1/b)");
    QTest::newRow("exponent of a product")
        << QStringList{"=2,718281", "^−3,14·tg 30°", "=·2"} << QStringLiteral("2,718281^(−3,14·tg 30°)·2");
    QTest::newRow("bracketed exponent kept") << QStringList{"=x", "^(a/b)"} << QStringLiteral("x^(a/b)");
    QTest::newRow("two brackets are no one") << QStringList{"=x", "^(a)/(b)"} << QStringLiteral("x^((a)/(b))");
}

void TestPlainTextCodec::raisedAndLoweredText()
{
    QFETCH(QStringList, runs);
    QFETCH(QString, expected);
    QTextDocument document;
    QTextCursor cursor(&document);
    for (const QString &run : runs) {
        QTextCharFormat format;
        if (run.startsWith(QLatin1Char('^')))
            format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (run.startsWith(QLatin1Char('_')))
            format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        if (runs.indexOf(run) % 2)
            format.setFontWeight(QFont::Bold); // Formats change within runs as well.
        cursor.insertText(run.mid(1), format);
    }
    QCOMPARE(PlainTextCodec::documentText(document), expected);
    QCOMPARE(PlainTextCodec::decode(PlainTextCodec::write(document)).value_or(QString()), expected);
}

void TestPlainTextCodec::readUsesTheDefaultFormat()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("old"), bold);
    QVERIFY(PlainTextCodec::read("\xcf\xf0\xe8\r\n\xe2\xe5\xf2", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("При\nвет"));
    QCOMPARE(document.blockCount(), 2);
    QCOMPARE(QTextCursor(document.lastBlock()).charFormat().fontWeight(), int(QFont::Normal));
    QVERIFY(!document.isModified());
    QVERIFY(!PlainTextCodec::read(QByteArray("\0", 1), document));
    QCOMPARE(document.toPlainText(), QStringLiteral("При\nвет"));
}

QTEST_MAIN(TestPlainTextCodec)
#include "tst_PlainTextCodec.moc"
