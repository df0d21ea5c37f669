#pragma once

#include "refdata/RowTableModel.h"
#include "refdata/TubeRow.h"

// The grid of corrugated tubes (tubesGrid).
class TubeTableModel : public RowTableModel<TubeRow>
{
public:
    explicit TubeTableModel(QObject *parent = nullptr);

protected:
    QString recordText(int row, int column) const override;
};
