#pragma once

#include <QString>

#include <optional>

// Every quantity of the calculation state lives in a numbered slot (1..Count) and
// is named by a case-sensitive key.  The list below is in slot order; the
// slot number of a key is its position in the list, counted from 1.
// clang-format off
#define PIPECALC_SLOT_KEYS(X) \
    X(Din) X(Dout) X(s) X(Lv) X(Lsh) X(Htr) \
    X(Eo) X(Etau) X(Mu) X(Sigmao) X(Gamma) X(Egr) \
    X(m) X(F) X(P) X(Hw) X(S_cond) X(MaterialNo) \
    X(MaterialGradeA) X(MaterialGradeB) X(e) X(y) X(I) X(A) \
    X(D) X(qc) X(Go) X(Psi_gr) X(Psi_t) X(Psi_m) \
    X(Psi) X(Eps_p) X(Eps_c) X(Eps_pp) X(Eps_pn) X(qgr) \
    X(qt) X(Qgv) X(qvn) X(qvntr) X(qust) X(n) \
    X(Gammav) X(Gtau) X(GammaGrSt) X(h) X(DSt) X(fi) \
    X(Qtr) X(Et) X(t) X(sSt) X(Sigmat) X(MuSt) \
    X(EtauSvSt) X(M) X(FSt) X(EgrSt) X(Hv) X(Kk) \
    X(Mras) X(Mpr) X(psiSt) X(gc) X(QgvSt) X(Gy) \
    X(Rs) X(a) X(Ls) X(i_s) X(hs_d) X(bs) \
    X(bs_end) X(g) X(V) X(Requ) X(Rephi) X(Vnf) \
    X(Vf_begin) X(Vf_end) X(nu) X(Rsnf_Rsf) X(qs) X(Kw_h) \
    X(Kzu) X(Kok) X(Ktau) X(Kw) X(Kgr) X(Kg) \
    X(Ksigma) X(Kzpsi) X(Kz) X(Ku) X(Ke) X(Kug) \
    X(Kov)
// clang-format on

enum class Slot : int {
    None = 0,
#define PIPECALC_SLOT_ENUM(key) key,
    PIPECALC_SLOT_KEYS(PIPECALC_SLOT_ENUM)
#undef PIPECALC_SLOT_ENUM
};

class SlotKeys
{
public:
    static constexpr int Count = 97;

    // The key of a slot ("Din" for slot 1); empty for a number outside 1..Count.
    static QString key(Slot slot);
    static QString key(int number);

    // The slot named by a key, matched with case; nothing for an unknown key.
    static std::optional<Slot> fromKey(const QString &key);

    static constexpr int number(Slot slot) { return static_cast<int>(slot); }
    static constexpr bool isValidNumber(int number) { return number >= 1 && number <= Count; }
};
