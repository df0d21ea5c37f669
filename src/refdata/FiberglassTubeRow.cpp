#include "refdata/FiberglassTubeRow.h"

#include "refdata/DbQuery.h"

FiberglassTubeRow FiberglassTubeRow::read(const DbQuery &query)
{
    FiberglassTubeRow row;
    row.D = query.asDouble(QStringLiteral("D"));
    row.s = query.asDouble(QStringLiteral("s"));
    row.t = query.asDouble(QStringLiteral("t"));
    return row;
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
