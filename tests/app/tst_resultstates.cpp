// What the window says of its results after a change made as the user makes
// it: clicks on the reference pages, the laying chosen in the header, values
// typed into the editor, the keys C and R.  Widgets are reached by their
// object names.
#include "FakeDialogs.h"
#include "SqliteFixture.h"

#include "app/MainWindow.h"
#include "model/NumberFormat.h"
#include "ui/GridView.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kNotRun = QStringLiteral("Расчёт не выполнен. Нажмите C, чтобы выполнить расчёт.");
const QString kOutdated =
    QStringLiteral("Исходные данные изменены после расчёта: результаты устарели. Нажмите C, чтобы пересчитать.");

template <typename T>
T *named(QWidget &window, const char *name)
{
    T *widget = window.findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

// The row of a grid whose cell in `column` reads `text`.
int rowWith(const GridView *grid, const QString &text, int column)
{
    for (int r = 0; r < grid->model()->rowCount(); ++r) {
        if (grid->model()->index(r, column).data().toString() == text)
            return r;
    }
    return -1;
}

} // namespace

class TestResultStates : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString base() const { return m_dir.filePath(QStringLiteral("Base")); }
    QString settings() const { return m_dir.filePath(QStringLiteral("pipecalc.ini")); }

    // Turns to the page of the reference pages that holds `widget`.
    static void showPageOf(QWidget &window, const QWidget *widget)
    {
        auto *pages = named<QTabWidget>(window, "pages");
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->widget(i)->isAncestorOf(widget))
                pages->setCurrentIndex(i);
        }
    }

    // Clicks the row of a grid that reads `text` in `column`, turning to
    // the grid's page first.
    static void click(QWidget &window, const char *gridName, const QString &text, int column)
    {
        auto *grid = named<GridView>(window, gridName);
        showPageOf(window, grid);
        const int row = rowWith(grid, text, column);
        QVERIFY2(row >= 0, qPrintable(text));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid->visualRect(grid->model()->index(row, column)).center());
    }

    // Does what the user does: "tab=1" picks a calculation tab; "C" and "R"
    // press the keys; "material:…" and "soil:…" click the row of that name;
    // "laying:down" and "laying:up" move the laying choice with the keyboard;
    // "Dвнутр=0" types a value into the input of that name.
    static void apply(QWidget &window, const QStringList &steps)
    {
        auto *editor = named<QLineEdit>(window, "valueEditor");
        for (const QString &step : steps) {
            if (step == QLatin1String("C") || step == QLatin1String("R")) {
                showPageOf(window, editor);
                QTest::keyClick(editor, step == QLatin1String("C") ? Qt::Key_C : Qt::Key_R);
            } else if (step.startsWith(QLatin1String("tab="))) {
                named<QTabBar>(window, "calculationTabs")->setCurrentIndex(step.mid(4).toInt());
            } else if (step.startsWith(QLatin1String("material:"))) {
                click(window, "materialsGrid", step.mid(9), 0);
            } else if (step.startsWith(QLatin1String("soil:"))) {
                click(window, "soilsGrid", step.mid(5), 0);
            } else if (step.startsWith(QLatin1String("laying:"))) {
                auto *laying = named<QWidget>(window, "fiberglassOptionsPanel")->findChild<QComboBox *>();
                laying->setFocus();
                QTest::keyClick(laying, step.endsWith(QLatin1String("down")) ? Qt::Key_Down : Qt::Key_Up);
            } else {
                click(window, "inputGrid", step.section(QLatin1Char('='), 0, 0), 0);
                editor->setText(step.section(QLatin1Char('='), 1));
                QTest::keyClick(editor, Qt::Key_Return);
            }
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QDir().mkpath(base());
        QVERIFY(SqliteFixture::create(base() + QStringLiteral("/data.sqlite"), SqliteFixture::referenceSql()));
    }

    void init() { QFile::remove(settings()); }

    void lineAndReportAfterAChange_data()
    {
        QTest::addColumn<QStringList>("steps");
        // The line under the results at the end; a text ending in "…" is a
        // beginning.
        QTest::addColumn<QString>("line");
        // What the key R then says; empty for a report made or no message.
        QTest::addColumn<QString>("refusal");

        const QString fault = QStringLiteral("Ошибка. Деление на ноль при вычислении …");
        QTest::newRow("corrugated, a soil of the same weight clicked")
            << QStringList{"tab=1", "C", "soil:Песок мелкий", "R"} << kOutdated
            << "Отчёт не составлен: исходные данные изменены после расчёта, и результаты устарели. "
               "Нажмите C, чтобы пересчитать, затем R.";
        QTest::newRow("fiberglass, the laying changed")
            << QStringList{"tab=1", "material:Стеклопластик SN 10000", "C", "laying:down"} << kOutdated << QString();
        QTest::newRow("fiberglass, the laying changed back")
            << QStringList{"tab=1", "material:Стеклопластик SN 10000", "C", "laying:down", "laying:up"}
            << "Выполнено: …" << QString();
        QTest::newRow("hydraulic fault") << QStringList{"Dвнутр=0", "C"} << fault << QString();
        QTest::newRow("hydraulic fault, the input fixed")
            << QStringList{"Dвнутр=0", "C", "Dвнутр=0,348", "R"} << kNotRun
            << "Отчёт не составлен: расчёт по текущим исходным данным не выполнен. "
               "Нажмите C, чтобы выполнить расчёт, затем R.";
    }

    void lineAndReportAfterAChange()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, line);
        QFETCH(QString, refusal);
        FakeDialogs dialogs;
        MainWindow w(settings(), base());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        apply(w, steps);

        const QString shown = named<QLabel>(w, "resultsStateLine")->text();
        if (line.endsWith(QChar(u'…')))
            QVERIFY2(shown.startsWith(line.chopped(1)), qPrintable(shown));
        else
            QCOMPARE(shown, line);
        // The box a fault brings says what the line says, and once.
        const QStringList faults = dialogs.messages.filter(QStringLiteral("Ошибка."));
        QCOMPARE(faults.size(), int(steps.contains(QStringLiteral("Dвнутр=0"))));
        if (!faults.isEmpty() && line.startsWith(QStringLiteral("Ошибка.")))
            QCOMPARE(faults.first(), shown);
        const QStringList refusals = dialogs.messages.filter(QStringLiteral("Отчёт не составлен"));
        QCOMPARE(refusals, refusal.isEmpty() ? QStringList() : QStringList{refusal});
        QVERIFY(dialogs.errors.isEmpty());
    }
};

QTEST_MAIN(TestResultStates)
#include "tst_resultstates.moc"
