#include "calc/PlausibleRanges.h"

#include "calc/FiberglassCalc.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"

#include <QSet>

namespace {

using Row = PlausibleRanges::Row;
using When = PlausibleRanges::When;
using Bound = PlausibleRanges::Bound;
constexpr unsigned H = PlausibleRanges::Hydraulic;
constexpr unsigned S = PlausibleRanges::Static;
constexpr unsigned F = PlausibleRanges::Fiberglass;

const char16_t kDiameterInMillimetres[] = u"не введён ли диаметр в миллиметрах?";
const char16_t kDiameterInMetres[] = u"диаметр вводится в метрах";
const char16_t kModulusInPascals[] = u"не введён ли модуль в кПа или Па?";
const char16_t kModulusInGigapascals[] = u"не введён ли модуль в ГПа?";
const char16_t kPoisson[] = u"коэффициент Пуассона лежит между 0 и 0,5";
const char16_t kWeightInNewtons[] = u"не введён ли удельный вес в Н/м^3?";
const char16_t kWeightInTonnes[] = u"не введён ли удельный вес в т/м^3 (г/см^3)?";
const char16_t kAboveGround[] = u"глубина отсчитывается от поверхности земли вниз";
const char16_t kTooDeep[] = u"глубже, чем применяется метод";
const char16_t kMassInKilograms[] = u"не введена ли масса в килограммах?";
const char16_t kNegativeMass[] = u"масса не может быть отрицательной";
const char16_t kAreaInSquareCentimetres[] = u"не введена ли площадь в см^2?";
const char16_t kSoftSoil[] = u"грунт слабее, чем применяется метод";

} // namespace

