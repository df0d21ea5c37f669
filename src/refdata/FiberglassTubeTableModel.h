#pragma once

#include "refdata/FiberglassTubeRow.h"
#include "refdata/RowTableModel.h"

// The grid of fiberglass tubes (fiberglassTubesGrid).
class FiberglassTubeTableModel : public RowTableModel<FiberglassTubeRow>
{
public:
    explicit FiberglassTubeTableModel(QObject *parent = nullptr);

protected:
    QString recordText(int row, int column) const override;
};
