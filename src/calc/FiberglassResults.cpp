#include "calc/FiberglassResults.h"

const QVector<FiberglassResults::Field> &FiberglassResults::fields()
{
#define PIPECALC_FIELD(name, description)                                                                              \
    Field                                                                                                              \
    {                                                                                                                  \
#name, &FiberglassResults::name, description                                                                   \
    }
    static const QVector<Field> all = {
        PIPECALC_FIELD(D, u"Средний диаметр трубы"),
        PIPECALC_FIELD(s, u"Толщина слоя стеклопластика"),
        PIPECALC_FIELD(t, u"Расстояние между слоями из стеклопластика"),
        PIPECALC_FIELD(h, u"Расстояние по вертикали от верха трубы до поверхности грунта"),
        PIPECALC_FIELD(fi, u"Угол внутреннего трения грунта"),
        PIPECALC_FIELD(Kk, u"Коэффициент соответствия"),
        PIPECALC_FIELD(GammaGrSt, u"Объемный вес грунта засыпки"),
        PIPECALC_FIELD(M, u"Масса на одну ось"),
        PIPECALC_FIELD(F, u"Площадь опирания колеса"),
        PIPECALC_FIELD(Hv, u"Высота уровня грунтовых вод от уровня земли"),
        PIPECALC_FIELD(Egr, u"Модуль деформации грунта"),
        PIPECALC_FIELD(Et, u"Долговременный модуль упругости стеклопластика при растяжении"),
        PIPECALC_FIELD(Sigmat, u"Долговременная прочность стеклопластика при изгибе"),
        PIPECALC_FIELD(MuSt, u"Коэффициент Пуассона стеклопластика"),
        PIPECALC_FIELD(EtauSvSt, u"Долговременный модуль упругости связующего"),
        PIPECALC_FIELD(a, u"Ускорение свободного падения"),
        PIPECALC_FIELD(Qgr1, u"Давление грунта по первой формуле бестраншейной прокладки"),
        PIPECALC_FIELD(Qgr2, u"Давление грунта по второй формуле бестраншейной прокладки"),
        PIPECALC_FIELD(Qgr, u"Давление грунта на трубу"),
        PIPECALC_FIELD(P, u"Давление колеса на грунт"),
        PIPECALC_FIELD(Qtr, u"Нагрузка от транспорта на уровне трубы"),
        PIPECALC_FIELD(Qc, u"Суммарная вертикальная нагрузка на трубу"),
        PIPECALC_FIELD(k, u"Коэффициент постели грунта"),
        PIPECALC_FIELD(I, u"Момент инерции стенки на единицу длины"),
        PIPECALC_FIELD(n, u"Коэффициент в формуле изгибающего момента"),
        PIPECALC_FIELD(Mras, u"Наибольший расчетный изгибающий момент"),
        PIPECALC_FIELD(W, u"Момент сопротивления стенки на единицу длины"),
        PIPECALC_FIELD(m, u"Коэффициент предельного момента"),
        PIPECALC_FIELD(Mpr, u"Предельный изгибающий момент"),
        PIPECALC_FIELD(A, u"Суммарная толщина слоев стеклопластика"),
        PIPECALC_FIELD(Gt, u"Жесткостной параметр трубы"),
        PIPECALC_FIELD(psi, u"Относительное укорочение вертикального диаметра трубы"),
        PIPECALC_FIELD(Kov, u"Коэффициент, учитывающий овальность трубы"),
        PIPECALC_FIELD(Kzu, u"Коэффициент запаса на устойчивость"),
        PIPECALC_FIELD(Gy, u"Допустимая интенсивность внешних нагрузок"),
        PIPECALC_FIELD(Qgv, u"Давление грунтовых вод на уровне горизонтального диаметра трубы"),
        PIPECALC_FIELD(Gammav, u"Удельный вес воды для давления грунтовых вод"),
    };
#undef PIPECALC_FIELD
    return all;
}

QString FiberglassResults::label(const QString &name)
{
    for (const Field &field : fields()) {
        if (name == QLatin1String(field.name))
            return QStringLiteral("%1 («%2»)").arg(name, QString::fromUtf16(field.description));
    }
    return name;
}
