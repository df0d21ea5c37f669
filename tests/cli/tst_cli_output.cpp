// Where pipecalc-cli writes its output, run as a user runs it: a full disk
// leaves the former file and a non-zero status, devices and pipes stay what
// they are, and a name reaches the file system as the bytes given.

#include "CliRunner.h"
#include "SmallFileSystem.h"
#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kRtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 "
                        "{\\b \\'c8\\'f2\\'ee\\'e3}\\par \\'e2\\'f2\\'ee\\'f0\\'e0\\'ff}";

// The command through the shell, so that the arguments are bytes.
CliRun runShell(const QByteArray &arguments)
{
    QProcess process;
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + QString::fromLatin1(arguments),
                   QStringLiteral(PIPECALC_CLI)});
    process.waitForFinished(60000);
    CliRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

mode_t typeOf(const char *path)
{
    struct stat info;
    return ::stat(path, &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

QByteArray filler(int size)
{
    return QByteArray(size, 'x');
}

} // namespace

class TestCliOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fullDisk_data();
    void fullDisk();
    void devices_data();
    void devices();
    void nameBytes();

private:
    QTemporaryDir m_dir;
    QString m_input;
};

void TestCliOutput::initTestCase()
{
    m_input = m_dir.filePath(QStringLiteral("in.rtf"));
    QVERIFY(TestFiles::write(m_input, kRtf));
}

void TestCliOutput::fullDisk_data()
{
    QTest::addColumn<QStringList>("command"); // "OUT" stands for the output file
    QTest::addColumn<QString>("output");

    QTest::newRow("convert to RTF") << QStringList{"convert", "IN", "-o", "OUT"} << "report.rtf";
    QTest::newRow("convert to text") << QStringList{"convert", "IN", "-o", "OUT"} << "report.txt";
    QTest::newRow("convert to PDF") << QStringList{"convert", "IN", "-o", "OUT"} << "report.pdf";
    QTest::newRow("report to RTF") << QStringList{"report", "hydraulic", "-o", "OUT"} << "report.rtf";
    QTest::newRow("report to PDF") << QStringList{"report", "static", "--output", "OUT"} << "report.pdf";
}

void TestCliOutput::fullDisk()
{
    QFETCH(QStringList, command);
    QFETCH(QString, output);

    SmallFileSystem disk(64);
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("No small file system to fill: %1").arg(disk.whyNot())));
    // The former file and another one leave less room than any new output takes.
    const QString path = disk.filePath(output);
    const QByteArray former = "former " + filler(2000);
    QVERIFY(TestFiles::write(path, former));
    QVERIFY(TestFiles::write(disk.filePath(QStringLiteral("other")), filler(60 * 1024)));

    command.replaceInStrings(QStringLiteral("IN"), m_input);
    command.replaceInStrings(QStringLiteral("OUT"), path);
    const CliRun run = runCli(command);
    QCOMPARE(run.exitCode, 9);
    QVERIFY2(run.err.contains(QStringLiteral("Файл \"%1\" не записан. На диске недостаточно места. "
                                             "Прежний файл сохранён без изменений")
                                  .arg(path)),
             qPrintable(run.err));
    QCOMPARE(TestFiles::read(path), former);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestCliOutput::devices_data()
{
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("/dev/null") << QByteArray("/dev/null") << 0 << QString();
    QTest::newRow("/dev/full") << QByteArray("/dev/full") << 9
                               << QStringLiteral("Файл \"/dev/full\" не записан. На диске недостаточно места");
    // The tool's standard output is a pipe here: the document comes through it.
    QTest::newRow("/dev/stdout, a pipe") << QByteArray("/dev/stdout") << 0 << QString();
    QTest::newRow("a folder") << QByteArray("/tmp") << 9
                              << QStringLiteral("Cannot create file \"/tmp\". Это папка, а не файл");
}

void TestCliOutput::devices()
{
    QFETCH(QByteArray, output);
    QFETCH(int, status);
    QFETCH(QString, message);

    const mode_t before = typeOf(output.constData());
    const CliRun run = runCli({QStringLiteral("convert"), m_input, QStringLiteral("-o"), QString::fromLatin1(output)});
    QCOMPARE(run.exitCode, status);
    if (!message.isEmpty())
        QCOMPARE(run.err.trimmed(), message);
    QCOMPARE(typeOf(output.constData()), before);
    QCOMPARE(run.out.startsWith(QLatin1String("{\\rtf1")), output == "/dev/stdout");
}

void TestCliOutput::nameBytes()
{
    // "café.txt" in Latin-1: the name is not UTF-8.
    const QByteArray folder = QFile::encodeName(m_dir.path());
    const QByteArray name = folder + "/caf\xe9.txt";
    const CliRun run =
        runShell("convert '" + QFile::encodeName(m_input) + "' -o \"$(printf '" + folder + "/caf\\351.txt')\"");
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    QCOMPARE(typeOf(name.constData()), mode_t(S_IFREG));

    // Such a name is read as well as written: a document to convert, and a
    // project saved and opened again.
    const CliRun back = runShell("convert \"$(printf '" + folder + "/caf\\351.txt')\" -o '" + folder + "/back.rtf'");
    QCOMPARE(back.exitCode, 0);
    QVERIFY2(back.err.isEmpty(), qPrintable(back.err));
    QCOMPARE(typeOf(QByteArray(folder + "/back.rtf").constData()), mode_t(S_IFREG));
    const QByteArray project = "\"$(printf '" + folder + "/\\351.pipecalc')\"";
    const CliRun saved = runShell("calc hydraulic --set hs_d=0.4 --save-project " + project);
    QCOMPARE(saved.exitCode, 0);
    const CliRun opened = runShell("calc hydraulic --json --project " + project);
    QVERIFY2(opened.exitCode == 0, qPrintable(opened.err));
    QCOMPARE(::unlink(name.constData()), 0);
    QCOMPARE(::unlink(QByteArray(folder + "/\xe9.pipecalc").constData()), 0);
}

QTEST_GUILESS_MAIN(TestCliOutput)
#include "tst_cli_output.moc"
