// pipecalc-cli where the world works against it, run as a user runs it:
// standard streams that are full or closed, names of streams and FIFOs,
// files the user may not write, no display, signals during a save,
// databases that never end or lost pages, ranges at the edge of the
// numbers, projects made with another database.  Each row is a fault a
// user could meet; the tool must end with the right status and say why,
// and leave the user's files as they were.

#include "CliRunner.h"
#include "OrdinaryUser.h"
#include "SmallFileSystem.h"
#include "SqliteFixture.h"
#include "TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kFormer = "the user's former file\n";

QString quoted(const QString &text)
{
    QString inner = text;
    return QLatin1Char('\'') + inner.replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
}

QByteArray project(const QJsonObject &choices)
{
    QJsonObject root{{"format", 1}, {"type", "pipecalc-project"}, {"calculation", "static"}};
    for (auto it = choices.begin(); it != choices.end(); ++it)
        root.insert(it.key(), it.value());
    return QJsonDocument(root).toJson();
}

// Every name in the folder, hidden ones included.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestCliEnvironment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faults_data();
    void faults();
    void interruptedSave_data();
    void interruptedSave();

private:
    // Makes the files a row needs in `dir`; false with the reason to skip.
    bool prepare(const QString &fixture, const QString &dir, QString *whyNot);

    std::unique_ptr<SmallFileSystem> m_disk;
};

