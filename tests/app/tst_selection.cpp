#include "FakeDialogs.h"

#include "app/SelectionPageController.h"
#include "app/MainWindow.h"
#include "calc/CalcSession.h"
#include "calc/TubeSelectionRunner.h"
#include "model/NumberFormat.h"
#include "ui/ElidedLabel.h"
#include "ui/GridView.h"
#include "ui/TubeSelectionModel.h"
#include "ui/TubeSelectionPage.h"
#include "ui/VerdictPanel.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestSelection : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("pipecalc.ini")); }

    // Shows the selection page and waits for the rows of the run it starts
    // (or of the one `start` starts).
    static void showSelection(MainWindow &w, bool start = false)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSignalSpy finished(&w.selection().runner(), &TubeSelectionRunner::finished);
        part<QTabWidget>(w, "pages")->setCurrentWidget(part<TubeSelectionPage>(w, "selectionPage"));
        if (start)
            part<TubeSelectionPage>(w, "selectionPage")->startButton()->click();
        QVERIFY(finished.wait(20000));
        QVERIFY(!part<TubeSelectionPage>(w, "selectionPage")->isRunning());
    }

    static int rowOfTube(const TubeSelectionModel *model, int number)
    {
        for (int i = 0; i < model->rows().size(); ++i) {
            if (model->rows()[i].tube.number == number)
                return i;
        }
        return -1;
    }

