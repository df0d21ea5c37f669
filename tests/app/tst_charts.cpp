#include "FakeDialogs.h"
#include "SqliteFixture.h"

#include "app/ChartPageController.h"
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "calc/CalcCheck.h"
#include "calc/CalcSession.h"
#include "editor/ReportEditor.h"
#include "editor/ReportEditorWidgets.h"
#include "reports/ReportTemplates.h"
#include "model/NumberFormat.h"
#include "richtext/EditorDocument.h"
#include "ui/ChartPage.h"
#include "ui/VerdictPanel.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace {

struct Picture
{
    QImage image;
    QSizeF size;
    int position = -1;
};

// The pictures of a document, in order.
QVector<Picture> pictures(const QTextDocument &document)
{
    QVector<Picture> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QTextImageFormat image = format.toImageFormat();
            const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(image.name()));
            found.append({resource.value<QImage>(), QSizeF(image.width(), image.height()), it.fragment().position()});
        }
    }
    return found;
}

using Settings = QList<QPair<Slot, double>>;

} // namespace

class TestCharts : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("pipecalc.ini")); }
    QString base() const { return m_dir.filePath(QStringLiteral("Base")); }

    static void showChartPage(MainWindow &w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        part<QTabWidget>(w, "pages")->setCurrentWidget(part<ChartPage>(w, "chartPage"));
    }

    static QString chartTitle(MainWindow &w) { return part<ChartPage>(w, "chartPage")->view()->chart()->title(); }

