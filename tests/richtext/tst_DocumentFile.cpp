#include "TestDocuments.h"

#include "richtext/DocumentFile.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <sys/stat.h>

namespace {

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDocumentFile : public QObject
{
    Q_OBJECT

private slots:
    void formatByExtension_data();
    void formatByExtension();
    void loadFallsBack_data();
    void loadFallsBack();
    void missingFile();
    void directoryIsNotAFile();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void saveByExtension_data();
    void saveByExtension();
    void failedSaveKeepsTheFormerFile();

private:
    QTemporaryDir m_dir;
};

void TestDocumentFile::formatByExtension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("plainText");
    QTest::newRow("txt") << QStringLiteral("/a/report.txt") << true;
    QTest::newRow("TXT") << QStringLiteral("/a/REPORT.TXT") << true;
    QTest::newRow("Txt") << QStringLiteral("report.Txt") << true;
    QTest::newRow("rtf") << QStringLiteral("/a/report.rtf") << false;
    QTest::newRow("other") << QStringLiteral("/a/report.doc") << false;
    QTest::newRow("none") << QStringLiteral("/a/report") << false;
    QTest::newRow("txt not last") << QStringLiteral("/a/report.txt.rtf") << false;
    QTest::newRow("txt in the folder") << QStringLiteral("/a.txt/report") << false;
    QTest::newRow("dot file") << QStringLiteral("/a/.txt") << true;
}

void TestDocumentFile::formatByExtension()
{
    QFETCH(QString, path);
    QFETCH(bool, plainText);
    QCOMPARE(DocumentFile::formatOf(path) == DocumentFile::Format::PlainText, plainText);
}

void TestDocumentFile::loadFallsBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");

    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}";
    QTest::newRow("rtf as RTF") << QStringLiteral("a.rtf") << rtf << true << QStringLiteral("Привет");
    QTest::newRow("rtf that is text") << QStringLiteral("b.rtf") << QByteArray("\xcf\xf0\xe8") << true
                                      << QStringLiteral("При");
    QTest::newRow("other extension as RTF") << QStringLiteral("c.doc") << rtf << true << QStringLiteral("Привет");
    QTest::newRow("no extension that is text")
        << QStringLiteral("d") << QByteArray("plain") << true << QStringLiteral("plain");
    QTest::newRow("txt as text, even RTF") << QStringLiteral("e.TXT") << rtf << true << QString::fromLatin1(rtf);
    QTest::newRow("txt that is RTF with NUL bytes")
        << QStringLiteral("f.txt") << QByteArray(rtf + '\0' + "x") << true << QStringLiteral("Привет");
    QTest::newRow("neither") << QStringLiteral("g.rtf") << QByteArray("\x89PNG\0\0\0", 7) << false << QString();
    QTest::newRow("empty") << QStringLiteral("h.rtf") << QByteArray() << true << QString();
}

void TestDocumentFile::loadFallsBack()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    const QString path = m_dir.filePath(name);
    writeFile(path, data);
    QTextDocument document;
    document.setPlainText(QStringLiteral("before"));
    const Result<> result = DocumentFile::load(path, document);
    QCOMPARE(result.ok(), ok);
    if (ok) {
        QVERIFY(result.message().isEmpty());
        QCOMPARE(document.toPlainText(), text);
    } else {
        QCOMPARE(result.message(), QStringLiteral("Failed to Load Stream"));
        QCOMPARE(document.toPlainText(), QStringLiteral("before"));
    }
}

void TestDocumentFile::missingFile()
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("kept"));
    const QString path = m_dir.filePath(QStringLiteral("missing.rtf"));
    const Result<> result = DocumentFile::load(path, document);
    QVERIFY(!result.ok());
    QCOMPARE(result.message(), QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(path));
    QCOMPARE(document.toPlainText(), QStringLiteral("kept"));
    QCOMPARE(DocumentFile::checkReadable(path).message(), result.message());
}

void TestDocumentFile::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("name"); // "@fifo" is made in the temporary folder
    QTest::newRow("an endless device") << "/dev/zero";
    QTest::newRow("a link to an endless device") << "@link";
    QTest::newRow("a FIFO without a writer") << "@fifo";
}

// A device or a FIFO is refused at once: never read without end, never
// waited for.
void TestDocumentFile::onlyRegularFilesAreRead()
{
    QFETCH(QString, name);
    if (name == QLatin1String("@fifo")) {
        name = m_dir.filePath(QStringLiteral("pipe.rtf"));
        QFile::remove(name);
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    } else if (name == QLatin1String("@link")) {
        name = m_dir.filePath(QStringLiteral("zero.rtf"));
        QFile::remove(name);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), name));
    }
    QTextDocument document;
    document.setPlainText(QStringLiteral("kept"));
    const QString expected = QStringLiteral("Cannot open file \"%1\". Это не обычный файл").arg(name);
    const Result<> result = DocumentFile::load(name, document);
    QVERIFY(!result.ok());
    QCOMPARE(result.message(), expected);
    QCOMPARE(document.toPlainText(), QStringLiteral("kept"));
    QCOMPARE(DocumentFile::checkReadable(name).message(), expected);
}

void TestDocumentFile::directoryIsNotAFile()
{
    QTextDocument document;
    const Result<> result = DocumentFile::load(m_dir.path(), document);
    QVERIFY(!result.ok());
    QVERIFY2(result.message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(m_dir.path())),
             qPrintable(result.message()));
}

void TestDocumentFile::saveByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("rtf") << QStringLiteral("s.rtf") << QByteArray("{\\rtf1\\ansi\\ansicpg1251");
    QTest::newRow("TXT") << QStringLiteral("s.TXT") << QByteArray("\xc8\xf2\xee\xe3\r\n");
    QTest::newRow("other") << QStringLiteral("s.doc") << QByteArray("{\\rtf1");
    QTest::newRow("none") << QStringLiteral("s") << QByteArray("{\\rtf1");
}

void TestDocumentFile::saveByExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    QTextDocument document;
    document.setPlainText(QStringLiteral("Итог\nвторая строка"));
    const QString path = m_dir.filePath(name);
    writeFile(path, "old content that is longer than the new one, all of it");
    const Result<> saved = DocumentFile::save(path, document);
    QVERIFY2(saved.ok(), qPrintable(saved.message()));
    const QByteArray data = readFile(path);
    QVERIFY2(data.startsWith(start), data.constData());
    QTextDocument copy;
    QVERIFY(DocumentFile::load(path, copy).ok());
    QCOMPARE(copy.toPlainText(), document.toPlainText());
}

void TestDocumentFile::failedSaveKeepsTheFormerFile()
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("new"));
    const QString missingFolder = m_dir.filePath(QStringLiteral("no/such/folder/r.rtf"));
    const Result<> result = DocumentFile::save(missingFolder, document);
    QVERIFY(!result.ok());
    QVERIFY2(result.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(missingFolder)),
             qPrintable(result.message()));

    // A folder in the way: nothing is created, the folder stays.
    const QString folder = m_dir.filePath(QStringLiteral("taken.rtf"));
    QVERIFY(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("/inside.txt"), "keep");
    QVERIFY(!DocumentFile::save(folder, document).ok());
    QCOMPARE(readFile(folder + QStringLiteral("/inside.txt")), QByteArray("keep"));
}

QTEST_MAIN(TestDocumentFile)
#include "tst_DocumentFile.moc"
