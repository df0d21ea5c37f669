// The three calculations checked against a second, plain implementation of
// their formulas in extended precision, on inputs away from the worked
// examples.  Agreement to 1e-12 relative shows that no term, factor or unit
// conversion went astray.
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/TCalcVariables.h"

#include <QtTest>

#include <cmath>
#include <map>
#include <string>

using Values = std::map<std::string, long double>;

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

Values referenceHydraulic(long double din, long double is, long double h, long double nu, long double ke)
{
    Values out;
    const long double rs = din / 4;
    const long double t = 1 - 2 * h;
    const long double alpha = (t < -1 || t > 1) ? 0 : std::acos(t);
    out["Kw_h"] = (alpha / 4 - std::sin(2 * alpha) / 8) * din * din;
    out["Rsnf_Rsf"] = alpha == 0 ? 0 : 1 - std::sin(2 * alpha) / (2 * alpha);
    out["a"] = 0.3124L * std::pow(ke, 0.0516L);
    out["Ls"] = 0.2L * std::pow(ke / (4 * rs * 1000), out["a"]);
    const long double x = 8 * 9.81L * is * rs / out["Ls"];
    out["V"] = x;
    const long double requ = 2000 * rs * 1000 / ke;
    long double b = 2, w = 0, rephi = 0;
    for (int i = 0; i < 100; ++i) {
        w = std::pow(x, 1 / b);
        rephi = w * 4 * rs / nu;
        b = 3 - std::log10(requ) / std::log10(rephi);
        if (std::fabs(std::pow(w, b) - x) / x < 0.001L)
            break;
    }
    out["Requ"] = requ;
    out["Rephi"] = rephi;
    out["bs_end"] = b;
    out["Vf_end"] = w;
    out["Vnf"] = w * std::pow(out["Rsnf_Rsf"], (1 + out["a"]) / b);
    out["qs"] = out["Vnf"] * out["Kw_h"] * 1000;
    return out;
}

Values referenceStatic(const TCalcVariables &v)
{
    auto in = [&](Slot s) { return static_cast<long double>(v.value(s)); };
    Values o;
    const long double emm = (in(Slot::Dout) - in(Slot::Din)) * 500;
    const long double lv = in(Slot::Lv) / 10, lsh = in(Slot::Lsh) / 10, s = in(Slot::s) / 10, e = emm / 10;
    const long double htr = in(Slot::Htr), hw = in(Slot::Hw), f = in(Slot::F);
    const long double n = htr >= 1 ? 1 : 0.5L;
    const long double p = 0.001L * in(Slot::m) * 9.81L / f;
    const long double y = ((lv + e) * e - 2 * s * (lv + e - lsh)) / ((lsh + e - 2 * s) * 2);
    const long double inertia = (lv * std::pow(e, 3) - std::pow(e - 2 * s, 3) * (lv - 2 * s)
                                 + std::pow(2 * s, 3) * (lsh - lv)) / 12
                                + std::pow(e / 2 - y, 2) * 2 * s * (lv + e - 2 * s)
                                + std::pow(y - s, 2) * 2 * s * (lsh - lv);
    const long double area = 2 * s * (lsh + e - 2 * s);
    const long double d = 2 * y + in(Slot::Din) * 100;
    const long double qt = p / (1 + 1.155L * htr / f);
    // Dry soil down to the water table, submerged soil below it to the axis.
    const long double axis = htr + in(Slot::Dout) / 2;
    const long double dry = hw > 0 ? std::min(hw, axis) : axis;
    const long double qgr = (dry * in(Slot::Gamma) + (axis - dry) * 11) / 1000;
    const long double ring = std::pow(d, 3) * (1 - std::pow(in(Slot::Mu), 2)) * lsh;
    const long double go = 53.7L * in(Slot::Eo) * inertia / ring;
    const long double psiGr = 1.25L * 0.11L * qgr / (0.15L * go + 0.06L * in(Slot::Egr));
    const long double psiT = 0.11L * qt / (0.15L * go + 0.06L * n * in(Slot::Egr));
    const long double psi = psiGr + psiT + 0.002L;
    const long double epsP = 8.54L * y / d * psi;
    const long double epsC = (qgr + qt) * d * lsh / (2 * in(Slot::Eo) * area);
    const long double epsPp = in(Slot::Sigmao) / (2 * in(Slot::Etau));
    const long double epsPn = in(Slot::Sigmao) / (2 * in(Slot::Eo));
    const long double gtau = 53.7L * in(Slot::Etau) * inertia / ring;
    const long double kov = 1 - 0.7L * psi;
    const long double qgv = hw > 0 && htr > hw ? (htr - hw) * 11 / 1000 : 0;
    o["e"] = emm;
    o["n"] = n;
    o["P"] = p;
    o["y"] = y;
    o["I"] = inertia;
    o["A"] = area;
    o["D"] = d;
    o["qt"] = qt;
    o["qgr"] = qgr;
    o["qc"] = qgr + qt;
    o["Go"] = go;
    o["Psi_gr"] = psiGr;
    o["Psi_t"] = psiT;
    o["Psi"] = psi;
    o["Eps_p"] = epsP;
    o["Eps_c"] = epsC;
    o["Eps_pp"] = epsPp;
    o["Eps_pn"] = epsPn;
    o["S_cond"] = epsP / epsPp + epsC / epsPn;
    o["Gtau"] = gtau;
    o["Kov"] = kov;
    o["Qgv"] = qgv;
    o["qvn"] = qgr + qgv;
    o["qust"] = std::sqrt(n * in(Slot::Egr) * gtau) * 0.5L * kov / 2;
    o["qvntr"] = qgr + qt + qgv;
    return o;
}

