#include "refdata/FiberglassTubeRow.h"

#include "refdata/DbRowReader.h"

Result<FiberglassTubeRow> FiberglassTubeRow::read(const DbQuery &query)
{
    DbRowReader field(query);
    FiberglassTubeRow row;
    row.D = field.number(QStringLiteral("D"));
    row.s = field.number(QStringLiteral("s"));
    row.t = field.number(QStringLiteral("t"));
    return field.row(row);
}

const QStringList &FiberglassTubeRow::fieldNames()
{
    static const QStringList names{QStringLiteral("D"), QStringLiteral("s"), QStringLiteral("t")};
    return names;
}

QVariantList FiberglassTubeRow::values() const
{
    return {D, s, t};
}
