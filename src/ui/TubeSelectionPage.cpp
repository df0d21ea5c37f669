#include "ui/TubeSelectionPage.h"

#include "model/NumberFormat.h"
#include "ui/GridView.h"
#include "ui/TableExportActions.h"
#include "ui/TubeSelectionModel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QVBoxLayout>

namespace {

QString captionFor(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return QStringLiteral("Каждая труба справочника при текущем уклоне: наполнение h/d, при котором она "
                              "пропускает требуемый расход, и скорость при нём.");
    case CalcKind::Static:
        return QStringLiteral("Каждая труба справочника с текущими материалом, грунтом и нагрузками: проверки и "
                              "наибольшая глубина Hтр (до 30 м, через 1 см), на которой выполнены все проверки.");
    case CalcKind::Fiberglass:
        return QStringLiteral("Каждая стеклопластиковая труба материала с текущими грунтом, прокладкой и "
                              "нагрузками: проверки и наибольшая глубина h (до 30 м, через 1 см), на которой "
                              "выполнены все проверки.");
    }
    return QString();
}

} // namespace

TubeSelectionPage::TubeSelectionPage(QWidget *parent)
    : QWidget(parent), m_model(new TubeSelectionModel(this)), m_sorted(new QSortFilterProxyModel(this)),
      m_view(new GridView(this)), m_caption(new QLabel(this)), m_flowPanel(new QWidget(this)),
      m_flow(new QLineEdit(m_flowPanel)), m_filling(new QLineEdit(m_flowPanel)),
      m_start(new QPushButton(QStringLiteral("Подобрать"), this)),
      m_cancel(new QPushButton(QStringLiteral("Отменить"), this)), m_progress(new QProgressBar(this)),
      m_choose(new QPushButton(QStringLiteral("Выбрать"), this)),
      m_copy(new QPushButton(QStringLiteral("Копировать"), this)),
      m_save(new QPushButton(QStringLiteral("Сохранить в CSV…"), this)), m_note(new QLabel(this))
{
    setObjectName(QStringLiteral("selectionPage"));
    m_caption->setWordWrap(true);
    m_caption->setObjectName(QStringLiteral("SelectionCaption"));

    auto *flowLabel = new QLabel(QStringLiteral("Требуемый расход, л/с:"), m_flowPanel);
    flowLabel->setBuddy(m_flow);
    m_flow->setObjectName(QStringLiteral("SelectionFlow"));
    m_flow->setMaximumWidth(90);
    m_flow->setToolTip(QStringLiteral("Расход, который должна пропустить труба, л/с"));
    auto *fillingLabel = new QLabel(QStringLiteral("Наибольшее наполнение h/d:"), m_flowPanel);
    fillingLabel->setBuddy(m_filling);
    m_filling->setObjectName(QStringLiteral("SelectionMaxFilling"));
    m_filling->setMaximumWidth(60);
    m_filling->setText(NumberFormat::format(QStringLiteral("0.0##"), TubeSelection::DefaultMaxFilling));
    m_filling->setToolTip(QStringLiteral("Наибольшее допустимое наполнение трубы, от 0 до 1"));
    auto *flowRow = new QHBoxLayout(m_flowPanel);
    flowRow->setContentsMargins(0, 0, 0, 0);
    flowRow->addWidget(flowLabel);
    flowRow->addWidget(m_flow);
    flowRow->addSpacing(12);
    flowRow->addWidget(fillingLabel);
    flowRow->addWidget(m_filling);
    flowRow->addStretch(1);

    m_start->setObjectName(QStringLiteral("SelectionStart"));
    m_start->setToolTip(QStringLiteral("Рассчитать все трубы справочника с текущими исходными данными"));
    m_cancel->setObjectName(QStringLiteral("SelectionCancel"));
    m_progress->setObjectName(QStringLiteral("SelectionProgress"));
    m_progress->setMaximumWidth(160);
    m_progress->setTextVisible(true);
    m_progress->setFormat(QStringLiteral("%v из %m"));
    m_progress->hide();
    auto *top = new QHBoxLayout;
    top->addWidget(m_flowPanel);
    top->addStretch(1);
    top->addWidget(m_progress);
    top->addWidget(m_start);
    top->addWidget(m_cancel);

    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(TubeSelectionModel::SortRole);
    m_view->setObjectName(QStringLiteral("vstSelection"));
    m_view->setModel(m_sorted);
    m_view->setSortingEnabled(true);
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->sortByColumn(TubeSelectionModel::ColumnNumber, Qt::AscendingOrder);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_view->horizontalHeader()->setStretchLastSection(false);

    m_choose->setObjectName(QStringLiteral("SelectionChoose"));
    m_choose->setToolTip(QStringLiteral("Сделать трубу строки выбранной трубой, как щелчком на странице «Труба»"));
    m_copy->setObjectName(QStringLiteral("SelectionCopy"));
    m_copy->setToolTip(QStringLiteral("Копировать таблицу в буфер обмена, чтобы вставить в электронную таблицу"));
    m_save->setObjectName(QStringLiteral("SelectionSave"));
    m_save->setToolTip(QStringLiteral("Сохранить таблицу в файле CSV для электронной таблицы"));
    m_note->setObjectName(QStringLiteral("SelectionNote"));
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_note, 1);
    bottom->addWidget(m_choose);
    bottom->addWidget(m_copy);
    bottom->addWidget(m_save);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 2);
    column->setSpacing(3);
    column->addWidget(m_caption);
    column->addLayout(top);
    column->addWidget(m_view, 1);
    column->addLayout(bottom);

    connect(m_start, &QPushButton::clicked, this, &TubeSelectionPage::startRequested);
    connect(m_flow, &QLineEdit::returnPressed, this, &TubeSelectionPage::startRequested);
    connect(m_filling, &QLineEdit::returnPressed, this, &TubeSelectionPage::startRequested);
    connect(m_cancel, &QPushButton::clicked, this, &TubeSelectionPage::cancelRequested);
    connect(m_choose, &QPushButton::clicked, this, [this] {
        if (currentRow() >= 0)
            Q_EMIT chooseRequested(currentRow());
    });
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this] {
        if (currentRow() >= 0)
            Q_EMIT chooseRequested(currentRow());
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TubeSelectionPage::updateCommands);
    const TableExportActions::Installed exports = TableExportActions::install(
        m_view, [this] { return m_model->tableRows(); }, QStringLiteral("Подбор трубы"));
    m_copyAction = exports.copy;
    m_saveAction = exports.save;
    connect(m_copy, &QPushButton::clicked, m_copyAction, &QAction::trigger);
    connect(m_save, &QPushButton::clicked, m_saveAction, &QAction::trigger);
    setKind(CalcKind::Static);
}

