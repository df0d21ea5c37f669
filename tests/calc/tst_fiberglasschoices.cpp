#include "calc/FiberglassChoices.h"

#include <QtTest>

// The names of the laying and the wall are what project files, the command
// line, the settings file and the window hold: they must never drift.
class TestFiberglassChoices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layingNames()
    {
        QCOMPARE(FiberglassChoices::words<Laying>(), QStringList({"trench", "trenchless"}));
        QCOMPARE(FiberglassChoices::word(Laying::Trenchless), QStringLiteral("trenchless"));
        QCOMPARE(FiberglassChoices::fromWord<Laying>(QStringLiteral("trench")), Laying::Trench);
        QCOMPARE(FiberglassChoices::fromWord<Laying>(QStringLiteral("trenchless")), Laying::Trenchless);
        QCOMPARE(FiberglassChoices::label(Laying::Trench), QStringLiteral("траншейный"));
        QCOMPARE(FiberglassChoices::label(Laying::Trenchless), QStringLiteral("бестраншейный"));
        QCOMPARE(FiberglassChoices::index(Laying::Trenchless), 1);
        QCOMPARE(FiberglassChoices::fromIndex<Laying>(0), Laying::Trench);
        QCOMPARE(FiberglassChoices::fromIndex<Laying>(1), Laying::Trenchless);
    }

    void wallNames()
    {
        QCOMPARE(FiberglassChoices::words<Wall>(), QStringList({"single", "three"}));
        QCOMPARE(FiberglassChoices::word(Wall::SingleLayer), QStringLiteral("single"));
        QCOMPARE(FiberglassChoices::fromWord<Wall>(QStringLiteral("single")), Wall::SingleLayer);
        QCOMPARE(FiberglassChoices::fromWord<Wall>(QStringLiteral("three")), Wall::ThreeLayer);
        // The window's list says "трехслойная", the report "трёхслойная".
        QCOMPARE(FiberglassChoices::label(Wall::SingleLayer), QStringLiteral("однослойная"));
        QCOMPARE(FiberglassChoices::label(Wall::ThreeLayer), QStringLiteral("трехслойная"));
        QCOMPARE(FiberglassChoices::reportWord(Wall::SingleLayer), QStringLiteral("однослойная"));
        QCOMPARE(FiberglassChoices::reportWord(Wall::ThreeLayer), QStringLiteral("трёхслойная"));
        QCOMPARE(FiberglassChoices::index(Wall::SingleLayer), 0);
        QCOMPARE(FiberglassChoices::fromIndex<Wall>(1), Wall::ThreeLayer);
    }

    // Words are matched exactly; positions outside the lists name nothing.
    void unknown_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("index");
        QTest::newRow("empty, before the list") << QString() << -1;
        QTest::newRow("other case, past the list") << QStringLiteral("Trench") << 2;
        QTest::newRow("padded") << QStringLiteral(" three") << 100;
        QTest::newRow("Russian") << QStringLiteral("траншейный") << -100;
    }

    void unknown()
    {
        QFETCH(QString, word);
        QFETCH(int, index);
        QVERIFY(!FiberglassChoices::fromWord<Laying>(word));
        QVERIFY(!FiberglassChoices::fromWord<Wall>(word));
        QVERIFY(!FiberglassChoices::fromIndex<Laying>(index));
        QVERIFY(!FiberglassChoices::fromIndex<Wall>(index));
    }
};

QTEST_APPLESS_MAIN(TestFiberglassChoices)
#include "tst_fiberglasschoices.moc"
