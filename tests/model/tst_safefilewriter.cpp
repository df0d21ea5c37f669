#include "FaultyFileSystem.h"
#include "OrdinaryUser.h"
#include "SmallFileSystem.h"
#include "TestFiles.h"

#include "model/FileNameBytes.h"
#include "model/SafeFileWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Fault = FaultyFileSystem::Fault;

const QByteArray kFormer = "the former content, which must survive\n";

// Every name in the folder, hidden ones included: a failed save leaves no
// temporary file behind.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t typeOf(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

QByteArray content(int size)
{
    QByteArray bytes;
    bytes.reserve(size);
    for (int i = 0; i < size; ++i)
        bytes += char('a' + i % 26);
    return bytes;
}

} // namespace

class TestSafeFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void replacesAndKeepsRights();
    void failureKeepsFormerFile_data();
    void failureKeepsFormerFile();
    void writesThroughLinks();
    void devicesAndSpecialFiles_data();
    void devicesAndSpecialFiles();
    void fifoIsWrittenInPlace();
    void namesOfDescriptors_data();
    void namesOfDescriptors();
    void fileTheUserMayNotWrite();
    void newFilesFollowTheUmask_data();
    void newFilesFollowTheUmask();
    void interruptedSave_data();
    void interruptedSave();
    void fullFileSystem();
    void fileNameBytes_data();
    void fileNameBytes();
    void nameThatIsNotUtf8();
};

void TestSafeFileWriter::replacesAndKeepsRights()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("отчёт.rtf"));
    QVERIFY(TestFiles::write(path, kFormer));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

    SafeFileWriter file(path);
    QVERIFY(file.open());
    QCOMPARE(file.write("new "), qint64(4));
    QCOMPARE(file.write(content(200000)), qint64(200000));
    // Nothing reaches the name before the commit.
    QCOMPARE(TestFiles::read(path), kFormer);
    QVERIFY(file.commit());
    QCOMPARE(TestFiles::read(path), "new " + content(200000));
    QCOMPARE(QFile::permissions(path),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("отчёт.rtf")});

    // Closing without a commit keeps nothing.
    SafeFileWriter dropped(path);
    QVERIFY(dropped.open());
    dropped.write("dropped");
    dropped.close();
    QCOMPARE(TestFiles::read(path), "new " + content(200000));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("отчёт.rtf")});
}

void TestSafeFileWriter::failureKeepsFormerFile_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("size"); // small content goes out at the commit, large while written
    QTest::addColumn<bool>("atCreation");
    QTest::addColumn<QString>("reason");

    const QString full = QStringLiteral("На диске недостаточно места");
    QTest::newRow("cannot create") << int(Fault::Create) << 10 << true << full;
    QTest::newRow("flush fails") << int(Fault::Write) << 10 << false << full;
    QTest::newRow("write fails") << int(Fault::Write) << 300000 << false << full;
    QTest::newRow("disk fills at the flush") << int(Fault::ShortWrite) << 1000 << false << full;
    QTest::newRow("disk fills while writing") << int(Fault::ShortWrite) << 300000 << false << full;
    QTest::newRow("sync fails") << int(Fault::Fsync) << 10 << false << full;
    QTest::newRow("close fails") << int(Fault::Close) << 10 << false << full;
    QTest::newRow("rename fails") << int(Fault::Rename) << 10 << false << full;
}

void TestSafeFileWriter::failureKeepsFormerFile()
{
    QFETCH(int, fault);
    QFETCH(int, size);
    QFETCH(bool, atCreation);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    QVERIFY(TestFiles::write(path, kFormer));
    {
        const FaultyFileSystem disk{Fault(fault)};
        SafeFileWriter file(path);
        const bool opened = file.open();
        QCOMPARE(opened, !atCreation);
        if (opened) {
            file.write(content(size));
            QVERIFY(!file.commit());
        }
        QVERIFY(!file.isOpen());
        QCOMPARE(file.reason(), reason);
        QCOMPARE(file.failedToCreate(), atCreation);
        QVERIFY(file.keptFormerFile());
    }
    QCOMPARE(TestFiles::read(path), kFormer);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("report.txt")});

    // A name that named no file before stays without one.
    const QString fresh = dir.filePath(QStringLiteral("new.txt"));
    {
        const FaultyFileSystem disk{Fault(fault)};
        const Result<> written = SafeFileWriter::writeFile(fresh, content(size));
        QVERIFY(!written);
        QCOMPARE(written.message(), reason);
    }
    QVERIFY(!QFile::exists(fresh));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("report.txt")});
}