const QVector<Row> &PlausibleRanges::rows()
{
    static const QVector<Row> table = {
        // Inside diameter: gravity pipes of the method run from 50 mm
        // (house drains) to 4 m (the largest trunk sewers).  A diameter in
        // millimetres typed as metres lands far above the range.
        {Slot::Din, H | S, When::Always, Bound::Above, 4, kDiameterInMillimetres},
        {Slot::Din, H | S, When::Always, Bound::Below, 0.05, kDiameterInMetres},
        // Outside diameter of a corrugated pipe: the same range.
        {Slot::Dout, S, When::Always, Bound::Above, 4, kDiameterInMillimetres},
        {Slot::Dout, S, When::Always, Bound::Below, 0.05, kDiameterInMetres},
        // The corrugation's height (Dout - Din)/2 must be above zero, or the
        // geometry of the wall is no corrugation at all.
        {Slot::e, S, When::Always, Bound::NotAbove, 0,
         u"наружный диаметр Dнаруж не больше внутреннего Dвнутр; проверьте диаметры трубы", Slot::Dout},
        // Shell thickness of a corrugated wall, in millimetres: from a tenth of
        // a millimetre (a value in metres falls below) to 50 mm.
        {Slot::s, S, When::Always, Bound::Above, 50, u"толщина оболочки вводится в миллиметрах"},
        {Slot::s, S, When::Always, Bound::Below, 0.1, u"не введена ли толщина в метрах?"},
        // Width and pitch of the corrugation, in millimetres: 1 to 500 mm
        // covers every corrugated pipe; a value in metres falls below.
        {Slot::Lv, S, When::Always, Bound::Above, 500, u"размеры гофра вводятся в миллиметрах"},
        {Slot::Lv, S, When::Always, Bound::Below, 1, u"не введена ли ширина гофра в метрах?"},
        {Slot::Lsh, S, When::Always, Bound::Above, 500, u"размеры гофра вводятся в миллиметрах"},
        {Slot::Lsh, S, When::Always, Bound::Below, 1, u"не введён ли шаг гофра в метрах?"},
        // Depth of laying: below the surface (the formulas give negative
        // loads above it) and at most 30 m, the deepest trench the soil and
        // traffic formulas are meant for.
        {Slot::Htr, S, When::Always, Bound::Below, 0, kAboveGround},
        {Slot::Htr, S, When::Always, Bound::Above, 30, kTooDeep},
        // Moduli of polymer pipe materials: 100 MPa (soft polyethylene) to
        // 10 GPa; the long-term modulus from 20 MPa.  A modulus in GPa falls
        // below, one in kPa or Pa far above.
        {Slot::Eo, S, When::Always, Bound::Above, 10000, kModulusInPascals},
        {Slot::Eo, S, When::Always, Bound::Below, 100, kModulusInGigapascals},
        {Slot::Etau, S, When::Always, Bound::Above, 10000, kModulusInPascals},
        {Slot::Etau, S, When::Always, Bound::Below, 20, kModulusInGigapascals},
        // Poisson's ratio of an isotropic material lies between 0 and 0.5.
        {Slot::Mu, S, When::Always, Bound::Above, 0.5, kPoisson},
        {Slot::Mu, S, When::Always, Bound::Below, 0, kPoisson},
        // Design strength of polymers: 1 to 1000 MPa.
        {Slot::Sigmao, S, When::Always, Bound::Above, 1000, u"не введена ли прочность в кПа или Па?"},
        {Slot::Sigmao, S, When::Always, Bound::Below, 1, u"не введена ли прочность в ГПа?"},
        // Unit weight of soils: 10 kN/m3 (peat, submerged soil) to 30 kN/m3
        // (the densest rock fill).  In N/m3 it is a thousand times more, in
        // t/m3 about ten times less.
        {Slot::Gamma, S, When::Always, Bound::Above, 30, kWeightInNewtons},
        {Slot::Gamma, S, When::Always, Bound::Below, 10, kWeightInTonnes},
        // Deformation modulus of backfill: 0.5 MPa (loose clay) to 200 MPa
        // (compacted rock fill); in kPa it is a thousand times more.
        {Slot::Egr, S, When::Always, Bound::Above, 200, kModulusInPascals},
        {Slot::Egr, S, When::Always, Bound::Below, 0.5, kSoftSoil},
        // Axle mass: no vehicle has a negative one or more than 100 t on an
        // axle; a mass in kilograms typed as tonnes lands far above.
        {Slot::m, S, When::Always, Bound::Below, 0, kNegativeMass},
        {Slot::m, S, When::Always, Bound::Above, 100, kMassInKilograms},
        // Wheel contact area: a few tenths of a square metre; more than 2 m2
        // is an area in square centimetres.
        {Slot::F, S, When::Always, Bound::Above, 2, kAreaInSquareCentimetres},

        // Slope of a gravity pipeline: up to 0.5 (a fall of one in two).  A
        // slope in per cent or per mille lands above.
        {Slot::i_s, H, When::Always, Bound::Above, 0.5, u"не введён ли уклон в процентах или промилле?"},
        // Kinematic viscosity of water and sewage: about 1e-6 m2/s (0.3e-6 at
        // 100 °C, 1.8e-6 at 0 °C); a value in mm2/s (centistokes) is a
        // million times more.
        {Slot::nu, H, When::Always, Bound::Above, 1e-4, u"не введена ли вязкость в мм^2/с (сСт)?"},
        {Slot::nu, H, When::Always, Bound::Below, 1e-7, u"вязкость вводится в м^2/с"},
        // Equivalent roughness, in millimetres: 0.001 mm (drawn plastic) to
        // 10 mm (rough concrete); a value in metres falls below.
        {Slot::Ke, H, When::Always, Bound::Above, 10, u"шероховатость вводится в миллиметрах"},
        {Slot::Ke, H, When::Always, Bound::Below, 0.001, u"не введена ли шероховатость в метрах?"},
        // Velocity: the friction law is fitted to the flows of sewers, well
        // below 10 m/s; faster flows erode the pipe and carry air.
        {Slot::Vnf, H, When::Always, Bound::Above, 10,
         u"скорость вне области применения метода; проверьте диаметр и уклон"},

        // Mean diameter of a fiberglass pipe: as for the other pipes.
        {Slot::DSt, F, When::Always, Bound::Above, 4, kDiameterInMillimetres},
        {Slot::DSt, F, When::Always, Bound::Below, 0.05, kDiameterInMetres},
        // Cover depth: as for the other pipes.
        {Slot::h, F, When::Always, Bound::Below, 0, kAboveGround},
        {Slot::h, F, When::Always, Bound::Above, 30, kTooDeep},
        // With no soil over it and no traffic the pipe carries no load, and
        // every check passes at 0 %, which proves nothing.
        {Slot::h, F, When::NoTraffic, Bound::NotAbove, 0,
         u"труба не нагружена: над ней нет грунта, а транспорт не задан, и все проверки дают 0 %; "
         u"задайте глубину h или транспортную нагрузку"},
        // Unit weight of the backfill: as in the corrugated calculation.
        {Slot::GammaGrSt, F, When::Always, Bound::Above, 30, kWeightInNewtons},
        {Slot::GammaGrSt, F, When::Always, Bound::Below, 10, kWeightInTonnes},
        // Angle of internal friction of soils: 5° (soft clay) to 50° (rock
        // fill); an angle in radians falls below.
        {Slot::fi, F, When::Trenchless, Bound::Above, 50, u"больше, чем у любого грунта"},
        {Slot::fi, F, When::Trenchless, Bound::Below, 5, u"не введён ли угол в радианах?"},
        // Coefficient of correspondence of the trenchless formula: 1 to 1.6
        // for the soils of practice; 0.5 to 3 leaves room.
        {Slot::Kk, F, When::Trenchless, Bound::Above, 3, nullptr},
        {Slot::Kk, F, When::Trenchless, Bound::Below, 0.5, nullptr},
        // Axle mass and wheel area: as in the corrugated calculation.
        {Slot::M, F, When::Always, Bound::Below, 0, kNegativeMass},
        {Slot::M, F, When::Always, Bound::Above, 100, kMassInKilograms},
        {Slot::FSt, F, When::Always, Bound::Above, 2, kAreaInSquareCentimetres},
        // Long-term modulus of fiberglass: 1 GPa to 100 GPa.
        {Slot::Et, F, When::Always, Bound::Above, 100000, kModulusInPascals},
        {Slot::Et, F, When::Always, Bound::Below, 1000, kModulusInGigapascals},
        // Layers of a fiberglass wall, in metres: a layer 0.5 mm to 100 mm
        // thick, the core between the layers at most 200 mm; millimetres
        // typed as metres land far above.
        {Slot::t, F, When::ThreeLayerWall, Bound::Above, 0.2, u"не введено ли расстояние в миллиметрах?"},
        {Slot::t, F, When::ThreeLayerWall, Bound::Below, 0, u"расстояние между слоями не может быть отрицательным"},
        {Slot::sSt, F, When::Always, Bound::Above, 0.1, u"не введена ли толщина в миллиметрах?"},
        {Slot::sSt, F, When::Always, Bound::Below, 0.0005, u"толщина слоя вводится в метрах"},
        // Bending strength of fiberglass: 10 MPa to 2 GPa.
        {Slot::Sigmat, F, When::Always, Bound::Above, 2000, u"не введена ли прочность в кПа или Па?"},
        {Slot::Sigmat, F, When::Always, Bound::Below, 10, u"не введена ли прочность в ГПа?"},
        // Poisson's ratio: as for polymers.
        {Slot::MuSt, F, When::Always, Bound::Above, 0.5, kPoisson},
        {Slot::MuSt, F, When::Always, Bound::Below, 0, kPoisson},
        // Long-term modulus of the binder (resin): 100 MPa to 10 GPa.
        {Slot::EtauSvSt, F, When::Always, Bound::Above, 10000, kModulusInPascals},
        {Slot::EtauSvSt, F, When::Always, Bound::Below, 100, kModulusInGigapascals},
        // Deformation modulus of the soil: as in the corrugated calculation.
        {Slot::EgrSt, F, When::Always, Bound::Above, 200, kModulusInPascals},
        {Slot::EgrSt, F, When::Always, Bound::Below, 0.5, kSoftSoil},
        // Ground water above the surface: the pressure then counts a column
        // of water standing on the ground.
        {Slot::Hv, F, When::Always, Bound::Below, 0,
         u"уровень грунтовых вод выше поверхности земли; глубина уровня отсчитывается от поверхности вниз"},
    };
    return table;
}

