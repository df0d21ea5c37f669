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
    void readUsesTheDefaultFormat();
};

void TestPlainTextCodec::decode_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("isText");
    QTest::addColumn<QString>("expected");

    const QByteArray utf8 = QStringLiteral("Привет").toUtf8();
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF" + utf8) << true << QStringLiteral("Привет");
    QTest::newRow("mark on ASCII") << QByteArray("\xEF\xBB\xBF" "abc") << true << QStringLiteral("abc");
    QTest::newRow("valid UTF-8 without mark") << utf8 << true << QStringLiteral("Привет");
    QTest::newRow("Windows-1251") << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2 \xb8\x88") << true << QStringLiteral("Привет ё€");
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
    QTest::newRow("Windows-1251 when all fits") << QStringLiteral("Привет ё€\n2")
                                                << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2 \xb8\x88\r\n2");
    QTest::newRow("UTF-8 with mark otherwise") << QStringLiteral("α = 1\n")
                                               << QByteArray("\xEF\xBB\xBF\xCE\xB1 = 1\r\n");
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
