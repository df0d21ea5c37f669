#include "refdata/TubeRow.h"

#include "refdata/DbQuery.h"

TubeRow TubeRow::read(const DbQuery &query)
{
    TubeRow row;
    row.Din = query.asDouble(QStringLiteral("Din"));
    row.Dout = query.asDouble(QStringLiteral("Dout"));
    row.s = query.asDouble(QStringLiteral("s"));
    row.Lv = query.asDouble(QStringLiteral("Lv"));
    row.Lsh = query.asDouble(QStringLiteral("Lsh"));
    return row;
}

const QStringList &TubeRow::fieldNames()
{
    static const QStringList names{QStringLiteral("Din"), QStringLiteral("Dout"), QStringLiteral("s"),
                                   QStringLiteral("Lv"), QStringLiteral("Lsh")};
    return names;
}

QVariantList TubeRow::values() const
{
    return {Din, Dout, s, Lv, Lsh};
}
