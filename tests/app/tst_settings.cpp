#include "TestFiles.h"

#include "app/IniFile.h"
#include "app/MemoryStatus.h"
#include "app/WindowPlacement.h"
#include "app/reabout.h"
#include "model/NumberFormat.h"

#include <QTemporaryDir>
#include <QtTest>

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
        QVERIFY(!ini.save());
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
        QVERIFY(ini.save());
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

    void memory()
    {
        const MemoryStatus status = MemoryStatus::fromMeminfo(
            "MemTotal:       16384000 kB\nMemFree:         1000000 kB\nMemAvailable:    4096000 kB\n");
        QCOMPARE(status.totalKb, quint64(16384000));
        QCOMPARE(status.loadPercent, 75);
        const MemoryStatus old = MemoryStatus::fromMeminfo(
            "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 100 kB\nCached: 300 kB\n");
        QCOMPARE(old.loadPercent, 50);
        QCOMPARE(MemoryStatus::fromMeminfo(QString()).totalKb, quint64(0));
        QVERIFY(MemoryStatus::current().totalKb > 0);

        NumberFormat::setThousandsSeparator(QStringLiteral("\u00a0"));
        QCOMPARE(TAboutBox::physicalMemoryText(16384000), QStringLiteral("16\u00a0384\u00a0000 KB"));
        NumberFormat::setThousandsSeparator(QStringLiteral(","));
        QCOMPARE(TAboutBox::physicalMemoryText(999), QStringLiteral("999 KB"));
        QCOMPARE(TAboutBox::memoryLoadText(37), QStringLiteral("37 %"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