namespace {

unsigned scopeOf(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return H;
    case CalcKind::Static:
        return S;
    case CalcKind::Fiberglass:
        return F;
    }
    return 0;
}

bool applies(When when, const CalcVariables &vars, Laying laying, Wall wall)
{
    switch (when) {
    case When::Always:
        return true;
    case When::Trenchless:
        return laying != Laying::Trench;
    case When::ThreeLayerWall:
        return wall == Wall::ThreeLayer;
    case When::NoTraffic:
        return vars.value(Slot::M) == 0.0 || vars.value(Slot::FSt) == 0.0;
    }
    return false;
}

bool outside(const Row &row, double value)
{
    switch (row.bound) {
    case Bound::Above:
        return value > row.limit;
    case Bound::Below:
        return value < row.limit;
    case Bound::NotAbove:
        return value <= row.limit;
    }
    return false;
}

QString number(double value)
{
    return NumberFormat::general(value, 6);
}

QString withUnits(const QString &number, const QString &units)
{
    if (units.isEmpty())
        return number;
    // Degrees follow the number without a space.
    if (units == QStringLiteral("°"))
        return number + units;
    return number + QLatin1Char(' ') + units;
}

} // namespace

QString PlausibleRanges::message(const Row &row, const CalcVariables &vars)
{
    const Variable &variable = vars[row.slot];
    const QString units = variable.units();
    QString text = QStringLiteral("%1 = %2 — ").arg(variable.shownName(), withUnits(number(variable.value()), units));
    const QString hint = row.hint ? QString::fromUtf16(row.hint) : QString();
    switch (row.bound) {
    case Bound::Above:
        text += QStringLiteral("больше ") + withUnits(number(row.limit), units);
        break;
    case Bound::Below:
        text += QStringLiteral("меньше ") + withUnits(number(row.limit), units);
        break;
    case Bound::NotAbove:
        return text + hint;
    }
    if (!hint.isEmpty())
        text += QStringLiteral("; ") + hint;
    return text;
}

QVector<CalcWarning> PlausibleRanges::warnings(const CalcVariables &vars, CalcKind kind, Laying laying, Wall wall)
{
    QVector<CalcWarning> found;
    QSet<int> judged;
    for (const Row &row : rows()) {
        if (!(row.scope & scopeOf(kind)) || judged.contains(int(row.slot)) || !applies(row.when, vars, laying, wall)
            || !outside(row, vars.value(row.slot)))
            continue;
        judged.insert(int(row.slot));
        const Slot blamed = row.blame == Slot::None ? row.slot : row.blame;
        found.append({SlotKeys::key(blamed), message(row, vars)});
    }
    return found;
}
