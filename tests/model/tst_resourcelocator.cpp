#include "model/ResourceLocator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A pretend machine in a temporary folder: the program in "prefix/bin", its
// installed resources beside it in the install layout, the user's home, and
// two system data folders.
class Machine
{
public:
    Machine()
    {
        for (const char *place : {"bin", "user", "installed", "sys1", "sys2", "config", "docs"})
            QDir().mkpath(folder(QString::fromLatin1(place)));
    }

    // The folder that a place name of the tables stands for.
    QString folder(const QString &place) const
    {
        if (place == QLatin1String("bin"))
            return m_root.filePath(QStringLiteral("prefix/bin"));
        if (place == QLatin1String("installed"))
            return QDir::cleanPath(folder(QStringLiteral("bin")) + QLatin1Char('/')
                                   + ResourceLocator::installedDataDir());
        if (place == QLatin1String("user"))
            return m_root.filePath(QStringLiteral("home/.local/share/pipecalc"));
        if (place == QLatin1String("sys1") || place == QLatin1String("sys2"))
            return m_root.filePath(place + QStringLiteral("/pipecalc"));
        if (place == QLatin1String("config"))
            return m_root.filePath(QStringLiteral("home/.config"));
        return m_root.filePath(QStringLiteral("home/Documents"));
    }

    ResourceLocator::Places places() const
    {
        ResourceLocator::Places places;
        places.executableDir = folder(QStringLiteral("bin"));
        places.dataHome = m_root.filePath(QStringLiteral("home/.local/share"));
        places.dataDirs = QStringList{m_root.filePath(QStringLiteral("sys1")), m_root.filePath(QStringLiteral("sys2"))};
        places.configHome = folder(QStringLiteral("config"));
        places.documents = folder(QStringLiteral("docs"));
        return places;
    }
    ResourceLocator locator() const { return ResourceLocator(places()); }

    // "place:relative/path" → the file, created with its folders.
    QString put(const QString &where) const
    {
        const QString path = at(where);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(path));
        return path;
    }
    QString at(const QString &where) const
    {
        const int colon = where.indexOf(QLatin1Char(':'));
        return QDir::cleanPath(folder(where.left(colon)) + QLatin1Char('/') + where.mid(colon + 1));
    }
    QString root() const { return m_root.path(); }

private:
    QTemporaryDir m_root;
};

} // namespace

