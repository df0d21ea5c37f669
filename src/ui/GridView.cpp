#include "ui/GridView.h"

#include "refdata/ReferenceTableModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

class IndentDelegate : public QStyledItemDelegate
{
public:
    IndentDelegate(int indent, QObject *parent) : QStyledItemDelegate(parent), m_indent(indent) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() != 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
        // The background spans the whole cell; only the text moves right.
        QStyleOptionViewItem background = opt;
        background.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, opt.widget);
        opt.rect.adjust(m_indent, 0, 0, 0);
        opt.backgroundBrush = Qt::NoBrush;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    }

private:
    int m_indent;
};

} // namespace

GridView::GridView(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setMinimumSectionSize(18);
    QHeaderView *header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setStretchLastSection(true);
    header->setFixedHeight(18);
    header->setHighlightSections(false);
    QFont headerFont(QStringLiteral("MS Sans Serif"));
    headerFont.setPixelSize(13);
    header->setFont(headerFont);
}

void GridView::setColumnWidths(const QVector<int> &widths)
{
    for (int i = 0; i < widths.size(); ++i)
        setColumnWidth(i, widths[i]);
}

void GridView::setColumnLimits(const QVector<int> &limits)
{
    if (m_columnLimits.isEmpty()) {
        connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
            const int limit = m_columnLimits.value(section);
            if (limit > 0 && size > limit)
                horizontalHeader()->resizeSection(section, limit);
        });
    }
    m_columnLimits = limits;
}

void GridView::setReferenceModel(QAbstractItemModel *model)
{
    setModel(model);
    QVector<int> widths;
    QVector<int> limits;
    for (int c = 0; c < model->columnCount(); ++c) {
        widths << model->headerData(c, Qt::Horizontal, ReferenceTableModel::ColumnWidthRole).toInt();
        const QVariant limit = model->headerData(c, Qt::Horizontal, ReferenceTableModel::ColumnMaxWidthRole);
        limits << (limit.isValid() ? limit.toInt() : 0);
    }
    setColumnWidths(widths);
    setColumnLimits(limits);
}

void GridView::fitColumnsToWidth()
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void GridView::setFirstColumnIndent(int pixels)
{
    setItemDelegate(new IndentDelegate(pixels, this));
}

int GridView::focusedRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void GridView::keyboardSearch(const QString &) {}

void GridView::focusInEvent(QFocusEvent *event)
{
    if (currentIndex().isValid()) {
        QTableView::focusInEvent(event);
        return;
    }
    // The item view would make the first row current here.
    QAbstractScrollArea::focusInEvent(event);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->update();
}
