#include "ui/VerdictPanel.h"

#include "model/NumberFormat.h"
#include "ui/TableExportActions.h"
#include "ui/VariableGridModel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QColor kHoldsText(0, 110, 0);
const QColor kHoldsBack(221, 242, 221);
const QColor kFailsText(170, 0, 0);
const QColor kFailsBack(250, 219, 216);
const QColor kGrey(128, 128, 128);

QString number(double value)
{
    return NumberFormat::general(value, 4);
}

} // namespace

VerdictPanel::VerdictPanel(QWidget *parent)
    : QWidget(parent), m_table(new QTableWidget(0, ColumnCount, this)),
      m_caption(new QLabel(QStringLiteral("Проверки"), this))
{
    setObjectName(QStringLiteral("verdictPanel"));
    m_table->setObjectName(QStringLiteral("VerdictTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Проверка"), QStringLiteral("Значение и предел"),
                                        QStringLiteral("Использ."), QStringLiteral("Итог")});
    m_table->horizontalHeaderItem(ColumnUtilisation)
        ->setToolTip(QStringLiteral("Использование: значение, делённое на предел; 100 % — предел"));
    m_table->verticalHeader()->hide();
    TableExportActions::install(
        m_table, [this] { return tableRows(); }, QStringLiteral("Проверки"));
    m_table->verticalHeader()->setDefaultSectionSize(18);
    m_table->horizontalHeader()->setFixedHeight(18);
    // The figures and the verdict keep their room; the check's name takes
    // what is left.
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionResizeMode(ColumnCheck, QHeaderView::Stretch);
    header->setSectionResizeMode(ColumnCondition, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ColumnUtilisation, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ColumnVerdict, QHeaderView::ResizeToContents);
    m_table->setTextElideMode(Qt::ElideRight);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setFont(VariableGridModel::cellFont());
    m_table->horizontalHeader()->setFont(VariableGridModel::cellFont());
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_caption->setContentsMargins(4, 1, 4, 1);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_caption);
    column->addWidget(m_table, 1);
}

QString VerdictPanel::conditionText(const CalcCheck &check)
{
    QString text =
        QStringLiteral("%1 %2 %3")
            .arg(number(check.value), check.holds ? QStringLiteral("≤") : QStringLiteral(">"), number(check.limit));
    if (!check.units.isEmpty())
        text += QLatin1Char(' ') + check.units;
    return text;
}

QString VerdictPanel::verdictText(bool holds)
{
    return holds ? QStringLiteral("✔ выполнено") : QStringLiteral("✘ не выполнено");
}

QVector<QStringList> VerdictPanel::tableRows() const
{
    QVector<QStringList> rows{{QStringLiteral("Проверка"), QStringLiteral("Значение"), QStringLiteral("Предел"),
                               QStringLiteral("Размерность"), QStringLiteral("Использование, %"),
                               QStringLiteral("Итог")}};
    const auto exact = [](double value) { return std::isfinite(value) ? NumberFormat::general(value, 6) : QString(); };
    for (const CalcCheck &check : m_checks) {
        if (m_shown == Shown::Hidden) {
            rows << QStringList{check.title, QString(), QString(), check.units, QString(), QString()};
            continue;
        }
        rows << QStringList{check.title,
                            exact(check.value),
                            exact(check.limit),
                            check.units,
                            exact(check.utilisation * 100),
                            verdictText(check.holds)};
    }
    return rows;
}

void VerdictPanel::setChecks(const QVector<CalcCheck> &checks, Shown shown)
{
    m_checks = checks;
    m_shown = shown;
    m_table->setRowCount(int(checks.size()));
    for (int row = 0; row < checks.size(); ++row) {
        const CalcCheck &check = checks[row];
        const QString limit = check.limitName.isEmpty() ? number(check.limit) : check.limitName;
        const QString relation = QStringLiteral("%1 ≤ %2").arg(check.valueName, limit);
        const bool values = shown != Shown::Hidden;
        const QStringList texts = {
            check.title,
            values ? conditionText(check) : QString(),
            values ? CalcCheck::percentText(check.utilisation) : QString(),
            values ? verdictText(check.holds) : QString(),
        };
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            item->setToolTip(QStringLiteral("%1: условие %2").arg(check.title, relation));
            if (column != ColumnCheck)
                item->setTextAlignment(Qt::AlignCenter);
            if (shown == Shown::Outdated) {
                item->setForeground(kGrey);
            } else if (shown == Shown::Current && column == ColumnVerdict) {
                item->setForeground(check.holds ? kHoldsText : kFailsText);
                item->setBackground(check.holds ? kHoldsBack : kFailsBack);
                QFont font = VariableGridModel::cellFont();
                font.setBold(true);
                item->setFont(font);
            }
            m_table->setItem(row, column, item);
        }
    }
    m_caption->setText(shown == Shown::Outdated ? QStringLiteral("Проверки (результаты устарели)")
                                                : QStringLiteral("Проверки"));
    // Room for the widest texts the checks give, so that the columns stay
    // put when the results come and go.
    const QFontMetrics metrics(VariableGridModel::cellFont());
    QFont boldFont = VariableGridModel::cellFont();
    boldFont.setBold(true);
    const int padding = 2 * metrics.averageCharWidth() + 4;
    int titleWidth = metrics.horizontalAdvance(m_table->horizontalHeaderItem(ColumnCheck)->text());
    for (const CalcCheck &check : checks)
        titleWidth = std::max(titleWidth, metrics.horizontalAdvance(check.title));
    const int widths[ColumnCount] = {
        titleWidth,
        metrics.horizontalAdvance(QStringLiteral("0,0000 ≤ 0,0000 кН·м")),
        metrics.horizontalAdvance(QStringLiteral("100,0 %")),
        QFontMetrics(boldFont).horizontalAdvance(verdictText(false)),
    };
    m_hintWidth = 2 * m_table->frameWidth() + 2;
    for (int column = 0; column < ColumnCount; ++column) {
        m_table->resizeColumnToContents(column);
        m_table->setColumnWidth(column, std::max(m_table->columnWidth(column), widths[column] + padding));
        m_hintWidth += m_table->columnWidth(column);
    }
    updateGeometry();
}

QString VerdictPanel::cellText(int row, int column) const
{
    const QTableWidgetItem *item = m_table->item(row, column);
    return item ? item->text() : QString();
}

QSize VerdictPanel::sizeHint() const
{
    // Every check in sight.
    int height = m_caption->sizeHint().height() + m_table->horizontalHeader()->height() + 2 * m_table->frameWidth();
    for (int row = 0; row < m_table->rowCount(); ++row)
        height += std::max(m_table->rowHeight(row), 18);
    return QSize(std::max(m_hintWidth, 200), height);
}
