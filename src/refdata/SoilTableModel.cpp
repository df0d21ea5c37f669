#include "refdata/SoilTableModel.h"

SoilTableModel::SoilTableModel(QObject *parent)
    : RowTableModel<SoilRow>(
        {
            {QStringLiteral("Грунт"), 150},
            {QStringLiteral("Gamma, кН/м^3"), 150},
            {QStringLiteral("Egr, МПа"), 150},
            {QStringLiteral("Fi, град."), 150, 150},
            {QStringLiteral("Kk"), 138},
        },
        parent)
{}

int SoilTableModel::findId(std::int32_t id) const
{
    return findRow([id](const SoilRow &r) { return r.SoilId == id; });
}

QString SoilTableModel::recordText(int row, int column) const
{
    const SoilRow &r = this->row(row);
    if (column == 0)
        return r.Descr;
    const double values[] = {r.Gamma_kN_m3, r.Egr_MPa, r.Fi, r.Kk};
    return number("0.###", values[column - 1]);
}