void TestCliEnvironment::faults_data()
{
    QTest::addColumn<QString>("fixture"); // what prepare() makes
    QTest::addColumn<QString>("command"); // run by /bin/sh: CLI is the tool, DIR the folder of the row
    QTest::addColumn<bool>("ordinaryUser");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");   // a part of standard error (DIR replaced)
    QTest::addColumn<QString>("leaves"); // a file and its first bytes afterwards: "NAME=BYTES", or "NAME" for any

    const QString full = QStringLiteral("pipecalc-cli: стандартный вывод не записан: На диске недостаточно места.");
    const QString former = QString::fromLatin1(kFormer);

    // Every write checked.
    QTest::newRow("calc --json to a full device")
        << ""
        << "CLI calc hydraulic --json > /dev/full" << false << 9 << full << "";
    QTest::newRow("sweep CSV to a full device")
        << ""
        << "CLI sweep hydraulic --vary hs_d=0.05:1:0.05 --csv > /dev/full" << false << 9 << full << "";
    QTest::newRow("db to a full device") << ""
                                         << "CLI db soils > /dev/full" << false << 9 << full << "";
    QTest::newRow("vars to a full device") << ""
                                           << "CLI vars --json > /dev/full" << false << 9 << full << "";
    QTest::newRow("calc as text to a full device") << ""
                                                   << "CLI calc static > /dev/full" << false << 9 << full << "";
    QTest::newRow("sweep JSON to a full device")
        << ""
        << "CLI sweep hydraulic --vary hs_d=0.05:1:0.05 --json > /dev/full" << false << 9 << full << "";
    QTest::newRow("sweep table to a full device")
        << ""
        << "CLI sweep hydraulic --vary hs_d=0.05:1:0.05 > /dev/full" << false << 9 << full << "";
    QTest::newRow("select to a full device") << ""
                                             << "CLI select static --csv > /dev/full" << false << 9 << full << "";
    QTest::newRow("version to a full device") << ""
                                              << "CLI --version > /dev/full" << false << 9 << full << "";
    QTest::newRow("sweep CSV filling a disk")
        << "small disk"
        << "CLI sweep hydraulic --vary hs_d=0.0005:1:0.0005 --csv > DIR/disk/sweep.csv" << false << 9 << full
        << "disk/sweep.csv=hs_d,outcome";
    QTest::newRow("help with standard output closed")
        << ""
        << "CLI --help >&-" << false << 9 << "pipecalc-cli: стандартный вывод не записан: Поток не открыт для записи."
        << "";
    QTest::newRow("a message to a full standard error") << ""
                                                        << "CLI calc thermal 2> /dev/full" << false << 9 << ""
                                                        << "";

    // Names of streams written through the stream, in place.
    QTest::newRow("report to /dev/stdout added to a log")
        << "log"
        << "CLI report hydraulic -o /dev/stdout >> DIR/log.txt" << false << 0 << ""
        << QStringLiteral("log.txt=%1{\\rtf1").arg(former);
    QTest::newRow("report to /dev/fd/3 added to a log") << "log"
                                                        << "CLI report hydraulic -o /dev/fd/3 3>> DIR/log.txt" << false
                                                        << 0 << "" << QStringLiteral("log.txt=%1{\\rtf1").arg(former);
    QTest::newRow("report to /proc/self/fd/3 added to a log")
        << "log"
        << "CLI report hydraulic -o /proc/self/fd/3 3>> DIR/log.txt" << false << 0 << ""
        << QStringLiteral("log.txt=%1{\\rtf1").arg(former);

    // Files the user may not write are refused as the shell refuses them.
    QTest::newRow("report over a write-protected report") << "protected"
                                                          << "CLI report hydraulic -o DIR/signed.rtf" << true << 9
                                                          << "Cannot create file \"DIR/signed.rtf\". Нет прав на запись"
                                                          << "signed.rtf=" + former;
    QTest::newRow("chart over a write-protected picture")
        << "protected"
        << "CLI chart hydraulic -o DIR/signed.png" << true << 9 << "Нет прав на запись"
        << "signed.png=" + former;
    QTest::newRow("project saved over a write-protected one")
        << "protected"
        << "CLI calc hydraulic --save-project DIR/signed.pipecalc" << true << 9
        << "Проект «DIR/signed.pipecalc» не сохранён: Нет прав на запись."
        << "signed.pipecalc=" + former;
    QTest::newRow("an unreadable document") << "protected"
                                            << "CLI convert DIR/secret.rtf -o DIR/copy.rtf" << true << 8
                                            << "Cannot open file \"DIR/secret.rtf\". Permission denied"
                                            << "";

    // No display needed, whatever the desktop's platform.
    QTest::newRow("chart with xcb and no display")
        << ""
        << "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb CLI chart static -o DIR/chart.png" << false << 0 << ""
        << "chart.png";
    QTest::newRow("PDF report with wayland and no display")
        << ""
        << "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=wayland CLI report static -o DIR/report.pdf" << false << 0
        << ""
        << "report.pdf=%PDF";

    // Databases read within limits, damage said.
    QTest::newRow("soils that are a view without end")
        << "databases"
        << "CLI db soils --database DIR/endless.sqlite" << false << 6
        << "Справочная база данных DIR/endless.sqlite повреждена или слишком велика: строки запроса"
        << "";
    QTest::newRow("soils whose pages were lost") << "databases"
                                                 << "CLI calc static --soil 4 --database DIR/lost.sqlite" << false << 6
                                                 << "Справочная база данных DIR/lost.sqlite повреждена: "
                                                 << "";
    QTest::newRow("a database that is a FIFO")
        << "fifo"
        << "CLI db soils --database DIR/fifo.pipecalc" << false << 6 << "DIR/fifo.pipecalc — не файл"
        << "";

    // Sweeps stay within their bounds.
    QTest::newRow("sweep up to the largest number")
        << ""
        << "CLI sweep hydraulic --vary hs_d=0:1.7976931348623157e308:5.99231045014e307 --csv --columns hs_d > DIR/s.csv"
        << false << 0 << ""
        << "s.csv=hs_d,outcome,hs_d\n0,";
    QTest::newRow("sweep over a span beyond the numbers")
        << ""
        << "CLI sweep hydraulic --vary hs_d=-1e308:1.7e308:1e308" << false << 2 << "не умещается в числах расчёта"
        << "";

    // Only regular files are read, at once.
    QTest::newRow("a project that is a FIFO") << "fifo"
                                              << "CLI calc hydraulic --project DIR/fifo.pipecalc" << false << 10
                                              << "Проект «DIR/fifo.pipecalc» не открыт: это не обычный файл."
                                              << "";
    QTest::newRow("a document that is a FIFO") << "fifo"
                                               << "CLI convert DIR/fifo.pipecalc -o DIR/copy.rtf" << false << 8
                                               << "Cannot open file \"DIR/fifo.pipecalc\". Это не обычный файл"
                                               << "";
    QTest::newRow("a document that is an endless device") << ""
                                                          << "CLI convert /dev/zero -o DIR/copy.rtf" << false << 8
                                                          << "Cannot open file \"/dev/zero\". Это не обычный файл"
                                                          << "";

    // Projects name what their values are.
    QTest::newRow("a project naming the soil otherwise")
        << "projects"
        << "CLI report static --project DIR/clay.pipecalc -o DIR/report.rtf" << false << 10
        << "Проект «DIR/clay.pipecalc» не открыт: справочная база называет выбранное в проекте иначе: грунт с кодом "
           "4 — в проекте «Глина тяжёлая», в справочной базе «Песок мелкий»."
        << "";
    QTest::newRow("a project whose tube the database lists elsewhere")
        << "projects"
        << "CLI calc static --project DIR/moved.pipecalc --database DIR/reference.sqlite --save-project "
           "DIR/again.pipecalc"
        << false << 0 << ""
        << "again.pipecalc";
    QTest::newRow("a project whose tube the database lacks")
        << "projects"
        << "CLI calc static --project DIR/moved.pipecalc" << false << 10
        << "труба «Dнаруж 0,2 м, Dвнутр 0,174 м» — в таблице труб справочной базы нет трубы этих размеров"
        << "";
}

