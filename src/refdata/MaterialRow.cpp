#include "refdata/MaterialRow.h"

#include "refdata/DbQuery.h"

MaterialRow MaterialRow::read(const DbQuery &query)
{
    MaterialRow row;
    row.TubeMaterialId = query.asInteger(QStringLiteral("TubeMaterialId"));
    row.Descr = query.asText(QStringLiteral("Descr"));
    row.Eo_MPa = query.asDouble(QStringLiteral("Eo_MPa"));
    row.Mu = query.asDouble(QStringLiteral("Mu"));
    row.Etau_MPa = query.asDouble(QStringLiteral("Etau_MPa"));
    row.Sigmao_MPa = query.asDouble(QStringLiteral("Sigmao_MPa"));
    return row;
}

const QStringList &MaterialRow::fieldNames()
{
    static const QStringList names{QStringLiteral("TubeMaterialId"), QStringLiteral("Descr"),
                                   QStringLiteral("Eo_MPa"),         QStringLiteral("Mu"),
                                   QStringLiteral("Sigmao_MPa"),     QStringLiteral("Etau_MPa")};
    return names;
}

QVariantList MaterialRow::values() const
{
    return {TubeMaterialId, Descr, Eo_MPa, Mu, Sigmao_MPa, Etau_MPa};
}
