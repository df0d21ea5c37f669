#include "TestFiles.h"

#include "app/IniFile.h"
#include "model/platform/MemoryStatus.h"
#include "app/SettingsStore.h"
#include "app/WindowPlacement.h"
#include "app/AboutDialog.h"
#include "model/NumberFormat.h"

#include <QTemporaryDir>
#include <QDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("pipecalc.ini"));
    TestFiles::write(path, content);
    return path;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTolerantly()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "garbage line\r\n[settings]\r\n tabindex = 1 \r\n=novalue\r\n"
                                            "[View]\nNormPos=1,2,3\nBroken\n[Other\nKey=x\n");
        IniFile ini(path);
        QVERIFY(ini.load());
        QCOMPARE(ini.intValue("Settings", "TabIndex", 0), 1);
        QCOMPARE(ini.value("View", "NormPos"), QStringLiteral("1,2,3"));
        QVERIFY(!ini.contains("View", "Broken"));
        // An unclosed section header is no header: the key stays in View.
        QCOMPARE(ini.value("View", "Key"), QStringLiteral("x"));
        QCOMPARE(ini.intValue("Settings", "Missing", 7), 7);
        QCOMPARE(ini.intValue("View", "NormPos", 7), 7);
    }

    void missingFileReadsEmpty()
    {
        IniFile ini(QStringLiteral("/nonexistent/dir/pipecalc.ini"));
        QVERIFY(!ini.load());
        QCOMPARE(ini.intValue("Settings", "TabIndex", 0), 0);
        QVERIFY(!ini.save().ok());
    }

    void writesPlainLinesAndKeepsTheRest()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "; a comment\n[Settings]\nTabIndex=0\nStray=kept\n[View]\nOther=1\n");
        IniFile ini(path);
        ini.load();
        ini.setValue("SETTINGS", "tabindex", 1);
        ini.setValue("View", "NormPos", QStringLiteral("10,20,768,708"));
        ini.setValue("New", "Key", QStringLiteral("a,b"));
        QVERIFY(ini.save().ok());
        QCOMPARE(TestFiles::read(path), QByteArray("; a comment\n[Settings]\ntabindex=1\nStray=kept\n[View]\nOther=1\n"
                                                   "NormPos=10,20,768,708\n\n[New]\nKey=a,b\n"));
    }

    void placementRoundTrip()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath("p.ini"));
        WindowPlacement placement;
        placement.showCmd = WindowPlacement::Maximized;
        placement.normalBounds = QRect(QPoint(10, 20), QSize(758, 688));
        placement.save(ini, "View", 96, QSize(1280, 900));
        QCOMPARE(ini.value("View", "NormPos"), QStringLiteral("10,20,768,708"));
        QCOMPARE(ini.value("View", "NormPos(1280x900)"), QStringLiteral("10,20,768,708"));
        QCOMPARE(ini.value("View", "MinMaxPos(1280x900)"), QStringLiteral("-1,-1,-1,-1"));
        QCOMPARE(ini.intValue("View", "ShowCmd", 0), 3);
        QCOMPARE(ini.intValue("View", "FormVersion", -1), 0);

        const auto back = WindowPlacement::load(ini, "View", 96, QSize(1280, 900));
        QVERIFY(back.has_value());
        QCOMPARE(back->normalBounds, placement.normalBounds);
        QCOMPARE(back->showCmd, int(WindowPlacement::Maximized));
    }

    void placementChoices_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<int>("showCmd");
        const QByteArray both = "[View]\nShowCmd=1\nPixelsPerInch=96\nNormPos=0,0,600,500\n"
                                "NormPos(1280x900)=100,100,900,800\n";
        QTest::newRow("screen size preferred") << both << QRect(100, 100, 800, 700) << 1;
        QTest::newRow("plain key otherwise")
            << QByteArray("[View]\nShowCmd=2\nPixelsPerInch=96\nNormPos=0,0,600,500\nNormPos(800x600)=1,1,2,2\n")
            << QRect(0, 0, 600, 500) << 2;
        QTest::newRow("other resolution") << QByteArray(both).replace("=96", "=120") << QRect() << 1;
        QTest::newRow("garbled bounds") << QByteArray("[View]\nShowCmd=9\nPixelsPerInch=96\nNormPos=a,b,c,d\n")
                                        << QRect() << 1;
    }

    void placementChoices()
    {
        QFETCH(QByteArray, content);
        QFETCH(QRect, bounds);
        QFETCH(int, showCmd);
        QTemporaryDir dir;
        IniFile ini(writeFile(dir, content));
        ini.load();
        const auto placement = WindowPlacement::load(ini, "View", 96, QSize(1280, 900));
        QVERIFY(placement.has_value());
        QCOMPARE(placement->normalBounds, bounds);
        QCOMPARE(placement->showCmd, showCmd);
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("reason");
        QTest::newRow("link to an endless device") << "zero" << false << QStringLiteral("Это не обычный файл");
        QTest::newRow("FIFO") << "fifo" << false << QStringLiteral("Это не обычный файл");
        QTest::newRow("folder") << "folder" << false << QStringLiteral("Это не обычный файл");
        QTest::newRow("over the size cap") << "large" << false << QStringLiteral("Файл больше 1 МБ и не прочитан");
        QTest::newRow("at the size cap") << "cap" << true << QString();
    }

    // What is not a settings file is neither read nor written over.
    void refusedFiles()
    {
        QFETCH(QString, kind);
        QFETCH(bool, read);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pipecalc.ini"));
        const QByteArray head = "[Settings]\nTabIndex=1\n";
        if (kind == QLatin1String("zero")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("pipecalc.ini")));
        } else {
            const qint64 size = IniFile::MaxFileSize + (kind == QLatin1String("large") ? 1 : 0);
            QVERIFY(TestFiles::write(path, head + QByteArray(size - head.size(), ';')));
        }
        const QFileInfo before(path);

        IniFile ini(path);
        QCOMPARE(ini.load(), read);
        QCOMPARE(ini.intValue("Settings", "TabIndex", 0), read ? 1 : 0);
        ini.setValue("Settings", "TabIndex", 0);
        const Result<> saved = ini.save();
        QCOMPARE(saved.ok(), read);
        QCOMPARE(saved.message(), reason);
        const QFileInfo after(path);
        QCOMPARE(after.isSymLink(), before.isSymLink());
        QCOMPARE(after.isFile(), before.isFile());
        if (!read && before.isFile())
            QCOMPARE(after.size(), before.size());
    }

    void fitToScreens_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QVector<QRect>>("screens");
        QTest::addColumn<QRect>("fitted");

        const QRect hd(0, 0, 1920, 1040); // a task bar below
        const QRect right(1920, 0, 1280, 1024);
        const QVector<QRect> one{hd};
        const QVector<QRect> two{hd, right};

        QTest::newRow("on the screen") << QRect(100, 100, 800, 600) << one << QRect(100, 100, 800, 600);
        QTest::newRow("huge") << QRect(0, 0, 100000000, 100000000) << one << hd;
        QTest::newRow("huge, elsewhere") << QRect(500, 300, 5000, 4000) << one << QRect(500, 300, 1920, 1040);
        QTest::newRow("far off to the left") << QRect(-5000, 200, 800, 600) << one << QRect(0, 200, 800, 600);
        QTest::newRow("far below") << QRect(300, 90000, 800, 600) << one << QRect(300, 440, 800, 600);
        QTest::newRow("title bar above the screen") << QRect(300, -10, 800, 600) << one << QRect(300, 0, 800, 600);
        QTest::newRow("title bar under the task bar") << QRect(300, 1020, 800, 600) << one << QRect(300, 440, 800, 600);
        QTest::newRow("mostly off the right edge, grip left")
            << QRect(1700, 100, 800, 600) << one << QRect(1700, 100, 800, 600);
        QTest::newRow("a sliver on the screen") << QRect(1850, 100, 800, 600) << one << QRect(1120, 100, 800, 600);
        QTest::newRow("second screen") << QRect(2000, 100, 800, 600) << two << QRect(2000, 100, 800, 600);
        QTest::newRow("across both screens") << QRect(1500, 100, 800, 600) << two << QRect(1500, 100, 800, 600);
        QTest::newRow("second screen unplugged") << QRect(2000, 100, 800, 600) << one << QRect(1120, 100, 800, 600);
        QTest::newRow("larger than the second screen")
            << QRect(2000, 0, 1900, 1200) << two << QRect(2000, 0, 1280, 1024);
        QTest::newRow("nearest screen when off all")
            << QRect(4000, 2000, 300, 200) << two << QRect(2900, 824, 300, 200);
        QTest::newRow("screen not at the origin")
            << QRect(0, 0, 400, 300) << QVector<QRect>{QRect(-1280, 0, 1280, 1024)} << QRect(-400, 0, 400, 300);
        QTest::newRow("no screens") << QRect(-5000, 0, 10, 10) << QVector<QRect>{} << QRect(-5000, 0, 10, 10);
    }

    void fitToScreens()
    {
        QFETCH(QRect, stored);
        QFETCH(QVector<QRect>, screens);
        QFETCH(QRect, fitted);
        QCOMPARE(WindowPlacement::fitToScreens(stored, screens), fitted);
    }

    void extremeCoordinates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::newRow("hundred million") << "0,0,100000000,100000000" << true;
        QTest::newRow("beyond any screen") << "-2147483647,0,2147483647,10" << false;
        QTest::newRow("beyond an int") << "0,0,99999999999,10" << false;
    }

    void extremeCoordinates()
    {
        QFETCH(QString, text);
        QFETCH(bool, read);
        QCOMPARE(WindowPlacement::parseRect(text).has_value(), read);
    }

    // Each window's part goes into the one file without undoing the others'
    // or anything else the file holds.
    void storeKeepsEveryPart()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir, "[Other]\nKey=x\n");
        const SettingsStore store(path);
        const QSize screen(1280, 900);
        WindowPlacement main;
        main.normalBounds = QRect(QPoint(10, 20), QSize(758, 688));
        WindowPlacement editor;
        editor.showCmd = WindowPlacement::Maximized;
        editor.normalBounds = QRect(QPoint(100, 50), QSize(680, 516));
        SettingsStore::MainWindowView view;
        view.upperHalfHeight = 250;
        view.laying = Laying::Trenchless;
        view.wall = Wall::SingleLayer;

        QVERIFY(store.writeRecentProjects(RecentProjects({"/work/a.pipecalc"})).ok());
        QVERIFY(store.writeEditorDialogFolder(QStringLiteral("/work/reports")).ok());
        QVERIFY(store.writeEditorPlacement(editor, 96, screen).ok());
        QVERIFY(store.writeMainWindow(1, main, 96, screen, view).ok());

        const QByteArray text = TestFiles::read(path);
        for (const char *part : {"[Other]\nKey=x\n", "[Settings]\nTabIndex=1\n", "PanelMainTop_Height=250\n",
                                 "ComboBox1_ItemIndex=1\nComboBox2_ItemIndex=0\n", "DialogFolder=/work/reports\n",
                                 "[RecentProjects]\nFile1=/work/a.pipecalc\nFile2=\n"})
            QVERIFY2(text.contains(part), part);

        const SettingsStore again(path);
        QCOMPARE(again.tabIndex(), 1);
        const auto shown = again.mainWindowView(96, screen);
        QVERIFY(shown.has_value());
        QCOMPARE(shown->placement->normalBounds, main.normalBounds);
        QCOMPARE(shown->upperHalfHeight, 250);
        QCOMPARE(shown->laying, Laying::Trenchless);
        QCOMPARE(shown->wall, Wall::SingleLayer);
        const auto editorShown = again.editorPlacement(96, screen);
        QVERIFY(editorShown.has_value());
        QCOMPARE(editorShown->normalBounds, editor.normalBounds);
        QCOMPARE(editorShown->showCmd, int(WindowPlacement::Maximized));
        QCOMPARE(again.editorDialogFolder(), QStringLiteral("/work/reports"));
        QCOMPARE(again.recentProjects().paths(), QStringList{"/work/a.pipecalc"});
    }

    // Choices other than the list's positions, and a file that is not there.
    void storeReadsWhatItCan()
    {
        QTemporaryDir dir;
        const SettingsStore store(writeFile(dir, "[Settings]\nTabIndex=2\n[View]\nComboBox1_ItemIndex=2\n"
                                                 "ComboBox2_ItemIndex=-1\nPanelMainTop_Height=x\n"));
        QCOMPARE(store.tabIndex(), 0);
        const auto view = store.mainWindowView(96, QSize(1280, 900));
        QVERIFY(view.has_value());
        QVERIFY(!view->laying);
        QVERIFY(!view->wall);
        QCOMPARE(view->upperHalfHeight, -1);

        const SettingsStore missing(dir.filePath(QStringLiteral("none.ini")));
        QCOMPARE(missing.tabIndex(), 0);
        QVERIFY(!missing.mainWindowView(96, QSize(1280, 900)));
        QVERIFY(!missing.editorPlacement(96, QSize(1280, 900)));
        QVERIFY(missing.editorDialogFolder().isEmpty());
        QVERIFY(missing.recentProjects().isEmpty());
    }

    void memory()
    {
        const MemoryStatus status = MemoryStatus::fromMeminfo(
            "MemTotal:       16384000 kB\nMemFree:         1000000 kB\nMemAvailable:    4096000 kB\n");
        QCOMPARE(status.totalKb, quint64(16384000));
        QCOMPARE(status.loadPercent, 75);
        const MemoryStatus old =
            MemoryStatus::fromMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 100 kB\nCached: 300 kB\n");
        QCOMPARE(old.loadPercent, 50);
        QCOMPARE(MemoryStatus::fromMeminfo(QString()).totalKb, quint64(0));
        QVERIFY(MemoryStatus::current().totalKb > 0);

        NumberFormat::setThousandsSeparator(QStringLiteral("\u00a0"));
        QCOMPARE(AboutDialog::physicalMemoryText(16384000), QStringLiteral("16\u00a0384\u00a0000 KB"));
        NumberFormat::setThousandsSeparator(QStringLiteral(","));
        QCOMPARE(AboutDialog::physicalMemoryText(999), QStringLiteral("999 KB"));
        QCOMPARE(AboutDialog::memoryLoadText(37), QStringLiteral("37 %"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
