#include "app/ChartPageController.h"

#include "app/ReportMaker.h"
#include "calc/CalcSession.h"
#include "model/ResourceLocator.h"
#include "ui/ChartFigure.h"
#include "ui/ChartPage.h"
#include "ui/Dialogs.h"
#include "ui/MainWindowWidgets.h"

#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

ChartPageController::ChartPageController(QWidget *window, const MainWindowWidgets &ui, CalcSession &session,
                                         SettingsStore settings, std::function<ReportMaker *()> reports)
    : QObject(window), m_window(window), m_ui(ui), m_session(session), m_settings(std::move(settings)),
      m_reports(std::move(reports))
{
    // Where the user last saved or opened a file, reports included; the
    // documents folder the first time.
    const QString stored = m_settings.editorDialogFolder();
    m_folder = !stored.isEmpty() && QFileInfo(stored).isDir() ? stored
                                                              : ResourceLocator::forApplication().defaultDocumentsDir();
    connect(ui.pages, &QTabWidget::currentChanged, this, [this] {
        if (chartShown() && !m_chartCurrent)
            refreshChart();
    });
    connect(ui.chartPage, &ChartPage::saveRequested, this, &ChartPageController::saveChart);
    connect(ui.chartPage, &ChartPage::insertRequested, this, &ChartPageController::insertChart);
}

QSize ChartPageController::pictureSize()
{
    return ChartFigure::defaultSize();
}

void ChartPageController::showResults(CalcKind kind, VerdictPanel::Shown shown)
{
    VerdictPanel *verdict = m_ui.verdictPanel;
    if (kind == CalcKind::Hydraulic) {
        verdict->hide();
    } else {
        // The checks the last run was judged by; without results to judge,
        // the names of the checks stand alone.
        QVector<CalcCheck> checks = m_session.lastAssessment(kind).verdict.checks();
        if (checks.isEmpty()) {
            checks = kind == CalcKind::Static ? CalcCheck::corrugated(m_session.vars())
                                              : CalcCheck::fiberglass(m_session.fiberglassResults());
        }
        verdict->setChecks(checks, shown);
        verdict->show();
    }

    // Anything may have changed the chart: the kind, an input, a choice.
    m_kind = kind;
    m_chartCurrent = false;
    if (chartShown())
        refreshChart();
}

bool ChartPageController::chartShown() const
{
    return m_ui.pages->currentWidget() == m_ui.chartPage && m_window->isVisible();
}

void ChartPageController::refreshChart()
{
    m_ui.chartPage->setData(ChartData::build(m_session, m_kind));
    m_chartCurrent = true;
}

const ChartData &ChartPageController::chart()
{
    if (!m_chartCurrent)
        refreshChart();
    return m_ui.chartPage->data();
}

QString ChartPageController::suggestedFile() const
{
    QString name;
    switch (m_kind) {
    case CalcKind::Hydraulic:
        name = QStringLiteral("График гидравлического расчёта.png");
        break;
    case CalcKind::Static:
        name = QStringLiteral("График статического расчёта.png");
        break;
    case CalcKind::Fiberglass:
        name = QStringLiteral("График расчёта стеклопластиковой трубы.png");
        break;
    }
    return QDir(m_folder).filePath(name);
}

void ChartPageController::saveChart()
{
    const ChartData &data = chart();
    QString path = Dialogs::instance().saveFileName(m_window, QStringLiteral("Сохранить график"), suggestedFile(),
                                                    QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    if (ChartFigure::formatOf(path) == ChartFigure::Format::None) {
        Dialogs::instance().message(m_window, QStringLiteral("График сохраняется в PNG или SVG. Укажите имя файла "
                                                             "с расширением .png или .svg."));
        return;
    }
    if (!Dialogs::instance().confirmOverwrite(m_window, path))
        return;
    const Result<> saved = ChartFigure::save(data, path, pictureSize());
    if (!saved) {
        Dialogs::instance().generalError(m_window, saved.message());
        return;
    }
    m_folder = QFileInfo(path).absolutePath();
    // A settings file that cannot be written is said when the program ends.
    static_cast<void>(m_settings.writeEditorDialogFolder(m_folder));
}

void ChartPageController::insertChart()
{
    ReportMaker *reports = m_reports();
    if (!reports) {
        Dialogs::instance().message(m_window, QStringLiteral("График не вставлен: редактор отчётов недоступен."));
        return;
    }
    // Only into the report of the very results the chart belongs to.
    const QString refusal = m_session.chartRefusal(m_kind, reports->openReport());
    if (!refusal.isEmpty()) {
        Dialogs::instance().message(m_window, refusal);
        return;
    }
    const ChartData &data = chart();
    if (!reports->insertPicture(ChartFigure::image(data, pictureSize()), QSizeF(pictureSize()),
                                m_session.chartCaption(m_kind)))
        Dialogs::instance().message(m_window, QStringLiteral("График не вставлен: редактор отчётов недоступен."));
}
