// Every formula line of the three reports, redone by hand from the numbers
// the report prints (FormulaLineChecker): over every material, both layings
// and walls, loads on and off, failing, shallow, deep, thin-walled and
// nearly flat cases, with either decimal separator.
#include "FormulaLineChecker.h"

#include "calc/CalcSession.h"
#include "model/NumberFormat.h"
#include "model/SlotKeys.h"
#include "reports/CalcReport.h"
#include "richtext/PlainTextCodec.h"

#include <QTextDocument>
#include <QtTest>

namespace {

// The report of a session as the user gets it, as plain text.
QString reportText(CalcSession &session, CalcKind kind)
{
    if (!session.run(kind).isCompleted())
        return QStringLiteral("the calculation did not complete: ") + session.lastOutcome(kind).displayText();
    QTextDocument document;
    const CalcReport::Result result = CalcReport::build(session, kind, document);
    if (!result.built())
        return QStringLiteral("no report: ") + result.message;
    return PlainTextCodec::documentText(document);
}

} // namespace

class TestReportLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void everyLineChecksOut_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("material"); // a material's id, 0 for the defaults
        QTest::addColumn<int>("tube");     // a tube's number in its table, 0 for the defaults
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("wall");
        QTest::addColumn<QStringList>("settings"); // key=value
        QTest::addColumn<QString>("separator");
        // The quantities that are 0 in the case and may print so.
        QTest::addColumn<QStringList>("zeros");

        const int hydraulic = int(CalcKind::Hydraulic);
        const int corrugated = int(CalcKind::Static);
        const int fiberglass = int(CalcKind::Fiberglass);
        const QString comma = QStringLiteral(",");
        const QString point = QStringLiteral(".");
        QTest::newRow("hydraulic: the worked example, full")
            << hydraulic << 0 << 0 << 0 << 0 << QStringList{} << comma << QStringList{};
        QTest::newRow("hydraulic: 110 mm at a filling of 0,1")
            << hydraulic << 0 << 1 << 0 << 0 << QStringList{"hs_d=0.1"} << comma << QStringList{};
        QTest::newRow("hydraulic: nearly flat, half full")
            << hydraulic << 0 << 7 << 0 << 0 << QStringList{"i_s=0.0001", "hs_d=0.5"} << comma << QStringList{};
        QTest::newRow("hydraulic: 1200 mm, rough, nearly empty, point")
            << hydraulic << 0 << 12 << 0 << 0 << QStringList{"Ke=2", "hs_d=0.01", "i_s=0.0007"} << point
            << QStringList{};

        QTest::newRow("static PE 100: the worked example")
            << corrugated << 1 << 7 << 0 << 0 << QStringList{} << comma << QStringList{};
        QTest::newRow("static PE 80: no traffic, no ground water")
            << corrugated << 2 << 7 << 0 << 0 << QStringList{"m=0", "Hw=0"} << comma
            << QStringList{"m", "P", "q_т", "ψ_т", "Q_гв", "H_в"};
        QTest::newRow("static PP-B: water table below the pipe")
            << corrugated << 3 << 9 << 0 << 0 << QStringList{"Hw=10"} << comma << QStringList{"Q_гв", "h_вз"};
        QTest::newRow("static PP-HM: shallow")
            << corrugated << 6 << 4 << 0 << 0 << QStringList{"Htr=0.5", "Hw=0"} << point << QStringList{"Q_гв", "H_в"};
        QTest::newRow("static: deep, 30 m")
            << corrugated << 1 << 12 << 0 << 0 << QStringList{"Htr=30"} << comma << QStringList{};
        QTest::newRow("static: failing at 60 m")
            << corrugated << 2 << 7 << 0 << 0 << QStringList{"Htr=60", "Hw=1"} << comma << QStringList{};
        QTest::newRow("static: thin wall")
            << corrugated << 1 << 1 << 0 << 0 << QStringList{"s=0.3", "Htr=3"} << point << QStringList{"h_вз"};

        QTest::newRow("fiberglass SN 5000: trench, three-layer, no loads")
            << fiberglass << 4 << 0 << 0 << 1 << QStringList{} << comma
            << QStringList{"M", "P", "Q_тр", "h", "Q_гр", "Q_c", "M_рас", "Q_гв", "H_в"};
        QTest::newRow("fiberglass SN 10000: trenchless, three-layer, loaded, water")
            << fiberglass << 5 << 0 << 1 << 1 << QStringList{"h=2", "M=20", "FSt=0.38", "Hv=1"} << comma
            << QStringList{};
        QTest::newRow("fiberglass: trench, single-layer, loaded, water, point")
            << fiberglass << 4 << 3 << 0 << 0 << QStringList{"h=2", "M=20", "FSt=0.38", "Hv=1"} << point
            << QStringList{};
        QTest::newRow("fiberglass: trenchless, single-layer thin wall, no wheel area")
            << fiberglass << 4 << 1 << 1 << 0 << QStringList{"h=2", "M=20", "FSt=0", "Hv=5"} << comma
            << QStringList{"F", "P", "Q_тр", "Q_гв"};
        QTest::newRow("fiberglass: failing, deep, weak soil")
            << fiberglass << 5 << 11 << 0 << 1 << QStringList{"h=60", "EgrSt=0.5", "M=20", "FSt=0.38"} << comma
            << QStringList{"Q_гв", "H_в"};
        QTest::newRow("fiberglass: shallow trenchless, point")
            << fiberglass << 4 << 11 << 1 << 1 << QStringList{"h=0.3", "M=11.5", "FSt=0.2", "Hv=0.2"} << point
            << QStringList{};
    }

    void everyLineChecksOut()
    {
        QFETCH(int, kind);
        QFETCH(int, material);
        QFETCH(int, tube);
        QFETCH(int, laying);
        QFETCH(int, wall);
        QFETCH(QStringList, settings);
        QFETCH(QString, separator);
        QFETCH(QStringList, zeros);
        NumberFormat::setDecimalSeparator(separator);
        const CalcKind calculation = CalcKind(kind);

        CalcSession session;
        session.setMode(calculation == CalcKind::Hydraulic ? 0 : 1);
        if (material)
            QVERIFY(session.pickMaterialById(material).valueOr(false));
        if (tube)
            QVERIFY(session.pickTubeByNumber(tube).valueOr(false));
        session.setLaying(*FiberglassChoices::fromIndex<Laying>(laying));
        session.setWall(*FiberglassChoices::fromIndex<Wall>(wall));
        for (const QString &setting : settings) {
            const QStringList pair = setting.split(QLatin1Char('='));
            session.setInput(SlotKeys::fromKey(pair[0]).value(), pair[1].toDouble());
        }
        const QString text = reportText(session, calculation);

        FormulaLineChecker checker(separator.front());
        const QStringList findings = checker.check(text);
        QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + text));
        // The checker redid the report's lines, not nothing.
        const int least = calculation == CalcKind::Hydraulic ? 12 : calculation == CalcKind::Static ? 30 : 25;
        QVERIFY2(checker.steps() >= least, qPrintable(QString::number(checker.steps()) + QStringLiteral("\n") + text));

        // Every formula was read.
        QVERIFY2(checker.unreadLines().isEmpty(), qPrintable(checker.unreadLines().join(QLatin1Char('\n'))));
        // No value is printed as 0 that is not.
        QStringList unexpected = checker.zeroResults();
        for (const QString &symbol : zeros)
            unexpected.removeAll(symbol);
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QStringLiteral(", ")) + QStringLiteral("\n") + text));
    }
};

QTEST_MAIN(TestReportLines)
#include "tst_reportlines.moc"
