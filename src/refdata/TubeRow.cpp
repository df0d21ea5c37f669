#include "refdata/TubeRow.h"

#include "refdata/DbRowReader.h"

Result<TubeRow> TubeRow::read(const DbQuery &query)
{
    DbRowReader field(query);
    TubeRow row;
    row.Din = field.number(QStringLiteral("Din"));
    row.Dout = field.number(QStringLiteral("Dout"));
    row.s = field.number(QStringLiteral("s"));
    row.Lv = field.number(QStringLiteral("Lv"));
    row.Lsh = field.number(QStringLiteral("Lsh"));
    return field.row(row);
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