bool TestCliEnvironment::prepare(const QString &fixture, const QString &dir, QString *whyNot)
{
    const auto file = [&dir](const char *name) { return QDir(dir).filePath(QLatin1String(name)); };
    if (fixture == QLatin1String("small disk")) {
        QDir(dir).mkdir(QStringLiteral("disk"));
        m_disk = std::make_unique<SmallFileSystem>(64);
        if (!m_disk->isMounted()) {
            *whyNot = QStringLiteral("No small file system to fill: %1").arg(m_disk->whyNot());
            return false;
        }
        // Mounted on a folder of its own; the row names it "DIR/disk".
        QFile::remove(file("disk"));
        QDir(dir).rmdir(QStringLiteral("disk"));
        return QFile::link(m_disk->path(), file("disk"));
    }
    if (fixture == QLatin1String("log"))
        return TestFiles::write(file("log.txt"), kFormer);
    if (fixture == QLatin1String("protected")) {
        // Read-only for all, in a folder the user may write: only the
        // file's own rights stand in the way.
        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        for (const char *name : {"signed.rtf", "signed.png", "signed.pipecalc"}) {
            if (!TestFiles::write(file(name), kFormer) || !QFile::setPermissions(file(name), readOnly)
                || !OrdinaryUser::handOver(file(name)))
                return false;
        }
        return TestFiles::write(file("secret.rtf"), "{\\rtf1 secret}") && QFile::setPermissions(file("secret.rtf"), {})
               && OrdinaryUser::handOver(file("secret.rtf")) && OrdinaryUser::handOver(dir);
    }
    if (fixture == QLatin1String("databases")) {
        return SqliteFixture::create(file("endless.sqlite"), SqliteFixture::endlessRowsSql())
               && SqliteFixture::create(file("lost.sqlite"), SqliteFixture::manySoilsSql())
               && SqliteFixture::damageLastPages(file("lost.sqlite"), 8);
    }
    if (fixture == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(file("fifo.pipecalc")).constData(), 0600) == 0;
    if (fixture == QLatin1String("projects")) {
        // The row of the reference fixture's third tube, saved as the first.
        const QJsonObject moved{
            {"id", 1},
            {"name", "Dнаруж 0,2 м, Dвнутр 0,174 м"},
            {"fiberglass", false},
            {"geometry", QJsonObject{{"Din", 0.174}, {"Dout", 0.2}, {"s", 1.3}, {"Lv", 15}, {"Lsh", 0}}}};
        const QJsonObject material{{"id", 1}, {"name", "Полиэтилен ПЭ 100"}};
        return TestFiles::write(file("clay.pipecalc"),
                                project({{"material", material},
                                         {"soil", QJsonObject{{"id", 4}, {"name", "Глина тяжёлая"}}},
                                         {"inputs", QJsonObject{{"Egr", 1.5}}}}))
               && TestFiles::write(file("moved.pipecalc"), project({{"material", material}, {"tube", moved}}))
               && SqliteFixture::create(file("reference.sqlite"), SqliteFixture::referenceSql());
    }
    return fixture.isEmpty();
}

