#include "model/CalcViews.h"

QVector<Slot> CalcViews::inputRows(CalcView view, bool trenchless)
{
    switch (view) {
    case CalcView::Hydraulic:
        return {Slot::Dout, Slot::Din, Slot::i_s, Slot::hs_d, Slot::nu, Slot::Ke};
    case CalcView::Static: {
        QVector<Slot> rows;
        for (int n = 1; n <= 12; ++n)
            rows.append(static_cast<Slot>(n));
        rows << Slot::F << Slot::m << Slot::Hw;
        return rows;
    }
    case CalcView::Fiberglass: {
        QVector<Slot> rows{Slot::GammaGrSt, Slot::h, Slot::DSt};
        if (trenchless)
            rows << Slot::fi;
        rows << Slot::M << Slot::FSt << Slot::Et << Slot::t << Slot::sSt << Slot::Sigmat << Slot::MuSt << Slot::EtauSvSt
             << Slot::EgrSt << Slot::Hv;
        if (trenchless)
            rows << Slot::Kk;
        return rows;
    }
    }
    return {};
}

QVector<Slot> CalcViews::outputRows(CalcView view)
{
    switch (view) {
    case CalcView::Hydraulic:
        return {Slot::Vnf, Slot::qs};
    case CalcView::Static:
        return {Slot::S_cond, Slot::qust, Slot::qgr, Slot::qvntr};
    case CalcView::Fiberglass:
        return {Slot::Mras, Slot::Mpr, Slot::psiSt, Slot::gc, Slot::QgvSt, Slot::Gy};
    }
    return {};
}

QString CalcViews::headerText(CalcView view)
{
    return view == CalcView::Hydraulic ? QStringLiteral("Гидравлический расчёт") : QStringLiteral("Статический расчёт");
}
