#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/NumberFormat.h"
#include "model/TCalcVariables.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace {

// Each placeholder on a line of its own after its number: "3=$Din.Val$".
QString templateOf(const QStringList &tags)
{
    QStringList lines;
    for (int i = 0; i < tags.size(); ++i)
        lines << QString::number(i) + QLatin1Char('=') + tags[i];
    return lines.join(QLatin1Char('\n'));
}

// The filled values by placeholder.
QMap<QString, QString> filledValues(const QTextDocument &doc, const QStringList &tags)
{
    QMap<QString, QString> values;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int eq = b.text().indexOf(QLatin1Char('='));
        bool ok = false;
        const int i = b.text().left(eq).toInt(&ok);
        if (eq > 0 && ok && i < tags.size())
            values.insert(tags[i], b.text().mid(eq + 1));
    }
    return values;
}

} // namespace

class TestTemplateFiller : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void replaceTag_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three times, longer value") << "a $X$ b $X$\n$X$" << "$X$" << "longer value"
                                                    << "a longer value b longer value\nlonger value";
        QTest::newRow("empty value") << "a$X$b" << "$X$" << "" << "ab";
        QTest::newRow("tag inside a longer tag") << "$Qgr$ $Qgr1$" << "$Qgr$" << "1" << "1 $Qgr1$";
        QTest::newRow("case matters") << "$Etausvst$ $EtauSvSt$" << "$EtauSvSt$" << "v" << "$Etausvst$ v";
        QTest::newRow("value holding its own tag") << "$X$ $X$" << "$X$" << "[$X$]" << "[$X$] [$X$]";
        QTest::newRow("absent tag") << "nothing here" << "$X$" << "v" << "nothing here";
        QTest::newRow("in the middle of a word") << "ab$X$cd" << "$X$" << "-" << "ab-cd";
    }

    void replaceTag()
    {
        QFETCH(QString, text);
        QFETCH(QString, tag);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QTextDocument doc;
        doc.setPlainText(text);
        TemplateFiller(doc).ReplaceTag(tag, value);
        QCOMPARE(doc.toPlainText(), expected);
    }

    void valueTakesThePlaceholdersFormat()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.insertText(QStringLiteral("Итого: "));
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setFontItalic(true);
        cursor.insertText(QStringLiteral("$qust.Value.MPa$"), bold);
        cursor.insertText(QStringLiteral(" МПа"), QTextCharFormat());
        TemplateFiller(doc).ReplaceTag(QStringLiteral("$qust.Value.MPa$"), QStringLiteral("0,251"));
        QCOMPARE(doc.toPlainText(), QStringLiteral("Итого: 0,251 МПа"));
        auto formatAt = [&](int position) {
            QTextCursor c(&doc);
            c.setPosition(position);
            return c.charFormat();
        };
        QVERIFY(formatAt(9).fontWeight() == QFont::Bold && formatAt(9).fontItalic());
        QVERIFY(formatAt(12).fontWeight() == QFont::Bold);
        QVERIFY(formatAt(14).fontWeight() != QFont::Bold);
    }

    void cutIfBlock_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("removeWhole");
        QTest::addColumn<QString>("expected");
        QTest::newRow("keep content") << "x$IF2$abc$/IF2$y" << false << "xabcy";
        QTest::newRow("remove whole") << "x$IF2$abc$/IF2$y" << true << "xy";
        QTest::newRow("no close marker") << "x$IF2$abc y" << true << "x$IF2$abc y";
        QTest::newRow("no open marker") << "x abc$/IF2$y" << false << "x abc$/IF2$y";
        QTest::newRow("close before open") << "$/IF2$ a $IF2$" << true << "$/IF2$ a $IF2$";
        QTest::newRow("another block number") << "$IF3$a$/IF3$" << true << "$IF3$a$/IF3$";
        QTest::newRow("over paragraphs") << "a\n$IF2$b\nc$/IF2$\nd" << true << "a\nd";
        QTest::newRow("over paragraphs, kept") << "a\n$IF2$b\nc$/IF2$\nd" << false << "a\nb\nc\nd";
        QTest::newRow("a whole paragraph") << "a\n$IF2$b$/IF2$\nc" << true << "a\nc";
        QTest::newRow("the last paragraph") << "a\n$IF2$b$/IF2$" << true << "a";
        QTest::newRow("the only paragraph") << "$IF2$b$/IF2$" << true << "";
        QTest::newRow("from within a paragraph to the end of another") << "a$IF2$b\nc$/IF2$\nd" << true << "a\nd";
        QTest::newRow("from the start of a paragraph into another") << "a\n$IF2$b\nc$/IF2$d" << true << "a\nd";
    }

    void cutIfBlock()
    {
        QFETCH(QString, text);
        QFETCH(bool, removeWhole);
        QFETCH(QString, expected);
        QTextDocument doc;
        doc.setPlainText(text);
        TemplateFiller(doc).CutIfBlock(2, removeWhole);
        QCOMPARE(doc.toPlainText(), expected);
    }

    // Around a block of whole paragraphs that goes, every paragraph keeps its format.
    void blockOfParagraphsLeavesTheOthersAsTheyAre()
    {
        for (const bool last : {false, true}) {
            QTextDocument doc;
            QTextCursor cursor(&doc);
            QTextBlockFormat before;
            before.setLeftMargin(7);
            cursor.setBlockFormat(before);
            cursor.insertText(QStringLiteral("до"));
            QTextBlockFormat inside;
            inside.setLeftMargin(30);
            cursor.insertBlock(inside);
            cursor.insertText(QStringLiteral("$IF2$формула"));
            cursor.insertBlock(inside);
            cursor.insertText(QStringLiteral("ещё$/IF2$"));
            if (!last) {
                QTextBlockFormat after;
                after.setLeftMargin(3);
                cursor.insertBlock(after);
                cursor.insertText(QStringLiteral("после"));
            }
            TemplateFiller(doc).CutIfBlock(2, true);
            QCOMPARE(doc.toPlainText(), last ? QStringLiteral("до") : QStringLiteral("до\nпосле"));
            QCOMPARE(doc.begin().blockFormat().leftMargin(), 7.0);
            if (!last)
                QCOMPARE(doc.begin().next().blockFormat().leftMargin(), 3.0);
        }
    }

    void hydraulicValues()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        QVERIFY(CalcHydraulic(vars).isCompleted());
        QTextDocument doc;
        const QStringList tags{"$TUBENAME1$", "$TUBENAME2$", "$qs.Val_litr$", "$qs.Val_m3$", "$Vf_end.Val$",
                               "$Ls.Val$",    "$Vf.Val$",    "$Kw.Val$",      "$hs_d.Val$",  "$Rs.Val$"};
        doc.setPlainText(templateOf(tags));
        TemplateFiller filler(doc);
        HydraulicReport::fill(filler, vars);
        const auto v = filledValues(doc, tags);
        QCOMPARE(v["$TUBENAME1$"], QStringLiteral("труб Велтра-Норлекс"));
        QCOMPARE(v["$TUBENAME2$"], QStringLiteral("труба Велтра-Норлекс"));
        QCOMPARE(v["$qs.Val_litr$"], QStringLiteral("303,629"));
        QCOMPARE(v["$qs.Val_m3$"], QStringLiteral("0,304"));
        QCOMPARE(v["$Vf_end.Val$"], QStringLiteral("3,192"));
        QCOMPARE(v["$Ls.Val$"], QStringLiteral("0,017"));
        QCOMPARE(v["$Vf.Val$"], QStringLiteral("8,258"));
        QCOMPARE(v["$Kw.Val$"], QStringLiteral("0,095"));
        QCOMPARE(v["$hs_d.Val$"], QStringLiteral("1,0"));
        QCOMPARE(v["$Rs.Val$"], QStringLiteral("0,087"));

        // The fiberglass words go with material 4 only.
        for (const int material : {4, 5}) {
            vars.SelectedMaterialId = material;
            doc.setPlainText(templateOf(tags));
            HydraulicReport::fill(filler, vars);
            QCOMPARE(filledValues(doc, tags)["$TUBENAME2$"], material == 4 ? QStringLiteral("стеклопластиковая труба")
                                                                     : QStringLiteral("труба Велтра-Норлекс"));
        }
    }

    void staticValues()
    {
        TCalcVariables vars;
        vars.InitCatalogue();
        QVERIFY(CalcStatic(vars).isCompleted());
        const QMap<QString, QString> expected = {
            {"$Dout.Value.mm$", "400"},  {"$Din.Value.cm$", "34,8"},  {"$s.Value.cm$", "0,2"},
            {"$m.Value.kg$", "20000"},   {"$P.Value.MPa$", "0,516"},  {"$S_cond.Value$", "0,659"},
            {"$e.Value.cm$", "2,6"},     {"$D.Value.cm$", "37,107"},  {"$Psi.Value.Percent$", "4,08"},
            {"$Psi_m.Value.Percent$", "0,2"}, {"$Kok.Value$", "1,0"}, {"$Ktau.Value$", "1,25"},
            {"$Kzu.Value$", "2"},        {"$qvntr.Value.MPa$", "0,149"}, {"$qust.Value.MPa$", "0,251"},
            {"$S_cond.Sign$", "<="},     {"$Not1$", ""},              {"$Cond2.Sign$", "<="},
            {"$Not2$", ""},              {"$Cond3.Sign$", "<="},      {"$Not3$", ""},
            {"$SoilType.Value$", "свой"}, {"$Material.Value$", "ПЭ"},
        };
        QTextDocument doc;
        doc.setPlainText(templateOf(expected.keys()));
        TemplateFiller filler(doc);
        QList<int> asked;
        StaticReport::fill(
            filler, vars,
            [&](std::int32_t id) {
                asked << id;
                return QStringLiteral("свой");
            },
            [&](std::int32_t id) {
                asked << id;
                return QStringLiteral("ПЭ");
            });
        QCOMPARE(filledValues(doc, expected.keys()), expected);
        QCOMPARE(asked, (QList<int>{-1, -1}));
    }

    void staticVerdicts_data()
    {
        QTest::addColumn<double>("strength");
        QTest::addColumn<QString>("sign");
        QTest::addColumn<QString>("negation");
        QTest::newRow("exactly 1 holds") << 1.0 << "<=" << "";
        QTest::newRow("just above fails") << 1.0000001 << ">" << "не ";
    }

    void staticVerdicts()
    {
        QFETCH(double, strength);
        QFETCH(QString, sign);
        QFETCH(QString, negation);
        TCalcVariables vars;
        vars.InitCatalogue();
        vars.setValue(Slot::S_cond, strength);
        vars.setValue(Slot::qvn, 0.2);
        vars.setValue(Slot::qust, 0.2);
        vars.setValue(Slot::qvntr, 0.3);
        QTextDocument doc;
        const QStringList tags{"$S_cond.Sign$", "$Not1$", "$Cond2.Sign$", "$Not2$", "$Cond3.Sign$", "$Not3$"};
        doc.setPlainText(templateOf(tags));
        TemplateFiller filler(doc);
        StaticReport::fill(filler, vars, [](std::int32_t) { return QString(); }, [](std::int32_t) { return QString(); });
        const auto v = filledValues(doc, tags);
        QCOMPARE(v["$S_cond.Sign$"], sign);
        QCOMPARE(v["$Not1$"], negation);
        QCOMPARE(v["$Cond2.Sign$"], QStringLiteral("<="));
        QCOMPARE(v["$Cond3.Sign$"], QStringLiteral(">"));
        QCOMPARE(v["$Not3$"], QStringLiteral("не "));
    }

    void fiberglassValues()
    {
        const QMap<QString, QString> expected = {
            {"$PIPETYPE$", "SN 5000"}, {"$SOILE$", "свой"}, {"$WayOfLining$", "траншейный"}, {"$D$", "0.3"},
            {"$s$", "0.012"}, {"$t$", "0.024"}, {"$Et$", "20000000000"}, {"$Et/1000000$", "20000"},
            {"$Sigmat$", "500000000"}, {"$MuSt$", "0.3"}, {"$EtauSvSt$", "1250000000"}, {"$fi$", "30"},
            {"$Egr$", "7000000"}, {"$h$", "0"}, {"$M$", "0"}, {"$GammaGrSt$", "16000"}, {"$GammaGrSt/1000$", "16"},
            {"$Kk$", "1.3"}, {"$a$", "9.81"}, {"$Qgr1$", "0"}, {"$I$", "0.000008064"}, {"$n$", "0.056120314"},
            {"$k$", "17943333.333"}, {"$W$", "0.000336"}, {"$m$", "0.7"}, {"$Mpr$", "117600"},
            {"$Mpr/1000$", "117.6"}, {"$A$", "0.024"}, {"$Gt$", "73799647.699"}, {"$Gt/1000000$", "73.799648"},
            {"$Gy$", "3761613.430803"}, {"$Gy/1000000$", "3.761613"}, {"$psi$", "0.01"}, {"$Kov$", "0.993"},
            {"$Kzu$", "3"}, {"$Qgv$", "0"}, {"$Gammav$", "11000"}, {"$NO$", ""}, {"$NOPSI$", ""}, {"$NOUU$", ""},
        };
        TCalcVariables vars;
        vars.InitCatalogue();
        const FiberglassRun run = CalcFiberglass(vars, LayingTrench, WallThreeLayer);
        QVERIFY(run.outcome.isCompleted());
        QTextDocument doc;
        doc.setPlainText(templateOf(expected.keys()) + QStringLiteral("\n$IF1$x1$/IF1$|$IF2$x2$/IF2$|$IF3$x3$/IF3$|"
                                                                      "$IF4$x4$/IF4$|$IF5$x5$/IF5$"));
        TemplateFiller filler(doc);
        FiberglassReport::Choices choices;
        choices.materialId = 4;
        choices.layingIndex = 0;
        choices.layingText = QStringLiteral("траншейный");
        for (const char *separator : {",", "."}) {
            NumberFormat::setDecimalSeparator(QString::fromLatin1(separator));
            QTextDocument copy;
            copy.setPlainText(doc.toPlainText());
            TemplateFiller f(copy);
            FiberglassReport::fill(f, run.results, choices, [](std::int32_t) { return QStringLiteral("свой"); });
            QCOMPARE(filledValues(copy, expected.keys()), expected);
            // Blocks 2 and 4 hold the trench text.
            QCOMPARE(copy.toPlainText().section(QLatin1Char('\n'), -1), QStringLiteral("|x2||x4|"));
        }
    }

    void fiberglassChoices()
    {
        FiberglassResults r;
        r.Mras = 2;
        r.Mpr = 1;
        r.psi = 0.06;
        r.Qc = 1;
        r.Gy = 2;
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("$PIPETYPE$|$NO$|$NOPSI$|$NOUU$|$IF1$x1$/IF1$$IF2$x2$/IF2$$IF3$x3$/IF3$"));
        TemplateFiller filler(doc);
        FiberglassReport::Choices choices;
        choices.materialId = 5;
        choices.layingIndex = 1;
        FiberglassReport::fill(filler, r, choices, [](std::int32_t) { return QString(); });
        QCOMPARE(doc.toPlainText(), QStringLiteral("SN 10000|не|не||x1x3"));

        choices.materialId = 2;
        doc.setPlainText(QStringLiteral("$PIPETYPE$"));
        FiberglassReport::fill(filler, r, choices, [](std::int32_t) { return QString(); });
        QCOMPARE(doc.toPlainText(), QStringLiteral("$PIPETYPE$"));
    }
};

QTEST_MAIN(TestTemplateFiller)
#include "tst_templatefiller.moc"
