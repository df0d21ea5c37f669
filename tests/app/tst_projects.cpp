// Projects in the running program: the Project menu, the recent list, the
// title and the questions before a modified project is dropped.
#include "FakeDialogs.h"
#include "SqliteFixture.h"
#include "TestFiles.h"

#include "app/IniFile.h"
#include "app/MainWindow.h"
#include "app/ProjectController.h"
#include "app/ProjectPropertiesDialog.h"
#include "app/RecentProjects.h"
#include "app/SettingsStore.h"
#include "calc/CalcProject.h"
#include "calc/CalcSession.h"
#include "model/CalcViews.h"
#include "model/NumberFormat.h"
#include "reports/CalcReport.h"
#include "ui/ElidedLabel.h"
#include "ui/GridView.h"
#include "ui/VariableGridModel.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

void clickRow(GridView *grid, int row)
{
    QVERIFY(row >= 0);
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

int rowWith(QAbstractItemModel *model, const QString &text)
{
    for (int r = 0; r < model->rowCount(); ++r) {
        if (model->index(r, 0).data().toString() == text)
            return r;
    }
    return -1;
}

// Types a value into the row of the input grid that lists the slot.
void typeInput(MainWindow &w, Slot slot, const QString &text)
{
    const int row = inputModel(w)->rowOf(slot);
    QVERIFY(row >= 0);
    part<QTabWidget>(w, "pages")->setCurrentIndex(MainWindowWidgets::PageIndexSummary);
    clickRow(part<GridView>(w, "inputGrid"), row);
    part<QLineEdit>(w, "valueEditor")->setText(text);
    QTest::keyClick(part<QLineEdit>(w, "valueEditor"), Qt::Key_Return);
}

QString title(const QString &name)
{
    return name + QStringLiteral("[*] — Расчёты Велтра-Норлекс");
}

} // namespace