void TestCliEnvironment::faults()
{
    QFETCH(QString, fixture);
    QFETCH(QString, command);
    QFETCH(bool, ordinaryUser);
    QFETCH(int, status);
    QFETCH(QString, says);
    QFETCH(QString, leaves);

    QTemporaryDir temporary;
    const QString dir = temporary.path();
    QString whyNot;
    const bool prepared = prepare(fixture, dir, &whyNot);
    const std::unique_ptr<SmallFileSystem> disk = std::move(m_disk);
    if (!whyNot.isEmpty())
        QSKIP(qPrintable(whyNot));
    QVERIFY(prepared);
    says.replace(QStringLiteral("DIR"), dir);

    const QString script = QString(command)
                               .replace(QStringLiteral("CLI"), quoted(QStringLiteral(PIPECALC_CLI)))
                               .replace(QStringLiteral("DIR"), quoted(dir));
    const QStringList line = ordinaryUser
                                 ? OrdinaryUser::command(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script})
                                 : QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"), script};
    QProcess process;
    process.start(line.first(), line.mid(1));
    QVERIFY2(process.waitForFinished(30000), "the tool did not end: it waits for something");
    const QString err = QString::fromUtf8(process.readAllStandardError());
    if (ordinaryUser && process.exitCode() == 126)
        QSKIP(qPrintable(QStringLiteral("The tool cannot be run as an ordinary user here: %1").arg(err)));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == status,
             qPrintable(QStringLiteral("status %1: %2").arg(process.exitCode()).arg(err)));
    QVERIFY2(err.contains(says), qPrintable(err));

    if (!leaves.isEmpty()) {
        const QString name = leaves.section(QLatin1Char('='), 0, 0);
        const QByteArray start = leaves.section(QLatin1Char('='), 1).toUtf8();
        const QString path = QDir(dir).filePath(name);
        QVERIFY2(QFileInfo::exists(path), qPrintable(name));
        const QByteArray content = TestFiles::read(path);
        QVERIFY2(content.startsWith(start), content.left(200).constData());
        if (start == kFormer)
            QCOMPARE(content, kFormer);
        if (name == QLatin1String("chart.png"))
            QVERIFY(content.startsWith("\x89PNG"));
        if (name == QLatin1String("s.csv")) {
            // The last value is TO itself, and none is infinite.
            QVERIFY(!content.contains("inf"));
            QVERIFY2(content.trimmed().split('\n').last().startsWith("1.7976931348623157e+308,"), content.constData());
        }
        if (name == QLatin1String("again.pipecalc")) {
            const QJsonObject tube = QJsonDocument::fromJson(content).object().value("tube").toObject();
            QCOMPARE(tube.value("id").toInt(), 3);
        }
    }
    // No temporary file stays behind.
    for (const QString &entry : entries(dir))
        QVERIFY2(!entry.startsWith(QLatin1Char('.')), qPrintable(entry));
}

void TestCliEnvironment::interruptedSave_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("Ctrl+C") << int(SIGINT);
    QTest::newRow("terminate") << int(SIGTERM);
    QTest::newRow("hang-up") << int(SIGHUP);
}

// A signal that ends the tool while it writes a report removes the
// temporary file and leaves the former report.  The tool is stopped once
// its temporary file appears, given the signal, and let go on.
void TestCliEnvironment::interruptedSave()
{
    QFETCH(int, signalNumber);
    QTemporaryDir temporary;
    const QString dir = temporary.path();
    const QString report = QDir(dir).filePath(QStringLiteral("report.pdf"));
    QVERIFY(TestFiles::write(report, kFormer));

    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    QVERIFY(watch >= 0);
    QVERIFY(::inotify_add_watch(watch, QFile::encodeName(dir).constData(), IN_CREATE) >= 0);
    QProcess process;
    process.start(QStringLiteral(PIPECALC_CLI),
                  {QStringLiteral("report"), QStringLiteral("static"), QStringLiteral("-o"), report});
    QVERIFY(process.waitForStarted());
    const pid_t pid = pid_t(process.processId());

    // Waits for the temporary file (".report.pdf.XXXXXX").
    bool stopped = false;
    pollfd ready{watch, POLLIN, 0};
    while (!stopped && ::poll(&ready, 1, 30000) > 0) {
        alignas(inotify_event) char buffer[4096];
        const ssize_t length = ::read(watch, buffer, sizeof buffer);
        for (ssize_t at = 0; at < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->len > 0 && QByteArray(event->name).startsWith(".report.pdf.")) {
                ::kill(pid, SIGSTOP);
                stopped = true;
            }
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
    ::close(watch);
    QVERIFY2(stopped, "no temporary file appeared");
    const bool saving = entries(dir).size() == 2;
    ::kill(pid, signalNumber);
    ::kill(pid, SIGCONT);
    QVERIFY(process.waitForFinished(30000));
    if (!saving)
        QSKIP("The report was written before the tool could be stopped");

    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(TestFiles::read(report), kFormer);
    QCOMPARE(entries(dir), QStringList{QStringLiteral("report.pdf")});
}

QTEST_GUILESS_MAIN(TestCliEnvironment)
#include "tst_cli_environment.moc"
