#include "CalcTestSupport.h"

#include "calc/CalcAssessment.h"
#include "calc/CalcSession.h"
#include "calc/CalcVerdict.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"

#include <QtTest>

#include <cmath>

namespace {

CalcCheck check(const char *key, const char *title, double utilisation, bool holds)
{
    CalcCheck c;
    c.key = QString::fromLatin1(key);
    c.title = QString::fromUtf8(title);
    c.value = utilisation;
    c.limit = 1;
    c.utilisation = utilisation;
    c.holds = holds;
    return c;
}

// The three checks of a corrugated pipe at the given utilisations.
CalcVerdict corrugated(double strength, double stability, double traffic)
{
    return CalcVerdict({check("strength", "Прочность", strength, strength <= 1),
                        check("stability", "Устойчивость без учёта транспорта", stability, stability <= 1),
                        check("stability_traffic", "Устойчивость с учётом транспорта", traffic, traffic <= 1)});
}

} // namespace

class TestCalcVerdict : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    // The verdict holds when every check holds, and says so in the words of
    // the results line.
    void words_data()
    {
        QTest::addColumn<double>("strength");
        QTest::addColumn<double>("stability");
        QTest::addColumn<double>("traffic");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("text");
        QTest::newRow("all hold") << 0.659 << 0.488 << 0.595 << "holds"
                                  << "Выполнено: все проверки; наибольшее использование — прочность, 65,9 %";
        QTest::newRow("at the limit") << 0.5 << 1.0 << 0.9 << "holds"
                                      << "Выполнено: все проверки; наибольшее использование — "
                                         "устойчивость без учёта транспорта, 100 %";
        QTest::newRow("one fails") << 0.7 << 0.9 << 1.007 << "fails"
                                   << "Не выполнено: устойчивость с учётом транспорта, 100,7 %";
        QTest::newRow("all fail, in their order")
            << 1.2397 << 1.674 << 1.7647 << "fails"
            << "Не выполнено: прочность, 124 %; устойчивость без учёта транспорта, 167,4 %; "
               "устойчивость с учётом транспорта, 176,5 %";
    }

    void words()
    {
        QFETCH(double, strength);
        QFETCH(double, stability);
        QFETCH(double, traffic);
        QFETCH(QString, keyword);
        QFETCH(QString, text);
        const CalcVerdict verdict = corrugated(strength, stability, traffic);
        QVERIFY(verdict.judged());
        QCOMPARE(verdict.holds(), keyword == QLatin1String("holds"));
        QCOMPARE(verdict.keyword(), keyword);
        QCOMPARE(verdict.text(), text);
    }

    void noVerdict()
    {
        const CalcVerdict none;
        QVERIFY(!none.judged());
        QVERIFY(!none.holds());
        QVERIFY(none.keyword().isEmpty());
        QVERIFY(none.text().isEmpty());
        QCOMPARE(none.governing(), nullptr);
    }

    // A check whose limit is not above zero has no utilisation: failing, it
    // governs and is named without a percentage.
    void failingWithoutLimit()
    {
        CalcCheck noLimit = check("stability", "Устойчивость", NAN, false);
        const CalcVerdict verdict({check("strength", "Прочность", 3.0, false), noLimit});
        QCOMPARE(verdict.governing()->key, QStringLiteral("stability"));
        QCOMPARE(verdict.failing().size(), 2);
        QCOMPARE(verdict.text(), QStringLiteral("Не выполнено: прочность, 300 %; устойчивость"));
    }

    // The assessment of a run: a static calculation is judged, the hydraulic
    // one is not; a run that does not complete is neither judged nor warned of.
    void assessment_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("assignments");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("text");
        QTest::newRow("hydraulic defaults") << int(CalcKind::Hydraulic) << "" << true << ""
                                            << "";
        QTest::newRow("static defaults") << int(CalcKind::Static) << "" << true << "holds"
                                         << "Выполнено: все проверки; наибольшее использование — прочность, 65,9 %";
        // 12 m down in clay (19 kN/m³, 2 MPa): qgr = (4·19 + 8.2·11)/1000 = 0.1662 MPa.
        QTest::newRow("static, deep in clay")
            << int(CalcKind::Static) << "Htr=12 Gamma=19 Egr=2" << true << "fails"
            << "Не выполнено: прочность, 124 %; устойчивость без учёта транспорта, 167,4 %; "
               "устойчивость с учётом транспорта, 176,5 %";
        QTest::newRow("static stopped") << int(CalcKind::Static) << "F=0" << false << ""
                                        << "";
        QTest::newRow("fiberglass defaults") << int(CalcKind::Fiberglass) << "" << true << "holds"
                                             << "Выполнено: все проверки; наибольшее использование — овальность, 20 %";
    }

    void assessment()
    {
        QFETCH(int, kind);
        QFETCH(QString, assignments);
        QFETCH(bool, completed);
        QFETCH(QString, keyword);
        QFETCH(QString, text);
        CalcVariables vars;
        vars.applyCatalogue();
        CalcTestSupport::assign(vars, assignments);
        const CalcAssessment a = CalcAssessment::run(vars, CalcKind(kind));
        QCOMPARE(a.completed(), completed);
        QCOMPARE(a.verdict.keyword(), keyword);
        QCOMPARE(a.verdict.text(), text);
        if (!completed)
            QVERIFY(a.warnings.isEmpty());
        if (kind == int(CalcKind::Fiberglass))
            QCOMPARE(a.fiberglass.Mpr, 117600.0);
    }

    // A copy of a variable set runs apart from the set it was made from.
    void runsOnACopy()
    {
        CalcVariables original;
        original.applyCatalogue();
        original.selectedSoilId = 8;
        CalcVariables copy;
        copy.copyFrom(original);
        QCOMPARE(copy.selectedSoilId, 8);
        QCOMPARE(copy[Slot::Din].name(), QStringLiteral("Dвнутр"));
        copy.setValue(Slot::Htr, 12);
        QVERIFY(CalcAssessment::run(copy, CalcKind::Static).completed());
        QCOMPARE(original.value(Slot::Htr), 6.0);
        QCOMPARE(original.value(Slot::qgr), 0.0);
        QVERIFY(copy.value(Slot::qgr) > 0);
    }

    // The session speaks of the verdict and the warnings of current results
    // only, and its results line is the verdict.
    void sessionSaysOnlyWhatIsCurrent()
    {
        CalcSession session;
        session.setMode(1);
        QVERIFY(!session.verdict(CalcKind::Static).judged());
        session.run();
        QCOMPARE(session.verdict(CalcKind::Static).keyword(), QStringLiteral("holds"));
        QCOMPARE(session.stateLine(CalcKind::Static), session.verdict(CalcKind::Static).text());

        session.setInput(Slot::Htr, 40);
        QVERIFY(!session.verdict(CalcKind::Static).judged());
        QVERIFY(session.warnings(CalcKind::Static).isEmpty());
        session.run();
        const QVector<CalcWarning> warnings = session.warnings(CalcKind::Static);
        QVERIFY(!warnings.isEmpty());
        QCOMPARE(warnings.first().variable, QStringLiteral("Htr"));
        // The run that made the warnings stays at hand after a change.
        session.setInput(Slot::Htr, 6);
        QVERIFY(session.warnings(CalcKind::Static).isEmpty());
        QCOMPARE(session.lastAssessment(CalcKind::Static).warnings, warnings);

        QVERIFY(session.run(CalcKind::Hydraulic).isCompleted());
        QCOMPARE(session.stateLine(CalcKind::Hydraulic), QStringLiteral("Результаты соответствуют исходным данным."));
    }
};

QTEST_GUILESS_MAIN(TestCalcVerdict)
#include "tst_calcverdict.moc"
