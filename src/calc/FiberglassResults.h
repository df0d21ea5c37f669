#pragma once

#include <QString>
#include <QVector>

// Every input (in SI units) and every intermediate value of one fiberglass
// calculation, under the names the report prints them by.  A field that the
// chosen branch does not compute holds 0.
struct FiberglassResults
{
    double D = 0;         // mean diameter, m
    double s = 0;         // thickness of a fiberglass layer, m
    double t = 0;         // distance between the layers, m
    double h = 0;         // depth of the top of the pipe, m
    double fi = 0;        // angle of internal friction, degrees
    double Kk = 0;        // coefficient of correspondence
    double GammaGrSt = 0; // unit weight of the backfill, N/m3
    double M = 0;         // mass per axle, kg
    double F = 0;         // wheel contact area, m2
    double Hv = 0;        // level of the ground water, m
    double Egr = 0;       // deformation modulus of the soil, Pa
    double Et = 0;        // long-term modulus of elasticity in tension, Pa
    double Sigmat = 0;    // long-term bending strength, Pa
    double MuSt = 0;      // Poisson's ratio
    double EtauSvSt = 0;  // long-term modulus of the binder, Pa
    double a = 0;         // acceleration of gravity, m/s2
    double Qgr1 = 0;      // soil pressure, first trenchless formula, Pa
    double Qgr2 = 0;      // soil pressure, second trenchless formula, Pa
    double Qgr = 0;       // soil pressure used, Pa
    double P = 0;         // wheel contact pressure, Pa
    double Qtr = 0;       // traffic load at the pipe, Pa
    double Qc = 0;        // total vertical load, Pa
    double k = 0;         // 0.769 * Egr / D, N/m3
    double I = 0;         // moment of inertia of the wall per unit length, m4/m
    double n = 0;         // coefficient of the bending-moment formula
    double Mras = 0;      // largest design bending moment, N*m
    double W = 0;         // section modulus of the wall per unit length, m3/m
    double m = 0;         // coefficient of the limit moment
    double Mpr = 0;       // limit bending moment, N*m
    double A = 0;         // total thickness of the fiberglass layers, m
    double Gt = 0;        // stiffness term of ovality and stability, Pa
    double psi = 0;       // relative shortening of the vertical diameter
    double Kov = 0;       // coefficient for the ovality
    double Kzu = 0;       // safety factor on stability
    double Gy = 0;        // admissible intensity of the external loads, Pa
    double Qgv = 0;       // ground-water pressure at the horizontal diameter, Pa
    double Gammav = 0;    // unit weight for the ground-water pressure, N/m3

    struct Field
    {
        const char *name;
        double FiberglassResults::*member;
        const char16_t *description;
    };
    // All fields by name, in the order above.
    static const QVector<Field> &fields();
    // A field as the messages name it: "Gt («Жесткостной параметр трубы»)";
    // the name itself for a name that is no field.
    static QString label(const QString &name);

    // The checks of the report; each holds when it returns true.
    bool strengthHolds() const { return !(Mras > Mpr); }
    bool ovalityHolds() const { return !(psi > 0.05); }
    bool stabilityHolds() const { return !(Qc + Qgv > Gy); }
};