void TestSafeFileWriter::writesThroughLinks()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("real")));
    const QString target = dir.filePath(QStringLiteral("real/settings.ini"));
    const QString link = dir.filePath(QStringLiteral("settings.ini"));
    QVERIFY(TestFiles::write(target, kFormer));
    QVERIFY(QFile::link(QStringLiteral("real/settings.ini"), link));

    QVERIFY(SafeFileWriter::writeFile(link, "through the link").ok());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(TestFiles::read(target), QByteArray("through the link"));

    // A link to a file not made yet makes that file.
    const QString dangling = dir.filePath(QStringLiteral("dangling.rtf"));
    QVERIFY(QFile::link(QStringLiteral("real/later.rtf"), dangling));
    QVERIFY(SafeFileWriter::writeFile(dangling, "later").ok());
    QVERIFY(QFileInfo(dangling).isSymLink());
    QCOMPARE(TestFiles::read(dir.filePath(QStringLiteral("real/later.rtf"))), QByteArray("later"));
}

void TestSafeFileWriter::devicesAndSpecialFiles_data()
{
    QTest::addColumn<QString>("path"); // "@dir" and "@socket" are made in a temporary folder
    QTest::addColumn<bool>("refuseDevices");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("reason");

    QTest::newRow("/dev/null takes the bytes") << "/dev/null" << false << true << QString();
    QTest::newRow("/dev/full says the disk is full")
        << "/dev/full" << false << false << QStringLiteral("На диске недостаточно места");
    QTest::newRow("no devices for the program's own files")
        << "/dev/null" << true << false << QStringLiteral("Это не обычный файл");
    QTest::newRow("a folder") << "@dir" << false << false << QStringLiteral("Это папка, а не файл");
    QTest::newRow("a socket") << "@socket" << false << false << QStringLiteral("Это не обычный файл");
    QTest::newRow("a folder that is not there")
        << "/nonexistent-folder/x.rtf" << false << false << QStringLiteral("Папка не найдена");
}

