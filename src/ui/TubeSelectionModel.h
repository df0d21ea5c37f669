#pragma once

#include "calc/CalcKind.h"
#include "calc/TubeSelection.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// The rows of a tube selection as the selection page lists them: passing
// rows on green, failing ones on red, the smallest passing tube in bold and
// said so.  Sorting goes by SortRole, the numbers themselves.
//  - static and fiberglass: number, tube, verdict, the greatest
//    utilisation, the governing check, the greatest depth and each check's
//    utilisation;
//  - hydraulic: number, tube, inside diameter, filling, velocity, verdict.
class TubeSelectionModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int SortRole = Qt::UserRole + 1;
    enum Column { ColumnNumber, ColumnTube, ColumnVerdict };

    explicit TubeSelectionModel(QObject *parent = nullptr);

    // Empties the table and sets its columns for the calculation.
    void setKind(CalcKind kind);
    CalcKind kind() const { return m_kind; }
    void setRows(const QVector<TubeSelection::Row> &rows);
    const QVector<TubeSelection::Row> &rows() const { return m_rows; }
    // The row of the smallest passing tube, or -1.
    int smallestPassing() const { return m_smallest; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The header and every row as shown, numbers without units or
    // percent signs, so that a spreadsheet takes them as numbers.
    QVector<QStringList> tableRows() const;

    static const QColor &passingColour();
    static const QColor &failingColour();

private:
    QString text(int row, int column) const;
    QVariant sortValue(int row, int column) const;

    CalcKind m_kind = CalcKind::Static;
    QStringList m_headers;
    QStringList m_checkKeys;
    QVector<TubeSelection::Row> m_rows;
    int m_smallest = -1;
};
