// The three reports built from the templates the program ships, after the
// worked examples of their calculations.
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/NumberFormat.h"
#include "model/TCalcVariables.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/ReportTemplates.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

// Whatever is left that looks like a placeholder or a block marker.
QStringList leftovers(const QString &text)
{
    static const QRegularExpression token(QStringLiteral("\\$/?[A-Za-z_][A-Za-z0-9_./]*\\$"));
    QStringList found;
    auto it = token.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    return found;
}

QString soil(std::int32_t)
{
    return QStringLiteral("Песок мелкий");
}

QString material(std::int32_t)
{
    return QStringLiteral("Полиэтилен ПЭ 100");
}

} // namespace

class TestReportTemplates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void hydraulic()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        QVERIFY(CalcHydraulic(vars).isCompleted());
        QTextDocument doc;
        QCOMPARE(ReportTemplates::load(doc, QString::fromLatin1(HydraulicReport::TemplateName)),
                 ReportTemplates::Load::Loaded);
        TemplateFiller filler(doc);
        HydraulicReport::fill(filler, vars);
        const QString text = doc.toPlainText();
        QCOMPARE(leftovers(text), QStringList());
        for (const char *value : {"303,629", "0,304", "3,192", "0,017", "труб Велтра-Норлекс"})
            QVERIFY2(text.contains(QString::fromUtf8(value)), value);
    }

    void staticOutcomes_data()
    {
        QTest::addColumn<double>("depth");
        QTest::addColumn<bool>("holds");
        QTest::newRow("worked example: all hold") << 6.0 << true;
        QTest::newRow("too deep: stability fails") << 60.0 << false;
    }

    void staticOutcomes()
    {
        QFETCH(double, depth);
        QFETCH(bool, holds);
        TCalcVariables vars;
        vars.InitCatalogue();
        vars.setValue(Slot::Htr, depth);
        QVERIFY(CalcStatic(vars).isCompleted());
        QTextDocument doc;
        QCOMPARE(ReportTemplates::load(doc, QString::fromLatin1(StaticReport::TemplateName)),
                 ReportTemplates::Load::Loaded);
        TemplateFiller filler(doc);
        StaticReport::fill(filler, vars, soil, material);
        const QString text = doc.toPlainText();
        QCOMPARE(leftovers(text), QStringList());
        QVERIFY(text.contains(QStringLiteral("Песок мелкий")));
        QVERIFY(text.contains(QStringLiteral("Полиэтилен ПЭ 100")));
        QCOMPARE(text.contains(QStringLiteral("не выполняется")), !holds);
        if (holds) {
            for (const char *value : {"400", "34,8", "0,584", "37,107", "3,621", "0,251", "0,135"})
                QVERIFY2(text.contains(QString::fromUtf8(value)), value);
        }
    }

    void fiberglassLayings_data()
    {
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("material");
        QTest::newRow("trench, SN 5000") << 0 << 4;
        QTest::newRow("trenchless, SN 10000") << 1 << 5;
    }

    void fiberglassLayings()
    {
        QFETCH(int, laying);
        QFETCH(int, material);
        TCalcVariables vars;
        vars.InitCatalogue();
        vars.SelectedMaterialId = material;
        vars.setValue(Slot::h, 2.0);
        vars.setValue(Slot::M, 20.0);
        vars.setValue(Slot::FSt, 0.38);
        vars.setValue(Slot::Hv, 1.0);
        const FiberglassRun run = CalcFiberglass(vars, laying, WallThreeLayer);
        QVERIFY(run.outcome.isCompleted());
        QTextDocument doc;
        QCOMPARE(ReportTemplates::load(doc, QString::fromLatin1(FiberglassReport::TemplateName)),
                 ReportTemplates::Load::Loaded);
        TemplateFiller filler(doc);
        FiberglassReport::Choices choices;
        choices.materialId = material;
        choices.layingIndex = laying;
        choices.layingText = laying ? QStringLiteral("бестраншейный") : QStringLiteral("траншейный");
        FiberglassReport::fill(filler, run.results, choices, soil);
        const QString text = doc.toPlainText();
        QCOMPARE(leftovers(text), QStringList());
        QVERIFY(text.contains(material == 4 ? QStringLiteral("SN 5000") : QStringLiteral("SN 10000")));
        QVERIFY(text.contains(choices.layingText));
        // Only the chosen laying's formulas.
        QCOMPARE(text.contains(QStringLiteral("Qгр1 =")), laying == 1);
        QCOMPARE(text.contains(QStringLiteral("Qгр = 1.3·γ·h")), laying == 0);
        QCOMPARE(text.contains(QStringLiteral("ψ = 0.13·")), laying == 1);
        QVERIFY(text.contains(QStringLiteral("12650")));
    }

    void missingTemplate()
    {
        QTemporaryDir empty;
        ReportTemplates::setFolder(empty.path());
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("kept"));
        QCOMPARE(ReportTemplates::load(doc, QStringLiteral("HydraulicReport.rtf")), ReportTemplates::Load::CannotOpen);
        QCOMPARE(ReportTemplates::cannotOpenText(), QStringLiteral("Не могу открыть файл шаблона отчёта."));

        // A template that opens but is no document says why.
        QFile broken(empty.filePath(QStringLiteral("StaticReport.rtf")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray("{\\rtf1 ") + QByteArray(64, '\0'));
        broken.close();
        QString reason;
        const auto result = ReportTemplates::load(doc, QStringLiteral("StaticReport.rtf"), &reason);
        if (result == ReportTemplates::Load::Failed)
            QCOMPARE(reason, QStringLiteral("Failed to Load Stream"));
        ReportTemplates::setFolder(QString());
    }
};

QTEST_MAIN(TestReportTemplates)
#include "tst_reporttemplates.moc"
