#include "ui/VariableGridModel.h"

#include "model/CalcVariables.h"

VariableGridModel::VariableGridModel(CalcVariables &vars, Kind kind, QObject *parent)
    : QAbstractTableModel(parent), m_vars(vars), m_kind(kind), m_symbolFont(cellFont())
{}

void VariableGridModel::setRows(const QVector<Slot> &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

Variable &VariableGridModel::variableAt(int row) const
{
    return m_vars[m_rows.at(row)];
}

void VariableGridModel::setValues(Values values)
{
    m_values = values;
}

void VariableGridModel::refresh()
{
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1));
}

int VariableGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int VariableGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString VariableGridModel::cellText(int row, int column) const
{
    const Variable &v = variableAt(row);
    switch (column) {
    case ColumnName:
        if (m_kind == Kind::Input && v.hasSymbolMark())
            return symbolName(v.name());
        return v.name();
    case ColumnValue:
        return m_values == Values::Hidden ? QString() : v.formatValue();
    case ColumnUnits:
        return v.units();
    case ColumnDescription:
        return v.description();
    default:
        return QString();
    }
}

QVariant VariableGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), column);
    case Qt::BackgroundRole:
        return rowColour(m_kind, index.row());
    case Qt::ForegroundRole:
        if (m_values == Values::Outdated && column == ColumnValue)
            return QColor(128, 128, 128);
        return QVariant();
    case Qt::FontRole:
        if (m_kind == Kind::Input && column == ColumnName && variableAt(index.row()).hasSymbolMark())
            return m_symbolFont;
        return cellFont();
    case Qt::TextAlignmentRole: {
        const bool left = column == ColumnDescription || (m_kind == Kind::Output && column == ColumnName);
        return QVariant::fromValue(Qt::AlignVCenter | (left ? Qt::AlignLeft : Qt::AlignHCenter));
    }
    default:
        return QVariant();
    }
}

QVariant VariableGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ColumnName:
        return QStringLiteral("Параметр");
    case ColumnValue:
        return QStringLiteral("Значение");
    case ColumnUnits:
        return QStringLiteral("Размерность");
    case ColumnDescription:
        return QStringLiteral("Краткое описание");
    default:
        return QVariant();
    }
}

QColor VariableGridModel::rowColour(Kind kind, int row)
{
    const bool even = row % 2 == 0;
    if (kind == Kind::Input)
        return even ? QColor(218, 222, 227) : QColor(186, 187, 247);
    return even ? QColor(245, 223, 147) : QColor(173, 246, 255);
}

int VariableGridModel::defaultColumnWidth(Kind kind, int column)
{
    if (column == ColumnDescription)
        return kind == Kind::Input ? 438 : 446;
    return 100;
}

QString VariableGridModel::symbolName(const QString &name)
{
    return Variable::symbolName(name);
}

QFont VariableGridModel::cellFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    return font;
}
