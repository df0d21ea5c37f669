// The three reports built from the templates the program ships, after the
// worked examples of their calculations.
#include "calc/CalcCheck.h"
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/ProjectDescription.h"
#include "calc/StaticCalc.h"
#include "model/NumberFormat.h"
#include "model/SlotKeys.h"
#include "model/CalcVariables.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/ProjectHeader.h"
#include "reports/ReportAssessment.h"
#include "reports/ReportTemplates.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
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

// A division by a literal zero, as "0/0" or "·9.81/0 ".
bool dividesByZero(const QString &text)
{
    static const QRegularExpression byZero(QStringLiteral("/0(?![.,\\d])"));
    return text.contains(byZero);
}

// A formula line left without its result: a line that ends in "=" and is
// not continued on the next line, or a formula whose last part has no "=".
QStringList openFormulas(const QString &text)
{
    QStringList open;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.endsWith(QLatin1Char('=')) && !lines.value(i + 1).trimmed().startsWith(QLatin1Char('=')))
            open << line;
    }
    return open;
}

// What the blocks of a template leave behind: the paragraphs saying in words
// what is switched off stand as text (not indented as formulas are), and no
// empty paragraph is left where a block went, apart from those the document
// keeps beside its tables.
void checkLeftByBlocks(const QTextDocument &doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (QTextCursor(block).currentTable())
            continue;
        if (block.text().isEmpty()) {
            const bool besideTable =
                QTextCursor(block.next()).currentTable() || QTextCursor(block.previous()).currentTable();
            QVERIFY2(besideTable || !block.next().isValid(), qPrintable(block.previous().text()));
        }
        if (block.text().contains(QStringLiteral("не учитыва"))
            || block.text().startsWith(QStringLiteral("Уровень грунтовых вод")))
            QVERIFY2(block.blockFormat().leftMargin() == 0, qPrintable(block.text()));
        if (block.text().startsWith(QStringLiteral("Qгв =")) || block.text().startsWith(QStringLiteral("A = ")))
            QVERIFY2(block.blockFormat().leftMargin() > 0, qPrintable(block.text()));
    }
}

QString soil(std::int32_t)
{
    return QStringLiteral("Песок мелкий");
}

QString material(std::int32_t)
{
    return QStringLiteral("Полиэтилен ПЭ 100");
}

// The static report of the results the variables hold, with the verdict of
// their checks and the warnings given.
void fillStatic(QTextDocument &doc, const CalcVariables &vars, const QVector<CalcWarning> &warnings)
{
    QVERIFY(ReportTemplates::load(doc, QString::fromLatin1(StaticReport::TemplateName)).ok());
    TemplateFiller filler(doc);
    StaticReport::fill(filler, vars, soil, material);
    ReportAssessment::fillWarnings(filler, warnings);
    ReportAssessment::fillVerdict(filler, CalcVerdict(CalcCheck::corrugated(vars)));
    ProjectHeader::fill(filler, ProjectDescription());
}

} // namespace

