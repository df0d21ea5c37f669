#include "FakeDialogs.h"
#include "TestFiles.h"

#include "app/CommandKeyFilter.h"
#include "app/HelpLauncher.h"
#include "app/IniFile.h"
#include "app/MainWindow.h"
#include "app/ReportMaker.h"
#include "app/WindowPlacement.h"
#include "app/AboutDialog.h"
#include "calc/CalcSession.h"
#include "calc/FiberglassResults.h"
#include "reports/CalcReport.h"
#include "model/CalcViews.h"
#include "model/NumberFormat.h"
#include "ui/GridView.h"
#include "ui/VariableGridModel.h"
#include "ui/VerdictPanel.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Remembers what the report command handed on.
class FakeReports : public ReportMaker
{
public:
    void makeReport(CalcSession &session, CalcKind kind) override
    {
        made << CalcKinds::name(kind);
        titles << CalcReport::title(kind);
        current = session.resultsCurrent(kind);
        lastMpr = session.fiberglassResults().Mpr;
        laying = FiberglassChoices::index(session.laying());
    }

    QStringList titles;
    QStringList made;
    bool current = false;
    double lastMpr = 0;
    int laying = -1;
};

QStringList keys(const QVector<Slot> &rows)
{
    QStringList out;
    for (const Slot s : rows)
        out << SlotKeys::key(s);
    return out;
}

QStringList keys(const VariableGridModel *model)
{
    return keys(model->rows());
}

int staticInputRowCount()
{
    return int(CalcViews::inputRows(CalcView::Static).size());
}

void writeFile(const QString &path, const QByteArray &content)
{
    QVERIFY(TestFiles::write(path, content));
}

QByteArray readFile(const QString &path)
{
    return TestFiles::read(path);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("pipecalc.ini")); }

    // Clicks a row of a grid as the user does.
    static void clickRow(GridView *grid, int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    static void pressEnter(QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }

    // A key press as the keyboard delivers it, for keys QTest does not name.
    static void typeKey(QWidget *w, int key, const QString &text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &release);
    }

