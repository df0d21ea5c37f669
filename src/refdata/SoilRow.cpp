#include "refdata/SoilRow.h"

#include "refdata/DbRowReader.h"

Result<SoilRow> SoilRow::read(const DbQuery &query)
{
    DbRowReader field(query);
    SoilRow row;
    row.SoilId = field.integer(QStringLiteral("SoilId"));
    row.Descr = field.text(QStringLiteral("Descr"));
    row.Gamma_kN_m3 = field.number(QStringLiteral("Gamma_kN_m3"));
    row.Egr_MPa = field.number(QStringLiteral("Egr_MPa"));
    row.Fi = field.number(QStringLiteral("Fi"));
    row.Kk = field.number(QStringLiteral("Kk"));
    return field.row(row);
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
