#include "refdata/MaterialRow.h"

#include "refdata/DbRowReader.h"

Result<MaterialRow> MaterialRow::read(const DbQuery &query)
{
    DbRowReader field(query);
    MaterialRow row;
    row.TubeMaterialId = field.integer(QStringLiteral("TubeMaterialId"));
    row.Descr = field.text(QStringLiteral("Descr"));
    row.Eo_MPa = field.number(QStringLiteral("Eo_MPa"));
    row.Mu = field.number(QStringLiteral("Mu"));
    row.Etau_MPa = field.number(QStringLiteral("Etau_MPa"));
    row.Sigmao_MPa = field.number(QStringLiteral("Sigmao_MPa"));
    return field.row(row);
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