void TestSafeFileWriter::devicesAndSpecialFiles()
{
    QFETCH(QString, path);
    QFETCH(bool, refuseDevices);
    QFETCH(bool, ok);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(socketFd >= 0);
    if (path == QLatin1String("@dir")) {
        path = dir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    } else if (path == QLatin1String("@socket")) {
        path = dir.filePath(QStringLiteral("socket"));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
        QCOMPARE(::bind(socketFd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    }
    const mode_t type = typeOf(path);

    const auto devices = refuseDevices ? SafeFileWriter::Devices::Refuse : SafeFileWriter::Devices::WriteInPlace;
    SafeFileWriter file(path, devices);
    const bool written = file.open() && file.write(content(1000)) == 1000 && file.commit();
    QCOMPARE(written, ok);
    QCOMPARE(file.reason(), reason);
    QVERIFY(!file.keptFormerFile());
    // Never replaced by a regular file.
    QCOMPARE(typeOf(path), type);
    QCOMPARE(entries(dir.path()).size(), type == 0 || path.startsWith(QLatin1String("/dev")) ? 0 : 1);
    ::close(socketFd);
}

void TestSafeFileWriter::fifoIsWrittenInPlace()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pipe"));
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(::mkfifo(name.constData(), 0600), 0);

    QByteArray received;
    std::thread reader([&] {
        const int fd = ::open(name.constData(), O_RDONLY);
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
            received.append(buffer, int(n));
        ::close(fd);
    });
    const QByteArray bytes = content(150000);
    QVERIFY(SafeFileWriter::writeFile(path, bytes).ok());
    reader.join();
    QCOMPARE(received, bytes);
    QCOMPARE(typeOf(path), mode_t(S_IFIFO));

    // A reader that went away is a failed write, not the end of the program.
    std::thread quitter([&] { ::close(::open(name.constData(), O_RDONLY)); });
    const Result<> written = SafeFileWriter::writeFile(path, bytes);
    quitter.join();
    QVERIFY(!written);
    QCOMPARE(written.message(), QStringLiteral("Канал закрыт читающей стороной"));
}

void TestSafeFileWriter::namesOfDescriptors_data()
{
    QTest::addColumn<QString>("name"); // "N" stands for the descriptor's number
    QTest::addColumn<int>("openFlags");
    QTest::addColumn<bool>("refuseDevices");
    QTest::addColumn<QString>("reason"); // empty: written

    const int append = O_WRONLY | O_APPEND;
    QTest::newRow("/proc/self/fd/N open to append") << "/proc/self/fd/N" << append << false << QString();
    QTest::newRow("/dev/fd/N open to append") << "/dev/fd/N" << append << false << QString();
    QTest::newRow("/proc/<pid>/fd/N") << "/proc/PID/fd/N" << append << false << QString();
    QTest::newRow("open for reading only")
        << "/proc/self/fd/N" << int(O_RDONLY) << false << QStringLiteral("Поток не открыт для записи");
    QTest::newRow("no descriptors for the program's own files")
        << "/proc/self/fd/N" << append << true << QStringLiteral("Это не обычный файл");
}

// A name through /proc reaches a file some descriptor is open on: written
// through that descriptor, in place, never replaced by a new file ("-o
// /dev/stdout >> log" keeps the log's lines).
void TestSafeFileWriter::namesOfDescriptors()
{
    QFETCH(QString, name);
    QFETCH(int, openFlags);
    QFETCH(bool, refuseDevices);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    QVERIFY(TestFiles::write(path, kFormer));
    struct stat before;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
    const int fd = ::open(QFile::encodeName(path).constData(), openFlags | O_CLOEXEC);
    QVERIFY(fd >= 0);
    name.replace(QStringLiteral("PID"), QString::number(::getpid())).replace(QStringLiteral("N"), QString::number(fd));

    const auto devices = refuseDevices ? SafeFileWriter::Devices::Refuse : SafeFileWriter::Devices::WriteInPlace;
    const Result<> written = SafeFileWriter::writeFile(name, "added\n", devices);
    QCOMPARE(written.ok(), reason.isEmpty());
    QCOMPARE(written.message(), reason);
    ::close(fd);
    QCOMPARE(TestFiles::read(path), reason.isEmpty() ? kFormer + "added\n" : kFormer);
    struct stat after;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("log.txt")});
}

// As the shell's ">" does, a file without write permission is refused
// although its folder would let it be replaced.  Root may write any file, so
// the check runs as an ordinary user.
void TestSafeFileWriter::fileTheUserMayNotWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("signed.rtf"));
    QVERIFY(TestFiles::write(path, kFormer));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(OrdinaryUser::handOver(dir.path()));
    QVERIFY(OrdinaryUser::handOver(path));

    const int outcome = OrdinaryUser::run([&path] {
        const Result<> written = SafeFileWriter::writeFile(path, "replaced");
        if (written)
            return 1;
        return written.message() == QStringLiteral("Нет прав на запись") ? 0 : 2;
    });
    if (outcome < 0)
        QSKIP("No ordinary user to act as");
    QCOMPARE(outcome, 0);
    QCOMPARE(TestFiles::read(path), kFormer);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("signed.rtf")});
}

void TestSafeFileWriter::newFilesFollowTheUmask_data()
{
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("permissions");
    QTest::newRow("022") << 022 << 0644;
    QTest::newRow("002") << 002 << 0664;
    QTest::newRow("077") << 077 << 0600;
}

// A new file gets what the user's umask leaves of read and write for all,
// as files made by other programs do.
void TestSafeFileWriter::newFilesFollowTheUmask()
{
    QFETCH(int, umask);
    QFETCH(int, permissions);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.rtf"));
    const mode_t previous = ::umask(mode_t(umask));
    const bool written = SafeFileWriter::writeFile(path, "x").ok();
    ::umask(previous);
    QVERIFY(written);
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), permissions);
}

void TestSafeFileWriter::interruptedSave_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("ignored");
    QTest::newRow("interrupt") << int(SIGINT) << false;
    QTest::newRow("terminate") << int(SIGTERM) << false;
    QTest::newRow("hang-up") << int(SIGHUP) << false;
    QTest::newRow("hang-up ignored, as under nohup") << int(SIGHUP) << true;
}

