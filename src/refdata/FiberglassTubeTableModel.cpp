#include "refdata/FiberglassTubeTableModel.h"

FiberglassTubeTableModel::FiberglassTubeTableModel(QObject *parent)
    : RowTableModel<FiberglassTubeRow>(
        {
            {QStringLiteral("D, м"), 100, 100},
            {QStringLiteral("s, м"), 125},
            {QStringLiteral("t, м"), 125},
            {QString(), 10},
        },
        parent)
{}

QString FiberglassTubeTableModel::recordText(int row, int column) const
{
    const FiberglassTubeRow &r = this->row(row);
    switch (column) {
    case 0:
        return number("0.0###", r.D);
    case 1:
        return number("0.0########", r.s);
    default:
        return number("0.0########", r.t);
    }
}