class TestProjects : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString settings() const { return m_dir.filePath(QStringLiteral("pipecalc.ini")); }
    QString base() const { return m_dir.filePath(QStringLiteral("Base")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A window shown and active, as the user finds it.
    static void start(MainWindow &w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    // A project saved from a window: the hydraulic calculation with one input changed.
    void saveProject(const QString &file, double slope)
    {
        CalcSession session;
        session.setInput(Slot::i_s, slope);
        QVERIFY(CalcProject::of(session).save(file));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QDir().mkpath(base());
        QVERIFY(SqliteFixture::create(base() + QStringLiteral("/data.sqlite"), SqliteFixture::referenceSql()));
    }

    void init()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QFile::remove(settings());
    }

    void staticProjectSurvivesTheRestart()
    {
        CalcProject expected;
        QString choices;
        {
            FakeDialogs dialogs;
            MainWindow w(settings(), base());
            start(w);
            QCOMPARE(w.windowTitle(), title(QStringLiteral("Без имени")));
            QVERIFY(!w.isWindowModified());
            QCOMPARE(part<ElidedLabel>(w, "choicesLine")->text(),
                     QStringLiteral("Материал: не выбран · Труба: не выбрана · Грунт: не выбран"));

            part<QAction>(w, "staticAction")->trigger();
            QTabWidget *pages = part<QTabWidget>(w, "pages");
            pages->setCurrentIndex(MainWindowWidgets::PageIndexMaterials);
            clickRow(part<GridView>(w, "materialsGrid"), rowWith(w.referenceData().materials(), "Полиэтилен ПЭ 100"));
            pages->setCurrentIndex(MainWindowWidgets::PageIndexTubes);
            clickRow(part<GridView>(w, "tubesGrid"), rowWith(w.referenceData().tubes(), "0,4"));
            pages->setCurrentIndex(MainWindowWidgets::PageIndexSoils);
            clickRow(part<GridView>(w, "soilsGrid"), rowWith(w.referenceData().soils(), "Песок мелкий"));
            typeInput(w, Slot::Htr, QStringLiteral("3,5"));
            QCOMPARE(w.vars()[Slot::Htr].value(), 3.5);
            QVERIFY(w.isWindowModified());
            choices = part<ElidedLabel>(w, "choicesLine")->text();
            QCOMPARE(choices, QStringLiteral("Материал: Полиэтилен ПЭ 100 · Труба: Dнаруж 0,4 м, Dвнутр 0,348 м · "
                                             "Грунт: Песок мелкий"));

            dialogs.onDialog = [](QDialog *dialog) {
                auto *properties = qobject_cast<ProjectPropertiesDialog *>(dialog);
                QVERIFY(properties);
                properties->objectEdit->setText(QStringLiteral("Коллектор К-3"));
                properties->designerEdit->setText(QStringLiteral("Иванов И. И."));
                properties->dateCheck->setChecked(true);
                properties->dateEdit->setDate(QDate(2026, 3, 14));
                properties->notesEdit->setPlainText(QStringLiteral("Проверить после изысканий"));
            };
            w.project().propertiesAction->trigger();
            QCOMPARE(w.session().description().designer, QStringLiteral("Иванов И. И."));
            part<QAction>(w, "runAction")->trigger();
            QVERIFY(w.session().resultsCurrent());

            // Saved under a name without its suffix: the suffix is added.
            dialogs.saveName = path(QStringLiteral("static"));
            w.project().saveProjectAction->trigger();
            QCOMPARE(dialogs.saveDialogsShown, 1);
            QVERIFY(QFile::exists(path(QStringLiteral("static.pipecalc"))));
            QCOMPARE(w.windowTitle(), title(QStringLiteral("static.pipecalc")));
            QVERIFY(!w.isWindowModified());
            expected = CalcProject::of(w.session());
            QCOMPARE(expected.calculation, CalcKind::Static);
            QCOMPARE(expected.material.id, 1);
            QCOMPARE(expected.soil.id, 4);
            QCOMPARE(expected.tube.id, 1);

            part<QAction>(w, "exitAction")->trigger();
            QVERIFY(!w.isVisible());
            QVERIFY(dialogs.questions.isEmpty());
            QVERIFY(dialogs.errors.isEmpty());
        }
        {
            FakeDialogs dialogs;
            MainWindow w(settings(), base());
            start(w);
            QMenu *recent = w.project().recentMenu;
            QAction *first = recent->actions().value(0);
            QVERIFY(first);
            QCOMPARE(first->text(), QStringLiteral("&1 static.pipecalc"));
            QCOMPARE(first->toolTip(), path(QStringLiteral("static.pipecalc")));
            first->trigger();

            QVERIFY(dialogs.errors.isEmpty());
            QVERIFY(CalcProject::of(w.session()) == expected);
            QCOMPARE(w.vars()[Slot::Htr].value(), 3.5);
            QCOMPARE(part<QTabBar>(w, "calculationTabs")->currentIndex(), 1);
            QCOMPARE(inputModel(w)->rowCount(), int(CalcViews::inputRows(CalcView::Static).size()));
            QCOMPARE(part<ElidedLabel>(w, "choicesLine")->text(), choices);
            QCOMPARE(w.windowTitle(), title(QStringLiteral("static.pipecalc")));
            QVERIFY(!w.isWindowModified());
            // Outdated until C.
            QCOMPARE(w.session().state(), CalcSession::ResultState::None);
            QCOMPARE(outputModel(w)->values(), VariableGridModel::Values::Hidden);
            QVERIFY(!part<QAction>(w, "reportAction")->isEnabled());
            part<QAction>(w, "runAction")->trigger();
            QCOMPARE(outputModel(w)->values(), VariableGridModel::Values::Shown);
            QVERIFY(!w.isWindowModified());
        }
    }

    void questionBeforeAModifiedProjectIsDropped_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("wentOn");
        using B = QMessageBox::StandardButton;
        for (const char *command : {"new", "open", "quit"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, yes: saved first").arg(command)))
                << command << B::Yes << true << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, no: dropped").arg(command)))
                << command << B::No << false << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, cancel: kept").arg(command)))
                << command << B::Cancel << false << false;
        }
    }

    void questionBeforeAModifiedProjectIsDropped()
    {
        QFETCH(QString, command);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, saved);
        QFETCH(bool, wentOn);
        const QString mine = path(QStringLiteral("mine.pipecalc"));
        const QString other = path(QStringLiteral("other.pipecalc"));
        saveProject(mine, 0.01);
        saveProject(other, 0.07);

        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        start(w);
        QVERIFY(w.project().openFile(mine));
        w.session().setInput(Slot::i_s, 0.03);
        QVERIFY(w.isWindowModified());

        dialogs.answer = answer;
        dialogs.openName = other;
        bool closed = false;
        if (command == QLatin1String("new"))
            w.project().newProjectAction->trigger();
        else if (command == QLatin1String("open"))
            w.project().openProjectAction->trigger();
        else
            closed = w.close();

        QCOMPARE(dialogs.questions, QStringList{QStringLiteral("Сохранить изменения в проекте «mine.pipecalc»?")});
        QCOMPARE(CalcProject::load(mine).valueOr({}).inputs.value(0).value, saved ? 0.03 : 0.01);
        if (command == QLatin1String("quit")) {
            QCOMPARE(closed, wentOn);
            return;
        }
        const double slope = w.session().input(Slot::i_s);
        if (!wentOn) {
            QCOMPARE(slope, 0.03);
            QVERIFY(w.isWindowModified());
            QCOMPARE(w.windowTitle(), title(QStringLiteral("mine.pipecalc")));
            return;
        }
        QVERIFY(!w.isWindowModified());
        if (command == QLatin1String("new")) {
            QCOMPARE(w.windowTitle(), title(QStringLiteral("Без имени")));
            QCOMPARE(slope, CalcSession().input(Slot::i_s));
        } else {
            QCOMPARE(w.windowTitle(), title(QStringLiteral("other.pipecalc")));
            QCOMPARE(slope, 0.07);
        }
    }

    void newProjectSavedFromTheQuestion()
    {
        // Yes for a project that has no file yet asks for one; cancelling
        // that keeps the project.
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        start(w);
        w.session().setInput(Slot::i_s, 0.03);
        dialogs.answer = QMessageBox::Yes;
        QVERIFY(!w.close());
        QCOMPARE(dialogs.questions, QStringList{QStringLiteral("Сохранить изменения в проекте «Без имени»?")});
        QCOMPARE(dialogs.saveDialogsShown, 1);
        dialogs.saveName = path(QStringLiteral("fresh.pipecalc"));
        QVERIFY(w.close());
        QCOMPARE(CalcProject::load(dialogs.saveName).valueOr({}).inputs.value(0).value, 0.03);
    }

    void modifiedMarkFollowsTheSession()
    {
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        start(w);
        const double slope = w.session().input(Slot::i_s);
        typeInput(w, Slot::i_s, QStringLiteral("0,5"));
        QVERIFY(w.isWindowModified());
        typeInput(w, Slot::i_s, NumberFormat::format(QStringLiteral("0.##########"), slope));
        QVERIFY(!w.isWindowModified());
        // Results are no part of the project.
        part<QAction>(w, "runAction")->trigger();
        QVERIFY(!w.isWindowModified());
        // A new project: the tab alone is nothing to save.
        part<QAction>(w, "staticAction")->trigger();
        QVERIFY(!w.isWindowModified());
        ProjectDescription description;
        description.notes = QStringLiteral("заметка");
        w.session().setDescription(description);
        QVERIFY(w.isWindowModified());
        w.session().setDescription(ProjectDescription());
        QVERIFY(!w.isWindowModified());

        // A project with a file opens in its tab: another tab is a change.
        dialogs.saveName = path(QStringLiteral("tabs.pipecalc"));
        QVERIFY(w.project().saveAs());
        part<QAction>(w, "hydraulicAction")->trigger();
        QVERIFY(w.isWindowModified());
        part<QAction>(w, "staticAction")->trigger();
        QVERIFY(!w.isWindowModified());
    }

    void projectThatCannotBeOpenedLeavesTheWindowAsItWas()
    {
        const QString damaged = path(QStringLiteral("damaged.pipecalc"));
        QVERIFY(TestFiles::write(damaged, R"({"format": 1, "calculation": "static", "inputs": {"Htr": "deep"}})"));
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        start(w);
        typeInput(w, Slot::i_s, QStringLiteral("0,5"));
        dialogs.answer = QMessageBox::No;
        dialogs.openName = damaged;
        w.project().openProjectAction->trigger();
        QCOMPARE(dialogs.errors.size(), 1);
        QCOMPARE(dialogs.errors.first(),
                 QStringLiteral("Проект «%1» не открыт: значение исходной величины «Htr» не число.").arg(damaged));
        QCOMPARE(w.vars()[Slot::i_s].value(), 0.5);
        QCOMPARE(part<QTabBar>(w, "calculationTabs")->currentIndex(), 0);
        QCOMPARE(w.windowTitle(), title(QStringLiteral("Без имени")));
        // Still the user's unsaved work.
        QVERIFY(w.isWindowModified());
        QVERIFY(w.project().recent().isEmpty());
    }

    void recentListRules_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("newest first") << QStringList{"a", "b"} << QStringList{"b", "a"};
        QTest::newRow("opened again: to the top, once")
            << QStringList{"a", "b", "c", "b"} << QStringList{"b", "c", "a"};
        QTest::newRow("the same file by another spelling") << QStringList{"a", "sub/../a", "./a"} << QStringList{"a"};
        QTest::newRow("a link to a file listed") << QStringList{"a", "link-to-a"} << QStringList{"link-to-a"};
        QStringList ten;
        for (int i = 0; i < 10; ++i)
            ten << QStringLiteral("p%1").arg(i);
        QTest::newRow("at most eight, the oldest go")
            << ten << QStringList{"p9", "p8", "p7", "p6", "p5", "p4", "p3", "p2"};
        QTest::newRow("a name with a line break is not kept") << QStringList{"a", "b\nc"} << QStringList{"a"};
    }

    void recentListRules()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, listed);
        QDir().mkpath(path(QStringLiteral("sub")));
        QVERIFY(TestFiles::write(path(QStringLiteral("a")), "{}"));
        QFile::remove(path(QStringLiteral("link-to-a")));
        QVERIFY(QFile::link(path(QStringLiteral("a")), path(QStringLiteral("link-to-a"))));
        RecentProjects recent;
        for (const QString &name : added)
            recent.add(path(name));
        QStringList expected;
        for (const QString &name : listed)
            expected << path(name);
        QCOMPARE(recent.paths(), expected);

        // Kept in the settings as it is, the rest of the file untouched.
        QVERIFY(TestFiles::write(settings(), "[Settings]\nTabIndex=1\n[RecentProjects]\nFile9=stale\n"));
        QVERIFY(SettingsStore(settings()).writeRecentProjects(recent).ok());
        QCOMPARE(SettingsStore(settings()).recentProjects().paths(), expected);
        IniFile ini(settings());
        QVERIFY(ini.load());
        QCOMPARE(ini.intValue(QStringLiteral("Settings"), QStringLiteral("TabIndex"), 0), 1);
    }

    void recentMenu()
    {
        const QString kept = path(QStringLiteral("kept.pipecalc"));
        const QString gone = path(QStringLiteral("gone.pipecalc"));
        saveProject(kept, 0.02);
        saveProject(gone, 0.04);
        FakeDialogs dialogs;
        {
            MainWindow w(settings(), base());
            start(w);
            QMenu *recent = w.project().recentMenu;
            QVERIFY(!w.project().clearRecentAction->isEnabled());
            QVERIFY(recent->toolTipsVisible());
            QVERIFY(w.project().openFile(kept));
            QVERIFY(w.project().openFile(gone));
            QCOMPARE(recent->actions().value(0)->text(), QStringLiteral("&1 gone.pipecalc"));
            QCOMPARE(recent->actions().value(1)->toolTip(), kept);
            QVERIFY(w.project().clearRecentAction->isEnabled());
        }
        QVERIFY(QFile::remove(gone));
        MainWindow w(settings(), base());
        start(w);
        QCOMPARE(w.project().recent().paths(), (QStringList{gone, kept}));
        // A project that is gone: asked, and taken off the list.
        dialogs.answer = QMessageBox::Yes;
        w.project().recentMenu->actions().value(0)->trigger();
        QCOMPARE(dialogs.questions.size(), 1);
        QVERIFY(dialogs.questions.first().contains(gone));
        QCOMPARE(w.project().recent().paths(), QStringList{kept});
        QCOMPARE(SettingsStore(settings()).recentProjects().paths(), QStringList{kept});
        QVERIFY(dialogs.errors.isEmpty());

        w.project().clearRecentAction->trigger();
        QVERIFY(w.project().recent().isEmpty());
        QVERIFY(SettingsStore(settings()).recentProjects().isEmpty());
        QVERIFY(!w.project().clearRecentAction->isEnabled());
    }

    void menuBarIsOneRow_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("first size") << 758;
        QTest::newRow("900 pixels") << 900;
    }

    void menuBarIsOneRow()
    {
        QFETCH(int, width);
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        w.resize(width, 688);
        start(w);
        QMenuBar *bar = part<QMenuBar>(w, "mainMenuBar");
        QStringList titles;
        QSet<int> rows;
        for (QAction *menu : bar->actions()) {
            titles << menu->text();
            rows << bar->actionGeometry(menu).top();
        }
        QCOMPARE(titles, (QStringList{"&Проект", "&Отчёт", "&Расчёт", "&Справка"}));
        QCOMPARE(rows.size(), 1);
        QVERIFY(bar->height() < 2 * bar->actionGeometry(bar->actions().first()).height());
        // Quitting is where a desktop user looks for it, and where it was.
        QVERIFY(part<QMenu>(w, "projectMenu")->actions().contains(part<QAction>(w, "exitAction")));
        QVERIFY(part<QMenu>(w, "reportMenu")->actions().contains(part<QAction>(w, "exitAction")));
    }

    // A project saved with the user's own database, opened with another
    // that names the soil under its id otherwise: the window says both
    // names and opens it only when asked to, then with the project's values
    // and names, which the report prints.
    void projectNamingChoicesOtherwise()
    {
        const QString file = path(QStringLiteral("clay.pipecalc"));
        QVERIFY(TestFiles::write(file, R"({"format": 1, "calculation": "static",
            "material": {"id": 1, "name": "Полиэтилен ПЭ 100"}, "soil": {"id": 4, "name": "Глина тяжёлая"},
            "inputs": {"Egr": 1.5}})"));
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        start(w);

        dialogs.answer = QMessageBox::No;
        QVERIFY(!w.project().openFile(file));
        QCOMPARE(dialogs.questions.size(), 1);
        QVERIFY2(dialogs.questions.first().contains(
                     QStringLiteral("грунт с кодом 4 — в проекте «Глина тяжёлая», в справочной базе «Песок мелкий»")),
                 qPrintable(dialogs.questions.first()));
        QVERIFY(dialogs.errors.isEmpty());
        QCOMPARE(w.windowTitle(), title(QStringLiteral("Без имени")));
        QCOMPARE(w.session().soil().id, -1);

        dialogs.answer = QMessageBox::Yes;
        QVERIFY(w.project().openFile(file));
        QCOMPARE(w.windowTitle(), title(QStringLiteral("clay.pipecalc")));
        QVERIFY(part<ElidedLabel>(w, "choicesLine")->text().contains(QStringLiteral("Грунт: Глина тяжёлая")));
        QCOMPARE(w.vars()[Slot::Egr].value(), 1.5);
        QVERIFY(w.session().run().isCompleted());
        QTextDocument report;
        QVERIFY(CalcReport::build(w.session(), CalcKind::Static, report).built());
        QVERIFY2(report.toPlainText().contains(QStringLiteral("Глина тяжёлая")), qPrintable(report.toPlainText()));
        QVERIFY(!report.toPlainText().contains(QStringLiteral("Песок мелкий")));
        QVERIFY(dialogs.errors.isEmpty());
    }

    void projectNamedAtStartOpens()
    {
        // The settings keep the trench laying; the project's trenchless one wins.
        QVERIFY(TestFiles::write(settings(), "[View]\nComboBox1_ItemIndex=0\n"));
        const QString file = path(QStringLiteral("start.pipecalc"));
        QVERIFY(TestFiles::write(file, R"({"format": 1, "calculation": "fiberglass", "laying": "trenchless",
            "material": {"id": 4, "name": "Стеклопластик SN 5000"}, "inputs": {"h": 2}})"));
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        w.openProjectAtStart(file);
        start(w);
        QVERIFY(dialogs.errors.isEmpty());
        QCOMPARE(w.windowTitle(), title(QStringLiteral("start.pipecalc")));
        QVERIFY(!w.isWindowModified());
        QCOMPARE(w.session().calculation(), CalcKind::Fiberglass);
        QVERIFY(fiberglassPanelShown(w));
        QCOMPARE(part<QComboBox>(w, "layingCombo")->currentIndex(), 1);
        QCOMPARE(inputModel(w)->rowCount(), 15);
        QCOMPARE(w.vars()[Slot::h].value(), 2.0);
        QVERIFY(part<GridView>(w, "fiberglassTubesGrid")->isVisibleTo(part<QWidget>(w, "tubesPage")));
    }
};

QTEST_MAIN(TestProjects)
#include "tst_projects.moc"