private Q_SLOTS:
    void init()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QFile::remove(settingsPath());
        QDir().mkpath(base());
        QVERIFY(SqliteFixture::create(base() + QStringLiteral("/data.sqlite"), SqliteFixture::referenceSql()));
        ReportTemplates::setFolder(QString());
    }

    void chartFollowsTheCalculation()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        showChartPage(w);
        const ChartPage *page = part<ChartPage>(w, "chartPage");
        QCOMPARE(part<QTabWidget>(w, "pages")->tabText(MainWindowWidgets::PageIndexChart), QStringLiteral("График"));
        QCOMPARE(page->data().kind, CalcKind::Hydraulic);
        QCOMPARE(chartTitle(w), QStringLiteral("Скорость и расход при неполном наполнении"));
        QVERIFY(page->view()->chart()->series().size() >= 3);

        part<QTabBar>(w, "calculationTabs")->setCurrentIndex(1);
        QCOMPARE(page->data().kind, CalcKind::Static);
        QCOMPARE(page->data().xTitle, QStringLiteral("Глубина заложения Hтр, м"));

        QVERIFY(w.session().pickMaterialById(4).valueOr(false));
        w.updateFiberglassOptions();
        QCOMPARE(page->data().kind, CalcKind::Fiberglass);
        QCOMPARE(chartTitle(w), QStringLiteral("Стеклопластиковая труба, траншейная прокладка"));
        part<QComboBox>(w, "layingCombo")->setCurrentIndex(1);
        w.changeLaying(1);
        QCOMPARE(chartTitle(w), QStringLiteral("Стеклопластиковая труба, бестраншейная прокладка"));
    }

    void chartFollowsTheInputs()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Typed while another page is shown: the chart is drawn when its page is.
        w.session().setInput(Slot::hs_d, 0.4);
        part<QTabWidget>(w, "pages")->setCurrentWidget(part<ChartPage>(w, "chartPage"));
        const ChartPage *page = part<ChartPage>(w, "chartPage");
        QCOMPARE(page->data().markerX, 0.4);
        QCOMPARE(page->data().markerName, QStringLiteral("Рабочая точка h/d = 0,4"));
        // Changed while it is shown: drawn at once.
        w.session().setInput(Slot::hs_d, 0.7);
        QCOMPARE(page->data().markerX, 0.7);

        // Without a single point there is nothing to save or to put into a report.
        w.session().setInput(Slot::i_s, 0);
        QVERIFY(!page->data().hasPoints());
        QVERIFY(!page->saveButton()->isEnabled());
        QVERIFY(!page->insertButton()->isEnabled());
        QVERIFY(page->note()->isVisibleTo(&w));
        QVERIFY2(page->note()->text().contains(QStringLiteral("При текущих исходных данных расчёт не выполнен")),
                 qPrintable(page->note()->text()));
    }

    void verdictSummary_data()
    {
        QTest::addColumn<int>("material");
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QStringList>("verdicts");
        QTest::newRow("corrugated, all hold")
            << -1 << Settings{} << QStringList{"✔ выполнено", "✔ выполнено", "✔ выполнено"};
        QTest::newRow("corrugated, shallow")
            << -1 << Settings{{Slot::Htr, 0.2}} << QStringList{"✘ не выполнено", "✔ выполнено", "✘ не выполнено"};
        // Mрас 151.5 kN·m against Mпр 117.6 kN·m of the three-layer wall.
        QTest::newRow("fiberglass, heavy traffic") << 4 << Settings{{Slot::h, 0.3}, {Slot::M, 2000}, {Slot::FSt, 0.38}}
                                                   << QStringList{"✘ не выполнено", "✘ не выполнено", "✘ не выполнено"};
    }
    void verdictSummary()
    {
        QFETCH(int, material);
        QFETCH(Settings, settings);
        QFETCH(QStringList, verdicts);
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const VerdictPanel *panel = part<VerdictPanel>(w, "verdictPanel");
        QVERIFY(!panel->isVisible());
        part<QTabBar>(w, "calculationTabs")->setCurrentIndex(1);
        if (material > 0) {
            QVERIFY(w.session().pickMaterialById(material).valueOr(false));
            w.updateFiberglassOptions();
        }
        for (const auto &[slot, value] : settings)
            w.session().setInput(slot, value);
        QVERIFY(panel->isVisible());
        // No results yet: the checks are named, nothing more.
        QCOMPARE(panel->shown(), VerdictPanel::Shown::Hidden);
        QCOMPARE(panel->cellText(0, VerdictPanel::ColumnVerdict), QString());

        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(panel->shown(), VerdictPanel::Shown::Current);
        const QVector<CalcCheck> checks =
            material > 0 ? CalcCheck::fiberglass(w.session().fiberglassResults()) : CalcCheck::corrugated(w.vars());
        QCOMPARE(panel->table()->rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(panel->cellText(row, VerdictPanel::ColumnVerdict), verdicts[row]);
            QCOMPARE(panel->cellText(row, VerdictPanel::ColumnCondition), VerdictPanel::conditionText(checks[row]));
            QCOMPARE(panel->cellText(row, VerdictPanel::ColumnUtilisation),
                     CalcCheck::percentText(checks[row].utilisation));
        }
        if (material < 0) {
            // The numbers are those of the output grid.
            QCOMPARE(checks[0].value, w.vars().value(Slot::S_cond));
            QCOMPARE(checks[2].limit, w.vars().value(Slot::qust));
        } else {
            QCOMPARE(checks[0].value, w.vars().value(Slot::Mras));
            QCOMPARE(checks[2].limit, w.vars().value(Slot::Gy));
        }

        // A changed input greys them out, undoing it brings them back.
        const Slot slot = material > 0 ? Slot::h : Slot::Htr;
        const double before = w.vars().value(slot);
        w.session().setInput(slot, before + 1);
        QCOMPARE(panel->shown(), VerdictPanel::Shown::Outdated);
        w.session().setInput(slot, before);
        QCOMPARE(panel->shown(), VerdictPanel::Shown::Current);

        // Back on the hydraulic tab there are no checks.
        part<QTabBar>(w, "calculationTabs")->setCurrentIndex(0);
        QVERIFY(!panel->isVisible());
    }

    void verdictOfAFailedRunIsHidden()
    {
        FakeDialogs dialogs;
        MainWindow w(settingsPath());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        part<QTabBar>(w, "calculationTabs")->setCurrentIndex(1);
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(part<VerdictPanel>(w, "verdictPanel")->shown(), VerdictPanel::Shown::Current);
        w.session().setInput(Slot::Sigmao, 0);
        part<QAction>(w, "runAction")->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(part<VerdictPanel>(w, "verdictPanel")->shown(), VerdictPanel::Shown::Hidden);
        QCOMPARE(part<VerdictPanel>(w, "verdictPanel")->cellText(0, VerdictPanel::ColumnCondition), QString());
    }

    void saveChart_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<int>("messages");
        QTest::newRow("svg") << "chart.svg"
                             << "chart.svg" << 0;
        QTest::newRow("png") << "chart.png"
                             << "chart.png" << 0;
        QTest::newRow("no extension") << "chart"
                                      << "chart.png" << 0;
        QTest::newRow("another format") << "chart.jpg" << QString() << 1;
        QTest::newRow("cancelled") << QString() << QString() << 0;
    }
    void saveChart()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(int, messages);
        QTemporaryDir dir;
        FakeDialogs dialogs;
        dialogs.saveName = chosen.isEmpty() ? QString() : dir.filePath(chosen);
        MainWindow w(settingsPath());
        showChartPage(w);
        QTest::mouseClick(part<ChartPage>(w, "chartPage")->saveButton(), Qt::LeftButton);
        QCOMPARE(dialogs.saveDialogsShown, 1);
        QCOMPARE(dialogs.messages.size(), messages);
        QVERIFY(dialogs.errors.isEmpty());
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(files, written.isEmpty() ? QStringList() : QStringList{written});
        if (written.endsWith(QLatin1String(".svg"))) {
            QSvgRenderer svg(dir.filePath(written));
            QVERIFY(svg.isValid());
        } else if (!written.isEmpty()) {
            QCOMPARE(QImage(dir.filePath(written)).size(), ChartPageController::pictureSize() * 2);
        }
    }

    void saveChartKeepsAFileTheUserKeeps()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("chart.png"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("former");
        file.close();
        FakeDialogs dialogs;
        dialogs.saveName = path;
        dialogs.answer = QMessageBox::No;
        MainWindow w(settingsPath());
        showChartPage(w);
        w.charts().saveChart();
        QCOMPARE(dialogs.questions.size(), 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("former"));
    }

    // The chart's save dialog starts where the user last saved a file,
    // also in the next run of the program.
    void saveChartStartsInTheLastFolder()
    {
        QTemporaryDir dir;
        FakeDialogs dialogs;
        dialogs.saveName = dir.filePath(QStringLiteral("график.png"));
        {
            MainWindow w(settingsPath());
            showChartPage(w);
            w.charts().saveChart();
            QVERIFY(QFileInfo::exists(dialogs.saveName));
        }
        MainWindow again(settingsPath());
        showChartPage(again);
        dialogs.saveName.clear();
        again.charts().saveChart();
        QCOMPARE(QFileInfo(dialogs.lastDir).absolutePath(), dir.path());
    }

    // The chart goes only into the report of the very results it shows;
    // otherwise the user is told why and the document stays as it was.
    void insertOnlyIntoItsOwnReport_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("refusal"); // the start of the message; empty: inserted
        QTest::newRow("the report's own results") << "C R"
                                                  << "";
        QTest::newRow("no report made") << "C"
                                        << "График не вставлен: в редакторе нет отчёта";
        QTest::newRow("a new document since") << "C R new"
                                              << "График не вставлен: в редакторе нет отчёта";
        QTest::newRow("a static chart, a hydraulic report")
            << "C R static C"
            << "График не вставлен: открыт отчёт гидравлического расчёта, а график — статического";
        QTest::newRow("an input changed since") << "C R Din"
                                                << "График не вставлен: исходные данные изменены после расчёта";
        QTest::newRow("calculated again for other inputs")
            << "C R Din C"
            << "График не вставлен: отчёт составлен по другим исходным данным";
        QTest::newRow("a report made again") << "C R Din C R"
                                             << "";
    }

    void insertOnlyIntoItsOwnReport()
    {
        QFETCH(QString, steps);
        QFETCH(QString, refusal);
        FakeDialogs dialogs;
        ProgramWindows windows(settingsPath(), base());
        MainWindow &w = windows.main();
        showChartPage(w);
        for (const QString &step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("C"))
                part<QAction>(w, "runAction")->trigger();
            else if (step == QLatin1String("R"))
                part<QAction>(w, "reportAction")->trigger();
            else if (step == QLatin1String("new"))
                part<QAction>(windows.editor(), "newAction")->trigger();
            else if (step == QLatin1String("static"))
                part<QAction>(w, "staticAction")->trigger();
            else
                w.session().setInput(Slot::Din, w.session().input(Slot::Din) * 0.9);
        }
        QVERIFY2(dialogs.messages.isEmpty() && dialogs.errors.isEmpty(), qPrintable(dialogs.messages.join('|')));
        const QString before = windows.editor().document().documentText();
        QTest::mouseClick(part<ChartPage>(w, "chartPage")->insertButton(), Qt::LeftButton);
        const QVector<Picture> inserted = pictures(*windows.editor().document().textDocument());
        if (!refusal.isEmpty()) {
            QCOMPARE(dialogs.messages.size(), 1);
            QVERIFY2(dialogs.messages[0].startsWith(refusal), qPrintable(dialogs.messages[0]));
            QVERIFY(inserted.isEmpty());
            QCOMPARE(windows.editor().document().documentText(), before);
            return;
        }
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(inserted.size(), 1);
        QVERIFY(windows.editor().hasUserChanges());
    }

    // The chart goes into the report at the caret, with a caption below it
    // that says what it shows, and it is still there after the report is
    // saved as RTF and opened again.
    void insertIntoTheReport()
    {
        FakeDialogs dialogs;
        ProgramWindows windows(settingsPath(), base());
        MainWindow &w = windows.main();
        showChartPage(w);
        part<QAction>(w, "staticAction")->trigger();
        QVERIFY(w.session().pickMaterialById(1).valueOr(false));
        QVERIFY(w.session().pickTubeByNumber(2).valueOr(false));
        QVERIFY(w.session().pickSoilById(4).valueOr(false));
        w.session().setInput(Slot::Htr, 6);
        part<QAction>(w, "runAction")->trigger();
        part<QAction>(w, "reportAction")->trigger();
        QVERIFY2(dialogs.messages.isEmpty() && dialogs.errors.isEmpty(), qPrintable(dialogs.messages.join('|')));
        EditorDocument &document = windows.editor().document();
        const QString report = document.documentText();
        // After the first paragraph.
        const int caret = int(report.indexOf(QLatin1Char('\n')));
        QVERIFY(caret > 0);
        document.selectRange(caret, 0);

        QTest::mouseClick(part<ChartPage>(w, "chartPage")->insertButton(), Qt::LeftButton);
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(windows.editor().isVisible());
        QVERIFY(windows.editor().hasUserChanges());
        const QVector<Picture> inserted = pictures(*document.textDocument());
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0].size, QSizeF(ChartPageController::pictureSize()));
        QCOMPARE(inserted[0].image.size(), ChartPageController::pictureSize() * 2);
        // On a paragraph of its own after the first one, its caption below it.
        const QStringList paragraphs = document.documentText().split(QLatin1Char('\n'));
        QCOMPARE(paragraphs[0], report.left(caret));
        QCOMPARE(paragraphs[2], QStringLiteral("График статического расчёта: материал «Полиэтилен ПЭ 100», труба "
                                               "«Dнаруж 0,16 м, Dвнутр 0,139 м», грунт «Песок мелкий», глубина 6 м."));
        QCOMPARE(document.textDocument()->findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(paragraphs.mid(3).join(QLatin1Char('\n')), report.mid(caret + 1));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("отчёт.rtf"));
        QVERIFY(document.saveDocumentFile(path).ok());
        EditorDocument reopened;
        QVERIFY(reopened.openDocumentFile(path).ok());
        const QVector<Picture> read = pictures(*reopened.textDocument());
        QCOMPARE(read.size(), 1);
        QVERIFY(std::abs(read[0].size.width() - inserted[0].size.width()) < 1);
        QVERIFY(std::abs(read[0].size.height() - inserted[0].size.height()) < 1);
        QCOMPARE(read[0].image.size(), inserted[0].image.size());
        // The very pixels.
        QImage before = inserted[0].image.convertToFormat(QImage::Format_RGB32);
        before.setDevicePixelRatio(1);
        QCOMPARE(read[0].image.convertToFormat(QImage::Format_RGB32), before);
        QCOMPARE(reopened.documentText(), document.documentText());
    }
};

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
