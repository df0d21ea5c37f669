#pragma once

#include "calc/CalcKind.h"
#include "calc/ChartData.h"
#include "ui/VerdictPanel.h"

#include "app/SettingsStore.h"

#include <QObject>
#include <QString>

#include <functional>

class CalcSession;
class MainWindowWidgets;
class QWidget;
class ReportMaker;

// The chart page and the verdict summary of the main window.  The chart
// follows the calculation and its inputs as they are, worked out when its
// page is shown; the verdict shows the checks of the static calculations'
// results as the output grid shows those results.  The chart is saved as
// PNG or SVG and put into the report editor's document.
class ChartPageController : public QObject
{
    Q_OBJECT

public:
    // The chart page and the verdict panel are among the window's widgets;
    // the settings keep the folder of the chart's dialog; `reports` gives
    // the report maker in force, if any.
    ChartPageController(QWidget *window, const MainWindowWidgets &ui, CalcSession &session, SettingsStore settings,
                        std::function<ReportMaker *()> reports);

    // The output grid shows the results of `kind` so.
    void showResults(CalcKind kind, VerdictPanel::Shown shown);

    // The chart of the calculation's inputs as they are now.
    const ChartData &chart();

    void saveChart();
    void insertChart();

    // The size the chart is saved and put into the report with.
    static QSize pictureSize();

private:
    bool chartShown() const;
    void refreshChart();
    QString suggestedFile() const;

    QWidget *m_window;
    const MainWindowWidgets &m_ui;
    CalcSession &m_session;
    SettingsStore m_settings;
    std::function<ReportMaker *()> m_reports;
    CalcKind m_kind = CalcKind::Hydraulic;
    bool m_chartCurrent = false;
    QString m_folder;
};