class TestReportTemplates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void hydraulic()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        QVERIFY(calculateHydraulic(vars).isCompleted());
        QTextDocument doc;
        QVERIFY(ReportTemplates::load(doc, QString::fromLatin1(HydraulicReport::TemplateName)).ok());
        TemplateFiller filler(doc);
        HydraulicReport::fill(filler, vars);
        ReportAssessment::fillWarnings(filler, {});
        ProjectHeader::fill(filler, ProjectDescription());
        const QString text = doc.toPlainText();
        QCOMPARE(leftovers(text), QStringList());
        for (const char *value : {"303,6", "0,3036", "3,192", "0,01654", "труб Велтра-Норлекс"})
            QVERIFY2(text.contains(QString::fromUtf8(value)), value);
        // The formulas carry their results and the values they work with.
        // (Raised digits read as plain digits here: "106" is 10⁶.)
        for (const char *line : {"arccos(1 − 2·1) = 3,142 рад.", "(3,142/4 − 0,125·sin(2·3,142))·0,348",
                                 "1 − sin(2·3,142)/(2·3,142) = 1,000.", "500·4·0,08700·1000/0,02 = 8,700·106.",
                                 "3,192·4·0,08700/(1,49·10−6) = 745570;", "3 − lg (8,700·106)/lg 745570 = 1,818."})
            QVERIFY2(text.contains(QString::fromUtf8(line)), line);
        // The viscosity: in the table of inputs and in the iteration.
        QCOMPARE(text.count(QStringLiteral("1,49·10−6")), 3);
        QCOMPARE(openFormulas(text), QStringList());
    }

    void staticOutcomes_data()
    {
        QTest::addColumn<double>("depth");
        QTest::addColumn<double>("axleMass");
        QTest::addColumn<double>("water");
        QTest::addColumn<bool>("holds");
        QTest::newRow("worked example: all hold") << 6.0 << 20.0 << 4.0 << true;
        QTest::newRow("too deep: all fail") << 60.0 << 20.0 << 4.0 << false;
        QTest::newRow("no traffic, no ground water") << 6.0 << 0.0 << 0.0 << true;
    }

    void staticOutcomes()
    {
        QFETCH(double, depth);
        QFETCH(double, axleMass);
        QFETCH(double, water);
        QFETCH(bool, holds);
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::Htr, depth);
        vars.setValue(Slot::m, axleMass);
        vars.setValue(Slot::Hw, water);
        QVERIFY(calculateStatic(vars).isCompleted());
        QTextDocument doc;
        fillStatic(doc, vars, {});
        const CalcVerdict verdict(CalcCheck::corrugated(vars));
        const QString text = doc.toPlainText();
        QCOMPARE(leftovers(text), QStringList());
        // The conclusions end with the verdict, in the words of the window,
        // and the report with the place to sign.
        QVERIFY(text.contains(QStringLiteral("Заключение. ") + verdict.text() + QStringLiteral(".\nВыполнил\t")));
        QVERIFY(text.trimmed().startsWith(QStringLiteral("Исходные данные")));
        QVERIFY(text.trimmed().section(QLatin1Char('\n'), -1).startsWith(QStringLiteral("Проверил\t")));
        QVERIFY(!text.contains(QStringLiteral("Предупреждения")));
        QVERIFY(text.contains(QStringLiteral("Песок мелкий")));
        QVERIFY(text.contains(QStringLiteral("Полиэтилен ПЭ 100")));
        QCOMPARE(text.count(QStringLiteral("не выполняется")), holds ? 0 : 3);
        // The relations read as in print: "≤" or ">", never "<=".
        QVERIFY(!text.contains(QStringLiteral("<=")));
        QCOMPARE(text.count(QStringLiteral(" > ")), holds ? 0 : 6);
        if (holds && axleMass > 0) {
            for (const char *value : {"400", "34,8", "0,6589 ≤ 1", "37,11", "4,080", "0,2506", "0,1490"})
                QVERIFY2(text.contains(QString::fromUtf8(value)), value);
        }
        // A load switched off is said in words.
        QCOMPARE(text.contains(QStringLiteral("P = m·g/F")), axleMass > 0);
        QCOMPARE(text.contains(QStringLiteral("Транспортная нагрузка не учитывается")), axleMass == 0);
        QCOMPARE(text.contains(QStringLiteral("Qгв = (Hтр − Hв)")), water > 0);
        QCOMPARE(text.contains(QStringLiteral("Грунтовые воды не учитываются")), water == 0);
        QVERIFY(!dividesByZero(text));
        QCOMPARE(openFormulas(text), QStringList());
        checkLeftByBlocks(doc);
    }

    // Warnings have a section of their own before the conclusions, a
    // paragraph each; the static report shows the soil over the axis split
    // at the water table.
    void warningsAndWaterTable()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::Htr, 2);
        vars.setValue(Slot::Hw, 1);
        QVERIFY(calculateStatic(vars).isCompleted());
        QTextDocument doc;
        fillStatic(doc, vars,
                   {{QStringLiteral("Htr"), QStringLiteral("первое предупреждение")},
                    {QStringLiteral("m"), QStringLiteral("второе: Hв = -0,5 м, в Велтра-Норлекс")}});
        const QString text = doc.toPlainText();
        QCOMPARE(leftovers(text), QStringList());
        QVERIFY2(text.contains(QStringLiteral("Предупреждения\nИсходные данные или результаты выходят за пределы, в "
                                              "которых метод расчёта надёжен; проверьте их:\n— первое предупреждение\n"
                                              "— второе: Hв = −0,5 м, в Велтра-Норлекс\nВыводы\n")),
                 qPrintable(text));
        // 1 m of dry soil over the table, 1.2 m of submerged soil down to the
        // axis: (1·19 + 1,2·11)·10⁻³ = 0,0322 MPa.
        for (const char *line : {"min(1; 2 + 0,5·400·10−3) = 1,000 м", "2 + 0,5·400·10−3 − 1,000 = 1,200 м",
                                 "(1,000·19 + 1,200·11)·10−3 = 0,03220 МПа", "(2 − 1)·11·10−3 = 0,01100 МПа"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), line);
        QVERIFY(!text.contains(QStringLiteral("Грунтовые воды не учитываются")));
        QCOMPARE(openFormulas(text), QStringList());
        checkLeftByBlocks(doc);
    }

    void fiberglassReports_data()
    {
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("wall");
        QTest::addColumn<int>("material");
        QTest::addColumn<QStringList>("settings"); // key=value
        QTest::newRow("trench, three-layer, SN 5000, traffic, water")
            << 0 << 1 << 4 << QStringList{"h=2", "M=20", "FSt=0.38", "Hv=1"};
        QTest::newRow("trenchless, three-layer, SN 10000, traffic, water")
            << 1 << 1 << 5 << QStringList{"h=2", "M=20", "FSt=0.38", "Hv=1"};
        QTest::newRow("trench, single-layer: the defaults, M = 0, no water") << 0 << 0 << 4 << QStringList{};
        QTest::newRow("trenchless, single-layer, no wheel area, water below the axis")
            << 1 << 0 << 4 << QStringList{"h=2", "M=20", "FSt=0", "Hv=5"};
        QTest::newRow("stability fails") << 0 << 1 << 4 << QStringList{"h=60", "EgrSt=0.5", "M=20", "FSt=0.38"};
        QTest::newRow("single-layer, all fail") << 0 << 0 << 4 << QStringList{"h=200", "sSt=0.003"};
        QTest::newRow("no fiberglass material chosen") << 0 << 1 << -1 << QStringList{"h=2"};
    }

    void fiberglassReports()
    {
        QFETCH(int, laying);
        QFETCH(int, wall);
        QFETCH(int, material);
        QFETCH(QStringList, settings);
        CalcVariables vars;
        vars.applyCatalogue();
        vars.selectedMaterialId = material;
        for (const QString &setting : settings) {
            const QStringList pair = setting.split(QLatin1Char('='));
            vars.setValue(SlotKeys::fromKey(pair[0]).value(), pair[1].toDouble());
        }
        const Laying layingMethod = laying == 1 ? Laying::Trenchless : Laying::Trench;
        const Wall wallConstruction = wall == 1 ? Wall::ThreeLayer : Wall::SingleLayer;
        const FiberglassRun run = calculateFiberglass(vars, layingMethod, wallConstruction);
        QVERIFY(run.outcome.isCompleted());
        const FiberglassResults &r = run.results;
        QTextDocument doc;
        QVERIFY(ReportTemplates::load(doc, QString::fromLatin1(FiberglassReport::TemplateName)).ok());
        TemplateFiller filler(doc);
        FiberglassReport::Choices choices;
        choices.materialId = material;
        choices.laying = layingMethod;
        choices.wall = wallConstruction;
        FiberglassReport::fill(filler, r, choices, soil);
        const CalcVerdict verdict(CalcCheck::fiberglass(r));
        ReportAssessment::fillWarnings(filler, {});
        ReportAssessment::fillVerdict(filler, verdict);
        ProjectHeader::fill(filler, ProjectDescription());
        const QString text = doc.toPlainText();
        auto has = [&text](const QString &line) { return text.contains(line); };

        QCOMPARE(leftovers(text), QStringList());
        QVERIFY(!dividesByZero(text));
        QCOMPARE(openFormulas(text), QStringList());
        QCOMPARE(has(QStringLiteral("SN 5000")), material == 4);
        QCOMPARE(has(QStringLiteral("SN 10000")), material == 5);
        QCOMPARE(has(QStringLiteral("класса кольцевой жёсткости")), material == 4 || material == 5);
        QVERIFY(
            has(QStringLiteral("Способ прокладки трубопровода — %1.").arg(laying ? "бестраншейный" : "траншейный")));

        // Only the chosen laying's formulas.
        QCOMPARE(has(QStringLiteral("Qгр1 =")), laying == 1);
        QCOMPARE(has(QStringLiteral("Qгр = 1,3·γ·h")), laying == 0);
        QCOMPARE(has(QStringLiteral("ψ = 0,13·")), laying == 1);

        // The formulas of the wall that was calculated (raised digits read
        // as plain digits here: "s3" is s cubed); their numbers are redone in
        // the test of the report lines.
        const QStringList single{QStringLiteral("I = s3/12 = "), QStringLiteral("W = s2/6 = "),
                                 QStringLiteral("A = s = ")};
        const QStringList three{QStringLiteral("I = s3/6 + s·(t + s)2/2 = "), QStringLiteral("W = I/(0,5·t + s) = "),
                                QStringLiteral("A = 2·s = ")};
        for (const QString &line : single)
            QVERIFY2(has(line) == (wall == 0), qPrintable(line));
        for (const QString &line : three)
            QVERIFY2(has(line) == (wall == 1), qPrintable(line));
        QVERIFY(has(QStringLiteral("Конструкция стенки трубы — %1.").arg(wall ? "трёхслойная" : "однослойная")));

        // Loads switched off are said in words.
        const bool traffic = r.M != 0 && r.F != 0;
        QCOMPARE(has(QStringLiteral("P = M·g/F = ")), traffic);
        QCOMPARE(has(QStringLiteral("Транспортная нагрузка не учитывается: ")
                     + (r.M == 0 ? QStringLiteral("масса на ось транспортного средства M = 0 кг")
                                 : QStringLiteral("площадь опирания колеса F = 0 м²"))
                     + QStringLiteral(", поэтому P = 0 Па")),
                 !traffic);
        QCOMPARE(has(QStringLiteral("Qгв = (D/2 + h − Hв)·γв")), r.Qgv != 0);
        QCOMPARE(has(QStringLiteral("уровень грунтовых вод не задан")), r.Hv == 0);
        QCOMPARE(has(QStringLiteral("лежит не выше горизонтального диаметра")), r.Hv != 0 && r.Qgv == 0);

        // The verdicts as the results decide them.
        QCOMPARE(has(QStringLiteral("Прочность трубы недостаточна")), !r.strengthHolds());
        QCOMPARE(has(QStringLiteral("Прочность трубы достаточна")), r.strengthHolds());
        QCOMPARE(has(QStringLiteral("сечения трубы недопустима")), !r.ovalityHolds());
        QCOMPARE(has(QStringLiteral("Устойчивость трубы недостаточна")), !r.stabilityHolds());
        checkLeftByBlocks(doc);
    }

    // Each table of a template repeats its first row on every page it runs on.
    void tablesHaveAHeaderRow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("tables");
        QTest::newRow("hydraulic") << QString::fromLatin1(HydraulicReport::TemplateName) << 1;
        QTest::newRow("static") << QString::fromLatin1(StaticReport::TemplateName) << 2;
        QTest::newRow("fiberglass") << QString::fromLatin1(FiberglassReport::TemplateName) << 1;
    }

    void tablesHaveAHeaderRow()
    {
        QFETCH(QString, name);
        QFETCH(int, tables);
        QTextDocument doc;
        QVERIFY(ReportTemplates::load(doc, name).ok());
        int found = 0;
        for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
            auto *table = qobject_cast<QTextTable *>(frame);
            if (!table)
                continue;
            ++found;
            QCOMPARE(table->format().headerRowCount(), 1);
            QCOMPARE(table->cellAt(0, 0).firstCursorPosition().block().text(), QStringLiteral("Наименование"));
        }
        QCOMPARE(found, tables);
    }

    void conclusionsHangFromTheirNumbers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("items");
        QTest::newRow("static") << QString::fromLatin1(StaticReport::TemplateName) << 4;
        QTest::newRow("fiberglass") << QString::fromLatin1(FiberglassReport::TemplateName) << 3;
    }

    void conclusionsHangFromTheirNumbers()
    {
        QFETCH(QString, name);
        QFETCH(int, items);
        QTextDocument doc;
        QVERIFY(ReportTemplates::load(doc, name).ok());
        static const QRegularExpression numbered(QStringLiteral("^\\d\\.\\t"));
        int found = 0;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            if (!numbered.match(block.text()).hasMatch())
                continue;
            ++found;
            // The number stands in the first line's indent; the text after it
            // starts at the tab stop, where the wrapped lines start too.
            const QTextBlockFormat format = block.blockFormat();
            QVERIFY(format.leftMargin() > 0);
            QCOMPARE(format.textIndent(), -format.leftMargin());
            const QList<QTextOption::Tab> tabs = format.tabPositions();
            QVERIFY2(!tabs.isEmpty(), qPrintable(block.text()));
            QCOMPARE(tabs.first().position, format.leftMargin());
        }
        QCOMPARE(found, items);
    }

    void missingTemplate()
    {
        QTemporaryDir empty;
        ReportTemplates::setFolder(empty.path());
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("kept"));
        QVERIFY(!ReportTemplates::canOpen(QStringLiteral("HydraulicReport.rtf")));
        const Result<> missing = ReportTemplates::load(doc, QStringLiteral("HydraulicReport.rtf"));
        QVERIFY(!missing);
        QCOMPARE(missing.message(), QStringLiteral("Не могу открыть файл шаблона отчёта."));
        QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));

        // A template that opens but is no document says why.
        QFile broken(empty.filePath(QStringLiteral("StaticReport.rtf")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray("{\\rtf1 ") + QByteArray(64, '\0'));
        broken.close();
        QVERIFY(ReportTemplates::canOpen(QStringLiteral("StaticReport.rtf")));
        const Result<> result = ReportTemplates::load(doc, QStringLiteral("StaticReport.rtf"));
        if (!result)
            QCOMPARE(result.message(), QStringLiteral("Failed to Load Stream"));
        ReportTemplates::setFolder(QString());
    }
};

QTEST_MAIN(TestReportTemplates)
#include "tst_reporttemplates.moc"
