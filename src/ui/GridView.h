#pragma once

#include <QTableView>

// A flat grid as the program's windows show it: whole-row selection, grid
// lines, 18-pixel rows and header, movable and resizable columns, the last
// column taking the width the others leave.
class GridView : public QTableView
{
    Q_OBJECT

public:
    explicit GridView(QWidget *parent = nullptr);

    // Column widths in pixels, in column order.
    void setColumnWidths(const QVector<int> &widths);
    // The widest each column may be made, in column order; 0 for no limit.
    void setColumnLimits(const QVector<int> &limits);

    // Shows a reference table, each column as wide as the table asks and no
    // wider than its limit.
    void setReferenceModel(QAbstractItemModel *model);

    // Fits the columns into the grid's width, with no sideways scrolling:
    // the last column takes what the others leave.
    void fitColumnsToWidth();

    // Indents the text of the first column, as a tree draws root items.
    void setFirstColumnIndent(int pixels);

    // The row that has the focus, or -1.
    int focusedRow() const;

    // Letters typed on a grid never move its current row.
    void keyboardSearch(const QString &search) override;

protected:
    // Getting the focus from the keyboard or a closed window does not make
    // the first row current: the row stays the one the user chose, or none.
    void focusInEvent(QFocusEvent *event) override;

private:
    QVector<int> m_columnLimits;
};
