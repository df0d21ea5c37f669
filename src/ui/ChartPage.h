#pragma once

#include "calc/ChartData.h"

#include <QWidget>

class QChartView;
class QLabel;
class QPushButton;

// The page of the main window that shows the chart of the calculation:
// the figure, a line saying what was left out of it, and the commands to
// save it and to put it into the report.
class ChartPage : public QWidget
{
    Q_OBJECT

public:
    explicit ChartPage(QWidget *parent = nullptr);

    // Shows the chart of the data.
    void setData(const ChartData &data);
    const ChartData &data() const { return m_data; }

    QChartView *view() const { return m_view; }
    QLabel *note() const { return m_note; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *insertButton() const { return m_insert; }

Q_SIGNALS:
    void saveRequested();
    void insertRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    ChartData m_data;
    QChartView *m_view;
    QLabel *m_note;
    QPushButton *m_save;
    QPushButton *m_insert;
};