Values referenceFiberglass(const TCalcVariables &v, bool trench, bool threeLayer)
{
    auto in = [&](Slot s) { return static_cast<long double>(v.value(s)); };
    auto tanDeg = [](long double x) { return std::tan(x * kPi / 180); };
    Values o;
    const long double gamma = in(Slot::GammaGrSt) * 1000, d = in(Slot::DSt), h = in(Slot::h), fi = in(Slot::fi);
    const long double f = in(Slot::FSt), mass = in(Slot::M) * 1000;
    long double qgr = 1.3L * gamma * h;
    if (!trench) {
        const long double k1 = tanDeg(45 - fi / 2);
        const long double q1 = (2 * k1 + 1) * (0.75L * gamma * d / tanDeg(fi));
        const long double q2 = 1.5L * in(Slot::Kk) * gamma * k1 * k1 * std::pow(2.718281L, -3.14L * tanDeg(fi))
                               * (d / 2 + h);
        o["Qgr1"] = q1;
        o["Qgr2"] = q2;
        qgr = std::max(q1, q2);
    }
    const long double p = (mass == 0 || f == 0) ? 0 : mass * 9.81L / f;
    const long double qtr = p == 0 ? 0 : p / (1.155L * h / f + 1);
    const long double qc = qgr + qtr;
    const long double egr = in(Slot::EgrSt) * 1e6L, et = in(Slot::Et) * 1e6L;
    const long double s = in(Slot::sSt), t = in(Slot::t);
    const long double k = 0.769L * egr / d;
    const long double inertia = threeLayer ? s * s * s / 6 + s * (t + s) * (t + s) / 2 : s * s * s / 12;
    const long double n = 1 / (16 * et * inertia / (std::pow(d, 4) * k) + 0.0642L);
    const long double mras = d * d * qc * (1 - 0.056L * n) / 16;
    const long double w = threeLayer ? inertia / (t / 2 + s) : s * s / 6;
    const long double mpr = 0.7L * in(Slot::Sigmat) * 1e6L * w;
    const long double area = threeLayer ? 2 * s : s;
    const long double binder = in(Slot::EtauSvSt) * 1e6L;
    const long double mu = in(Slot::MuSt);
    const long double gt = (53.7L * et * inertia / (d * d * d * (1 - mu * mu)))
                           / (63.22L * et * inertia / (d * d * binder * area) + 1);
    const long double psi = (trench ? 0.11L : 0.13L) * qc / (0.15L * gt + 0.06L * egr) + 0.01L;
    const long double kov = 1 - 0.7L * psi;
    const long double gy = std::sqrt(egr * gt) * 0.5L * kov / 3;
    const long double hv = in(Slot::Hv);
    const long double qgv = (hv != 0 && d / 2 + h > hv) ? (d / 2 + h - hv) * 11000 : 0;
    o["Qgr"] = qgr;
    o["P"] = p;
    o["Qtr"] = qtr;
    o["Qc"] = qc;
    o["k"] = k;
    o["I"] = inertia;
    o["n"] = n;
    o["Mras"] = mras;
    o["W"] = w;
    o["Mpr"] = mpr;
    o["A"] = area;
    o["Gt"] = gt;
    o["psi"] = psi;
    o["Kov"] = kov;
    o["Gy"] = gy;
    o["Qgv"] = qgv;
    return o;
}

bool agrees(long double expected, double actual)
{
    const long double diff = std::fabs(expected - static_cast<long double>(actual));
    return diff <= 1e-12L * std::max(std::fabs(expected), static_cast<long double>(std::fabs(actual)))
           || diff < 1e-300L;
}

void setAll(TCalcVariables &vars, const QString &assignments)
{
    for (const QString &assignment : assignments.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = assignment.split(QLatin1Char('='));
        vars.setValue(*SlotKeys::fromKey(parts[0]), parts[1].toDouble());
    }
}

} // namespace

class TestCrossCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hydraulic_data()
    {
        QTest::addColumn<QString>("inputs");
        QTest::newRow("large sewer, 60%") << "Din=1.2 i_s=0.003 hs_d=0.6 nu=1.31e-6 Ke=0.5";
        QTest::newRow("small drain, 30%") << "Din=0.1 i_s=0.05 hs_d=0.3 nu=1.01e-6 Ke=0.01";
        QTest::newRow("medium, 95%") << "Din=0.5 i_s=0.008 hs_d=0.95 nu=1.0e-6 Ke=0.1";
        QTest::newRow("rough, 10%") << "Din=0.8 i_s=0.015 hs_d=0.1 nu=1.49e-6 Ke=2";
        QTest::newRow("warm water") << "Din=0.3 i_s=0.01 hs_d=0.75 nu=0.66e-6 Ke=0.05";
        QTest::newRow("oil-like") << "Din=0.4 i_s=0.02 hs_d=0.5 nu=5e-5 Ke=0.02";
    }

    void hydraulic()
    {
        QFETCH(QString, inputs);
        TCalcVariables vars;
        vars.InitCatalogue();
        setAll(vars, inputs);
        const Values expected = referenceHydraulic(vars.value(Slot::Din), vars.value(Slot::i_s),
                                                   vars.value(Slot::hs_d), vars.value(Slot::nu),
                                                   vars.value(Slot::Ke));
        QVERIFY(CalcHydraulic(vars).isCompleted());
        for (const auto &[key, value] : expected) {
            const double actual = vars.value(*SlotKeys::fromKey(QString::fromStdString(key)));
            QVERIFY2(agrees(value, actual), qPrintable(QStringLiteral("%1: %2 vs %3").arg(
                                                QString::fromStdString(key)).arg(double(value), 0, 'g', 17)
                                                .arg(actual, 0, 'g', 17)));
        }
    }

    void staticCorrugated_data()
    {
        QTest::addColumn<QString>("inputs");
        QTest::newRow("110 mm, shallow") << "Din=0.094 Dout=0.11 s=0.9 Lv=6.8 Lsh=9.5 Htr=0.8 Hw=0 m=10 F=0.2";
        QTest::newRow("630 mm, deep water")
            << "Din=0.544 Dout=0.63 s=3.4 Lv=48 Lsh=62 Htr=4.5 Hw=1.5 Eo=1400 Etau=350 Mu=0.4 Sigmao=26";
        QTest::newRow("1200 mm, sand") << "Din=1.03 Dout=1.2 s=5.5 Lv=95 Lsh=120 Htr=3 Hw=5 Gamma=17 Egr=12";
        QTest::newRow("level below zero: no ground water") << "Hw=-0.5 Htr=2.2 m=12 F=0.5";
        QTest::newRow("exactly one metre") << "Htr=1 Hw=1";
    }

    void staticCorrugated()
    {
        QFETCH(QString, inputs);
        TCalcVariables vars;
        vars.InitCatalogue();
        setAll(vars, inputs);
        const Values expected = referenceStatic(vars);
        QVERIFY(CalcStatic(vars).isCompleted());
        for (const auto &[key, value] : expected) {
            const double actual = vars.value(*SlotKeys::fromKey(QString::fromStdString(key)));
            QVERIFY2(agrees(value, actual), qPrintable(QString::fromStdString(key)));
        }
    }

    void fiberglass_data()
    {
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("wall");
        const QString deep = QStringLiteral("DSt=1.2 h=3.5 M=11.5 FSt=0.2 Hv=1.2 EgrSt=12 GammaGrSt=18.5 fi=34 Kk=1.1");
        const QString large = QStringLiteral("DSt=2.4 h=1.2 t=0.04 sSt=0.018 Et=14000 Sigmat=350 MuSt=0.28 EtauSvSt=1100");
        for (int laying : {0, 1}) {
            for (int wall : {0, 1}) {
                const QByteArray tag = QByteArray(laying ? "trenchless" : "trench") + (wall ? ", three" : ", single");
                QTest::newRow(QByteArray("deep, " + tag).constData()) << deep << laying << wall;
                QTest::newRow(QByteArray("large, " + tag).constData()) << large << laying << wall;
            }
        }
        QTest::newRow("shallow trenchless, no water") << "DSt=0.5 h=0.6 fi=20 Kk=1.5 M=8 FSt=0.1" << 1 << 1;
    }

    void fiberglass()
    {
        QFETCH(QString, inputs);
        QFETCH(int, laying);
        QFETCH(int, wall);
        TCalcVariables vars;
        vars.InitCatalogue();
        setAll(vars, inputs);
        const Values expected = referenceFiberglass(vars, laying == 0, wall == 1);
        const FiberglassRun run = CalcFiberglass(vars, laying, wall);
        QVERIFY(run.outcome.isCompleted());
        for (const auto &[key, value] : expected) {
            double actual = 0;
            for (const auto &f : FiberglassResults::fields()) {
                if (key == f.name)
                    actual = run.results.*f.member;
            }
            QVERIFY2(agrees(value, actual), key.c_str());
        }
        QVERIFY(agrees(expected.at("Mras") / 1000, vars.value(Slot::Mras)));
        QVERIFY(agrees(expected.at("Gy") / 1e6L, vars.value(Slot::Gy)));
    }
};

QTEST_APPLESS_MAIN(TestCrossCheck)
#include "tst_crosscheck.moc"
