// The three calculations at points spread over the range of their inputs,
// against values worked out by hand, apart from the program: the Python
// working at the end of this file, written from the method as it stands (the
// soil above the water table weighing Gamma and below it 11 kN/m3, the
// three-layer wall as two skins about the wall's axis), gave every number in
// the tables below, to nine significant figures.  A term, a factor, a
// constant or a unit conversion gone astray in a calculation moves some
// value by more than one part in 10^8.
#include "CalcTestSupport.h"

#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/CalcVariables.h"

#include <QtTest>

using namespace CalcTestSupport;

class TestCrossCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hydraulic_data()
    {
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("large sewer, 60 %")
            << "Din=1.2 i_s=0.003 hs_d=0.6 nu=1.31e-06 Ke=0.5"
            << "Rs=0.3 Kw_h=0.708520834 Rsnf_Rsf=1.11057682 a=0.301424034 Ls=0.0191493082 V=3.68848835 "
               "Requ=1200000 Rephi=1744269.13 bs_end=2.02602408 Vf_end=1.90416047 Vnf=2.03686319 qs=1443.16";
        QTest::newRow("small drain, 30 %")
            << "Din=0.1 i_s=0.05 hs_d=0.3 nu=1.01e-06 Ke=0.01"
            << "Rs=0.025 Kw_h=0.00198168356 Rsnf_Rsf=0.683763871 a=0.246326437 Ls=0.0206882734 V=4.74181668 "
               "Requ=5000000 Rephi=240271.635 bs_end=1.75500086 Vf_end=2.42674352 Vnf=1.85259845 "
               "qs=3.6712639";
        QTest::newRow("medium, 95 %")
            << "Din=0.5 i_s=0.008 hs_d=0.95 nu=1e-06 Ke=0.1"
            << "Rs=0.125 Kw_h=0.192679172 Rsnf_Rsf=1.1458061 a=0.277402918 Ls=0.0188332349 V=4.16710143 "
               "Requ=2500000 Rephi=1044605.8 bs_end=1.9370343 Vf_end=2.08921159 Vnf=2.28540958 qs=440.350825";
        QTest::newRow("rough, 10 %")
            << "Din=0.8 i_s=0.015 hs_d=0.1 nu=1.49e-06 Ke=2"
            << "Rs=0.2 Kw_h=0.0261601774 Rsnf_Rsf=0.254080539 a=0.323775642 Ls=0.0287439436 V=8.19094288 "
               "Requ=200000 Rephi=1435211.76 bs_end=2.13901213 Vf_end=2.6730819 Vnf=1.1448945 qs=29.9506432";
        QTest::newRow("viscous liquid, half full")
            << "Din=0.4 i_s=0.02 hs_d=0.5 nu=5e-05 Ke=0.02"
            << "Rs=0.1 Kw_h=0.0628318531 Rsnf_Rsf=1 a=0.255296096 Ls=0.0159585648 V=9.83547094 Requ=10000000 "
               "Rephi=37836.975 bs_end=1.47092009 Vf_end=4.72962187 Vnf=4.72962187 qs=297.170907";
    }

    void hydraulic()
    {
        QFETCH(QString, inputs);
        QFETCH(QString, expected);
        CalcVariables vars;
        vars.applyCatalogue();
        assign(vars, inputs);
        QVERIFY(calculateHydraulic(vars).isCompleted());
        const QString wrong = mismatches(expected, slotsOf(vars));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        // The velocity to the power 2 is kept as it was first worked out.
        QCOMPARE(vars.value(Slot::Vf_begin), vars.value(Slot::V));
    }

    // Inputs not given are the catalogue's: Din 0.348, Dout 0.4, s 2, Lv 26.1,
    // Lsh 33.5, Htr 6, Eo 1150, Etau 280, Mu 0.32, Sigmao 20, Gamma 19, Egr 5,
    // m 20, F 0.38, Hw 4.
    void staticCorrugated_data()
    {
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("shallow: n 0.5, table above the pipe")
            << "Htr=0.8 Hw=0.5"
            << "e=26 n=0.5 P=0.516315789 y=1.15333333 I=2.17612533 A=2.22 D=37.1066667 qt=0.150460123 "
               "qgr=0.015 qc=0.165460123 Go=0.874727038 Psi_gr=0.00478306281 Psi_t=0.0588551939 "
               "Psi=0.0656382567 Eps_p=0.0174227943 Eps_c=0.00402818383 Eps_pp=0.0357142857 "
               "Eps_pn=0.00869565217 S_cond=0.951079381 Gtau=0.212977018 Kov=0.95405322 Qgv=0.0033 "
               "qvn=0.0183 qust=0.174039964 qvntr=0.168760123";
        QTest::newRow("exactly 1 m down, table at 1 m")
            << "Htr=1 Hw=1"
            << "e=26 n=1 P=0.516315789 y=1.15333333 I=2.17612533 A=2.22 D=37.1066667 qt=0.12781759 "
               "qgr=0.0212 qc=0.14901759 Go=0.874727038 Psi_gr=0.00676006211 Psi_t=0.0326058432 "
               "Psi=0.0413659053 Eps_p=0.0109800244 Eps_c=0.00362788468 Eps_pp=0.0357142857 "
               "Eps_pn=0.00869565217 S_cond=0.724647421 Gtau=0.212977018 Kov=0.971043866 Qgv=0 qvn=0.0212 "
               "qust=0.250512979 qvntr=0.14901759";
        QTest::newRow("160 mm, another material and soil, no water")
            << "Din=0.139 Dout=0.16 s=1.1 Lv=12.5 Lsh=17 Htr=3 Hw=0 Eo=1400 Etau=330 Mu=0.4 Sigmao=24 Gamma=20 Egr=18 "
               "m=10 F=0.2"
            << "e=10.5 n=1 P=0.4905 y=0.451185771 I=0.0859244707 A=0.5566 D=14.8023715 qt=0.0267667121 "
               "qgr=0.0616 qc=0.0883667121 Go=1.39475227 Psi_gr=0.00656990043 Psi_t=0.00228382641 "
               "Psi=0.0108537268 Eps_p=0.00282527582 Eps_c=0.00142681506 Eps_pp=0.0363636364 "
               "Eps_pn=0.00857142857 S_cond=0.244156842 Gtau=0.328763035 Kov=0.992402391 Qgv=0 qvn=0.0616 "
               "qust=0.603539299 qvntr=0.0883667121";
        QTest::newRow("630 mm, table between top and axis")
            << "Din=0.544 Dout=0.63 s=3.4 Lv=48 Lsh=62 Htr=4.5 Hw=4.7 Eo=1400 Etau=350 Mu=0.4 Sigmao=26"
            << "e=43 n=1 P=0.516315789 y=1.89195519 I=18.2266668 A=6.6776 D=58.1839104 qt=0.0351770506 "
               "qgr=0.090565 qc=0.125742051 Go=1.33576446 Psi_gr=0.0248872238 Psi_t=0.00773331095 "
               "Psi=0.0346205348 Eps_p=0.00961389963 Eps_c=0.00242603299 Eps_pp=0.0371428571 "
               "Eps_pn=0.00928571429 S_cond=0.52010085 Gtau=0.333941115 Kov=0.975765626 Qgv=0 qvn=0.090565 "
               "qust=0.315213981 qvntr=0.125742051";
        QTest::newRow("1200 mm deep in sand, table below the pipe")
            << "Din=1.03 Dout=1.2 s=5.5 Lv=95 Lsh=120 Htr=10 Hw=12 Gamma=17 Egr=12 m=11.5 F=0.2"
            << "e=85 n=1 P=0.564075 y=3.77319588 I=235.598801 A=21.34 D=110.546392 qt=0.0096012766 "
               "qgr=0.1802 qc=0.189801277 Go=0.999878886 Psi_gr=0.0284804798 Psi_t=0.00121397986 "
               "Psi=0.0316944596 Eps_p=0.00923859655 Eps_c=0.00512982673 Eps_pp=0.0357142857 "
               "Eps_pn=0.00869565217 S_cond=0.848610777 Gtau=0.243448772 Kov=0.977813878 Qgv=0 qvn=0.1802 "
               "qust=0.417821345 qvntr=0.189801277";
    }

    void staticCorrugated()
    {
        QFETCH(QString, inputs);
        QFETCH(QString, expected);
        CalcVariables vars;
        vars.applyCatalogue();
        assign(vars, inputs);
        QVERIFY(calculateStatic(vars).isCompleted());
        const QString wrong = mismatches(expected, slotsOf(vars));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // Laying 0 trench, 1 trenchless; wall 0 single layer, 1 three layers.
    // Inputs not given are the catalogue's: GammaGrSt 16, h 0, DSt 0.3, fi 30,
    // Kk 1.3, M 0, FSt 0, EgrSt 7, t 0.024, sSt 0.012, Et 20000, Sigmat 500,
    // MuSt 0.3, EtauSvSt 1250, Hv 0.
    void fiberglass_data()
    {
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("wall");
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2.4 m under 1.2 m, trench, three layers")
            << 0 << 1
            << "DSt=2.4 h=1.2 t=0.04 sSt=0.018 Et=14000 Sigmat=350 MuSt=0.28 EtauSvSt=1100 GammaGrSt=18.5 EgrSt=12 "
               "fi=34 Kk=1.1 M=11.5 FSt=0.2 Hv=0.5"
            << "Qgr=28860 P=564075 Qtr=71131.7781 Qc=99991.7781 k=3845000 I=3.1248e-05 n=8.3984748 "
               "Mras=19067.107 W=0.000822315789 Mpr=201467.368 A=0.036 Gt=1644543.34 psi=0.0213782001 "
               "Kov=0.98503526 Gy=729312.758 Qgv=20900";
        QTest::newRow("2.4 m under 1.2 m, trenchless, single layer")
            << 1 << 0
            << "DSt=2.4 h=1.2 t=0.04 sSt=0.018 Et=14000 Sigmat=350 MuSt=0.28 EtauSvSt=1100 GammaGrSt=18.5 EgrSt=12 "
               "fi=34 Kk=1.1 M=11.5 FSt=0.2 Hv=0.5"
            << "Qgr1=101869.504 Qgr2=2491.14494 Qgr=101869.504 P=564075 Qtr=71131.7781 Qc=173001.282 "
               "k=3845000 I=4.86e-07 n=15.3719912 Mras=8667.478 W=5.4e-05 Mpr=13230 A=0.018 Gt=28571.1338 "
               "psi=0.0410515141 Kov=0.97126394 Gy=94785.166 Qgv=20900";
        QTest::newRow("0.5 m under 12 m, trenchless: the second formula")
            << 1 << 1 << "DSt=0.5 h=12 fi=20 Kk=1.5 M=8 FSt=0.1 Hv=15"
            << "Qgr1=39570.5173 Qgr2=68952.7632 Qgr=68952.7632 P=784800 Qtr=5621.7765 Qc=74574.5397 "
               "k=10766000 I=8.064e-06 n=0.256462437 Mras=1148.49231 W=0.000336 Mpr=117600 A=0.024 "
               "Gt=32269078.6 psi=0.0118429702 Kov=0.991709921 Gy=2484137.95 Qgv=0";
    }

    void fiberglass()
    {
        QFETCH(int, laying);
        QFETCH(int, wall);
        QFETCH(QString, inputs);
        QFETCH(QString, expected);
        CalcVariables vars;
        vars.applyCatalogue();
        assign(vars, inputs);
        const FiberglassRun run = calculateFiberglass(vars, laying == 1 ? Laying::Trenchless : Laying::Trench,
                                                      wall == 1 ? Wall::ThreeLayer : Wall::SingleLayer);
        QVERIFY(run.outcome.isCompleted());
        const QString wrong = mismatches(expected, fieldsOf(run.results));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }
};

