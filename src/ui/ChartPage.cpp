#include "ui/ChartPage.h"

#include "ui/ChartFigure.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ChartPage::ChartPage(QWidget *parent)
    : QWidget(parent), m_view(new QChartView(this)), m_note(new QLabel(this)),
      m_save(new QPushButton(QStringLiteral("Сохранить график…"), this)),
      m_insert(new QPushButton(QStringLiteral("Вставить в отчёт"), this))
{
    m_view->setObjectName(QStringLiteral("ChartView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(200, 120);
    m_note->setObjectName(QStringLiteral("ChartNote"));
    m_note->setWordWrap(true);
    m_note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_note->hide();
    m_save->setObjectName(QStringLiteral("ChartSave"));
    m_save->setToolTip(QStringLiteral("Сохранить график в файле PNG или SVG"));
    m_insert->setObjectName(QStringLiteral("ChartInsert"));
    m_insert->setToolTip(QStringLiteral("Вставить график в документ редактора отчётов в место курсора"));

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->addWidget(m_note, 1);
    buttons->addStretch(0);
    buttons->addWidget(m_save);
    buttons->addWidget(m_insert);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_view, 1);
    column->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &ChartPage::saveRequested);
    connect(m_insert, &QPushButton::clicked, this, &ChartPage::insertRequested);
}

void ChartPage::setData(const ChartData &data)
{
    m_data = data;
    QChart *former = m_view->chart();
    QChart *chart = ChartFigure::createChart(data);
    // Inside the window the chart uses the room it has.
    chart->setMargins(QMargins(4, 4, 4, 4));
    ChartFigure::placeLegend(chart, m_view->size());
    m_view->setChart(chart);
    delete former;
    m_note->setText(data.note);
    m_note->setVisible(!data.note.isEmpty());
    m_save->setEnabled(data.hasPoints());
    m_insert->setEnabled(data.hasPoints());
}

void ChartPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ChartFigure::placeLegend(m_view->chart(), m_view->size());
}
