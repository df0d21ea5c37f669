// What each placeholder of the three reports prints: every report filled
// from values that are all different and none of them 0, and every
// placeholder's text held against the quantity it must carry, in its unit,
// written out by hand.  A placeholder showing another quantity, a unit
// conversion off by a power of ten or a placeholder left unfilled shows here.
// Then two loaded fiberglass pipes worked out by hand, line by line.
#include "calc/CalcSession.h"
#include "calc/FiberglassResults.h"
#include "model/NumberFormat.h"
#include "model/SlotKeys.h"
#include "model/CalcVariables.h"
#include "reports/CalcReport.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"
#include "richtext/PlainTextCodec.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include <functional>

namespace {

using Texts = QMap<QString, QString>;
using Fill = std::function<void(TemplateFiller &)>;

// Fills a document that holds each placeholder the fill asks for on a line
// of its own ("7=$Din.Val$") and returns what each became.  Fails the test
// when the fill asks for a placeholder without an expected text or the
// other way round.
Texts filledPlaceholders(const Fill &fill)
{
    QTextDocument recorded;
    TemplateFiller recorder(recorded);
    recorder.setRecording(true);
    fill(recorder);
    const QStringList tags = recorder.recordedTags();

    QStringList lines;
    for (int i = 0; i < tags.size(); ++i)
        lines << QString::number(i) + QLatin1Char('=') + tags[i];
    QTextDocument document;
    document.setPlainText(lines.join(QLatin1Char('\n')));
    TemplateFiller filler(document);
    fill(filler);

    Texts texts;
    const QStringList filled = PlainTextCodec::documentText(document).split(QLatin1Char('\n'));
    for (const QString &line : filled) {
        const int eq = int(line.indexOf(QLatin1Char('=')));
        texts.insert(tags.value(line.left(eq).toInt()), line.mid(eq + 1));
    }
    return texts;
}

// The differences between what was printed and what was expected, a line each.
QString differences(const Texts &printed, const Texts &expected)
{
    QStringList lines;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (!printed.contains(it.key()))
            lines << it.key() + QStringLiteral(" is not filled");
        else if (printed[it.key()] != it.value())
            lines << it.key() + QStringLiteral(": «%1», expected «%2»").arg(printed[it.key()], it.value());
    }
    for (auto it = printed.cbegin(); it != printed.cend(); ++it) {
        if (!expected.contains(it.key()))
            lines << it.key() + QStringLiteral(" has no expected text (printed «%1»)").arg(it.value());
    }
    return lines.join(QLatin1Char('\n'));
}

QString soilName(std::int32_t id)
{
    return QStringLiteral("грунт %1").arg(id);
}

QString materialName(std::int32_t id)
{
    return QStringLiteral("материал %1").arg(id);
}

} // namespace

class TestReportValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void staticPlaceholders()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        vars.selectedSoilId = 7;
        vars.selectedMaterialId = 2;
        // Inputs as the user gives them (diameters in m, wall and
        // corrugation in mm, the axle mass in t), results as the calculation
        // holds them (the profile in cm, loads in MPa).
        const QVector<QPair<Slot, double>> values{
            {Slot::Dout, 0.4123},       {Slot::Din, 0.3517},       {Slot::s, 2.31},           {Slot::g, 9.81},
            {Slot::Lv, 26.17},          {Slot::Lsh, 33.53},        {Slot::Htr, 6.07},         {Slot::Eo, 1153},
            {Slot::Etau, 281.3},        {Slot::Mu, 0.3217},        {Slot::Sigmao, 20.41},     {Slot::Gamma, 19.13},
            {Slot::Egr, 5.09},          {Slot::m, 20.7},           {Slot::Hw, 4.11},          {Slot::F, 0.383},
            {Slot::P, 0.53013},         {Slot::S_cond, 0.66171},   {Slot::e, 30.3},           {Slot::y, 1.15731},
            {Slot::I, 2.18172},         {Slot::A, 2.22191},        {Slot::D, 37.2731},        {Slot::qc, 0.127132},
            {Slot::Go, 0.873172},       {Slot::Psi_gr, 0.0319573}, {Slot::Psi_t, 6.84731e-5}, {Slot::Psi_m, 0.0023},
            {Slot::Psi, 0.0411237},     {Slot::Eps_p, 0.0108391},  {Slot::Eps_c, 0.00309371}, {Slot::Eps_pp, 0.0357131},
            {Slot::Eps_pn, 0.00869691}, {Slot::Kug, 0.53},         {Slot::Kov, 0.971273},     {Slot::n, 0.5},
            {Slot::qgr, 0.100213},      {Slot::Qgv, 0.0211193},    {Slot::qvn, 0.122132},     {Slot::qvntr, 0.263171},
            {Slot::qust, 0.250613},     {Slot::Gammav, 11.3},      {Slot::qt, 0.0268413},     {Slot::Kok, 1.07},
            {Slot::Ktau, 1.25},         {Slot::Kw, 0.11},          {Slot::Kgr, 0.06},         {Slot::Kg, 0.15},
            {Slot::Ksigma, 1.03},       {Slot::Kzpsi, 1.09},       {Slot::Kz, 2.03},          {Slot::Gtau, 0.213071},
            {Slot::Kzu, 2.07},
        };
        for (const auto &[slot, value] : values)
            vars.setValue(slot, value);

        const Texts expected{
            // Inputs: as given, in the unit the placeholder names.
            {"$Dout.Value.mm$", "412,3"},
            {"$Dout.Value.cm$", "41,23"},
            {"$Din.Value.mm$", "351,7"},
            {"$Din.Value.cm$", "35,17"},
            {"$s.Value.mm$", "2,31"},
            {"$s.Value.cm$", "0,231"},
            {"$g.Value.m_c2$", "9,81"},
            {"$Lv.Value.mm$", "26,17"},
            {"$Lv.Value.cm$", "2,617"},
            {"$Lsh.Value.mm$", "33,53"},
            {"$Lsh.Value.cm$", "3,353"},
            {"$Htr.Value.m$", "6,07"},
            {"$Eo.Value.MPa$", "1153"},
            {"$Etau.Value.MPa$", "281,3"},
            {"$Mu.Value$", "0,3217"},
            {"$Sigmao.Value.MPa$", "20,41"},
            {"$Gamma.Value.kN_m3$", "19,13"},
            {"$Egr.Value.MPa$", "5,09"},
            {"$m.Value.ton$", "20,7"},
            {"$m.Value.kg$", "20700"},
            {"$Hw.Value.m$", "4,11"},
            {"$F.Value.m2$", "0,383"},
            {"$Gammav.Value.kN_m3$", "11,3"},
            {"$Psi_m.Value$", "0,0023"},
            {"$Psi_m.Value.Percent$", "0,23"},
            {"$n.Value$", "0,5"},
            {"$Kok.Value$", "1,07"},
            {"$Ktau.Value$", "1,25"},
            {"$Kw.Value$", "0,11"},
            {"$Kgr.Value$", "0,06"},
            {"$Kg.Value$", "0,15"},
            {"$Ksigma.Value$", "1,03"},
            {"$Kzpsi.Value$", "1,09"},
            {"$Kz.Value$", "2,03"},
            {"$Kug.Value$", "0,53"},
            {"$Kzu.Value$", "2,07"},
            // Results: four significant digits.
            {"$P.Value.MPa$", "0,5301"},
            {"$e.Value.mm$", "30,30"},
            {"$e.Value.cm$", "3,030"},
            {"$y.Value.cm$", "1,157"},
            {"$I.Value.cm4$", "2,182"},
            {"$A.Value.cm2$", "2,222"},
            {"$D.Value.cm$", "37,27"},
            {"$qc.Value.MPa$", "0,1271"},
            {"$Go.Value.MPa$", "0,8732"},
            {"$Psi_gr.Value$", "0,03196"},
            {"$Psi_gr.Value.Percent$", "3,196"},
            {"$Psi_t.Value$", "6,847·10⁻⁵"},
            {"$Psi_t.Value.Percent$", "0,006847"},
            {"$Psi.Value$", "0,04112"},
            {"$Psi.Value.Percent$", "4,112"},
            {"$Eps_p.Value$", "0,01084"},
            {"$Eps_p.Value.Percent$", "1,084"},
            {"$Eps_c.Value$", "0,003094"},
            {"$Eps_c.Value.Percent$", "0,3094"},
            {"$Eps_pp.Value$", "0,03571"},
            {"$Eps_pp.Value.Percent$", "3,571"},
            {"$Eps_pn.Value$", "0,008697"},
            {"$Eps_pn.Value.Percent$", "0,8697"},
            {"$Kov.Value$", "0,9713"},
            {"$qgr.Value.MPa$", "0,1002"},
            {"$Qgv.Value.MPa$", "0,02112"},
            {"$qvn.Value.MPa$", "0,1221"},
            {"$qvntr.Value.MPa$", "0,2632"},
            {"$qust.Value.MPa$", "0,2506"},
            {"$qt.Value.MPa$", "0,02684"},
            {"$Gtau.Value.MPa$", "0,2131"},
            // The soil over the axis (6,07 + 0,4123/2 = 6,27615 m) split at
            // the water table 4,11 m down: 4,11 m dry, 2,16615 m submerged.
            {"$DryDepth.m$", "4,110"},
            {"$SubmergedDepth.m$", "2,166"},
            // The verdicts: 0,66171 ≤ 1 and 0,122132 ≤ 0,250613 hold,
            // 0,263171 > 0,250613 fails.
            {"$S_cond.Value$", "0,6617"},
            {"$Not1$", ""},
            {"$S_cond.Rel$", "≤"},
            {"$Cond2.Value.MPa$", "0,1221"},
            {"$Cond2.Limit.MPa$", "0,2506"},
            {"$Not2$", ""},
            {"$Cond2.Rel$", "≤"},
            {"$Cond3.Value.MPa$", "0,2632"},
            {"$Cond3.Limit.MPa$", "0,2506"},
            {"$Not3$", "не "},
            {"$Cond3.Rel$", ">"},
            {"$SoilType.Value$", "грунт 7"},
            {"$Material.Value$", "материал 2"},
        };
        const Texts printed = filledPlaceholders(
            [&vars](TemplateFiller &filler) { StaticReport::fill(filler, vars, soilName, materialName); });
        QVERIFY2(printed == expected, qPrintable(differences(printed, expected)));
    }

    void hydraulicPlaceholders()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        vars.selectedMaterialId = 2;
        const QVector<QPair<Slot, double>> values{
            {Slot::Din, 0.3481},       {Slot::Dout, 0.4017},    {Slot::i_s, 0.0213},       {Slot::hs_d, 0.613},
            {Slot::g, 9.81},           {Slot::Ke, 0.0217},      {Slot::nu, 1.53e-6},       {Slot::Ls, 0.0172318},
            {Slot::V, 8.33174},        {Slot::a, 0.256173},     {Slot::Vf_begin, 8.01237}, {Slot::Vf_end, 3.21713},
            {Slot::Rsnf_Rsf, 1.11372}, {Slot::bs_end, 1.82131}, {Slot::Vnf, 3.51231},      {Slot::Kw_h, 0.0612831},
            {Slot::qs, 215.371},       {Slot::Rs, 0.0871321},   {Slot::Requ, 8712345},     {Slot::Rephi, 745123.4},
        };
        for (const auto &[slot, value] : values)
            vars.setValue(slot, value);
        const Texts expected{
            {"$TUBENAME1$", "труб Велтра-Норлекс"},
            {"$TUBENAME2$", "труба Велтра-Норлекс"},
            {"$Din.Val$", "0,3481"},
            {"$Dout.Val$", "0,4017"},
            {"$i_s.Val$", "0,0213"},
            {"$hs_d.Val$", "0,613"},
            {"$g.Val$", "9,81"},
            {"$Ke.Val$", "0,0217"},
            {"$nu.Val$", "1,53·10⁻⁶"},
            {"$Ls.Val$", "0,01723"},
            {"$Vf.Val$", "8,332"},
            {"$a.Val$", "0,2562"},
            {"$Vf_begin.Val$", "8,012"},
            {"$Vf_end.Val$", "3,217"},
            {"$Rsnf_Rsf.Val$", "1,114"},
            {"$bs_end.Val$", "1,821"},
            {"$Vnf.Val$", "3,512"},
            {"$Kw.Val$", "0,06128"},
            // The flow in l/s and in m³/s.
            {"$qs.Val_litr$", "215,4"},
            {"$qs.Val_m3$", "0,2154"},
            {"$Rs.Val$", "0,08713"},
            {"$Requ.Val$", "8,712·10⁶"},
            {"$Rephi.Val$", "745123"},
            // arccos(1 − 2·0,613) = arccos(−0,226) = 1,79877 rad.
            {"$alpha.Val$", "1,799"},
        };
        const Texts printed =
            filledPlaceholders([&vars](TemplateFiller &filler) { HydraulicReport::fill(filler, vars); });
        QVERIFY2(printed == expected, qPrintable(differences(printed, expected)));

        // The fiberglass words go with material 4 only.
        vars.selectedMaterialId = 4;
        const Texts fiberglass =
            filledPlaceholders([&vars](TemplateFiller &filler) { HydraulicReport::fill(filler, vars); });
        QCOMPARE(fiberglass.value(QStringLiteral("$TUBENAME1$")), QStringLiteral("стеклопластиковых труб"));
        QCOMPARE(fiberglass.value(QStringLiteral("$TUBENAME2$")), QStringLiteral("стеклопластиковая труба"));
    }

    void fiberglassPlaceholders()
    {
        FiberglassResults r;
        r.D = 0.3117;
        r.s = 0.01213;
        r.t = 0.02417;
        r.h = 2.113;
        r.fi = 31.7;
        r.Kk = 1.317;
        r.GammaGrSt = 16130;
        r.M = 20310;
        r.F = 0.3817;
        r.Hv = 1.217;
        r.Egr = 7.13e6;
        r.Et = 2.013e10;
        r.Sigmat = 5.017e8;
        r.MuSt = 0.3017;
        r.EtauSvSt = 1.253e9;
        r.a = 9.81;
        r.Qgr1 = 13437.3;
        r.Qgr2 = 3649.71;
        r.Qgr = 14123.7;
        r.P = 516317.2;
        r.Qtr = 72937.1;
        r.Qc = 86374.4;
        r.k = 1.7943e7;
        r.I = 8.0643e-6;
        r.n = 0.056123;
        r.Mras = 484.37;
        r.W = 3.3617e-4;
        r.m = 0.7;
        r.Mpr = 117613.7;
        r.A = 0.02426;
        r.Gt = 7.3801e7;
        r.psi = 0.010977;
        r.Kov = 0.99232;
        r.Kzu = 3;
        r.Gy = 3.7593e6;
        r.Qgv = 12651.3;
        r.Gammav = 11000;
        FiberglassReport::Choices choices;
        choices.materialId = 5;
        choices.soilId = 7;
        choices.laying = Laying::Trenchless;
        choices.wall = Wall::ThreeLayer;

        const Texts expected{
            {"$PIPETYPE$", "SN 10000"},
            {"$SOILE$", "грунт 7"},
            {"$TUBENAME$", "стеклопластиковых труб"},
            {"$WayOfLining$", "бестраншейный"},
            {"$WallKind$", "трёхслойная"},
            // Inputs in SI units and, where the placeholder divides, in MPa
            // and kN/m³.
            {"$D$", "0,3117"},
            {"$s$", "0,01213"},
            {"$t$", "0,02417"},
            {"$Et$", "2,013·10¹⁰"},
            {"$Et/1000000$", "20130"},
            {"$Sigmat$", "5,017·10⁸"},
            {"$Sigmat/1000000$", "501,7"},
            {"$MuSt$", "0,3017"},
            {"$EtauSvSt$", "1,253·10⁹"},
            {"$EtauSvSt/1000000$", "1253"},
            {"$Etausvst$", "1,253·10⁹"},
            {"$fi$", "31,7"},
            {"$Egr$", "7,13·10⁶"},
            {"$Egr/1000000$", "7,13"},
            {"$h$", "2,113"},
            {"$M$", "20310"},
            {"$F$", "0,3817"},
            {"$Hv$", "1,217"},
            {"$GammaGrSt$", "16130"},
            {"$GammaGrSt/1000$", "16,13"},
            {"$Kk$", "1,317"},
            {"$a$", "9,81"},
            {"$m$", "0,7"},
            {"$Kzu$", "3"},
            {"$Gammav$", "11000"},
            // Results: four significant digits, whole numbers of up to six
            // digits whole; in Pa, N·m, N/m³ and m⁴/m, and divided.
            {"$Qgr1$", "13437"},
            {"$Qgr2$", "3650"},
            {"$Qgr$", "14124"},
            {"$Qgr1/1000000$", "0,01344"},
            {"$Qgr2/1000000$", "0,003650"},
            {"$Qgr/1000000$", "0,01412"},
            {"$P$", "516317"},
            {"$Qtr$", "72937"},
            {"$Qtr/1000000$", "0,07294"},
            {"$Qc$", "86374"},
            {"$Qc/1000000$", "0,08637"},
            {"$k$", "1,794·10⁷"},
            {"$I$", "8,064·10⁻⁶"},
            {"$n$", "0,05612"},
            {"$Mras$", "484,4"},
            {"$Mras/1000$", "0,4844"},
            {"$W$", "0,0003362"},
            {"$Mpr$", "117614"},
            {"$Mpr/1000$", "117,6"},
            {"$A$", "0,02426"},
            {"$Gt$", "7,380·10⁷"},
            {"$Gt/1000000$", "73,80"},
            {"$psi$", "0,01098"},
            {"$Kov$", "0,9923"},
            {"$Gy$", "3,759·10⁶"},
            {"$Gy/1000000$", "3,759"},
            {"$Qgv$", "12651"},
            {"$Qgv/1000000$", "0,01265"},
            // D/2 + h = 0,15585 + 2,113 = 2,26885 m.
            {"$AxisDepth$", "2,269"},
            // The verdicts: 0,48437 ≤ 117,6137 kN·m, 0,010977 ≤ 0,05,
            // (86374,4 + 12651,3)·10⁻⁶ = 0,0990257 ≤ 3,7593 MPa.
            {"$Strength.Mras/1000$", "0,4844"},
            {"$Strength.Mpr/1000$", "117,6"},
            {"$NO$", ""},
            {"$Ovality.psi$", "0,01098"},
            {"$NOPSI$", ""},
            {"$Stability.QcQgv/1000000$", "0,09903"},
            {"$Stability.Gy/1000000$", "3,759"},
            {"$NOUU$", ""},
            {"$TrafficOff$", "площадь опирания колеса F = 0 м²"},
        };
        const Texts printed =
            filledPlaceholders([&](TemplateFiller &filler) { FiberglassReport::fill(filler, r, choices, soilName); });
        QVERIFY2(printed == expected, qPrintable(differences(printed, expected)));
    }

    // Two loaded pipes worked out by hand from the method's formulas (the
    // working below, to more digits than printed), held against the lines
    // of the report as the user saves it as text.
    void fiberglassWorkedCases_data()
    {
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("wall");
        QTest::addColumn<int>("material");
        QTest::addColumn<QStringList>("settings"); // key=value, over the catalogue's defaults
        QTest::addColumn<QStringList>("lines");

        // Trench, three-layer wall: D = 0,3 m, s = 0,012 m, t = 0,024 m,
        // Et = 20000 MPa, σt = 500 MPa, μ = 0,3, Eτ.св = 1250 MPa,
        // γ = 16 kN/m³, Eгр = 7 MPa; h = 2 m, M = 20 t, F = 0,38 m², Hв = 1 m.
        //   Qгр = 1,3·16000·2 = 41600 Pa
        //   P = 20000·9,81/0,38 = 516315,79 Pa
        //   Qтр = 516315,79/(1,155·2/0,38 + 1) = 516315,79/7,07895 = 72936,80 Pa
        //   Qc = 41600 + 72936,80 = 114536,80 Pa
        //   k = 0,769·7·10⁶/0,3 = 17943333 N/m³
        //   I = 0,012³/6 + 0,012·0,036²/2 = 2,88·10⁻⁷ + 7,776·10⁻⁶ = 8,064·10⁻⁶ m⁴/m
        //   16·Et·I/(D⁴·k) = 2580480/145341,0 = 17,7546; n = 1/(17,7546 + 0,0642) = 0,0561203
        //   Mрас = 0,0625·0,09·114536,80·(1 − 0,0031427) = 642,245 N·m
        //   W = 8,064·10⁻⁶/(0,012 + 0,012) = 3,36·10⁻⁴ m³/m; Mпр = 0,7·5·10⁸·3,36·10⁻⁴ = 117600 N·m
        //   A = 2·0,012 = 0,024 m
        //   Gt = [53,7·2·10¹⁰·8,064·10⁻⁶/(0,027·0,91)] / [63,22·2·10¹⁰·8,064·10⁻⁶/(0,09·1,25·10⁹·0,024) + 1]
        //      = 352473992,7/4,776 = 73799648 Pa
        //   ψ = 0,11·114536,80/(0,15·73799648 + 0,06·7·10⁶) + 0,01 = 12599,05/11489947 + 0,01 = 0,0110965
        //   Kов = 1 − 0,7·0,0110965 = 0,992232
        //   qдоп = √(7·10⁶·73799648)·0,5·0,992232/3 = 22728611·0,165372 = 3758706 Pa
        //   Qгв = (0,15 + 2 − 1)·11000 = 12650 Pa; Qc + Qгв = 0,1271868 MPa
        QTest::newRow("trench, three-layer, loaded, water")
            << 0 << 1 << 4 << QStringList{"h=2", "M=20", "FSt=0.38", "Hv=1"}
            << QStringList{
                   "Q_гр = 1,3·γ·h = 1,3·16000·2 = 41600 Па = 0,04160 МПа.",
                   "P = M·g/F = 20000·9,81/0,38 = 516316 Па;",
                   "= 516316/(1,155·2/0,38 + 1) = 72937 Па = 0,07294 МПа.",
                   "Q_c = Q_гр + Q_тр = 41600 + 72937 = 114537 Па = 0,1145 МПа.",
                   "k = 0,769·E_гр/D = 0,769·7·10⁶/0,3 = 1,794·10⁷ Н/м³.",
                   "= 0,012³/6 + 0,012·(0,024 + 0,012)²/2 = 8,064·10⁻⁶ м⁴/м:",
                   "= 1/(16·2·10¹⁰·8,064·10⁻⁶/(0,3⁴·1,794·10⁷) + 0,0642) = 0,05612.",
                   "= 0,0625·0,3²·114537·(1 − 0,056·0,05612) = 642,2 Н·м = 0,6422 кН·м.",
                   "W = I/(0,5·t + s) = 8,064·10⁻⁶/(0,5·0,024 + 0,012) = 0,0003360 м³/м.",
                   "= 0,7·5·10⁸·0,0003360 = 117600 Н·м = 117,6 кН·м,",
                   "A = 2·s = 2·0,012 = 0,02400 м.",
                   "= 7,380·10⁷ Па = 73,80 МПа.",
                   "= 0,01110 (коэффициент 0,11 — для траншейной прокладки).",
                   "K_ов = 1 − 0,7·ψ = 1 − 0,7·0,01110 = 0,9922.",
                   "= 3,759·10⁶ Па = 3,759 МПа.",
                   "= (0,3/2 + 2 − 1)·11000 = 12650 Па = 0,01265 МПа.",
                   "M_рас = 0,6422 кН·м при предельном изгибающем моменте M_пр = 117,6 кН·м",
                   "ψ = 0,01110 (требуется ψ ≤ 0,05)",
                   "Q_c + Q_гв = 0,1145 + 0,01265 = 0,1272 МПа при допустимой интенсивности внешних нагрузок q_доп = "
                   "3,759 МПа",
               };

        // Trenchless, single-layer wall: D = 0,4 m, s = 0,02 m, φ = 28°,
        // Kк = 1,2; h = 3 m, M = 11,5 t, F = 0,2 m², Hв = 2 m; the rest as above.
        //   tg(45° − 14°) = 0,600861; tg 28° = 0,531709; 2,718281^(−3,14·0,531709) = 0,188329
        //   Qгр1 = (2·0,600861 + 1)·0,75·16000·0,4/0,531709 = 19876,01 Pa
        //   Qгр2 = 1,5·1,2·16000·0,361034·0,188329·(0,2 + 3) = 6266,23 Pa; Qгр = 19876,01 Pa
        //   P = 11500·9,81/0,2 = 564075 Pa; Qтр = 564075/(1,155·3/0,2 + 1) = 564075/18,325 = 30781,72 Pa
        //   Qc = 19876,01 + 30781,72 = 50657,73 Pa
        //   k = 0,769·7·10⁶/0,4 = 13457500 N/m³; I = 0,02³/12 = 6,6667·10⁻⁷ m⁴/m
        //   16·Et·I/(D⁴·k) = 213333,3/344512 = 0,619233; n = 1/(0,619233 + 0,0642) = 1,463200
        //   Mрас = 0,0625·0,16·50657,73·(1 − 0,056·1,4632) = 465,069 N·m
        //   W = 0,02²/6 = 6,6667·10⁻⁵ m³/m; Mпр = 0,7·5·10⁸·6,6667·10⁻⁵ = 23333,3 N·m; A = 0,02 m
        //   Gt = [53,7·2·10¹⁰·6,6667·10⁻⁷/(0,064·0,91)] / [63,22·2·10¹⁰·6,6667·10⁻⁷/(0,16·1,25·10⁹·0,02) + 1]
        //      = 12293956/1,210733 = 10154140 Pa
        //   ψ = 0,13·50657,73/(0,15·10154140 + 0,06·7·10⁶) + 0,01 = 6585,50/1943121 + 0,01 = 0,0133891
        //   Kов = 1 − 0,7·0,0133891 = 0,990628; qдоп = √(7·10⁶·10154140)·0,5·0,990628/3 = 1391970 Pa
        //   Qгв = (0,2 + 3 − 2)·11000 = 13200 Pa; Qc + Qгв = 0,0638577 MPa
        QTest::newRow("trenchless, single-layer, loaded, water")
            << 1 << 0 << 5 << QStringList{"DSt=0.4", "sSt=0.02", "fi=28", "Kk=1.2", "h=3", "M=11.5", "FSt=0.2", "Hv=2"}
            << QStringList{
                   "= (2·tg(45° − 28°/2) + 1)·0,75·16000·0,4/tg 28° = 19876 Па = 0,01988 МПа;",
                   "= 1,5·1,2·16000·tg²(45° − 28°/2)·2,718281^(−3,14·tg 28°)·(0,4/2 + 3) = 6266 Па = 0,006266 МПа;",
                   "Q_гр = max(Q_гр1; Q_гр2) = 19876 Па = 0,01988 МПа.",
                   "P = M·g/F = 11500·9,81/0,2 = 564075 Па;",
                   "= 564075/(1,155·3/0,2 + 1) = 30782 Па = 0,03078 МПа.",
                   "Q_c = Q_гр + Q_тр = 19876 + 30782 = 50658 Па = 0,05066 МПа.",
                   "k = 0,769·E_гр/D = 0,769·7·10⁶/0,4 = 1,346·10⁷ Н/м³.",
                   "I = s³/12 = 0,02³/12 = 6,667·10⁻⁷ м⁴/м.",
                   "= 1/(16·2·10¹⁰·6,667·10⁻⁷/(0,4⁴·1,346·10⁷) + 0,0642) = 1,463.",
                   "= 0,0625·0,4²·50658·(1 − 0,056·1,463) = 465,1 Н·м = 0,4651 кН·м.",
                   "W = s²/6 = 0,02²/6 = 6,667·10⁻⁵ м³/м.",
                   "= 0,7·5·10⁸·6,667·10⁻⁵ = 23333 Н·м = 23,33 кН·м,",
                   "A = s = 0,02000 м.",
                   "= 1,015·10⁷ Па = 10,15 МПа.",
                   "= 0,01339 (коэффициент 0,13 — для бестраншейной прокладки).",
                   "K_ов = 1 − 0,7·ψ = 1 − 0,7·0,01339 = 0,9906.",
                   "= 1,392·10⁶ Па = 1,392 МПа.",
                   "= (0,4/2 + 3 − 2)·11000 = 13200 Па = 0,01320 МПа.",
                   "M_рас = 0,4651 кН·м при предельном изгибающем моменте M_пр = 23,33 кН·м",
                   "ψ = 0,01339 (требуется ψ ≤ 0,05)",
                   "Q_c + Q_гв = 0,05066 + 0,01320 = 0,06386 МПа",
               };
    }

    void fiberglassWorkedCases()
    {
        QFETCH(int, laying);
        QFETCH(int, wall);
        QFETCH(int, material);
        QFETCH(QStringList, settings);
        QFETCH(QStringList, lines);
        CalcSession session;
        session.setMode(1);
        session.setLaying(*FiberglassChoices::fromIndex<Laying>(laying));
        session.setWall(*FiberglassChoices::fromIndex<Wall>(wall));
        session.vars().selectedMaterialId = material;
        for (const QString &setting : settings) {
            const QStringList pair = setting.split(QLatin1Char('='));
            session.setInput(SlotKeys::fromKey(pair[0]).value(), pair[1].toDouble());
        }
        QVERIFY(session.run(CalcKind::Fiberglass).isCompleted());
        QTextDocument document;
        const CalcReport::Result result = CalcReport::build(session, CalcKind::Fiberglass, document);
        QVERIFY2(result.built(), qPrintable(result.message));
        QString text = PlainTextCodec::documentText(document);
        text.replace(QChar(0x00A0), QLatin1Char(' '));
        for (const QString &line : lines)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral("\n\n") + text));
    }

    void namesFromADatabaseThatCannotBeOpened_data()
    {
        QTest::addColumn<CalcKind>("kind");
        QTest::addColumn<bool>("built");
        QTest::newRow("static: the soil and the material are named") << CalcKind::Static << false;
        QTest::newRow("hydraulic: nothing is named") << CalcKind::Hydraulic << true;
    }
    // Ids without a choice are named from the reference database; one that
    // cannot be opened ends the report with its message, as the general
    // error box shows it.
    void namesFromADatabaseThatCannotBeOpened()
    {
        QFETCH(CalcKind, kind);
        QFETCH(bool, built);
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing.sqlite"));
        CalcSession session;
        session.referenceData().database().setDatabaseFile(missing);
        session.setMode(kind == CalcKind::Hydraulic ? 0 : 1);
        session.vars().selectedSoilId = 2;
        session.vars().selectedMaterialId = 1;
        QVERIFY(session.run(kind).isCompleted());
        QTextDocument document;
        const CalcReport::Result result = CalcReport::build(session, kind, document);
        if (built) {
            QVERIFY2(result.built(), qPrintable(result.message));
            return;
        }
        QCOMPARE(result.status, CalcReport::Status::DatabaseUnreadable);
        QCOMPARE(result.message, QStringLiteral("Не найден файл справочной базы данных: %1.").arg(missing));
    }
};

QTEST_MAIN(TestReportValues)
#include "tst_reportvalues.moc"