// A signal that ends the program during a save removes the temporary file
// first and leaves the former file; one the program ignores lets the save
// finish.
void TestSafeFileWriter::interruptedSave()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, ignored);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    QVERIFY(TestFiles::write(path, kFormer));

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // As in the program, which handles none of them itself.
        std::signal(signalNumber, ignored ? SIG_IGN : SIG_DFL);
        SafeFileWriter file(path);
        if (!file.open() || file.write(content(100000)) != 100000)
            ::_exit(3);
        ::raise(signalNumber);
        ::_exit(file.commit() ? 0 : 4);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    if (ignored) {
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(TestFiles::read(path), content(100000));
    } else {
        QVERIFY2(WIFSIGNALED(status), qPrintable(QString::number(status)));
        QCOMPARE(WTERMSIG(status), signalNumber);
        QCOMPARE(TestFiles::read(path), kFormer);
    }
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("report.rtf")});
}

void TestSafeFileWriter::fullFileSystem()
{
    SmallFileSystem disk(64);
    if (!disk.isMounted())
        QSKIP(qPrintable(QStringLiteral("No small file system to fill: %1").arg(disk.whyNot())));
    const QString path = disk.filePath(QStringLiteral("report.rtf"));
    const QByteArray former = content(40000);
    QVERIFY(TestFiles::write(path, former));

    for (const int size : {30000, 100000}) {
        const Result<> written = SafeFileWriter::writeFile(path, content(size));
        QVERIFY(!written);
        QCOMPARE(written.message(), QStringLiteral("На диске недостаточно места"));
        QCOMPARE(TestFiles::read(path), former);
        QCOMPARE(entries(disk.path()), QStringList{QStringLiteral("report.rtf")});
    }
    QVERIFY(SafeFileWriter::writeFile(path, content(10000)).ok());
    QCOMPARE(TestFiles::read(path), content(10000));
}

void TestSafeFileWriter::fileNameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");

    QTest::newRow("ASCII") << QByteArray("report.rtf") << true;
    QTest::newRow("Cyrillic") << QString::fromUtf8("отчёт.rtf").toUtf8() << true;
    QTest::newRow("four-byte character") << QByteArray("\xF0\x9F\x93\x84.txt") << true;
    QTest::newRow("Latin-1 byte") << QByteArray("caf\xE9.txt") << false;
    QTest::newRow("Windows-1251 name") << QByteArray("\xEE\xF2\xF7\xE5\xF2.rtf") << false;
    QTest::newRow("lone continuation byte") << QByteArray("a\x80z") << false;
    QTest::newRow("cut sequence at the end") << QByteArray("a\xD0") << false;
    QTest::newRow("overlong slash") << QByteArray("a\xC0\xAF") << false;
    QTest::newRow("encoded surrogate") << QByteArray("a\xED\xA0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("0xFF") << QByteArray("\xFF\xFE") << false;
}

void TestSafeFileWriter::fileNameBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    const QString name = FileNameBytes::decode(bytes);
    QCOMPARE(FileNameBytes::encode(name), bytes);
    if (utf8)
        QCOMPARE(name, QString::fromUtf8(bytes));
    else
        QVERIFY(!name.contains(QChar::ReplacementCharacter));
}

void TestSafeFileWriter::nameThatIsNotUtf8()
{
    QTemporaryDir dir;
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/caf\xE9.txt";
    QVERIFY(SafeFileWriter::writeFile(FileNameBytes::decode(bytes), "x").ok());
    // The folder's names as bytes: the file and nothing else.
    QList<QByteArray> names;
    DIR *folder = ::opendir(QFile::encodeName(dir.path()).constData());
    QVERIFY(folder);
    while (const dirent *entry = ::readdir(folder)) {
        if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
            names << QByteArray(entry->d_name);
    }
    ::closedir(folder);
    QCOMPARE(names, QList<QByteArray>{QByteArray("caf\xE9.txt")});
    QCOMPARE(::unlink(bytes.constData()), 0);
}

QTEST_GUILESS_MAIN(TestSafeFileWriter)
#include "tst_safefilewriter.moc"