private Q_SLOTS:
    void init()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QFile::remove(settingsPath());
    }

    // The static selection runs when its page is shown: every tube, passing
    // rows green and failing ones red, the smallest passing one marked.
    // "Выбрать" makes a row the chosen tube as the tube page does, and the
    // choice shows in the line under the header.
    void staticSelectionAndChoice()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QTabBar>(w, "calculationTabs")->setCurrentIndex(1);
        QVERIFY(w.session().pickMaterialById(1).valueOr(false));
        QVERIFY(w.session().pickSoilById(8).valueOr(false));
        w.session().setInput(Slot::Htr, 7);
        QCOMPARE(part<QTabWidget>(w, "pages")->tabText(MainWindowWidgets::PageIndexSelection),
                 QStringLiteral("Подбор трубы"));
        showSelection(w);
        TubeSelectionPage *page = part<TubeSelectionPage>(w, "selectionPage");
        const TubeSelectionModel *model = page->model();
        QCOMPARE(model->kind(), CalcKind::Static);
        QCOMPARE(model->rowCount(), 12);
        int passing = 0;
        for (int i = 0; i < model->rowCount(); ++i) {
            const bool passes = model->rows()[i].passes();
            passing += passes ? 1 : 0;
            QCOMPARE(model->index(i, 0).data(Qt::BackgroundRole).value<QColor>(),
                     passes ? TubeSelectionModel::passingColour() : TubeSelectionModel::failingColour());
        }
        QVERIFY(passing > 0 && passing < 12);
        const int smallest = model->smallestPassing();
        QVERIFY(smallest >= 0);
        QVERIFY(model->index(smallest, 0).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(model->index(smallest, TubeSelectionModel::ColumnVerdict)
                    .data()
                    .toString()
                    .contains(QStringLiteral("наименьшая")));
        QVERIFY(page->note()->text().contains(model->rows()[smallest].tube.name));

        // Sorted by a column, the rows stay what they are.
        page->view()->sortByColumn(TubeSelectionModel::ColumnNumber, Qt::DescendingOrder);
        QCOMPARE(page->view()->model()->index(0, 0).data().toString(), QStringLiteral("12"));

        const int row = rowOfTube(model, 9);
        page->setCurrentRow(row);
        QVERIFY(page->chooseButton()->isEnabled());
        page->chooseButton()->click();
        QCOMPARE(w.session().tube().id, 9);
        QCOMPARE(w.session().input(Slot::Din), 0.546);
        QCOMPARE(w.session().input(Slot::Lsh), 53.0);
        QCOMPARE(part<GridView>(w, "tubesGrid")->focusedRow(), 8);
        QVERIFY2(part<ElidedLabel>(w, "choicesLine")
                     ->text()
                     .contains(QStringLiteral("Труба: Dнаруж 0,63 м, Dвнутр 0,546 м")),
                 qPrintable(part<ElidedLabel>(w, "choicesLine")->text()));
        // Choosing a tube is not a change of the job.
        QVERIFY(!page->isOutdated());
        QVERIFY(dialogs.messages.isEmpty());

        // Another soil is: the rows are said to be outdated until run again.
        QVERIFY(w.session().pickSoilById(2).valueOr(false));
        QVERIFY(page->isOutdated());
        QVERIFY(page->note()->text().contains(QStringLiteral("Исходные данные изменены")));
        QSignalSpy finished(&w.selection().runner(), &TubeSelectionRunner::finished);
        page->startButton()->click();
        QVERIFY(page->isRunning());
        QVERIFY(!page->startButton()->isEnabled());
        QVERIFY(finished.wait(20000));
        QVERIFY(!page->isOutdated());
        QCOMPARE(finished.first().at(1).toBool(), true);
    }

    // The hydraulic selection waits for the flow; the filling found and the
    // velocity are shown for each tube.
    void hydraulicSelection()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QTabBar>(w, "calculationTabs")->setCurrentIndex(0);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        TubeSelectionPage *page = part<TubeSelectionPage>(w, "selectionPage");
        part<QTabWidget>(w, "pages")->setCurrentWidget(page);
        QVERIFY(!page->isRunning());
        QCOMPARE(page->model()->kind(), CalcKind::Hydraulic);
        QVERIFY(page->flowEdit()->isVisibleTo(page));
        QCOMPARE(page->fillingEdit()->text(), QStringLiteral("0,8"));
        QCOMPARE(page->note()->text(), QStringLiteral("Введите требуемый расход и нажмите «Подобрать»."));
        page->startButton()->click();
        QVERIFY(!page->isRunning());
        QCOMPARE(page->note()->text(), QStringLiteral("Укажите требуемый расход числом, л/с."));

        page->flowEdit()->setText(QStringLiteral("298,171"));
        showSelection(w, true);
        const TubeSelectionModel *model = page->model();
        QCOMPARE(model->rowCount(), 12);
        const int row = rowOfTube(model, 7);
        QCOMPARE(model->index(row, 4).data().toString(), QStringLiteral("0,800"));
        QCOMPARE(model->index(row, 5).data().toString(), QStringLiteral("3,655"));
        QVERIFY(model->rows()[row].passes());
        QCOMPARE(model->rows()[model->smallestPassing()].tube.number, 7);
        QVERIFY(!model->rows()[rowOfTube(model, 6)].passes());
    }

    // A fiberglass material puts its own tubes on the page; a choice from
    // it is made on the fiberglass tube grid.
    void fiberglassSelection()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QTabBar>(w, "calculationTabs")->setCurrentIndex(1);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        part<QTabWidget>(w, "pages")->setCurrentIndex(MainWindowWidgets::PageIndexMaterials);
        part<GridView>(w, "materialsGrid")->setCurrentIndex(part<GridView>(w, "materialsGrid")->model()->index(4, 0));
        w.pickClickedMaterial();
        QCOMPARE(w.session().calculation(), CalcKind::Fiberglass);
        showSelection(w);
        const TubeSelectionModel *model = part<TubeSelectionPage>(w, "selectionPage")->model();
        QCOMPARE(model->kind(), CalcKind::Fiberglass);
        QCOMPARE(model->rowCount(), 11);
        QVERIFY(model->rows().first().tube.fiberglass);
        part<TubeSelectionPage>(w, "selectionPage")->setCurrentRow(2);
        part<TubeSelectionPage>(w, "selectionPage")->chooseButton()->click();
        QVERIFY(w.session().tube().fiberglass);
        QCOMPARE(w.session().tube().id, 3);
        QCOMPARE(w.session().input(Slot::DSt), model->rows()[2].tube.fiberglassRow.D);
    }

    // The selection, the results and the checks go to the clipboard
    // tab-separated and to CSV files with ";" and the decimal comma.
    void tablesOut()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QTabBar>(w, "calculationTabs")->setCurrentIndex(1);
        showSelection(w);
        TubeSelectionPage *page = part<TubeSelectionPage>(w, "selectionPage");
        page->copyButton()->click();
        const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 13);
        QVERIFY(lines.first().startsWith(QStringLiteral("№\tТруба\tИтог\tИспользование, %\t")));
        QVERIFY(lines.at(7).startsWith(QStringLiteral("7\tDнаруж 0,4 м, Dвнутр 0,348 м\tподходит\t65,9\t")));

        dialogs.saveName = m_dir.filePath(QStringLiteral("подбор"));
        page->saveButton()->click();
        QFile file(dialogs.saveName + QStringLiteral(".csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList csv = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(csv.size(), 13);
        QVERIFY(csv.at(7).startsWith(QStringLiteral("7;Dнаруж 0,4 м, Dвнутр 0,348 м;подходит;65,9;")));

        // The results and the checks of a calculation.
        w.runCalculation();
        const QList<QAction *> outActions = part<GridView>(w, "outputGrid")->actions();
        QCOMPARE(outActions.size(), 2);
        outActions.first()->trigger();
        const QStringList results = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(results.first(), QStringLiteral("Параметр\tЗначение\tРазмерность\tКраткое описание"));
        QCOMPARE(results.size(), 5);
        QVERIFY(results.at(2).startsWith(QStringLiteral("q_уст\t0,251\tМПа\t")));

        QTableWidget *checks = part<VerdictPanel>(w, "verdictPanel")->table();
        checks->actions().first()->trigger();
        const QStringList checkLines =
            QGuiApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(checkLines.size(), 4);
        QCOMPARE(checkLines.first(), QStringLiteral("Проверка\tЗначение\tПредел\tРазмерность\tИспользование, %\tИтог"));
        QVERIFY2(checkLines.at(1).startsWith(QStringLiteral("Прочность\t0,658893\t1\t\t65,8893\t")),
                 qPrintable(checkLines.at(1)));

        // With "." as the decimal separator the numbers follow it.
        NumberFormat::setDecimalSeparator(QStringLiteral("."));
        dialogs.saveName = m_dir.filePath(QStringLiteral("checks.csv"));
        checks->actions().at(1)->trigger();
        QFile checksFile(dialogs.saveName);
        QVERIFY(checksFile.open(QIODevice::ReadOnly));
        const QString checksCsv = QString::fromUtf8(checksFile.readAll().mid(3));
        QVERIFY2(checksCsv.contains(QStringLiteral("\r\nПрочность;0.658893;1;;65.8893;")), qPrintable(checksCsv));
        QVERIFY(dialogs.errors.isEmpty());
    }
};

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
