// Every kind of file the program writes, on a disk that fails at each step
// of the save: the former file survives byte for byte and the failure is
// said, never reported as success.

#include "FaultyFileSystem.h"
#include "TestFiles.h"

#include "app/IniFile.h"
#include "cli/DocumentOutput.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace {

using Fault = FaultyFileSystem::Fault;

// Writes the file of the kind its name gives; the message of a failure, or
// an empty text.
QString save(const QString &path, bool *ok)
{
    if (path.endsWith(QLatin1String(".ini"))) {
        IniFile ini(path);
        ini.load();
        ini.setValue(QStringLiteral("Settings"), QStringLiteral("TabIndex"), 1);
        *ok = ini.save().ok();
        return QString();
    }
    QTextDocument document;
    QTextCursor cursor(&document);
    for (int i = 0; i < 40; ++i)
        cursor.insertText(QStringLiteral("Строка отчёта номер %1 с числом 3,192\n").arg(i));
    const Result<> written = DocumentOutput::write(document, path, QStringLiteral("Заголовок"));
    *ok = written.ok();
    return written.message();
}

} // namespace

class TestSaveFailures : public QObject
{
    Q_OBJECT

private slots:
    void formerFileSurvives_data();
    void formerFileSurvives();
};

void TestSaveFailures::formerFileSurvives_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("message"); // %1 the full path; empty for the settings

    const QString full = QStringLiteral("На диске недостаточно места");
    const QString notWritten =
        QStringLiteral("Файл \"%1\" не записан. ") + full + QStringLiteral(". Прежний файл сохранён без изменений");
    const QString notCreated = QStringLiteral("Cannot create file \"%1\". ") + full;
    const struct
    {
        const char *name;
        Fault fault;
    } faults[] = {{"cannot create", Fault::Create},  {"every write fails", Fault::Write},
                  {"disk fills", Fault::ShortWrite}, {"sync fails", Fault::Fsync},
                  {"close fails", Fault::Close},     {"rename fails", Fault::Rename}};
    for (const char *file : {"report.rtf", "report.txt", "report.pdf", "pipecalc.ini"}) {
        for (const auto &f : faults) {
            const bool settings = QByteArray(file).endsWith(".ini");
            QTest::addRow("%s, %s", file, f.name) << QString::fromLatin1(file) << int(f.fault)
                                                  << (settings                   ? QString()
                                                      : f.fault == Fault::Create ? notCreated
                                                                                 : notWritten);
        }
    }
}

void TestSaveFailures::formerFileSurvives()
{
    QFETCH(QString, name);
    QFETCH(int, fault);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QByteArray former = "[Settings]\nTabIndex=0\n; the former file\n";
    QVERIFY(TestFiles::write(path, former));

    bool ok = true;
    QString said;
    {
        const FaultyFileSystem disk{Fault(fault)};
        said = save(path, &ok);
    }
    QVERIFY(!ok);
    if (!message.isEmpty())
        QCOMPARE(said, message.arg(path));
    QCOMPARE(TestFiles::read(path), former);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});

    // The same save on a sound disk replaces the file.
    said = save(path, &ok);
    QVERIFY2(ok, qPrintable(said));
    QVERIFY(TestFiles::read(path) != former);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

QTEST_MAIN(TestSaveFailures)
#include "tst_savefailures.moc"
