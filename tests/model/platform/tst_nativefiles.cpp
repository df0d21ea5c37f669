// What NativeFiles tells of the names a save is given, and the temporary
// files and writes it makes: the behaviour SafeFileWriter relies on from
// any system's implementation (the cases here are those of a POSIX system).

#include "model/platform/NativeFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

using Kind = NativeFiles::SaveTarget::Kind;

Q_DECLARE_METATYPE(NativeFiles::SaveTarget::Kind)

class TestNativeFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QByteArray at(const QString &name) const { return QFile::encodeName(m_dir.filePath(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile file(m_dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(::chmod(at(QStringLiteral("file")).constData(), 0640) == 0);
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
        QVERIFY(::symlink(at(QStringLiteral("file")).constData(), at(QStringLiteral("link")).constData()) == 0);
        QVERIFY(::symlink("elsewhere", at(QStringLiteral("dangling")).constData()) == 0);
        QVERIFY(::mkfifo(at(QStringLiteral("fifo")).constData(), 0600) == 0);
    }

    void saveTarget_data()
    {
        QTest::addColumn<QString>("name"); // below the folder unless absolute
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("path"); // where the content goes; empty: the name
        QTest::addColumn<int>("descriptor");

        QTest::newRow("new file") << "new" << Kind::NewFile << "" << -1;
        QTest::newRow("new file in a missing folder") << "none/new" << Kind::NewFile << "" << -1;
        QTest::newRow("dangling link: its target") << "dangling" << Kind::NewFile << "elsewhere" << -1;
        QTest::newRow("regular file") << "file" << Kind::RegularFile << "file" << -1;
        QTest::newRow("link to a file: the file") << "link" << Kind::RegularFile << "file" << -1;
        QTest::newRow("folder") << "folder" << Kind::Folder << "" << -1;
        QTest::newRow("FIFO") << "fifo" << Kind::Device << "" << -1;
        QTest::newRow("null device") << "/dev/null" << Kind::Device << "" << -1;
        QTest::newRow("standard output") << "/dev/stdout" << Kind::ThroughProcess << "" << 1;
        QTest::newRow("own descriptor") << "/proc/self/fd/2" << Kind::ThroughProcess << "" << 2;
    }

    void saveTarget()
    {
        QFETCH(QString, name);
        QFETCH(Kind, kind);
        QFETCH(QString, path);
        QFETCH(int, descriptor);
        const bool absolute = name.startsWith(QLatin1Char('/'));
        const QByteArray named = absolute ? QFile::encodeName(name) : at(name);
        const NativeFiles::SaveTarget target = NativeFiles::inspectSaveTarget(named);
        QCOMPARE(target.kind, kind);
        if (kind == Kind::ThroughProcess)
            QCOMPARE(target.ownDescriptor, descriptor);
        if (path.isEmpty())
            QCOMPARE(target.path, named);
        else if (kind == Kind::RegularFile)
            QCOMPARE(target.path, QFile::encodeName(QFileInfo(m_dir.filePath(path)).canonicalFilePath()));
        else
            QCOMPARE(target.path, at(path));
        if (kind == Kind::RegularFile)
            QCOMPARE(target.former.permissions, quint32(0640));
    }

    void saveTargetUnderAFile()
    {
        const NativeFiles::SaveTarget target = NativeFiles::inspectSaveTarget(at(QStringLiteral("file/new")));
        QCOMPARE(target.kind, Kind::Failed);
        QCOMPARE(target.error, ENOTDIR);
    }

    // The replacement of a file takes over its rights; a name that is
    // taken is never opened.
    void temporaryFile()
    {
        const QByteArray name = at(QStringLiteral(".file.tmp"));
        NativeFiles::FormerFile former;
        former.permissions = 0604;
        former.owner = ::geteuid();
        former.group = ::getegid();
        int slot = -1;
        const int fd = NativeFiles::createTemporary(name, &former, &slot);
        QVERIFY(fd >= 0);
        struct stat info;
        QCOMPARE(::fstat(fd, &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0604));
        ::close(fd);

        int again = -1;
        QCOMPARE(NativeFiles::createTemporary(name, nullptr, &again), -1);
        QCOMPARE(errno, EEXIST);
        NativeFiles::forgetTemporary(slot);
        QVERIFY(QFile::remove(QFile::decodeName(name)));
    }

    // A pipe whose reader went away fails the write; the program goes on.
    void brokenPipe()
    {
        int ends[2];
        QCOMPARE(::pipe(ends), 0);
        ::close(ends[0]);
        const QByteArray bytes(1000, 'x');
        QCOMPARE(NativeFiles::writeAll(ends[1], bytes.constData(), bytes.size(), NativeFiles::BrokenPipe::IsAnError),
                 EPIPE);
        ::close(ends[1]);
    }

    void readExactly()
    {
        int ends[2];
        QCOMPARE(::pipe(ends), 0);
        QCOMPARE(NativeFiles::writeAll(ends[1], "abcdef", 6, NativeFiles::BrokenPipe::IsAnError), 0);
        ::close(ends[1]);
        char got[4] = {};
        QVERIFY(NativeFiles::readExactly(ends[0], got, 4));
        QCOMPARE(QByteArray(got, 4), QByteArray("abcd"));
        // Two bytes are left, and then the input ends.
        QVERIFY(!NativeFiles::readExactly(ends[0], got, 4));
        ::close(ends[0]);
    }
};

QTEST_GUILESS_MAIN(TestNativeFiles)
#include "tst_nativefiles.moc"