class TestResourceLocator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookupOrder_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("wanted");
        QTest::addColumn<QString>("found");
        const QStringList templ{QStringLiteral("Templates/StaticReport.rtf")};
        QTest::newRow("beside the executable first")
            << QStringList{"bin:Templates/StaticReport.rtf", "user:Templates/StaticReport.rtf",
                           "installed:Templates/StaticReport.rtf", "sys1:Templates/StaticReport.rtf"}
            << templ << "bin:Templates/StaticReport.rtf";
        QTest::newRow("the user's before the installed")
            << QStringList{"installed:Templates/StaticReport.rtf", "user:Templates/StaticReport.rtf",
                           "sys1:Templates/StaticReport.rtf"}
            << templ << "user:Templates/StaticReport.rtf";
        QTest::newRow("the installed before the system folders")
            << QStringList{"sys1:Templates/StaticReport.rtf", "installed:Templates/StaticReport.rtf"} << templ
            << "installed:Templates/StaticReport.rtf";
        QTest::newRow("system folders in their order")
            << QStringList{"sys2:Templates/StaticReport.rtf", "sys1:Templates/StaticReport.rtf"} << templ
            << "sys1:Templates/StaticReport.rtf";
        QTest::newRow("the last system folder")
            << QStringList{"sys2:Templates/StaticReport.rtf"} << templ << "sys2:Templates/StaticReport.rtf";
        QTest::newRow("file by file, not folder by folder")
            << QStringList{"user:Templates/HydraulicReport.rtf", "installed:Templates/StaticReport.rtf"} << templ
            << "installed:Templates/StaticReport.rtf";
        QTest::newRow("a folder of that name is no file")
            << QStringList{"user:Templates/StaticReport.rtf/x", "sys1:Templates/StaticReport.rtf"} << templ
            << "sys1:Templates/StaticReport.rtf";
        QTest::newRow("nowhere") << QStringList{"bin:Templates/Other.rtf"} << templ << QString();

        const QStringList db{QStringLiteral("Base/data.mdb"), QStringLiteral("Base/data.sqlite")};
        QTest::newRow("user's Access file over the installed database")
            << QStringList{"installed:Base/data.sqlite", "user:Base/data.mdb"} << db << "user:Base/data.mdb";
        QTest::newRow("user's SQLite file over an installed Access file")
            << QStringList{"installed:Base/data.mdb", "user:Base/data.sqlite"} << db << "user:Base/data.sqlite";
        QTest::newRow("Access before SQLite in one folder")
            << QStringList{"user:Base/data.sqlite", "user:Base/data.mdb", "installed:Base/data.mdb"} << db
            << "user:Base/data.mdb";
        QTest::newRow("build folder over the user's")
            << QStringList{"bin:Base/data.sqlite", "user:Base/data.mdb"} << db << "bin:Base/data.sqlite";
    }

    void lookupOrder()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, wanted);
        QFETCH(QString, found);
        Machine machine;
        for (const QString &where : present)
            machine.put(where);
        QCOMPARE(machine.locator().findFile(wanted), found.isEmpty() ? QString() : machine.at(found));
    }

    void missingFileNamesTheProgramsOwnCopy_data()
    {
        QTest::addColumn<bool>("portable");
        QTest::addColumn<QString>("expected");
        QTest::newRow("portable") << true << "bin:Templates/StaticReport.rtf";
        QTest::newRow("installed") << false << "installed:Templates/StaticReport.rtf";
    }

    void missingFileNamesTheProgramsOwnCopy()
    {
        QFETCH(bool, portable);
        QFETCH(QString, expected);
        Machine machine;
        if (portable)
            QDir().mkpath(machine.at(QStringLiteral("bin:Base")));
        QCOMPARE(machine.locator().locateFile(QStringLiteral("Templates/StaticReport.rtf")), machine.at(expected));
        // Found elsewhere, it is that one.
        const QString user = machine.put(QStringLiteral("user:Templates/StaticReport.rtf"));
        QCOMPARE(machine.locator().locateFile(QStringLiteral("Templates/StaticReport.rtf")), user);
    }

    void foldersSearchedOnce()
    {
        Machine machine;
        ResourceLocator::Places places = machine.places();
        // The installed folder's parent is also a system data folder, and the
        // user's data folder is named twice.
        places.dataDirs.prepend(QFileInfo(machine.folder(QStringLiteral("installed"))).absolutePath() + "/");
        places.dataDirs << places.dataHome;
        const QStringList folders = ResourceLocator(places).searchFolders();
        QCOMPARE(folders, (QStringList{machine.folder("bin"), machine.folder("user"), machine.folder("installed"),
                                       machine.folder("sys1"), machine.folder("sys2")}));
    }

    void layoutAndSettings_data()
    {
        QTest::addColumn<QString>("beside");
        QTest::addColumn<bool>("portable");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("documents");
        QTest::newRow("build or portable folder") << "Base/data.sqlite" << true << "bin:pipecalc.ini"
                                                  << "bin:";
        QTest::newRow("portable with an Access file only") << "Base/data.mdb" << true << "bin:pipecalc.ini"
                                                           << "bin:";
        QTest::newRow("installed") << QString() << false << "config:pipecalc/pipecalc.ini"
                                   << "docs:";
        QTest::newRow("a file named Base is no resource folder") << "Base" << false << "config:pipecalc/pipecalc.ini"
                                                                 << "docs:";
        QTest::newRow("only templates beside")
            << "Templates/StaticReport.rtf" << false << "config:pipecalc/pipecalc.ini"
            << "docs:";
    }

    void layoutAndSettings()
    {
        QFETCH(QString, beside);
        QFETCH(bool, portable);
        QFETCH(QString, settings);
        QFETCH(QString, documents);
        Machine machine;
        if (!beside.isEmpty())
            machine.put(QStringLiteral("bin:") + beside);
        const ResourceLocator locator = machine.locator();
        QCOMPARE(locator.isPortable(), portable);
        QCOMPARE(locator.settingsFile(machine.at(QStringLiteral("bin:pipecalc"))), machine.at(settings));
        QCOMPARE(locator.defaultDocumentsDir(), machine.at(documents));
        QCOMPARE(locator.programDataDir(), machine.folder(portable ? "bin" : "installed"));
    }

    void documentsFolderMissing()
    {
        Machine machine;
        ResourceLocator::Places places = machine.places();
        places.documents = machine.root() + QStringLiteral("/no-such-folder");
        QCOMPARE(ResourceLocator(places).defaultDocumentsDir(), QDir::homePath());
        places.documents.clear();
        QCOMPARE(ResourceLocator(places).defaultDocumentsDir(), QDir::homePath());
    }

    void environment_data()
    {
        QTest::addColumn<QByteArray>("dataHome");
        QTest::addColumn<QByteArray>("dataDirs");
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<QString>("expectedDataHome");
        QTest::addColumn<QStringList>("expectedDataDirs");
        QTest::addColumn<QString>("expectedConfigHome");
        const QString home = QDir::homePath();
        const QStringList systemDefault{"/usr/local/share", "/usr/share"};
        QTest::newRow("unset") << QByteArray() << QByteArray() << QByteArray() << home + "/.local/share"
                               << systemDefault << home + "/.config";
        QTest::newRow("set") << QByteArray("/data/home/") << QByteArray("/opt/share:/srv/share/") << QByteArray("/cfg")
                             << "/data/home" << QStringList{"/opt/share", "/srv/share"} << "/cfg";
        QTest::newRow("relative paths are ignored")
            << QByteArray("data") << QByteArray("rel/share::/opt/share") << QByteArray("./cfg")
            << home + "/.local/share" << QStringList{"/opt/share"} << home + "/.config";
    }

    void environment()
    {
        QFETCH(QByteArray, dataHome);
        QFETCH(QByteArray, dataDirs);
        QFETCH(QByteArray, configHome);
        QFETCH(QString, expectedDataHome);
        QFETCH(QStringList, expectedDataDirs);
        QFETCH(QString, expectedConfigHome);
        const QList<QPair<const char *, QByteArray>> variables{
            {"XDG_DATA_HOME", dataHome}, {"XDG_DATA_DIRS", dataDirs}, {"XDG_CONFIG_HOME", configHome}};
        QList<QPair<const char *, QByteArray>> saved;
        auto setAll = [](const QList<QPair<const char *, QByteArray>> &values) {
            for (const auto &variable : values) {
                if (variable.second.isNull())
                    qunsetenv(variable.first);
                else
                    qputenv(variable.first, variable.second);
            }
        };
        for (const auto &variable : variables)
            saved.append({variable.first, qgetenv(variable.first)});
        setAll(variables);
        const ResourceLocator::Places places = ResourceLocator::environmentPlaces(QStringLiteral("/opt/x/bin/../bin"));
        setAll(saved);
        QCOMPARE(places.executableDir, QStringLiteral("/opt/x/bin"));
        QCOMPARE(places.dataHome, expectedDataHome);
        QCOMPARE(places.dataDirs, expectedDataDirs);
        QCOMPARE(places.configHome, expectedConfigHome);
    }

    void helperPrograms_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("found");
        const QString helper = QStringLiteral("bin:") + ResourceLocator::installedHelperDir() + "/helper";
        // "!" marks a file that cannot be run.
        QTest::newRow("beside the executable") << QStringList{"bin:helper", helper} << "bin:helper";
        QTest::newRow("installed") << QStringList{helper} << helper;
        QTest::newRow("beside but not runnable") << QStringList{"!bin:helper", helper} << helper;
        QTest::newRow("missing: named beside") << QStringList{"!" + helper} << "bin:helper";
    }

    void helperPrograms()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, found);
        Machine machine;
        for (QString where : present) {
            const bool runnable = !where.startsWith(QLatin1Char('!'));
            if (!runnable)
                where.remove(0, 1);
            QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
            if (runnable)
                permissions |= QFile::ExeOwner;
            QFile(machine.put(where)).setPermissions(permissions);
        }
        QCOMPARE(machine.locator().helperExecutable(QStringLiteral("helper")), machine.at(found));
    }
};

QTEST_GUILESS_MAIN(TestResourceLocator)
#include "tst_resourcelocator.moc"
