#include "FakeDialogs.h"
#include "SqliteFixture.h"
#include "TestFiles.h"

#include "app/MainWindow.h"
#include "model/CalcViews.h"
#include "model/NumberFormat.h"
#include "refdata/MdbConnection.h"
#include "refdata/ReferenceData.h"
#include "ui/ElidedLabel.h"
#include "ui/GridView.h"
#include "ui/VariableGridModel.h"
#include "support/WindowParts.h"

#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

// The reference pages as the user sees them in the main window.
class TestReferencePages : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString base() const { return m_dir.filePath(QStringLiteral("Base")); }
    QString settings() const { return m_dir.filePath(QStringLiteral("pipecalc.ini")); }

    void makeDatabase(const QString &sql)
    {
        QDir().mkpath(base());
        QVERIFY(SqliteFixture::create(base() + QStringLiteral("/data.sqlite"), sql));
    }

    static void clickRow(GridView *grid, int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    // Row of the grid whose first cell reads `text`.
    static int rowWith(GridView *grid, const QString &text, int column = 0)
    {
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            if (grid->model()->index(r, column).data().toString() == text)
                return r;
        }
        return -1;
    }

private Q_SLOTS:
    void init()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QFile::remove(settings());
        QDir(base()).removeRecursively();
    }

    void activationFillsThePages()
    {
        makeDatabase(SqliteFixture::referenceSql());
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        QCOMPARE(part<GridView>(w, "materialsGrid")->model()->rowCount(), 0);
        w.onActivated();
        QCOMPARE(part<GridView>(w, "materialsGrid")->model()->rowCount(), 4);
        QCOMPARE(part<GridView>(w, "tubesGrid")->model()->rowCount(), 3);
        QCOMPARE(part<GridView>(w, "fiberglassTubesGrid")->model()->rowCount(), 2); // TypeID 0
        QCOMPARE(part<GridView>(w, "soilsGrid")->model()->rowCount(), 2);
        QVERIFY(part<GridView>(w, "fiberglassTubesGrid")->isHidden());
        QVERIFY(dialogs.errors.isEmpty() && dialogs.messages.isEmpty());
        QCOMPARE(part<GridView>(w, "materialsGrid")->columnWidth(0), 200);
        QCOMPARE(part<GridView>(w, "materialsGrid")->model()->headerData(3, Qt::Horizontal).toString(),
                 QStringLiteral("Mu"));
    }

    void fiberglassMaterialSwitchesTheProgram()
    {
        makeDatabase(SqliteFixture::referenceSql());
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        part<QAction>(w, "staticAction")->trigger();

        auto *pages = part<QTabWidget>(w, "pages");
        pages->setCurrentIndex(MainWindowWidgets::PageIndexMaterials);
        GridView *materials = part<GridView>(w, "materialsGrid");
        clickRow(materials, rowWith(materials, QStringLiteral("Стеклопластик SN 10000")));
        QCOMPARE(w.vars().selectedMaterialId, 5);
        QVERIFY(fiberglassPanelShown(w));
        QCOMPARE(inputModel(w)->rowCount(), 13);
        QCOMPARE(w.vars()[Slot::Sigmat].value(), 500.0);
        QCOMPARE(w.vars()[Slot::Sigmao].value(), 1000.0);
        QCOMPARE(w.vars()[Slot::Et].value(), 20000.0);

        // The tube page now lists the fiberglass tubes of that class.
        pages->setCurrentIndex(MainWindowWidgets::PageIndexTubes);
        GridView *tubes = part<GridView>(w, "fiberglassTubesGrid");
        QVERIFY(!tubes->isHidden());
        QVERIFY(part<GridView>(w, "tubesGrid")->isHidden());
        QCOMPARE(tubes->model()->rowCount(), 1);
        clickRow(tubes, 0);
        QCOMPARE(w.vars()[Slot::DSt].value(), 1.0);
        QCOMPARE(w.vars()[Slot::Din].value(), 1.0);
        QCOMPARE(w.vars()[Slot::Dout].value(), 0.0);
        QCOMPARE(w.vars()[Slot::t].value(), 0.0096);

        // A polymer material brings the corrugated tubes and the static view back.
        pages->setCurrentIndex(MainWindowWidgets::PageIndexMaterials);
        clickRow(materials, rowWith(materials, QStringLiteral("Полиэтилен ПЭ 100")));
        QVERIFY(!fiberglassPanelShown(w));
        QVERIFY(part<GridView>(w, "fiberglassTubesGrid")->isHidden());
        QCOMPARE(inputModel(w)->rowCount(), int(CalcViews::inputRows(CalcView::Static).size()));
        // The fiberglass tube is no choice for it: the header says no tube,
        // and the status bar why.
        const QString header = part<ElidedLabel>(w, "choicesLine")->text();
        QVERIFY2(header.contains(QStringLiteral("Труба: не выбрана")), qPrintable(header));
        QVERIFY(!header.contains(QStringLiteral("D 1 м")));
        QVERIFY(part<QLabel>(w, "statusText")
                    ->text()
                    .startsWith(QStringLiteral("Труба «D 1 м, s 0,0048 м, t 0,0096 м» не "
                                               "изготавливается из материала «Полиэтилен")));
    }

    void tubeAndSoilClicks()
    {
        makeDatabase(SqliteFixture::referenceSql());
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        part<QTabWidget>(w, "pages")->setCurrentIndex(MainWindowWidgets::PageIndexTubes);
        GridView *tubes = part<GridView>(w, "tubesGrid");
        // A NULL pitch is read as 0.
        clickRow(tubes, rowWith(tubes, QStringLiteral("0,2")));
        QCOMPARE(w.vars()[Slot::Dout].value(), 0.2);
        QCOMPARE(w.vars()[Slot::Din].value(), 0.174);
        QCOMPARE(w.vars()[Slot::Lsh].value(), 0.0);

        part<QTabWidget>(w, "pages")->setCurrentIndex(MainWindowWidgets::PageIndexSoils);
        GridView *soils = part<GridView>(w, "soilsGrid");
        clickRow(soils, rowWith(soils, QStringLiteral("Песок мелкий")));
        QCOMPARE(w.vars().selectedSoilId, 4);
        QCOMPARE(w.vars()[Slot::GammaGrSt].value(), 19.0);
        QCOMPARE(w.vars()[Slot::fi].value(), 30.0);
        QCOMPARE(w.referenceData().soilNameById(w.vars().selectedSoilId).valueOr(QString()),
                 QStringLiteral("Песок мелкий"));
        QCOMPARE(w.referenceData().materialNameById(-1).valueOr(QString()), QStringLiteral("свой"));
        // The summary page reads no table.
        part<QTabWidget>(w, "pages")->setCurrentIndex(MainWindowWidgets::PageIndexSummary);
        QVERIFY(dialogs.messages.isEmpty() && dialogs.errors.isEmpty());
    }

    void missingTableIsSaid()
    {
        makeDatabase(SqliteFixture::referenceSql());
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        w.onActivated();
        QCOMPARE(part<GridView>(w, "soilsGrid")->model()->rowCount(), 2);
        makeDatabase(
            QString(SqliteFixture::referenceSql()).replace(QStringLiteral("Soiles"), QStringLiteral("Ground")));

        // Opening the page loads without emptying first: the grid keeps its rows.
        part<QTabWidget>(w, "pages")->setCurrentIndex(MainWindowWidgets::PageIndexSoils);
        QCOMPARE(dialogs.messages, QStringList{"Не могу открыть таблицу: Soiles"});
        QCOMPARE(part<GridView>(w, "soilsGrid")->model()->rowCount(), 2);

        // An activation reloads, which empties the grid before reading.
        w.onActivated(); // follows the message: skipped
        w.onActivated();
        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(part<GridView>(w, "soilsGrid")->model()->rowCount(), 0);
        QCOMPARE(part<GridView>(w, "materialsGrid")->model()->rowCount(), 4);
    }

    // Closing the error box activates the window again: that activation must
    // not read the database and show the box once more, but a later real
    // return to the window tries again.
    void missingDatabaseIsSaidOncePerReturn()
    {
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        part<QAction>(w, "staticAction")->trigger();
        w.vars().selectedMaterialId = 4;
        w.onActivated();
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY(dialogs.errors.first().contains(QStringLiteral("data")));
        QVERIFY(dialogs.errors.first().endsWith(QLatin1Char('.')));
        // The failed activation decided no panel.
        QVERIFY(!fiberglassPanelShown(w));
        w.onActivated(); // caused by closing the box
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY(fiberglassPanelShown(w));
        w.onActivated(); // the user comes back later
        QCOMPARE(dialogs.errors.size(), 2);

        // Once the database is there again, it is read.
        makeDatabase(SqliteFixture::referenceSql());
        w.onActivated();
        w.onActivated();
        QCOMPARE(dialogs.errors.size(), 2);
        QCOMPARE(part<GridView>(w, "materialsGrid")->model()->rowCount(), 4);
    }

    // An Access file that the reader cannot get through in time: the
    // activation ends with the database's message and the program goes on.
    void accessFileThatHangsTheReader()
    {
        const QString reader = m_dir.filePath(QStringLiteral("hanging-reader.sh"));
        QFile script(reader);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexec sleep 60\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        MdbConnection::setReaderProgram(reader);
        MdbConnection::Limits limits;
        limits.wallSeconds = 1;
        MdbConnection::setLimits(limits);
        QDir().mkpath(base());
        QByteArray head(64, '\0');
        QVERIFY(TestFiles::write(base() + QStringLiteral("/data.mdb"), head.replace(4, 15, "Standard Jet DB")));

        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        w.onActivated();
        MdbConnection::setReaderProgram(QString());
        MdbConnection::setLimits(MdbConnection::Limits());
        QCOMPARE(dialogs.errors, QStringList{QStringLiteral("Справочная база данных Microsoft Access %1 повреждена: "
                                                            "чтение не закончилось за 1 с.")
                                                 .arg(QDir::toNativeSeparators(base() + QStringLiteral("/data.mdb")))});

        // With the Access file gone the shipped database is read again.
        QVERIFY(QFile::remove(base() + QStringLiteral("/data.mdb")));
        makeDatabase(SqliteFixture::referenceSql());
        w.onActivated(); // caused by closing the box
        w.onActivated();
        QCOMPARE(dialogs.errors.size(), 1);
        QCOMPARE(part<GridView>(w, "materialsGrid")->model()->rowCount(), 4);
    }

    // A user's own SQLite database whose soils are a view of rows without
    // end: the activation ends with the database's message, within the
    // reading's limits, and the program goes on.
    void sqliteDatabaseThatCannotBeReadWhole()
    {
        makeDatabase(SqliteFixture::endlessRowsSql());
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        w.onActivated();
        QCOMPARE(dialogs.errors,
                 QStringList{QStringLiteral("Справочная база данных %1 повреждена или слишком велика: строки запроса "
                                            "«select * from Soiles» не умещаются в 64 МБ памяти.")
                                 .arg(QDir::toNativeSeparators(base() + QStringLiteral("/data.sqlite")))});
        QCOMPARE(part<GridView>(w, "materialsGrid")->model()->rowCount(), 4);
        QCOMPARE(part<GridView>(w, "soilsGrid")->model()->rowCount(), 0);

        makeDatabase(SqliteFixture::referenceSql());
        w.onActivated(); // caused by closing the box
        w.onActivated();
        QCOMPARE(dialogs.errors.size(), 1);
        QCOMPARE(part<GridView>(w, "soilsGrid")->model()->rowCount(), 2);
    }
};

QTEST_MAIN(TestReferencePages)
#include "tst_referencepages.moc"
