#include "refdata/MaterialTableModel.h"

MaterialTableModel::MaterialTableModel(QObject *parent)
    : RowTableModel<MaterialRow>(
        {
            {QStringLiteral("Материал"), 200},
            {QStringLiteral("Eo, МПа"), 90},
            {QStringLiteral("Etau, МПа"), 90},
            // Poisson's ratio has no unit.
            {QStringLiteral("Mu"), 90},
            {QStringLiteral("Sigmao, МПа"), 100},
            {QString(), 168},
        },
        parent)
{}

int MaterialTableModel::findId(std::int32_t id) const
{
    return findRow([id](const MaterialRow &r) { return r.TubeMaterialId == id; });
}

QString MaterialTableModel::recordText(int row, int column) const
{
    const MaterialRow &r = this->row(row);
    switch (column) {
    case 0:
        return r.Descr;
    case 1:
        return number("0.###", r.Eo_MPa);
    case 2:
        return number("0.###", r.Etau_MPa);
    case 3:
        return number("0.###", r.Mu);
    default:
        return number("0.###", r.Sigmao_MPa);
    }
}
