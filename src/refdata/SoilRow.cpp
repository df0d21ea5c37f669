#include "refdata/SoilRow.h"

#include "refdata/DbQuery.h"

SoilRow SoilRow::read(const DbQuery &query)
{
    SoilRow row;
    row.SoilId = query.asInteger(QStringLiteral("SoilId"));
    row.Descr = query.asText(QStringLiteral("Descr"));
    row.Gamma_kN_m3 = query.asDouble(QStringLiteral("Gamma_kN_m3"));
    row.Egr_MPa = query.asDouble(QStringLiteral("Egr_MPa"));
    row.Fi = query.asDouble(QStringLiteral("Fi"));
    row.Kk = query.asDouble(QStringLiteral("Kk"));
    return row;
}

const QStringList &SoilRow::fieldNames()
{
    static const QStringList names{QStringLiteral("SoilId"),  QStringLiteral("Descr"), QStringLiteral("Gamma_kN_m3"),
                                   QStringLiteral("Egr_MPa"), QStringLiteral("Fi"),    QStringLiteral("Kk")};
    return names;
}

QVariantList SoilRow::values() const
{
    return {SoilId, Descr, Gamma_kN_m3, Egr_MPa, Fi, Kk};
}
