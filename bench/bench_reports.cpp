// Times building each report from its template, and laying out and exporting
// a long report of about a hundred pages.
// Run: build/bin/bench_reports
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/NumberFormat.h"
#include "model/TCalcVariables.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/ReportTemplates.h"
#include "reports/ReportUnit.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QtTest>

class BenchReports : public QObject
{
    Q_OBJECT

private:
    static QString name(std::int32_t) { return QStringLiteral("Песок мелкий"); }

    // The static report, filled, repeated until it runs to about a hundred pages.
    static void longReport(QTextDocument &doc)
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        CalcStatic(vars);
        QTextDocument one;
        ReportTemplates::load(one, QString::fromLatin1(StaticReport::TemplateName));
        TemplateFiller filler(one);
        StaticReport::fill(filler, vars, name, name);
        const QTextDocumentFragment fragment(&one);
        QTextCursor cursor(&doc);
        for (int i = 0; i < 35; ++i) {
            cursor.movePosition(QTextCursor::End);
            cursor.insertFragment(fragment);
        }
    }

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void hydraulic()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        CalcHydraulic(vars);
        QBENCHMARK {
            QTextDocument doc;
            ReportTemplates::load(doc, QString::fromLatin1(HydraulicReport::TemplateName));
            TemplateFiller filler(doc);
            HydraulicReport::fill(filler, vars);
        }
    }

    void staticCorrugated()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        CalcStatic(vars);
        QBENCHMARK {
            QTextDocument doc;
            ReportTemplates::load(doc, QString::fromLatin1(StaticReport::TemplateName));
            TemplateFiller filler(doc);
            StaticReport::fill(filler, vars, name, name);
        }
    }

    void fiberglass()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        const FiberglassRun run = CalcFiberglass(vars, LayingTrenchless, WallThreeLayer);
        FiberglassReport::Choices choices;
        choices.materialId = 5;
        choices.layingIndex = 1;
        choices.layingText = QStringLiteral("бестраншейный");
        QBENCHMARK {
            QTextDocument doc;
            ReportTemplates::load(doc, QString::fromLatin1(FiberglassReport::TemplateName));
            TemplateFiller filler(doc);
            FiberglassReport::fill(filler, run.results, choices, name);
        }
    }

    void longReportLayout()
    {
        QTextDocument doc;
        longReport(doc);
        int pages = 0;
        QBENCHMARK {
            ReportPage page;
            page.setDocument(doc);
            pages = page.pageCount();
        }
        qInfo("long report: %d pages", pages);
        QVERIFY(pages >= 90);
    }

    void longReportPdf()
    {
        QTextDocument doc;
        longReport(doc);
        ReportPage page;
        page.setDocument(doc);
        QTemporaryDir dir;
        QBENCHMARK {
            QVERIFY(page.exportPdf(dir.filePath(QStringLiteral("long.pdf"))));
        }
        QVERIFY(!page.anyLineCut());
    }
};

QTEST_MAIN(BenchReports)
#include "bench_reports.moc"