void TubeSelectionPage::setKind(CalcKind kind)
{
    m_model->setKind(kind);
    m_caption->setText(captionFor(kind));
    m_flowPanel->setVisible(kind == CalcKind::Hydraulic);
    m_outdated = false;
    m_complete = true;
    m_note->clear();
    updateCommands();
}

CalcKind TubeSelectionPage::kind() const
{
    return m_model->kind();
}

Result<TubeSelectionPage::FlowDemand> TubeSelectionPage::readFlow() const
{
    FlowDemand demand;
    if (!NumberFormat::parseEntry(m_flow->text().trimmed(), &demand.flow))
        return Result<FlowDemand>::failure(QStringLiteral("Укажите требуемый расход числом, л/с."));
    if (!NumberFormat::parseEntry(m_filling->text().trimmed(), &demand.maxFilling))
        return Result<FlowDemand>::failure(QStringLiteral("Укажите наибольшее наполнение h/d числом от 0 до 1."));
    QString why = TubeSelection::flowProblem(demand.flow);
    if (why.isEmpty())
        why = TubeSelection::fillingProblem(demand.maxFilling);
    if (!why.isEmpty()) {
        why[0] = why[0].toUpper();
        return Result<FlowDemand>::failure(why + QLatin1Char('.'));
    }
    return demand;
}

void TubeSelectionPage::setRunning(bool running)
{
    m_running = running;
    m_progress->setVisible(running);
    if (running) {
        m_progress->setRange(0, 0);
        m_note->setText(QStringLiteral("Идёт подбор…"));
    }
    updateCommands();
}

void TubeSelectionPage::setProgress(int done, int total)
{
    m_progress->setRange(0, total);
    m_progress->setValue(done);
}

void TubeSelectionPage::setRows(const QVector<TubeSelection::Row> &rows, bool complete)
{
    m_model->setRows(rows);
    m_outdated = false;
    m_complete = complete;
    m_note->setText(summary(complete));
    updateCommands();
}

void TubeSelectionPage::setOutdated(bool outdated)
{
    if (outdated == m_outdated)
        return;
    m_outdated = outdated;
    m_note->setText(summary(m_complete));
}

void TubeSelectionPage::setNote(const QString &text)
{
    m_note->setText(text);
}

QString TubeSelectionPage::summary(bool complete) const
{
    const QVector<TubeSelection::Row> &rows = m_model->rows();
    QString text;
    if (!complete)
        text = QStringLiteral("Подбор прерван: рассчитано труб — %1. ").arg(rows.size());
    const int smallest = m_model->smallestPassing();
    if (smallest >= 0) {
        text += QStringLiteral("Наименьшая подходящая труба: № %1, %2.")
                    .arg(rows[smallest].tube.number)
                    .arg(rows[smallest].tube.name);
    } else if (!rows.isEmpty()) {
        text += QStringLiteral("Ни одна труба не подходит.");
    } else if (complete) {
        text += QStringLiteral("В справочнике нет труб.");
    }
    if (m_outdated)
        text += QStringLiteral(" Исходные данные изменены после подбора: нажмите «Подобрать».");
    return text.trimmed();
}

int TubeSelectionPage::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_sorted->mapToSource(current).row() : -1;
}

void TubeSelectionPage::setCurrentRow(int row)
{
    m_view->setCurrentIndex(m_sorted->mapFromSource(m_model->index(row, 0)));
}

void TubeSelectionPage::updateCommands()
{
    m_start->setEnabled(!m_running);
    m_cancel->setEnabled(m_running);
    m_choose->setEnabled(!m_running && currentRow() >= 0);
    const bool rows = m_model->rowCount() > 0;
    m_copy->setEnabled(rows);
    m_save->setEnabled(rows);
    m_copyAction->setEnabled(rows);
    m_saveAction->setEnabled(rows);
}
