#include "refdata/TubeTableModel.h"

TubeTableModel::TubeTableModel(QObject *parent)
    : RowTableModel<TubeRow>(
        {
            {QStringLiteral("Dнаруж, м"), 90},
            {QStringLiteral("Dвнутр, м"), 90},
            {QStringLiteral("Lв, мм"), 90},
            {QStringLiteral("Lш, мм"), 90},
            {QStringLiteral("s, мм"), 90},
            {QString(), 10},
        },
        parent)
{}

QString TubeTableModel::recordText(int row, int column) const
{
    const TubeRow &r = this->row(row);
    const double values[] = {r.Dout, r.Din, r.Lv, r.Lsh, r.s};
    return number("0.0##", values[column]);
}
