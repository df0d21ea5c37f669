#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QVector>

// The base of the four reference grid models.  Each row shows one row
// record, in the order loaded.  The model gives the views everything they
// draw: the centred header texts, the column widths in pixels (ColumnWidthRole
// and, where a column must not grow, ColumnMaxWidthRole of headerData), the
// cell texts and the row colours (Qt::BackgroundRole).  A column without a
// header is the spare column that fills the rest of the grid; its cells are
// empty.
class ReferenceTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        ColumnWidthRole = Qt::UserRole + 1,
        ColumnMaxWidthRole, // absent where the width is not bounded
    };

    struct Column
    {
        QString header;
        int width = 0;
        int maxWidth = 0; // 0: no bound
    };

    explicit ReferenceTableModel(QVector<Column> columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const QVector<Column> &columns() const { return m_columns; }

    // The text of a cell as the grid shows it; empty outside the rows and
    // in the spare column.
    QString cellText(int row, int column) const;
    // Even rows (0, 2, ...) and odd rows have different colours.
    static QColor rowColour(int row);

    // The stored values of the rows, for export: the record's column names
    // and one value per name.
    virtual QStringList fieldNames() const = 0;
    virtual QVariantList rowValues(int row) const = 0;

    virtual void clear() = 0;

protected:
    virtual int recordCount() const = 0;
    // A cell of a row that exists, in a column that exists.
    virtual QString recordText(int row, int column) const = 0;

    // A number in a format of the number format language.
    static QString number(const char *format, double value);

private:
    QVector<Column> m_columns;
};
