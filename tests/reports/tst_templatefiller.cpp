#include "calc/FiberglassResults.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"
#include "reports/FiberglassReport.h"
#include "reports/StaticReport.h"
#include "reports/ReportNumber.h"
#include "reports/TemplateFiller.h"
#include "richtext/PlainTextCodec.h"

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
        QTest::newRow("three times, longer value") << "a $X$ b $X$\n$X$"
                                                   << "$X$"
                                                   << "longer value"
                                                   << "a longer value b longer value\nlonger value";
        QTest::newRow("empty value") << "a$X$b"
                                     << "$X$"
                                     << ""
                                     << "ab";
        QTest::newRow("tag inside a longer tag") << "$Qgr$ $Qgr1$"
                                                 << "$Qgr$"
                                                 << "1"
                                                 << "1 $Qgr1$";
        QTest::newRow("case matters") << "$Etausvst$ $EtauSvSt$"
                                      << "$EtauSvSt$"
                                      << "v"
                                      << "$Etausvst$ v";
        QTest::newRow("value holding its own tag") << "$X$ $X$"
                                                   << "$X$"
                                                   << "[$X$]"
                                                   << "[$X$] [$X$]";
        QTest::newRow("absent tag") << "nothing here"
                                    << "$X$"
                                    << "v"
                                    << "nothing here";
        QTest::newRow("in the middle of a word") << "ab$X$cd"
                                                 << "$X$"
                                                 << "-"
                                                 << "ab-cd";
    }

    void replaceTag()
    {
        QFETCH(QString, text);
        QFETCH(QString, tag);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QTextDocument doc;
        doc.setPlainText(text);
        TemplateFiller(doc).replaceTag(tag, value);
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
        TemplateFiller(doc).replaceTag(QStringLiteral("$qust.Value.MPa$"), QStringLiteral("0,251"));
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

    // A number reads right where it stands.
    void replaceNumber_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("raisedAfter"); // an exponent right after the placeholder
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("input");
        QTest::addColumn<QString>("expected"); // as plain text shows it
        QTest::newRow("a result") << "q = "
                                  << "" << 0.12704 << false << "q = 0,1270";
        QTest::newRow("an input as given") << "i = "
                                           << "" << 0.0007 << true << "i = 0,0007";
        QTest::newRow("a power of ten, raised") << "ν = "
                                                << "" << 1.49e-6 << true << "ν = 1,49·10⁻⁶";
        QTest::newRow("a power of ten after a product") << "2·"
                                                        << "" << 2e10 << true << "2·2·10¹⁰";
        QTest::newRow("a power of ten after a slash") << "3,192·4/"
                                                      << "" << 1.49e-6 << true << "3,192·4/(1,49·10⁻⁶)";
        QTest::newRow("a power of ten after a function") << "lg "
                                                         << "" << 8.7e6 << false << "lg (8,700·10⁶)";
        QTest::newRow("a power of ten before an exponent") << ""
                                                           << "3" << 1.6e-5 << false << "(1,600·10⁻⁵)³";
        QTest::newRow("a plain number before an exponent") << ""
                                                           << "3" << 0.0016 << true << "0,0016³";
        QTest::newRow("negative after a plus") << "0,1 + "
                                               << "" << -0.022 << false << "0,1 − 0,02200";
        QTest::newRow("negative after a minus") << "0,1 − "
                                                << "" << -0.022 << false << "0,1 + 0,02200";
        QTest::newRow("negative after a product") << "2·"
                                                  << "" << -0.5 << true << "2·(−0,5)";
        QTest::newRow("negative before an exponent") << ""
                                                     << "2" << -0.5 << true << "(−0,5)²";
        QTest::newRow("negative on its own") << "x = "
                                             << "" << -0.5 << true << "x = −0,5";
        QTest::newRow("zero") << "P = "
                              << "" << 0.0 << false << "P = 0";
    }

    void replaceNumber()
    {
        QFETCH(QString, before);
        QFETCH(QString, raisedAfter);
        QFETCH(double, value);
        QFETCH(bool, input);
        QFETCH(QString, expected);
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.insertText(before);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("$X$"), bold);
        QTextCharFormat raised;
        raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        cursor.insertText(raisedAfter, raised);
        TemplateFiller(doc).replaceNumber(QStringLiteral("$X$"),
                                          input ? ReportNumber::input(value) : ReportNumber::computed(value));
        QCOMPARE(PlainTextCodec::documentText(doc), expected);
        // The number, its power of ten included, takes the placeholder's format.
        QTextCursor last(&doc);
        last.setPosition(int(before.size()) + 1);
        QCOMPARE(last.charFormat().fontWeight(), int(QFont::Bold));
    }

    // The constants of a template's formulas take the separator of the
    // numbers put in; other text keeps its points and commas.
    void decimalSeparatorOfTheTemplate_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("point") << "."
                               << "a = 0.3124·K^0.0516; Таблица 1. Итог, 2 шт.; min(4; 6.5); 1.3·γ";
        QTest::newRow("comma") << ","
                               << "a = 0,3124·K^0,0516; Таблица 1. Итог, 2 шт.; min(4; 6,5); 1,3·γ";
    }

    void decimalSeparatorOfTheTemplate()
    {
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("a = 0,3124·K^0.0516; Таблица 1. Итог, 2 шт.; min(4; 6,5); 1.3·γ"));
        TemplateFiller(doc).useDecimalSeparator(separator);
        QCOMPARE(doc.toPlainText(), expected);
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
        TemplateFiller(doc).cutIfBlock(2, removeWhole);
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
            TemplateFiller(doc).cutIfBlock(2, true);
            QCOMPARE(doc.toPlainText(), last ? QStringLiteral("до") : QStringLiteral("до\nпосле"));
            QCOMPARE(doc.begin().blockFormat().leftMargin(), 7.0);
            if (!last)
                QCOMPARE(doc.begin().next().blockFormat().leftMargin(), 3.0);
        }
    }

    // At a boundary the verdict's numbers show their side of it.
    void staticVerdicts_data()
    {
        QTest::addColumn<double>("strength");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("sign");
        QTest::addColumn<QString>("negation");
        QTest::newRow("exactly 1 holds") << 1.0 << "1,000"
                                         << "<="
                                         << "";
        QTest::newRow("just above fails") << 1.0000001 << "1,0000001"
                                          << ">"
                                          << "не ";
    }

    void staticVerdicts()
    {
        QFETCH(double, strength);
        QFETCH(QString, printed);
        QFETCH(QString, sign);
        QFETCH(QString, negation);
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::S_cond, strength);
        vars.setValue(Slot::qvn, 0.2);
        vars.setValue(Slot::qust, 0.2);
        vars.setValue(Slot::qvntr, 0.20000004);
        QTextDocument doc;
        const QStringList tags{"$S_cond.Value$",    "$S_cond.Sign$",     "$Not1$",       "$S_cond.Rel$",
                               "$Cond2.Value.MPa$", "$Cond2.Limit.MPa$", "$Cond2.Sign$", "$Not2$",
                               "$Cond3.Value.MPa$", "$Cond3.Limit.MPa$", "$Cond3.Sign$", "$Not3$",
                               "$Cond3.Rel$"};
        doc.setPlainText(templateOf(tags));
        TemplateFiller filler(doc);
        StaticReport::fill(
            filler, vars, [](std::int32_t) { return QString(); }, [](std::int32_t) { return QString(); });
        const auto v = filledValues(doc, tags);
        QCOMPARE(v["$S_cond.Value$"], printed);
        QCOMPARE(v["$S_cond.Sign$"], sign);
        QCOMPARE(v["$Not1$"], negation);
        QCOMPARE(v["$S_cond.Rel$"], sign == QLatin1String("<=") ? QStringLiteral("≤") : QStringLiteral(">"));
        // Equal values hold, with the digits of any result.
        QCOMPARE(v["$Cond2.Value.MPa$"], QStringLiteral("0,2000"));
        QCOMPARE(v["$Cond2.Limit.MPa$"], QStringLiteral("0,2000"));
        QCOMPARE(v["$Cond2.Sign$"], QStringLiteral("<="));
        QCOMPARE(v["$Not2$"], QString());
        // A load just over its limit shows it is over.
        QCOMPARE(v["$Cond3.Value.MPa$"], QStringLiteral("0,20000004"));
        QCOMPARE(v["$Cond3.Limit.MPa$"], QStringLiteral("0,20000000"));
        QCOMPARE(v["$Cond3.Sign$"], QStringLiteral(">"));
        QCOMPARE(v["$Not3$"], QStringLiteral("не "));
        QCOMPARE(v["$Cond3.Rel$"], QStringLiteral(">"));
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
        choices.laying = Laying::Trenchless;
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