QTEST_APPLESS_MAIN(TestCrossCheck)
#include "tst_crosscheck.moc"

/* The working, in Python 3.  show() prints a line of the tables above:
   show(corrugated(Htr=0.8, Hw=0.5)), show(fiberglass(False, True, DSt=0.5, h=12, fi=20, ...)),
   show(hydraulic(1.2, 0.003, 0.6, 1.31e-6, 0.5)[0]); hydraulic() gives besides the number of
   steps the exponent took to settle.

from math import acos, sin, tan, sqrt, log10, pi

def hydraulic(Din, i_s, hs_d, nu, Ke):
    al = acos(1 - 2 * hs_d)                   # half the angle of the wetted segment
    r = dict(Rs=Din / 4, Kw_h=(al / 4 - sin(2 * al) / 8) * Din**2, Rsnf_Rsf=1 - sin(2 * al) / (2 * al))
    a = r['a'] = 0.3124 * Ke**0.0516
    Ls = r['Ls'] = 0.2 * (Ke / (Din * 1000))**a   # roughness over the diameter, both in mm
    X = r['V'] = 8 * 9.81 * i_s * r['Rs'] / Ls     # velocity at full filling to the power b
    Requ = r['Requ'] = 500 * Din * 1000 / Ke
    b, steps = 2.0, 0
    while True:
        steps += 1
        W = X**(1 / b)
        Re = W * Din / nu
        b = 3 - log10(Requ) / log10(Re)
        if abs(W**b - X) / X < 0.001:
            break
    r.update(Rephi=Re, bs_end=b, Vf_end=W, Vnf=W * r['Rsnf_Rsf']**((1 + a) / b))
    r['qs'] = r['Vnf'] * r['Kw_h'] * 1000
    return r, steps

def corrugated(Din=0.348, Dout=0.4, s=2.0, Lv=26.1, Lsh=33.5, Htr=6.0, Eo=1150, Etau=280, Mu=0.32,
               Sigmao=20, Gamma=19, Egr=5, m=20, F=0.38, Hw=4.0):
    e_mm = (Dout - Din) / 2 * 1000
    n = 1.0 if Htr >= 1 else 0.5
    P = m * 1000 * 9.81 / F / 1e6                 # MPa
    lv, lsh, s, e = Lv / 10, Lsh / 10, s / 10, e_mm / 10   # the profile in cm
    y = ((lv + e) * e - 2 * s * (lv + e - lsh)) / (2 * (lsh + e - 2 * s))
    I = ((lv * e**3 - (e - 2 * s)**3 * (lv - 2 * s) + (2 * s)**3 * (lsh - lv)) / 12
         + (e / 2 - y)**2 * 2 * s * (lv + e - 2 * s) + (y - s)**2 * 2 * s * (lsh - lv))
    A = 2 * s * (lsh + e - 2 * s)
    D = 2 * y + Din * 100
    qt = P / (1 + 1.155 * Htr / F)
    axis = Htr + Dout / 2
    dry = min(Hw, axis) if Hw > 0 else axis       # above the water table; below it 11 kN/m3
    qgr = (dry * Gamma + (axis - dry) * 11) / 1000
    ring = D**3 * (1 - Mu**2) * lsh
    Go, Gtau = 53.7 * Eo * I / ring, 53.7 * Etau * I / ring
    Psi_gr = 1.25 * 0.11 * qgr / (0.15 * Go + 0.06 * Egr)
    Psi_t = 0.11 * qt / (0.15 * Go + 0.06 * n * Egr)
    Psi = Psi_gr + Psi_t + 0.002
    Eps_p, Eps_c = 8.54 * y / D * Psi, (qgr + qt) * D * lsh / (2 * Eo * A)
    Eps_pp, Eps_pn = Sigmao / (2 * Etau), Sigmao / (2 * Eo)
    Kov = 1 - 0.7 * Psi
    Qgv = max(0.0, Htr - Hw) * 11 / 1000 if Hw > 0 else 0.0
    return dict(e=e_mm, n=n, P=P, y=y, I=I, A=A, D=D, qt=qt, qgr=qgr, qc=qgr + qt, Go=Go, Psi_gr=Psi_gr,
                Psi_t=Psi_t, Psi=Psi, Eps_p=Eps_p, Eps_c=Eps_c, Eps_pp=Eps_pp, Eps_pn=Eps_pn,
                S_cond=Eps_p / Eps_pp + Eps_c / Eps_pn, Gtau=Gtau, Kov=Kov, Qgv=Qgv, qvn=qgr + Qgv,
                qust=sqrt(n * Egr * Gtau) * 0.5 * Kov / 2, qvntr=qgr + qt + Qgv)

def fiberglass(trench, three, GammaGrSt=16, h=0, DSt=0.3, fi=30, Kk=1.3, M=0, FSt=0, EgrSt=7, t=0.024,
               sSt=0.012, Et=20000, Sigmat=500, MuSt=0.3, EtauSvSt=1250, Hv=0):
    tg = lambda degrees: tan(degrees * pi / 180)
    g, D, s, Egr, Et = GammaGrSt * 1000, DSt, sSt, EgrSt * 1e6, Et * 1e6
    r = {}
    if trench:
        Qgr = 1.3 * g * h
    else:
        r['Qgr1'] = (2 * tg(45 - fi / 2) + 1) * 0.75 * g * D / tg(fi)
        r['Qgr2'] = 1.5 * Kk * g * tg(45 - fi / 2)**2 * 2.718281**(-3.14 * tg(fi)) * (D / 2 + h)
        Qgr = max(r['Qgr1'], r['Qgr2'])
    P = M * 1000 * 9.81 / FSt if M and FSt else 0.0
    Qtr = P / (1.155 * h / FSt + 1) if P else 0.0
    Qc = Qgr + Qtr
    k = 0.769 * Egr / D
    # three layers: two skins s thick whose middles lie (t + s)/2 from the wall's axis
    I = s**3 / 6 + 2 * s * ((t + s) / 2)**2 if three else s**3 / 12
    n = 1 / (16 * Et * I / (D**4 * k) + 0.0642)
    W = I / (t / 2 + s) if three else s**2 / 6
    A = 2 * s if three else s
    Gt = 53.7 * Et * I / (D**3 * (1 - MuSt**2)) / (63.22 * Et * I / (D**2 * EtauSvSt * 1e6 * A) + 1)
    psi = (0.11 if trench else 0.13) * Qc / (0.15 * Gt + 0.06 * Egr) + 0.01
    Kov = 1 - 0.7 * psi
    axis = D / 2 + h
    r.update(Qgr=Qgr, P=P, Qtr=Qtr, Qc=Qc, k=k, I=I, n=n, Mras=D**2 / 16 * Qc * (1 - 0.056 * n), W=W,
             Mpr=0.7 * Sigmat * 1e6 * W, A=A, Gt=Gt, psi=psi, Kov=Kov, Gy=sqrt(Egr * Gt) * 0.5 * Kov / 3,
             Qgv=(axis - Hv) * 11000 if Hv != 0 and axis > Hv else 0.0)
    return r

def show(values):
    print(' '.join('%s=%.9g' % item for item in values.items()))
*/
