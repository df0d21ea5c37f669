#include "calc/FiberglassResults.h"

const QVector<FiberglassResults::Field> &FiberglassResults::fields()
{
#define PIPECALC_FIELD(name) Field{#name, &FiberglassResults::name}
    static const QVector<Field> all = {
        PIPECALC_FIELD(D),      PIPECALC_FIELD(s),        PIPECALC_FIELD(t),    PIPECALC_FIELD(h),
        PIPECALC_FIELD(fi),     PIPECALC_FIELD(Kk),       PIPECALC_FIELD(GammaGrSt), PIPECALC_FIELD(M),
        PIPECALC_FIELD(F),      PIPECALC_FIELD(Hv),       PIPECALC_FIELD(Egr),  PIPECALC_FIELD(Et),
        PIPECALC_FIELD(Sigmat), PIPECALC_FIELD(MuSt),     PIPECALC_FIELD(EtauSvSt), PIPECALC_FIELD(a),
        PIPECALC_FIELD(Qgr1),   PIPECALC_FIELD(Qgr2),     PIPECALC_FIELD(Qgr),  PIPECALC_FIELD(P),
        PIPECALC_FIELD(Qtr),    PIPECALC_FIELD(Qc),       PIPECALC_FIELD(k),    PIPECALC_FIELD(I),
        PIPECALC_FIELD(n),      PIPECALC_FIELD(Mras),     PIPECALC_FIELD(W),    PIPECALC_FIELD(m),
        PIPECALC_FIELD(Mpr),    PIPECALC_FIELD(A),        PIPECALC_FIELD(Gt),   PIPECALC_FIELD(psi),
        PIPECALC_FIELD(Kov),    PIPECALC_FIELD(Kzu),      PIPECALC_FIELD(Gy),   PIPECALC_FIELD(Qgv),
        PIPECALC_FIELD(Gammav),
    };
#undef PIPECALC_FIELD
    return all;
}
