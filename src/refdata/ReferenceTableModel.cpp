#include "refdata/ReferenceTableModel.h"

#include "model/NumberFormat.h"

#include <QBrush>

ReferenceTableModel::ReferenceTableModel(QVector<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{}

int ReferenceTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : recordCount();
}

int ReferenceTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ReferenceTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= recordCount() || index.column() >= columnCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::BackgroundRole:
        return QBrush(rowColour(index.row()));
    default:
        return QVariant();
    }
}

QVariant ReferenceTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column &column = m_columns[section];
    switch (role) {
    case Qt::DisplayRole:
        return column.header;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case ColumnWidthRole:
        return column.width;
    case ColumnMaxWidthRole:
        return column.maxWidth > 0 ? QVariant(column.maxWidth) : QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags ReferenceTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QString ReferenceTableModel::cellText(int row, int column) const
{
    if (row < 0 || row >= recordCount() || column < 0 || column >= columnCount() || m_columns[column].header.isEmpty())
        return QString();
    return recordText(row, column);
}

QColor ReferenceTableModel::rowColour(int row)
{
    return row % 2 == 0 ? QColor(218, 222, 227) : QColor(186, 187, 247);
}

QString ReferenceTableModel::number(const char *format, double value)
{
    return NumberFormat::format(QString::fromLatin1(format), value);
}
