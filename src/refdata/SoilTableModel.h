#pragma once

#include "refdata/RowTableModel.h"
#include "refdata/SoilRow.h"

// The grid of soils (soilsGrid).
class SoilTableModel : public RowTableModel<SoilRow>
{
public:
    explicit SoilTableModel(QObject *parent = nullptr);

    // The first row with the soil id; -1 when there is none.
    int findId(std::int32_t id) const;

protected:
    QString recordText(int row, int column) const override;
};
