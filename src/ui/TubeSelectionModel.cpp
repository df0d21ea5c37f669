#include "ui/TubeSelectionModel.h"

#include "calc/ParameterSweep.h"
#include "calc/FiberglassResults.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"

#include <QColor>
#include <QFont>

#include <cmath>
#include <limits>

namespace {

enum StaticColumn { ColumnUtilisation = 3, ColumnGoverning, ColumnDepth, ColumnFirstCheck };
enum HydraulicColumn { ColumnDiameter = 3, ColumnFilling, ColumnVelocity };

const double kNone = -std::numeric_limits<double>::infinity();

QString percent(double utilisation)
{
    return std::isfinite(utilisation) ? NumberFormat::format(QStringLiteral("0.0"), utilisation * 100) : QString();
}

double orNone(double value)
{
    return std::isfinite(value) ? value : kNone;
}

QString checkTitle(const QString &key, CalcKind kind)
{
    const QVector<CalcCheck> checks =
        kind == CalcKind::Static ? CalcCheck::corrugated(CalcVariables()) : CalcCheck::fiberglass(FiberglassResults());
    for (const CalcCheck &check : checks) {
        if (check.key == key)
            return check.title;
    }
    return key;
}

} // namespace

TubeSelectionModel::TubeSelectionModel(QObject *parent) : QAbstractTableModel(parent)
{
    setKind(CalcKind::Static);
}

const QColor &TubeSelectionModel::passingColour()
{
    static const QColor colour(221, 242, 221);
    return colour;
}

const QColor &TubeSelectionModel::failingColour()
{
    static const QColor colour(250, 219, 216);
    return colour;
}

void TubeSelectionModel::setKind(CalcKind kind)
{
    beginResetModel();
    m_kind = kind;
    m_rows.clear();
    m_smallest = -1;
    m_headers = QStringList{QStringLiteral("№"), QStringLiteral("Труба"), QStringLiteral("Итог")};
    m_checkKeys.clear();
    if (kind == CalcKind::Hydraulic) {
        m_headers << QStringLiteral("Dвнутр, м") << QStringLiteral("Наполнение h/d") << QStringLiteral("Скорость, м/с");
    } else {
        m_headers << QStringLiteral("Использование, %") << QStringLiteral("Определяющая проверка")
                  << (kind == CalcKind::Static ? QStringLiteral("Наибольшая глубина Hтр, м")
                                               : QStringLiteral("Наибольшая глубина h, м"));
        m_checkKeys = ParameterSweep::checkKeys(kind);
        for (const QString &key : m_checkKeys)
            m_headers << QStringLiteral("%1, %").arg(checkTitle(key, kind));
    }
    endResetModel();
}

void TubeSelectionModel::setRows(const QVector<TubeSelection::Row> &rows)
{
    beginResetModel();
    m_rows = rows;
    m_smallest = TubeSelection::smallestPassing(rows);
    endResetModel();
}

int TubeSelectionModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TubeSelectionModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QString TubeSelectionModel::text(int row, int column) const
{
    const TubeSelection::Row &r = m_rows[row];
    switch (column) {
    case ColumnNumber:
        return QString::number(r.tube.number);
    case ColumnTube:
        return r.tube.name;
    case ColumnVerdict: {
        QString verdict;
        if (!r.outcome.isCompleted())
            verdict =
                r.outcome.displayText().isEmpty() ? QStringLiteral("расчёт не выполнен") : r.outcome.displayText();
        else if (m_kind == CalcKind::Hydraulic && !r.filling)
            verdict = QStringLiteral("не пропускает расход");
        else if (m_kind == CalcKind::Hydraulic && !r.fits)
            verdict = QStringLiteral("наполнение больше допустимого");
        else
            verdict = r.passes() ? QStringLiteral("подходит") : QStringLiteral("не подходит");
        if (row == m_smallest)
            verdict += QStringLiteral(" — наименьшая");
        return verdict;
    }
    default:
        break;
    }
    if (m_kind == CalcKind::Hydraulic) {
        switch (column) {
        case ColumnDiameter:
            return NumberFormat::format(QStringLiteral("0.0##"), r.tube.diameter());
        case ColumnFilling:
            return r.filling ? NumberFormat::format(QStringLiteral("0.000"), *r.filling) : QString();
        case ColumnVelocity:
            return r.filling ? NumberFormat::format(QStringLiteral("0.000"), r.velocity) : QString();
        default:
            return QString();
        }
    }
    switch (column) {
    case ColumnUtilisation:
        return percent(r.utilisation());
    case ColumnGoverning:
        return r.governing() ? r.governing()->title : QString();
    case ColumnDepth:
        return r.maxDepth ? NumberFormat::format(QStringLiteral("0.00"), *r.maxDepth) : QStringLiteral("нет");
    default:
        break;
    }
    const int check = column - ColumnFirstCheck;
    for (const CalcCheck &c : r.verdict.checks()) {
        if (check >= 0 && check < m_checkKeys.size() && c.key == m_checkKeys[check])
            return percent(c.utilisation);
    }
    return QString();
}

QVariant TubeSelectionModel::sortValue(int row, int column) const
{
    const TubeSelection::Row &r = m_rows[row];
    switch (column) {
    case ColumnNumber:
        return r.tube.number;
    case ColumnTube:
        return r.tube.diameter();
    case ColumnVerdict:
        // Passing first when sorted ascending, the smallest of them first.
        return (r.passes() ? 0 : 1) * 1000.0 + r.tube.diameter();
    default:
        break;
    }
    if (m_kind == CalcKind::Hydraulic) {
        switch (column) {
        case ColumnDiameter:
            return r.tube.diameter();
        case ColumnFilling:
            return r.filling ? *r.filling : -kNone;
        case ColumnVelocity:
            return r.filling ? r.velocity : kNone;
        default:
            return QVariant();
        }
    }
    switch (column) {
    case ColumnUtilisation:
        return orNone(r.utilisation());
    case ColumnGoverning:
        return text(row, column);
    case ColumnDepth:
        return r.maxDepth ? *r.maxDepth : kNone;
    default:
        break;
    }
    const int check = column - ColumnFirstCheck;
    for (const CalcCheck &c : r.verdict.checks()) {
        if (check >= 0 && check < m_checkKeys.size() && c.key == m_checkKeys[check])
            return orNone(c.utilisation);
    }
    return kNone;
}

QVariant TubeSelectionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return text(row, index.column());
    case SortRole:
        return sortValue(row, index.column());
    case Qt::BackgroundRole:
        return m_rows[row].passes() ? passingColour() : failingColour();
    case Qt::TextAlignmentRole: {
        const bool words = index.column() == ColumnTube || index.column() == ColumnVerdict
                           || (m_kind != CalcKind::Hydraulic && index.column() == ColumnGoverning);
        return words ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    case Qt::FontRole:
        if (row == m_smallest) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return QVariant();
    case Qt::ToolTipRole:
        if (row == m_smallest)
            return QStringLiteral("Наименьшая труба, которая подходит");
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant TubeSelectionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

QVector<QStringList> TubeSelectionModel::tableRows() const
{
    QVector<QStringList> rows{m_headers};
    for (int row = 0; row < m_rows.size(); ++row) {
        QStringList cells;
        for (int column = 0; column < m_headers.size(); ++column)
            cells << text(row, column);
        rows << cells;
    }
    return rows;
}
