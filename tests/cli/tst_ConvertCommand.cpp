#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// pipecalc-cli convert, run as the program it is.
class TestConvertCommand : public QObject
{
    Q_OBJECT

private slots:
    void convert_data();
    void convert();

private:
    QTemporaryDir m_dir;
};

void TestConvertCommand::convert_data()
{
    QTest::addColumn<QString>("inputName");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output"); // Expected at the output's start.
    QTest::addColumn<QString>("message");   // Expected in standard error.

    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 "
                           "{\\b \\'c8\\'f2\\'ee\\'e3}\\par \\'e2\\'f2\\'ee\\'f0\\'e0\\'ff}";
    // A 2 by 1 PNG picture.
    const QByteArray png = "89504e470d0a1a0a0000000d49484452000000020000000108020000007b40e8dd0000000d4944"
                           "4154789c63f8cf0004ff01070001ffe2239e590000000049454e44ae426082";

    QTest::newRow("rtf to txt") << "a.rtf" << rtf << "a.txt" << 0
                                << QByteArray("\xc8\xf2\xee\xe3\r\n\xe2\xf2\xee\xf0\xe0\xff") << QString();
    QTest::newRow("txt to rtf") << "b.txt" << QByteArray("\xc8\xf2\xee\xe3") << "b.RTF" << 0
                                << QByteArray("{\\rtf1\\ansi\\ansicpg1251\\deff0") << QString();
    QTest::newRow("picture kept") << "c.rtf" << QByteArray("{\\rtf1 x{\\pict\\pngblip " + png + "}}") << "c.rtf" << 0
                                  << QByteArray("{\\rtf1") << QString();
    // A code page Qt cannot convert: read in a stand-in page, and said so.
    QTest::newRow("unsupported code page")
        << "g.rtf" << QByteArray("{\\rtf1\\mac\\ansicpg10004 caf\\'8e}") << "g.txt" << 0
        << QStringLiteral("\uFEFFcafé").toUtf8()
        << QStringLiteral("Предупреждение: Кодовая страница 10004 не поддерживается: текст в ней прочитан в "
                          "кодовой странице 10000");
    QTest::newRow("Macintosh Japanese") << "h.rtf" << QByteArray("{\\rtf1\\mac\\ansicpg10001 \\'82\\'a8\\'93\\'c7}")
                                        << "h.txt" << 0 << QStringLiteral("\uFEFFお読").toUtf8() << QString();
    QTest::newRow("missing input") << "" << QByteArray() << "d.txt" << 8 << QByteArray()
                                   << QStringLiteral("Cannot open file \"%1\". No such file or directory");
    QTest::newRow("unreadable input") << "e.rtf" << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << "e.txt" << 8
                                      << QByteArray() << QStringLiteral("Failed to Load Stream");
    QTest::newRow("output folder missing")
        << "f.rtf" << rtf << "no/such/f.rtf" << 9 << QByteArray() << QStringLiteral("Cannot create file \"");
}

void TestConvertCommand::convert()
{
    QFETCH(QString, inputName);
    QFETCH(QByteArray, input);
    QFETCH(QString, outputName);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QString, message);

    const QString inputPath = m_dir.filePath(inputName.isEmpty() ? QStringLiteral("missing.rtf") : inputName);
    if (!inputName.isEmpty()) {
        QFile file(inputPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(input);
    }
    const QString outputPath = m_dir.filePath(outputName);

    QProcess process;
    process.start(QStringLiteral(PIPECALC_CLI),
                  {QStringLiteral("convert"), inputPath, QStringLiteral("-o"), outputPath});
    QVERIFY(process.waitForFinished(30000));
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), status);
    QVERIFY2(errors.contains(message.contains(QLatin1String("%1")) ? message.arg(inputPath) : message),
             qPrintable(errors));

    QFile result(outputPath);
    if (status != 0) {
        QVERIFY(!result.exists());
        return;
    }
    if (message.isEmpty())
        QVERIFY(errors.isEmpty());
    QVERIFY(result.open(QIODevice::ReadOnly));
    const QByteArray written = result.readAll();
    QVERIFY2(written.startsWith(output), written.constData());
    if (QTest::currentDataTag() == QByteArray("picture kept"))
        QVERIFY2(written.contains("{\\pict\\pngblip\\picw2\\pich1"), written.constData());
}

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_ConvertCommand.moc"