private Q_SLOTS:
    void init()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QFile::remove(settingsPath());
    }

    void startsInHydraulicView()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        QCOMPARE(part<QTabBar>(w, "calculationTabs")->currentIndex(), 0);
        QCOMPARE(int(w.vars().mode), 0);
        QCOMPARE(keys(inputModel(w)), (QStringList{"Dout", "Din", "i_s", "hs_d", "nu", "Ke"}));
        QCOMPARE(keys(outputModel(w)), (QStringList{"Vnf", "qs"}));
        QCOMPARE(part<QLabel>(w, "headerLabel")->text(), QStringLiteral("Гидравлический расчёт"));
        QCOMPARE(part<QTabWidget>(w, "pages")->currentIndex(), int(MainWindowWidgets::PageIndexSummary));
        QCOMPARE(part<QTabWidget>(w, "pages")->tabText(1), QStringLiteral(" Труба"));
        QVERIFY(!fiberglassPanelShown(w));
        QCOMPARE(w.session().state(), CalcSession::ResultState::None);
        QCOMPARE(w.windowTitle(), QStringLiteral("Без имени[*] — Расчёты Велтра-Норлекс"));
    }

    void storedTab_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("tab");
        QTest::newRow("static") << QByteArray("[Settings]\nTabIndex=1\n") << 1;
        QTest::newRow("hydraulic") << QByteArray("[Settings]\nTabIndex=0\n") << 0;
        QTest::newRow("out of range") << QByteArray("[Settings]\nTabIndex=5\n") << 0;
        QTest::newRow("negative") << QByteArray("[Settings]\nTabIndex=-1\n") << 0;
        QTest::newRow("not a number") << QByteArray("[Settings]\nTabIndex=one\n") << 0;
        QTest::newRow("garbled file") << QByteArray("\x01\x02[[[\n\xff\xfe=1\nTabIndex") << 0;
    }

    void storedTab()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, tab);
        writeFile(settingsPath(), content);
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        QCOMPARE(part<QTabBar>(w, "calculationTabs")->currentIndex(), tab);
        QCOMPARE(int(w.vars().mode), tab);
        QCOMPARE(inputModel(w)->rowCount(), tab == 1 ? staticInputRowCount() : 6);
        QVERIFY(dialogs.errors.isEmpty());
    }

    void switchingCalculations()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QAction>(w, "staticAction")->trigger();
        QCOMPARE(int(w.vars().mode), 1);
        QCOMPARE(keys(inputModel(w)), keys(CalcViews::inputRows(CalcView::Static)));
        QCOMPARE(keys(outputModel(w)), (QStringList{"S_cond", "qust", "qgr", "qvntr"}));
        QCOMPARE(part<QLabel>(w, "headerLabel")->text(), QStringLiteral("Статический расчёт"));
        w.markCalculationMenu();
        QVERIFY(part<QAction>(w, "staticAction")->isChecked());
        QVERIFY(!part<QAction>(w, "hydraulicAction")->isChecked());

        // Values survive a switch of view.
        w.vars()[Slot::Htr].setValue(3.5);
        part<QAction>(w, "hydraulicAction")->trigger();
        w.markCalculationMenu();
        QVERIFY(part<QAction>(w, "hydraulicAction")->isChecked());
        part<QAction>(w, "staticAction")->trigger();
        QCOMPARE(w.vars()[Slot::Htr].value(), 3.5);
    }

    void fiberglassPanel()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        // In the hydraulic calculation a fiberglass material changes nothing visible.
        w.vars().selectedMaterialId = 5;
        w.updateFiberglassOptions();
        QVERIFY(!fiberglassPanelShown(w));
        QCOMPARE(inputModel(w)->rowCount(), 6);

        // Switching to the static tab shows the fiberglass view at once.
        part<QAction>(w, "staticAction")->trigger();
        QVERIFY(fiberglassPanelShown(w));
        QCOMPARE(part<QComboBox>(w, "layingCombo")->currentText(), QStringLiteral("траншейный"));
        QCOMPARE(inputModel(w)->rowCount(), 13);
        QCOMPARE(part<QLabel>(w, "headerLabel")->text(), QStringLiteral("Статический расчёт"));
        QCOMPARE(keys(outputModel(w)), (QStringList{"Mras", "Mpr", "psiSt", "gc", "QgvSt", "Gy"}));

        part<QComboBox>(w, "layingCombo")->setCurrentIndex(1);
        w.changeLaying(1);
        const QStringList rows = keys(inputModel(w));
        QCOMPARE(rows.size(), 15);
        QCOMPARE(rows.indexOf("fi"), rows.indexOf("DSt") + 1);
        QCOMPARE(rows.last(), QStringLiteral("Kk"));

        w.vars().selectedMaterialId = 2;
        w.updateFiberglassOptions();
        QVERIFY(!fiberglassPanelShown(w));
        QCOMPARE(inputModel(w)->rowCount(), staticInputRowCount());
        QCOMPARE(keys(inputModel(w)).first(), QStringLiteral("Din"));
    }

    void valueEditor_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored");
        QTest::addColumn<bool>("refused");
        const double unchanged = 0.348;
        QTest::newRow("whole number") << ","
                                      << "12" << 12.0 << false;
        QTest::newRow("comma fraction") << ","
                                        << "0,348" << 0.348 << false;
        QTest::newRow("point fraction") << ","
                                        << "0.5" << 0.5 << false;
        QTest::newRow("negative fraction") << ","
                                           << "-1,5" << -1.5 << false;
        QTest::newRow("negative whole") << ","
                                        << "-2" << -2.0 << false;
        QTest::newRow("exponent") << ","
                                  << "1,5e3" << 1500.0 << false;
        QTest::newRow("exponent with point") << ","
                                             << "+2.5E-1" << 0.25 << false;
        QTest::newRow("blanks around") << ","
                                       << " 2,5 " << 2.5 << false;
        QTest::newRow("comma on a point system") << "."
                                                 << "1,5" << 1.5 << false;
        QTest::newRow("whole on a point system") << "."
                                                 << "7" << 7.0 << false;
        QTest::newRow("empty") << ","
                               << "" << unchanged << true;
        QTest::newRow("letters") << ","
                                 << "abc" << unchanged << true;
        QTest::newRow("with unit") << ","
                                   << "1,5 м" << unchanged << true;
        QTest::newRow("two separators") << ","
                                        << "1,5.2" << unchanged << true;
        QTest::newRow("grouped digits") << ","
                                        << "1 500" << unchanged << true;
    }

    void valueEditor()
    {
        QFETCH(QString, separator);
        QFETCH(QString, text);
        QFETCH(double, stored);
        QFETCH(bool, refused);
        NumberFormat::setDecimalSeparator(separator);
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        clickRow(part<GridView>(w, "inputGrid"), 1); // Din
        QCOMPARE(part<QLabel>(w, "statusText")->text(), QStringLiteral("Внутренний диаметр трубопровода"));
        QCOMPARE(part<QLineEdit>(w, "valueEditor")->text(),
                 separator == "," ? QStringLiteral("0,348") : QStringLiteral("0.348"));
        // The editor says which input it writes into.
        QCOMPARE(part<QLabel>(w, "valueTargetLabel")->text(), QStringLiteral("→ Dвнутр, м"));
        part<QLineEdit>(w, "valueEditor")->setText(text);
        pressEnter(part<QLineEdit>(w, "valueEditor"));
        QCOMPARE(w.vars()[Slot::Din].value(), stored);
        QCOMPARE(part<QLineEdit>(w, "valueEditor")->text(), text);
        QCOMPARE(inputModel(w)->cellText(1, 1), NumberFormat::format(QStringLiteral("0.###"), stored));
        QVERIFY(dialogs.errors.isEmpty());
        if (!refused) {
            QVERIFY(dialogs.messages.isEmpty());
            return;
        }
        // A refusal names the input and shows numbers it would take.
        QCOMPARE(dialogs.messages.size(), 1);
        const QString message = dialogs.messages.first();
        QVERIFY2(message.contains(QStringLiteral("Dвнутр")) && message.contains(QStringLiteral("«Внутренний диаметр")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("например 0")), qPrintable(message));
    }

    // The value editor always shows the value of the row it writes into:
    // after the arrow keys, and after another view and back.
    void editorFollowsTheChosenRow()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        GridView *grid = part<GridView>(w, "inputGrid");
        clickRow(grid, 1); // Din, 0,348
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->focusedRow(), 2);
        QCOMPARE(part<QLineEdit>(w, "valueEditor")->text(), QStringLiteral("0,02"));
        QCOMPARE(part<QLabel>(w, "valueTargetLabel")->text(), QStringLiteral("→ is"));
        pressEnter(part<QLineEdit>(w, "valueEditor"));
        QCOMPARE(w.vars()[Slot::i_s].value(), 0.02);
        QCOMPARE(w.vars()[Slot::Din].value(), 0.348);
        // Din in the hydraulic view, Din in the static one: its value follows.
        clickRow(grid, 1);
        part<QAction>(w, "staticAction")->trigger();
        w.session().setInput(Slot::Din, 0.5);
        part<QAction>(w, "hydraulicAction")->trigger();
        QCOMPARE(part<QLineEdit>(w, "valueEditor")->text(), QStringLiteral("0,5"));
        // A view without the row: nothing to write into, nothing shown.
        w.session().restoreChoices(CalcSession::Choice{4, QStringLiteral("Стеклопластик")}, {}, {});
        part<QAction>(w, "staticAction")->trigger();
        QCOMPARE(part<QLineEdit>(w, "valueEditor")->text(), QString());
    }

    // No results, or failed ones, show no value, and none is copied.
    void hiddenResultsAreNotCopied()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        clickRow(part<GridView>(w, "inputGrid"), 3);  // hs_d, 1,0
        clickRow(part<GridView>(w, "outputGrid"), 1); // qs, not calculated
        QCOMPARE(part<QLineEdit>(w, "valueEditor")->text(), QStringLiteral("1,0"));
        QCOMPARE(part<QLabel>(w, "statusText")->text(), QStringLiteral("Расход жидкости"));
        pressEnter(part<QLineEdit>(w, "valueEditor"));
        QCOMPARE(w.vars()[Slot::hs_d].value(), 1.0);
    }

    void outputRowFeedsTheEditor()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        part<QAction>(w, "runAction")->trigger();
        QVERIFY(w.session().resultsCurrent());
        clickRow(part<GridView>(w, "inputGrid"), 3);  // hs_d
        clickRow(part<GridView>(w, "outputGrid"), 1); // qs
        QCOMPARE(part<QLineEdit>(w, "valueEditor")->text(), QStringLiteral("303,629"));
        QCOMPARE(part<QLabel>(w, "statusText")->text(), QStringLiteral("Расход жидкости"));
        pressEnter(part<QLineEdit>(w, "valueEditor"));
        QCOMPARE(w.vars()[Slot::hs_d].value(), 303.629);
    }

    void chosenRowSurvivesAnotherView()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        GridView *grid = part<GridView>(w, "inputGrid");
        clickRow(grid, 0); // Dout
        // The static view lists Dout too: it stays the row chosen.
        part<QAction>(w, "staticAction")->trigger();
        QCOMPARE(w.valueTarget(), Slot::Dout);
        QCOMPARE(grid->focusedRow(), 1);
        // A row the other view does not list takes no value there.
        part<QAction>(w, "hydraulicAction")->trigger();
        clickRow(grid, 2); // i_s
        part<QAction>(w, "staticAction")->trigger();
        QCOMPARE(w.valueTarget(), Slot::None);
        QCOMPARE(grid->focusedRow(), -1);
        QCOMPARE(part<QLabel>(w, "valueTargetLabel")->text(), QStringLiteral("строка не выбрана"));
        part<QLineEdit>(w, "valueEditor")->setText("5");
        pressEnter(part<QLineEdit>(w, "valueEditor"));
        QCOMPARE(w.vars()[Slot::Dout].value(), 0.4);
        QCOMPARE(w.vars()[Slot::Din].value(), 0.348);
        QCOMPARE(w.vars()[Slot::i_s].value(), 0.02);
        // Back where it is listed, it is the chosen row again.
        part<QAction>(w, "hydraulicAction")->trigger();
        QCOMPARE(w.valueTarget(), Slot::i_s);
    }

    void typingOnTheGrid()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        GridView *grid = part<GridView>(w, "inputGrid");
        QLineEdit *editor = part<QLineEdit>(w, "valueEditor");
        clickRow(grid, 3); // hs/d
        QVERIFY(grid->hasFocus());
        // Letters search nothing: the row stays.
        QTest::keyClick(grid, Qt::Key_D);
        QTest::keyClick(grid, Qt::Key_K);
        QCOMPARE(grid->focusedRow(), 3);
        // The first digit is the first character of the value.
        QTest::keyClick(grid, Qt::Key_0);
        QVERIFY(editor->hasFocus());
        QCOMPARE(editor->text(), QStringLiteral("0"));
        QVERIFY(!editor->hasSelectedText());
        QTest::keyClicks(editor, ",5");
        pressEnter(editor);
        QCOMPARE(w.vars()[Slot::hs_d].value(), 0.5);
        QVERIFY(dialogs.messages.isEmpty());
        // Enter on the grid selects the editor's text, to be typed over.
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(editor->hasFocus());
        QCOMPARE(editor->selectedText(), QStringLiteral("0,5"));
        // A sign starts a value as well.
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Minus, Qt::NoModifier);
        QCOMPARE(editor->text(), QStringLiteral("-"));
    }

    void typedValueLandsInTheChosenRowAfterFocusReturns_data()
    {
        QTest::addColumn<QString>("away");
        QTest::newRow("message box") << "message";
        QTest::newRow("about box") << "about";
        QTest::newRow("another window") << "window";
    }

    void typedValueLandsInTheChosenRowAfterFocusReturns()
    {
        QFETCH(QString, away);
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QAction>(w, "staticAction")->trigger();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        GridView *grid = part<GridView>(w, "inputGrid");
        clickRow(grid, 5); // Htr
        QCOMPARE(part<QLabel>(w, "statusText")->text(), QStringLiteral("Глубина заложения от поверхности земли"));

        QWidget other;
        if (away == QLatin1String("message")) {
            part<QLineEdit>(w, "valueEditor")->setText("x");
            pressEnter(part<QLineEdit>(w, "valueEditor"));
            QCOMPARE(dialogs.messages.size(), 1);
        } else if (away == QLatin1String("about")) {
            part<QAction>(w, "aboutAction")->trigger();
            QCOMPARE(dialogs.dialogsShown, 1);
        }
        // Every way out ends with another window active, then this one again,
        // whose activation rebuilds the static view.
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        grid->setFocus(Qt::ActiveWindowFocusReason);
        QCOMPARE(grid->focusedRow(), 5);

        QTest::keyClick(grid, Qt::Key_3);
        pressEnter(part<QLineEdit>(w, "valueEditor"));
        QCOMPARE(w.vars()[Slot::Htr].value(), 3.0);
        QCOMPARE(w.vars()[Slot::Din].value(), 0.348);
    }

    void focusWithoutAChoiceMakesNoRowCurrent()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        GridView *grid = part<GridView>(w, "inputGrid");
        grid->setFocus(Qt::TabFocusReason);
        QCOMPARE(grid->focusedRow(), -1);
        QTest::keyClick(grid, Qt::Key_5);
        pressEnter(part<QLineEdit>(w, "valueEditor"));
        QCOMPARE(w.vars()[Slot::Dout].value(), 0.4);
    }

    void letterCommandsFromTheValueEditor_data()
    {
        QTest::addColumn<int>("calcKey");
        QTest::addColumn<QString>("calcText");
        QTest::addColumn<int>("reportKey");
        QTest::addColumn<QString>("reportText");
        QTest::newRow("latin layout") << int(Qt::Key_C) << "c" << int(Qt::Key_R) << "r";
        QTest::newRow("russian layout") << 0x0421 << "с" << 0x041A << "к";
    }

    void letterCommandsFromTheValueEditor()
    {
        QFETCH(int, calcKey);
        QFETCH(QString, calcText);
        QFETCH(int, reportKey);
        QFETCH(QString, reportText);
        FakeDialogs dialogs;
        FakeReports reports;
        MainWindow w(settingsPath());
        w.setReportMaker(&reports);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QLineEdit *editor = part<QLineEdit>(w, "valueEditor");
        editor->setFocus();
        editor->setText("12");
        typeKey(editor, calcKey, calcText);
        QVERIFY(w.session().resultsCurrent());
        QVERIFY(w.vars()[Slot::qs].value() > 300);
        typeKey(editor, reportKey, reportText);
        QCOMPARE(reports.made, QStringList{"hydraulic"});
        QCOMPARE(editor->text(), QStringLiteral("12"));
        // With a modifier they are ordinary keys.
        QTest::keyClick(editor, Qt::Key_R, Qt::ShiftModifier);
        QCOMPARE(reports.made.size(), 1);
    }

    void reportCommand()
    {
        FakeDialogs dialogs;
        FakeReports reports;
        MainWindow w(settingsPath());
        w.setReportMaker(&reports);

        // Before any calculation it says why there is no report.
        QVERIFY(!part<QAction>(w, "reportAction")->isEnabled());
        w.makeReport();
        QVERIFY(reports.made.isEmpty());
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.last().startsWith(QStringLiteral("Отчёт не составлен")));

        // A hydraulic run makes no static results.
        part<QAction>(w, "runAction")->trigger();
        part<QAction>(w, "staticAction")->trigger();
        w.makeReport();
        QVERIFY(reports.made.isEmpty());
        QCOMPARE(dialogs.messages.size(), 2);
        part<QAction>(w, "runAction")->trigger();
        part<QAction>(w, "reportAction")->trigger();
        QCOMPARE(reports.made, QStringList{"static"});
        QVERIFY(reports.current);
        QCOMPARE(reports.titles.last(), QStringLiteral("Статический расчёт трубопровода Велтра-Норлекс"));
        // The hydraulic results are still those of the inputs.
        part<QAction>(w, "hydraulicAction")->trigger();
        part<QAction>(w, "reportAction")->trigger();
        QCOMPARE(reports.made.last(), QStringLiteral("hydraulic"));
        QCOMPARE(reports.titles.last(), QStringLiteral("Гидравлический расчёт трубопровода Велтра-Норлекс"));

        // A fiberglass material calculates afresh and reports in one go.
        part<QAction>(w, "staticAction")->trigger();
        w.vars().selectedMaterialId = 4;
        w.updateFiberglassOptions();
        part<QAction>(w, "reportAction")->trigger();
        QCOMPARE(reports.made.last(), QStringLiteral("fiberglass"));
        QVERIFY(reports.current);
        QCOMPARE(reports.titles.last(), QStringLiteral("Статический расчёт стеклопластикового трубопровода"));
        QCOMPARE(reports.lastMpr, 117600.0);
        QCOMPARE(reports.laying, 0);
        QVERIFY(w.vars()[Slot::Mpr].value() > 117);

        // A division by zero makes no report and names the input.
        w.vars()[Slot::DSt].setValue(0.0);
        const int made = int(reports.made.size());
        part<QAction>(w, "reportAction")->trigger();
        QCOMPARE(reports.made.size(), made);
        QVERIFY(dialogs.messages.last().startsWith(QStringLiteral("Ошибка. Деление на ноль")));
        QVERIFY(dialogs.messages.last().contains(QStringLiteral("«Средний диаметр трубы»")));
    }

    void reportCommandRefusedUnlessCurrent_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("words");
        QTest::newRow("never run") << ""
                                   << "не выполнен";
        QTest::newRow("input changed") << "run Htr=3"
                                       << "устарели";
        QTest::newRow("material picked") << "run material"
                                         << "устарели";
        QTest::newRow("stopped") << "run F=0 run"
                                 << "F";
        QTest::newRow("fault") << "run Sigmao=0 run"
                               << "Деление на ноль";
    }

    void reportCommandRefusedUnlessCurrent()
    {
        QFETCH(QString, change);
        QFETCH(QString, words);
        FakeDialogs dialogs;
        FakeReports reports;
        MainWindow w(settingsPath());
        w.setReportMaker(&reports);
        part<QAction>(w, "staticAction")->trigger();
        for (const QString &step : change.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (step == QLatin1String("run")) {
                part<QAction>(w, "runAction")->trigger();
            } else if (step == QLatin1String("material")) {
                w.vars().selectedMaterialId = 2;
                w.session().touch();
            } else {
                const QStringList parts = step.split(QLatin1Char('='));
                w.session().setInput(*SlotKeys::fromKey(parts[0]), parts[1].toDouble());
            }
        }
        QVERIFY(!part<QAction>(w, "reportAction")->isEnabled());
        dialogs.messages.clear();
        dialogs.errors.clear();
        // The key R still answers, with the reason and what to do.
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(part<QLineEdit>(w, "valueEditor"), Qt::Key_R);
        QVERIFY(reports.made.isEmpty());
        QCOMPARE(dialogs.messages.size(), 1);
        const QString message = dialogs.messages.first();
        QVERIFY2(message.startsWith(QStringLiteral("Отчёт не составлен")) && message.contains(words)
                     && message.contains(QStringLiteral("C")),
                 qPrintable(message));
    }

    void reportCommandFollowsTheSession()
    {
        FakeDialogs dialogs;
        FakeReports reports;
        MainWindow w(settingsPath());
        w.setReportMaker(&reports);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // Opening the menu before the first run changes nothing later.
        part<QMenu>(w, "reportMenu")->popup(QPoint(0, 0));
        part<QMenu>(w, "reportMenu")->hide();
        QVERIFY(!part<QAction>(w, "reportAction")->isEnabled());
        part<QAction>(w, "runAction")->trigger();
        QVERIFY(part<QAction>(w, "reportAction")->isEnabled());
        QTest::keyClick(part<QLineEdit>(w, "valueEditor"), Qt::Key_R);
        QCOMPARE(reports.made, QStringList{"hydraulic"});
        w.session().setInput(Slot::i_s, 0.03);
        QVERIFY(!part<QAction>(w, "reportAction")->isEnabled());
        w.session().setInput(Slot::i_s, 0.02);
        QVERIFY(part<QAction>(w, "reportAction")->isEnabled());
        w.session().setInput(Slot::Din, 0.0);
        part<QAction>(w, "runAction")->trigger();
        QVERIFY(!part<QAction>(w, "reportAction")->isEnabled());
    }

    void calculationFailures()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(outputModel(w)->cellText(0, 1), QStringLiteral("3,192"));

        // A fault: the box names what was computed and the input at fault,
        // and nothing of the run shows as a result.
        w.session().setInput(Slot::Din, 0.0);
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().startsWith(QStringLiteral("Ошибка. Деление на ноль при вычислении")));
        QVERIFY(dialogs.messages.first().contains(QStringLiteral("Dвнутр («Внутренний диаметр трубопровода»)")));
        QVERIFY(dialogs.messages.first().contains(QStringLiteral("Выберите трубу")));
        QCOMPARE(outputModel(w)->cellText(0, 1), QString());
        QCOMPARE(outputModel(w)->cellText(1, 1), QString());
        QCOMPARE(part<QLabel>(w, "resultsStateLine")->text(), dialogs.messages.first());

        part<QAction>(w, "staticAction")->trigger();
        w.session().setInput(Slot::Din, 0.348);
        w.session().setInput(Slot::Egr, -5.0);
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY(
            dialogs.errors.first().startsWith(QStringLiteral("Ошибка. Недопустимая операция при вычислении q_уст")));
        QVERIFY2(dialogs.errors.first().contains(w.vars()[Slot::Egr].name() + QStringLiteral(" («Модуль")),
                 qPrintable(dialogs.errors.first()));
        // The half-written strength value is not shown.
        QVERIFY(w.vars()[Slot::S_cond].value() != 0);
        QCOMPARE(outputModel(w)->cellText(0, 1), QString());

        // A stop: no box, the line under the results says which input.
        w.session().setInput(Slot::Egr, 5.0);
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(outputModel(w)->cellText(0, 1), QStringLiteral("0,659"));
        w.session().setInput(Slot::F, 0.0);
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(dialogs.errors.size() + dialogs.messages.size(), 2);
        QCOMPARE(outputModel(w)->cellText(0, 1), QString());
        QVERIFY2(part<QLabel>(w, "resultsStateLine")
                     ->text()
                     .contains(QStringLiteral("F («Площадь опирания колеса») должно быть "
                                              "больше нуля")),
                 qPrintable(part<QLabel>(w, "resultsStateLine")->text()));
    }

    void resultsMarkedOutdated()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        QVERIFY(part<QLabel>(w, "resultsStateLine")->text().contains(QStringLiteral("Нажмите C")));
        QCOMPARE(outputModel(w)->cellText(0, 1), QString());
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(w.session().state(), CalcSession::ResultState::Current);
        QCOMPARE(outputModel(w)->values(), VariableGridModel::Values::Shown);
        QCOMPARE(outputModel(w)->cellText(1, 1), QStringLiteral("303,629"));

        w.session().setInput(Slot::hs_d, 0.5);
        QCOMPARE(w.session().state(), CalcSession::ResultState::Stale);
        QCOMPARE(outputModel(w)->values(), VariableGridModel::Values::Outdated);
        QCOMPARE(outputModel(w)->data(outputModel(w)->index(1, 1), Qt::ForegroundRole).value<QColor>(),
                 QColor(128, 128, 128));
        QVERIFY(part<QLabel>(w, "resultsStateLine")->text().contains(QStringLiteral("устарели")));

        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(w.session().state(), CalcSession::ResultState::Current);
        QVERIFY(!outputModel(w)->data(outputModel(w)->index(1, 1), Qt::ForegroundRole).isValid());
        QCOMPARE(outputModel(w)->cellText(1, 1), QStringLiteral("151,815"));
    }

    void outputGridShowsResults()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QAction>(w, "staticAction")->trigger();
        QSignalSpy repaint(outputModel(w), &QAbstractItemModel::dataChanged);
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(repaint.size(), 1);
        QCOMPARE(outputModel(w)->cellText(0, 1), QStringLiteral("0,659"));
        QCOMPARE(outputModel(w)->cellText(1, 1), QStringLiteral("0,251"));
    }

    // The line above the results says the verdict in words and colour, and
    // a yellow line under it the values outside the method's range.
    void verdictAndWarnings()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QAction>(w, "staticAction")->trigger();
        part<QAction>(w, "runAction")->trigger();
        const QLabel *line = part<QLabel>(w, "resultsStateLine");
        const QLabel *warnings = part<QLabel>(w, "resultsWarningsLine");
        QCOMPARE(line->text(), QStringLiteral("Выполнено: все проверки; наибольшее использование — прочность, 65,9 %"));
        QCOMPARE(line->palette().color(QPalette::WindowText), QColor(0, 90, 0));
        QVERIFY(warnings->isHidden());

        // 12 m down in clay every check fails.
        w.session().setInput(Slot::Htr, 12);
        w.session().setInput(Slot::Egr, 2);
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(line->text(), QStringLiteral("Не выполнено: прочность, 124 %; устойчивость без учёта транспорта, "
                                              "167,4 %; устойчивость с учётом транспорта, 176,5 %"));
        QCOMPARE(line->palette().color(QPalette::WindowText), QColor(150, 0, 0));
        // The panel beside the results judges by the same checks.
        const QVector<CalcCheck> &shown = part<VerdictPanel>(w, "verdictPanel")->checks();
        QCOMPARE(shown.size(), 3);
        for (const CalcCheck &check : shown)
            QVERIFY2(!check.holds, qPrintable(check.key));

        w.session().setInput(Slot::Htr, 40);
        part<QAction>(w, "runAction")->trigger();
        QVERIFY(!warnings->isHidden());
        QCOMPARE(warnings->text(), QStringLiteral("⚠ Hтр = 40 м — больше 30 м; глубже, чем применяется метод"));
        // Outdated results warn of nothing.
        w.session().setInput(Slot::Htr, 6);
        QVERIFY(warnings->isHidden());

        part<QAction>(w, "hydraulicAction")->trigger();
        w.session().setInput(Slot::Din, 348);
        part<QAction>(w, "runAction")->trigger();
        QVERIFY(warnings->text().startsWith(
            QStringLiteral("⚠ Dвнутр = 348 м — больше 4 м; не введён ли диаметр в миллиметрах?\n⚠ Vnf = ")));
        QCOMPARE(line->text(), QStringLiteral("Результаты соответствуют исходным данным."));
    }

    // At the size the window first opens with on a screen of 1280 by 800,
    // every result of the static calculations is whole, name, value, units
    // and description, with no sideways scroll bar, and so is every check.
    void resultsWholeAtTheDefaultSize_data()
    {
        QTest::addColumn<int>("material");
        QTest::newRow("corrugated") << -1;
        QTest::newRow("fiberglass") << 4;
    }

    void resultsWholeAtTheDefaultSize()
    {
        QFETCH(int, material);
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.resize(MainWindowWidgets::defaultSize(QRect(0, 0, 1280, 800)));
        QVERIFY(w.width() <= 1280 && w.height() <= 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        part<QAction>(w, "staticAction")->trigger();
        if (material > 0) {
            w.session().restoreChoices(CalcSession::Choice{material, QStringLiteral("Стеклопластик")}, {}, {});
            w.updateFiberglassOptions();
        }
        part<QAction>(w, "runAction")->trigger();
        QVERIFY(w.session().resultsCurrent());
        QApplication::processEvents();

        GridView *grid = part<GridView>(w, "outputGrid");
        QVERIFY(!grid->horizontalScrollBar()->isVisible());
        const QFontMetrics metrics(VariableGridModel::cellFont());
        int columns = 0;
        for (int column = 0; column < VariableGridModel::ColumnCount; ++column)
            columns += grid->columnWidth(column);
        QVERIFY2(columns <= grid->viewport()->width(), qPrintable(QString::number(columns)));
        for (int row = 0; row < outputModel(w)->rowCount(); ++row) {
            for (int column = 0; column < VariableGridModel::ColumnCount; ++column) {
                const QString text = outputModel(w)->cellText(row, column);
                QVERIFY2(metrics.horizontalAdvance(text) + 24 <= grid->columnWidth(column), qPrintable(text));
            }
            QVERIFY(grid->viewport()->rect().contains(grid->visualRect(outputModel(w)->index(row, 0))));
        }

        const VerdictPanel *verdict = part<VerdictPanel>(w, "verdictPanel");
        QVERIFY(verdict->isVisible());
        const QTableWidget *checks = verdict->table();
        QVERIFY(checks->rowCount() >= 3);
        for (int row = 0; row < checks->rowCount(); ++row) {
            for (int column = 0; column < VerdictPanel::ColumnCount; ++column) {
                const QString text = verdict->cellText(row, column);
                QVERIFY2(metrics.horizontalAdvance(text) + 6 <= checks->columnWidth(column), qPrintable(text));
            }
            QVERIFY(checks->viewport()->rect().contains(checks->visualRect(checks->model()->index(row, 0))));
        }
    }

    void settingsWrittenOnClose()
    {
        {
            FakeDialogs dialogs;
            MainWindow w(settingsPath());
            w.show();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            part<QAction>(w, "staticAction")->trigger();
            part<QComboBox>(w, "layingCombo")->setCurrentIndex(1);
            part<QSplitter>(w, "halvesSplitter")->setSizes({250, 300});
            QVERIFY(w.close());
            QVERIFY(dialogs.errors.isEmpty());
        }
        const QByteArray text = readFile(settingsPath());
        QVERIFY(text.contains("[Settings]\nTabIndex=1\n"));
        for (const char *key : {"FormVersion=0", "ShowCmd=1", "PixelsPerInch=", "NormPos=", "MinMaxPos=-1,-1,-1,-1",
                                "PanelMainTop_Height=250", "ComboBox1_ItemIndex=1", "ComboBox2_ItemIndex=1"})
            QVERIFY2(text.contains(key), key);

        FakeDialogs dialogs;
        MainWindow again(settingsPath());
        QCOMPARE(part<QTabBar>(again, "calculationTabs")->currentIndex(), 1);
        again.show();
        QVERIFY(QTest::qWaitForWindowActive(&again));
        QCOMPARE(part<QSplitter>(again, "halvesSplitter")->sizes().first(), 250);
        QCOMPARE(part<QComboBox>(again, "layingCombo")->currentIndex(), 1);
    }

    void hostilePlacement_data()
    {
        QTest::addColumn<QString>("normPos");
        QTest::newRow("huge") << "0,0,100000000,100000000";
        QTest::newRow("far off the screen") << "-30000,-30000,-29500,-29600";
        QTest::newRow("below the screen") << "100,5000,600,5400";
        QTest::newRow("title bar above the screen") << "10,-300,510,100";
    }

    // A stored placement the screens cannot show is fitted to them, and what
    // is written back is where the window was seen.
    void hostilePlacement()
    {
        QFETCH(QString, normPos);
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect area = screen->availableGeometry();
        writeFile(settingsPath(), QStringLiteral("[View]\nShowCmd=1\nPixelsPerInch=%1\nNormPos=%2\n")
                                      .arg(qRound(screen->logicalDotsPerInch()))
                                      .arg(normPos)
                                      .toUtf8());
        const auto onScreen = [&area](const QRect &r) {
            return r.width() <= area.width() && r.height() <= area.height() && area.contains(r.topLeft());
        };
        {
            FakeDialogs dialogs;
            MainWindow w(settingsPath());
            w.show();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            // The stored bounds were taken, not those of a first start.
            QVERIFY(w.size() != MainWindowWidgets::defaultSize(area));
            QVERIFY2(onScreen(w.geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6")
                                                            .arg(w.x())
                                                            .arg(w.y())
                                                            .arg(w.width())
                                                            .arg(w.height())
                                                            .arg(area.width())
                                                            .arg(area.height())));
            QVERIFY(w.close());
            QVERIFY(dialogs.errors.isEmpty());
        }
        IniFile ini(settingsPath());
        QVERIFY(ini.load());
        const auto saved = WindowPlacement::parseRect(ini.value(QStringLiteral("View"), QStringLiteral("NormPos")));
        QVERIFY(saved.has_value());
        QVERIFY(onScreen(*saved));
    }

    void exitWritesTheTab()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        part<QAction>(w, "staticAction")->trigger();
        part<QAction>(w, "exitAction")->trigger();
        QVERIFY(!w.isVisible());
        QVERIFY(readFile(settingsPath()).contains("TabIndex=1"));
    }

    void unwritableSettings()
    {
        FakeDialogs dialogs;
        const QString path = m_dir.filePath(QStringLiteral("missing-folder/pipecalc.ini"));
        MainWindow w(path);
        w.show();
        part<QAction>(w, "exitAction")->trigger();
        // Said once, and the window closes all the same.
        QCOMPARE(
            dialogs.errors,
            QStringList{QStringLiteral("Не удалось сохранить настройки в файле «%1». Папка не найдена.").arg(path)});
        QVERIFY(!w.isVisible());
    }

    void activationRereadsTheView()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        part<QAction>(w, "staticAction")->trigger();
        QSignalSpy activations(w.commandKeys(), &CommandKeyFilter::mainWindowActivated);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(activations.size(), 1);
        // Picking a fiberglass material elsewhere shows when the window is active again.
        w.vars().selectedMaterialId = 5;
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(activations.size(), 2);
        QVERIFY(fiberglassPanelShown(w));
    }

    void helpOnF1Release()
    {
        FakeDialogs dialogs;
        QStringList opened;
        HelpLauncher::setOpener([&](const QUrl &url) { opened << url.toLocalFile(); });
        // A guide beside a pretend executable.
        QDir(m_dir.path()).mkpath(QStringLiteral("help"));
        writeFile(m_dir.filePath(QStringLiteral("help/index.html")), "<html></html>");
        const QString exe = m_dir.filePath(QStringLiteral("pipecalc"));
        QCOMPARE(HelpLauncher::helpFile(exe), m_dir.filePath(QStringLiteral("help/index.html")));
        QCOMPARE(HelpLauncher::helpFile(m_dir.filePath(QStringLiteral("nothing/here"))), QString());

        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
        QTest::keyPress(focus, Qt::Key_F1);
        QCOMPARE(opened.size(), 0);
        QTest::keyRelease(focus, Qt::Key_F1);
        // The guide of the test executable itself (laid out or not), once per press.
        const int once = HelpLauncher::helpFile(QCoreApplication::applicationFilePath()).isEmpty() ? 0 : 1;
        QCOMPARE(opened.size(), once);
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(focus, &repeat);
        QCOMPARE(opened.size(), once);
        HelpLauncher::setOpener({});
    }

    void aboutBox()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        QString version, memory, load;
        dialogs.onDialog = [&](QDialog *dialog) {
            auto *box = qobject_cast<AboutDialog *>(dialog);
            QVERIFY(box);
            version = box->versionLabel->text();
            memory = box->physicalMemoryLabel->text();
            load = box->memoryLoadLabel->text();
            QCOMPARE(box->windowTitle(), QStringLiteral("О программе"));
            QCOMPARE(box->size(), QSize(480, 274));
        };
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0.1"));
        part<QAction>(w, "aboutAction")->trigger();
        QCOMPARE(dialogs.dialogsShown, 1);
        QCOMPARE(version, QStringLiteral("Версия 1.0.0.1"));
        QVERIFY(memory.endsWith(QStringLiteral(" KB")));
        QVERIFY(load.endsWith(QStringLiteral(" %")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
