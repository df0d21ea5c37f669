#pragma once

#include "model/SlotKeys.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QVector>

class CalcVariables;
class Variable;

// The rows of an input or output grid.  Each row refers to a slot of the one
// variable set; every text is read from the variable when it is asked for,
// so the grid always shows the variable's current state.
class VariableGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Kind { Input, Output };
    enum Column { ColumnName, ColumnValue, ColumnUnits, ColumnDescription, ColumnCount };
    // How the values are shown: as they are, greyed as outdated, or not at
    // all (results of a run that did not complete, or of none).
    enum class Values { Shown, Outdated, Hidden };

    VariableGridModel(CalcVariables &vars, Kind kind, QObject *parent = nullptr);

    // Replaces all rows (one reset, so the grid repaints once and loses its
    // current row).
    void setRows(const QVector<Slot> &rows);
    void clear() { setRows({}); }
    const QVector<Slot> &rows() const { return m_rows; }
    Variable &variableAt(int row) const;

    // Tells the views that every value may have changed.
    void refresh();

    // Takes effect with the next refresh().
    void setValues(Values values);
    Values values() const { return m_values; }
    // The row of a slot, or -1.
    int rowOf(Slot slot) const { return int(m_rows.indexOf(slot)); }

    // The font of marked names in the input grid.
    void setSymbolFont(const QFont &font) { m_symbolFont = font; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text of a cell, as the grid shows it.
    QString cellText(int row, int column) const;

    static QColor rowColour(Kind kind, int row);
    static int defaultColumnWidth(Kind kind, int column);
    // A name drawn in the Greek symbol typeface: Latin letters become the
    // Greek letters that typeface puts in their place ("m" is mu, "j" phi).
    static QString symbolName(const QString &name);
    // The grids' own font, "MS Sans Serif" at 8 points.
    static QFont cellFont();

private:
    CalcVariables &m_vars;
    Kind m_kind;
    QVector<Slot> m_rows;
    QFont m_symbolFont;
    Values m_values = Values::Shown;
};
