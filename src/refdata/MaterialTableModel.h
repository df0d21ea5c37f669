#pragma once

#include "refdata/MaterialRow.h"
#include "refdata/RowTableModel.h"

// The grid of pipe materials (materialsGrid).
class MaterialTableModel : public RowTableModel<MaterialRow>
{
public:
    explicit MaterialTableModel(QObject *parent = nullptr);

    // The first row with the material id; -1 when there is none.
    int findId(std::int32_t id) const;

protected:
    QString recordText(int row, int column) const override;
};
