#pragma once

#include "refdata/ReferenceTableModel.h"

#include <algorithm>
#include <utility>

// A reference grid model over a list of row records of one kind.  Row
// provides fieldNames() and values().
template <class Row>
class RowTableModel : public ReferenceTableModel
{
public:
    using ReferenceTableModel::ReferenceTableModel;

    const QVector<Row> &rows() const { return m_rows; }
    const Row &row(int index) const { return m_rows.at(index); }

    // Replaces all rows; the views repaint once.
    void setRows(QVector<Row> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    void clear() override { setRows({}); }

    // The first row for which the predicate holds; -1 when there is none.
    template <class Predicate>
    int findRow(Predicate predicate) const
    {
        const auto it = std::find_if(m_rows.cbegin(), m_rows.cend(), predicate);
        return it == m_rows.cend() ? -1 : static_cast<int>(it - m_rows.cbegin());
    }

    QStringList fieldNames() const override { return Row::fieldNames(); }
    QVariantList rowValues(int index) const override
    {
        return index >= 0 && index < m_rows.size() ? m_rows[index].values() : QVariantList();
    }

protected:
    int recordCount() const override { return static_cast<int>(m_rows.size()); }

private:
    QVector<Row> m_rows;
};
