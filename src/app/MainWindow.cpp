#include "app/MainWindow.h"

#include "app/CommandKeyFilter.h"
#include "app/HelpLauncher.h"
#include "app/ChartPageController.h"
#include "app/SelectionPageController.h"
#include "app/ProjectController.h"
#include "app/ReportMaker.h"
#include "app/AboutDialog.h"
#include "calc/CalcSession.h"
#include "calc/FiberglassChoices.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"
#include "ui/Dialogs.h"
#include "ui/ElidedLabel.h"
#include "ui/GridView.h"
#include "ui/ResultsStateLine.h"
#include "ui/ValueEntryKeys.h"
#include "ui/VariableGridModel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>

#include <utility>

namespace {

// The laying and the wall at positions of their choice lists, which hold
// nothing else.
Laying layingAt(int index)
{
    return FiberglassChoices::fromIndex<Laying>(index).value_or(Laying::Trench);
}

Wall wallAt(int index)
{
    return FiberglassChoices::fromIndex<Wall>(index).value_or(Wall::ThreeLayer);
}

} // namespace

// A table that cannot be read is said in a box with an OK button.
class MainWindow::TableErrors : public ReferenceErrorSink
{
public:
    explicit TableErrors(QWidget *window) : m_window(window) {}
    void showTableError(const QString &message) override { Dialogs::instance().message(m_window, message); }

private:
    QWidget *m_window;
};

MainWindow::MainWindow(const QString &settingsFileName, const QString &databaseFolder, QWidget *parent)
    : QMainWindow(parent),
      m_settings(settingsFileName.isEmpty() ? QCoreApplication::applicationFilePath() + QStringLiteral(".ini")
                                            : settingsFileName),
      m_databaseFolder(databaseFolder)
{
    ui.setupUi(this);
    createActions();
    setUp();

    // Centred at the first start; a stored placement replaces this when the
    // window is first activated.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow()
{
    // The views go before the models they show.
    for (GridView *grid : {ui.materialsGrid, ui.tubesGrid, ui.fiberglassTubesGrid, ui.soilsGrid})
        grid->setModel(nullptr);
    // Nothing can be said any more: a failure here goes unreported.
    if (!m_placementSaved && m_placementRestored)
        saveView(false);
    if (m_commandKeys)
        qApp->removeEventFilter(m_commandKeys);
}

CalcVariables &MainWindow::vars()
{
    return m_session->vars();
}

ReferenceData &MainWindow::referenceData()
{
    return m_session->referenceData();
}

void MainWindow::createActions()
{
    auto action = [this](const char *name, const QString &text, void (MainWindow::*slot)()) {
        auto *a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    m_hydraulicAction =
        action("hydraulicAction", QStringLiteral("Гидравлический расчёт"), &MainWindow::chooseHydraulicCalculation);
    m_hydraulicAction->setCheckable(true);
    m_staticAction = action("staticAction", QStringLiteral("Статический расчёт"), &MainWindow::chooseStaticCalculation);
    m_staticAction->setCheckable(true);
    // C and R are plain keys claimed program-wide by the command key filter; the
    // menus only name them.
    m_runAction = action("runAction", QStringLiteral("Выполнить\tC"), &MainWindow::runCalculation);
    m_reportAction = action("reportAction", QStringLiteral("Правка\tR"), &MainWindow::makeReport);
    m_exitAction = action("exitAction", QStringLiteral("&Выход"), &MainWindow::exitProgram);
    m_exitAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    m_exitAction->setShortcutContext(Qt::WindowShortcut);
    m_helpAction = action("helpAction", QStringLiteral("Вызов справки"), &MainWindow::openHelp);
    m_aboutAction = action("aboutAction", QStringLiteral("&О программе"), &MainWindow::showAbout);

    ui.reportMenu->addAction(m_reportAction);
    ui.reportMenu->addSeparator();
    ui.reportMenu->addAction(m_exitAction);
    ui.calculationMenu->addAction(m_hydraulicAction);
    ui.calculationMenu->addAction(m_staticAction);
    ui.calculationMenu->addSeparator();
    ui.calculationMenu->addAction(m_runAction);
    ui.helpMenu->addAction(m_helpAction);
    ui.helpMenu->addSeparator();
    ui.helpMenu->addAction(m_aboutAction);
    connect(ui.calculationMenu, &QMenu::aboutToShow, this, &MainWindow::markCalculationMenu);
}

void MainWindow::setUp()
{
    // The command keys are looked at in every event of the program.
    m_commandKeys = new CommandKeyFilter(this, m_runAction, m_reportAction, m_helpAction);
    qApp->installEventFilter(m_commandKeys);
    connect(m_commandKeys, &CommandKeyFilter::mainWindowActivated, this, &MainWindow::onActivated);
    connect(m_commandKeys, &CommandKeyFilter::disabledCommandKey, this, [this](QAction *action) {
        if (action == m_reportAction)
            explainNoReport();
    });

    // The session lives as long as the window; its reference data touches
    // the database only when the window is first activated.
    m_session = std::make_unique<CalcSession>();
    m_tableErrors = std::make_unique<TableErrors>(this);
    m_session->setErrorSink(m_tableErrors.get());
    if (!m_databaseFolder.isEmpty())
        m_session->referenceData().database().setBaseDir(m_databaseFolder);
    setUpReferenceGrids();
    m_charts = new ChartPageController(this, ui, *m_session, m_settings, [this] { return m_reports; });
    m_selection = new SelectionPageController(ui.pages, ui.selectionPage, *m_session);
    connect(m_selection, &SelectionPageController::tubeChosen, this, &MainWindow::chooseTubeRow);

    m_inModel = new VariableGridModel(vars(), VariableGridModel::Kind::Input, this);
    m_outModel = new VariableGridModel(vars(), VariableGridModel::Kind::Output, this);
    ui.inputGrid->setModel(m_inModel);
    ui.outputGrid->setModel(m_outModel);
    for (int c = 0; c < VariableGridModel::ColumnCount; ++c) {
        ui.inputGrid->setColumnWidth(c, VariableGridModel::defaultColumnWidth(VariableGridModel::Kind::Input, c));
        ui.outputGrid->setColumnWidth(c, VariableGridModel::defaultColumnWidth(VariableGridModel::Kind::Output, c));
    }
    ui.outputGrid->setFirstColumnIndent(18);
    connect(ui.inputGrid, &QAbstractItemView::clicked, this, &MainWindow::showClickedInput);
    connect(ui.outputGrid, &QAbstractItemView::clicked, this, &MainWindow::showClickedResult);
    connect(ui.inputGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &MainWindow::chooseInputRow);
    connect(new ValueEntryKeys(ui.inputGrid, ui.valueEditor), &ValueEntryKeys::valueEntered, this,
            &MainWindow::applyEnteredValue);
    connect(ui.layingCombo, QOverload<int>::of(&QComboBox::activated), this, &MainWindow::changeLaying);
    connect(ui.wallCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { m_session->setWall(wallAt(index)); });

    connect(ui.calculationTabs, &QTabBar::currentChanged, this, &MainWindow::changeCalculationTab);
    ui.calculationTabs->setCurrentIndex(m_settings.tabIndex());

    m_session->setMode(ui.calculationTabs->currentIndex() == 1 ? 1 : 0);
    m_session->setLaying(layingAt(ui.layingCombo->currentIndex()));
    m_session->setWall(wallAt(ui.wallCombo->currentIndex()));
    if (m_session->mode() == 0)
        showHydraulicView();
    else
        showStaticView();

    // Greek names are drawn as Unicode Greek letters in the grids' typeface.
    QFont symbolFont(VariableGridModel::cellFont().family());
    symbolFont.setPointSize(9);
    m_inModel->setSymbolFont(symbolFont);

    // The project is the session as it stands now.
    m_project = new ProjectController(this, *m_session, m_settings);
    m_project->fillMenu(ui.projectMenu);
    ui.projectMenu->addSeparator();
    ui.projectMenu->addAction(m_exitAction);
    connect(m_project, &ProjectController::sessionReplaced, this, &MainWindow::showReplacedSession);

    connect(m_session.get(), &CalcSession::changed, this, &MainWindow::showSession);
    // The tube let go with a material of another kind is no longer marked
    // in its grid, and the status bar says why.
    connect(m_session.get(), &CalcSession::tubeDropped, this, [this](const QString &message) {
        ui.tubesGrid->clearSelection();
        ui.fiberglassTubesGrid->clearSelection();
        ui.statusText->setText(message);
    });
    showSession();
    showValueTarget();
}

void MainWindow::onActivated()
{
    if (!m_placementRestored) {
        restorePlacement();
        m_placementRestored = true;
        if (!m_startProject.isEmpty())
            m_project->openFile(std::exchange(m_startProject, QString()));
    }
    // A database that cannot be opened ends the activation: the panel is
    // decided at the next one.  Closing the error box activates the window
    // again; the reference data skips that one, so the box is said once.
    if (!sayIfDatabaseFailed(referenceData().reloadOnActivation().status()))
        return;
    updateFiberglassOptions();
}

bool MainWindow::sayIfDatabaseFailed(const Result<> &outcome)
{
    if (outcome)
        return true;
    Dialogs::instance().generalError(this, outcome.message());
    return false;
}

void MainWindow::setUpReferenceGrids()
{
    ReferenceData &refs = referenceData();
    const QList<QPair<GridView *, QAbstractItemModel *>> grids = {
        {ui.materialsGrid, refs.materials()},
        {ui.tubesGrid, refs.tubes()},
        {ui.fiberglassTubesGrid, refs.fiberglassTubes()},
        {ui.soilsGrid, refs.soils()},
    };
    for (const auto &[grid, model] : grids)
        grid->setReferenceModel(model);
    showTubeGrid();
    connect(ui.pages, &QTabWidget::currentChanged, this, &MainWindow::loadShownReferencePage);
    connect(ui.materialsGrid, &QAbstractItemView::clicked, this, &MainWindow::pickClickedMaterial);
    connect(ui.tubesGrid, &QAbstractItemView::clicked, this, &MainWindow::pickClickedTube);
    connect(ui.fiberglassTubesGrid, &QAbstractItemView::clicked, this, &MainWindow::pickClickedFiberglassTube);
    connect(ui.soilsGrid, &QAbstractItemView::clicked, this, &MainWindow::pickClickedSoil);
}

void MainWindow::showTubeGrid()
{
    const bool fiberglass = referenceData().fiberglassTubesVisible();
    ui.tubesGrid->setVisible(!fiberglass);
    ui.fiberglassTubesGrid->setVisible(fiberglass);
}

void MainWindow::loadShownReferencePage(int index)
{
    ReferenceData &refs = referenceData();
    switch (index) {
    case MainWindowWidgets::PageIndexMaterials:
        sayIfDatabaseFailed(refs.loadMaterials());
        break;
    case MainWindowWidgets::PageIndexTubes:
        sayIfDatabaseFailed(refs.loadTubes());
        break;
    case MainWindowWidgets::PageIndexSoils:
        sayIfDatabaseFailed(refs.loadSoils());
        break;
    default:
        break;
    }
}

void MainWindow::pickClickedMaterial()
{
    if (!m_session->pickMaterial(ui.materialsGrid->focusedRow()))
        return;
    showTubeGrid();
    m_inModel->refresh();
    updateFiberglassOptions();
    showTargetValue();
}

void MainWindow::pickClickedTube()
{
    if (m_session->pickTube(ui.tubesGrid->focusedRow())) {
        m_inModel->refresh();
        showTargetValue();
    }
}

void MainWindow::pickClickedFiberglassTube()
{
    if (m_session->pickFiberglassTube(ui.fiberglassTubesGrid->focusedRow())) {
        m_inModel->refresh();
        showTargetValue();
    }
}

void MainWindow::pickClickedSoil()
{
    if (m_session->pickSoil(ui.soilsGrid->focusedRow())) {
        m_inModel->refresh();
        showTargetValue();
    }
}

void MainWindow::chooseTubeRow(bool fiberglass, int row)
{
    GridView *grid = fiberglass ? ui.fiberglassTubesGrid : ui.tubesGrid;
    grid->setCurrentIndex(grid->model()->index(row, 0));
    if (fiberglass)
        pickClickedFiberglassTube();
    else
        pickClickedTube();
}

void MainWindow::changeCalculationTab(int index)
{
    m_session->setMode(index);
    if (m_session->mode() == 0)
        showHydraulicView();
    else
        showStaticView();
    updateFiberglassOptions();
}

void MainWindow::fillView(CalcView view)
{
    const bool trenchless = m_session->laying() == Laying::Trenchless;
    const QVector<Slot> inputs = CalcViews::inputRows(view, trenchless);
    const QVector<Slot> outputs = CalcViews::outputRows(view);
    QPalette palette = ui.headerStrip->palette();
    palette.setColor(QPalette::Window, QColor(0, 74, 128));
    ui.headerStrip->setPalette(palette);
    ui.headerLabel->setText(CalcViews::headerText(view));
    m_view = view;
    // Showing the view already listed keeps the rows as the user left them.
    if (m_viewShown && m_inModel->rows() == inputs && m_outModel->rows() == outputs) {
        showSession();
        return;
    }
    m_viewShown = true;
    m_rebuilding = true;
    m_inModel->setRows(inputs);
    m_outModel->setRows(outputs);
    // The input the user chose stays chosen where the new view lists it.
    const int row = m_inModel->rowOf(m_chosenInput);
    if (row >= 0) {
        ui.inputGrid->selectionModel()->setCurrentIndex(m_inModel->index(row, 0), QItemSelectionModel::ClearAndSelect
                                                                                      | QItemSelectionModel::Rows);
    }
    m_rebuilding = false;
    showValueTarget();
    showTargetValue();
    showSession();
}

void MainWindow::showHydraulicView()
{
    fillView(CalcView::Hydraulic);
}

void MainWindow::showStaticView()
{
    fillView(CalcView::Static);
}

void MainWindow::showFiberglassView()
{
    fillView(CalcView::Fiberglass);
}

void MainWindow::updateFiberglassOptions()
{
    if (m_session->calculation() == CalcKind::Fiberglass) {
        ui.fiberglassOptionsPanel->show();
        showFiberglassView();
        return;
    }
    if (m_session->mode() == 1)
        showStaticView();
    ui.fiberglassOptionsPanel->hide();
}

void MainWindow::changeLaying(int index)
{
    m_session->setLaying(layingAt(index));
    showFiberglassView();
}

void MainWindow::showReplacedSession()
{
    ui.calculationTabs->setCurrentIndex(m_session->mode());
    ui.layingCombo->setCurrentIndex(FiberglassChoices::index(m_session->laying()));
    {
        const QSignalBlocker blocker(ui.wallCombo);
        ui.wallCombo->setCurrentIndex(FiberglassChoices::index(m_session->wall()));
    }
    showTubeGrid();
    m_inModel->refresh();
    updateFiberglassOptions();
    showTargetValue();
    showSession();
}

bool MainWindow::calculate(CalcKind kind)
{
    const CalcOutcome outcome = m_session->run(kind);
    switch (outcome.kind()) {
    case CalcOutcome::Kind::Completed:
        return true;
    case CalcOutcome::Kind::Stopped:
        // The line above the results says which input stopped it.
        return false;
    case CalcOutcome::Kind::DivisionByZero:
        Dialogs::instance().message(this, outcome.displayText());
        return false;
    case CalcOutcome::Kind::Fault:
        Dialogs::instance().generalError(this, outcome.displayText());
        return false;
    }
    return false;
}

void MainWindow::calculateHydraulic()
{
    calculate(CalcKind::Hydraulic);
}

void MainWindow::calculateStatic()
{
    calculate(CalcKind::Static);
}

void MainWindow::calculateFiberglass(bool makeReport)
{
    if (calculate(CalcKind::Fiberglass) && makeReport && m_reports)
        m_reports->makeReport(*m_session, CalcKind::Fiberglass);
}

void MainWindow::showSession()
{
    const CalcKind kind = CalcKinds::ofView(m_view);
    const CalcSession::ResultState state = m_session->state(kind);
    switch (state) {
    case CalcSession::ResultState::Current:
        m_outModel->setValues(VariableGridModel::Values::Shown);
        m_charts->showResults(kind, VerdictPanel::Shown::Current);
        break;
    case CalcSession::ResultState::Stale:
        m_outModel->setValues(VariableGridModel::Values::Outdated);
        m_charts->showResults(kind, VerdictPanel::Shown::Outdated);
        break;
    case CalcSession::ResultState::None:
    case CalcSession::ResultState::Failed:
        m_outModel->setValues(VariableGridModel::Values::Hidden);
        m_charts->showResults(kind, VerdictPanel::Shown::Hidden);
        break;
    }
    m_outModel->refresh();

    ui.resultsStateLine->showState(m_session->stateTone(kind), m_session->stateLine(kind));
    QStringList warnings;
    for (const CalcWarning &warning : m_session->warnings(kind))
        warnings << QStringLiteral("⚠ ") + warning.message;
    ui.resultsWarningsLine->setText(warnings.join(QLatin1Char('\n')));
    ui.resultsWarningsLine->setVisible(!warnings.isEmpty());
    ui.choicesLine->setText(m_session->choicesLine());

    // The fiberglass report runs its calculation first, so it is always at hand.
    m_reportAction->setEnabled(m_session->calculation() == CalcKind::Fiberglass || m_session->resultsCurrent());
}

void MainWindow::chooseHydraulicCalculation()
{
    ui.calculationTabs->setCurrentIndex(0);
}

void MainWindow::chooseStaticCalculation()
{
    ui.calculationTabs->setCurrentIndex(1);
}

void MainWindow::runCalculation()
{
    calculate(m_session->calculation());
}

void MainWindow::explainNoReport()
{
    const QString refusal = m_session->reportRefusal(m_session->calculation());
    if (!refusal.isEmpty())
        Dialogs::instance().message(this, refusal);
}

void MainWindow::makeReport()
{
    const CalcKind kind = m_session->calculation();
    if (kind == CalcKind::Fiberglass) {
        // The fiberglass report always follows a fresh run of the inputs as they are.
        calculateFiberglass(true);
        return;
    }
    if (!m_session->resultsCurrent(kind)) {
        explainNoReport();
        return;
    }
    if (m_reports)
        m_reports->makeReport(*m_session, kind);
}

void MainWindow::exitProgram()
{
    writeTabIndex();
    close();
}

void MainWindow::openHelp()
{
    HelpLauncher::open(QCoreApplication::applicationFilePath());
}

void MainWindow::showAbout()
{
    AboutDialog box(this);
    box.versionLabel->setText(QStringLiteral("Версия ") + QCoreApplication::applicationVersion());
    Dialogs::instance().execDialog(&box);
}

void MainWindow::markCalculationMenu()
{
    m_hydraulicAction->setChecked(m_session->mode() == 0);
    m_staticAction->setChecked(m_session->mode() == 1);
}

void MainWindow::showVariable(VariableGridModel *model, int row)
{
    if (row < 0)
        return;
    const Variable &v = model->variableAt(row);
    ui.valueEditor->setText(v.formatValue());
    ui.statusText->setText(v.description());
}

void MainWindow::showClickedInput()
{
    showVariable(m_inModel, ui.inputGrid->focusedRow());
}

void MainWindow::showClickedResult()
{
    const int row = ui.outputGrid->focusedRow();
    if (row < 0)
        return;
    // A value the grid does not show (no results, or failed ones) is no
    // value to copy.
    if (m_outModel->values() == VariableGridModel::Values::Hidden) {
        ui.statusText->setText(m_outModel->variableAt(row).description());
        return;
    }
    showVariable(m_outModel, row);
}

void MainWindow::chooseInputRow(const QModelIndex &current)
{
    // A row the user moves to is the one the next value goes to; a grid
    // rebuilt or left empty keeps the choice.
    if (m_rebuilding || !current.isValid())
        return;
    m_chosenInput = m_inModel->rows().value(current.row(), Slot::None);
    showValueTarget();
    showTargetValue();
}

void MainWindow::showTargetValue()
{
    // The editor shows what the chosen input holds, so that Enter never
    // writes one row's number into another.
    const Slot target = valueTarget();
    ui.valueEditor->setText(target == Slot::None ? QString() : vars()[target].formatValue());
    if (ui.valueEditor->hasFocus())
        ui.valueEditor->selectAll();
}

Slot MainWindow::valueTarget() const
{
    return m_inModel->rowOf(m_chosenInput) >= 0 ? m_chosenInput : Slot::None;
}

void MainWindow::showValueTarget()
{
    const Slot target = valueTarget();
    if (target == Slot::None) {
        ui.valueTargetLabel->setText(QStringLiteral("строка не выбрана"));
        ui.valueTargetLabel->setToolTip(QStringLiteral("Выберите строку таблицы, значение которой нужно изменить"));
        return;
    }
    const Variable &v = vars()[target];
    const QString name = v.shownName().isEmpty() ? SlotKeys::key(target) : v.shownName();
    ui.valueTargetLabel->setText(v.units().isEmpty() ? QStringLiteral("→ %1").arg(name)
                                                     : QStringLiteral("→ %1, %2").arg(name, v.units()));
    ui.valueTargetLabel->setToolTip(QStringLiteral("Значение изменяется у %1").arg(v.description()));
}

void MainWindow::applyEnteredValue()
{
    const Slot target = valueTarget();
    if (target == Slot::None)
        return;
    const Result<> entered = m_session->enterInput(target, ui.valueEditor->text());
    if (!entered) {
        Dialogs::instance().message(this, entered.message());
        return;
    }
    m_inModel->refresh();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_project->confirmDrop() || (m_closeGuard && !m_closeGuard())) {
        event->ignore();
        return;
    }
    saveView();
    m_placementSaved = true;
    event->accept();
}

void MainWindow::writeTabIndex()
{
    reportSettingsWrite(m_settings.writeTabIndex(ui.calculationTabs->currentIndex()));
}

void MainWindow::reportSettingsWrite(const Result<> &written)
{
    if (written)
        return;
    // One box per failure is enough: closing through the exit command writes twice.
    if (!m_settingsWriteFailed)
        Dialogs::instance().generalError(this, QStringLiteral("Не удалось сохранить настройки в файле «%1». %2")
                                                   .arg(m_settings.fileName(), written.message()));
    m_settingsWriteFailed = true;
}

void MainWindow::saveView(bool sayFailure)
{
    const WindowPlacement::Screen screen = WindowPlacement::screenOf(*this);
    SettingsStore::MainWindowView view;
    view.upperHalfHeight = ui.upperHalf->height();
    view.laying = FiberglassChoices::fromIndex<Laying>(ui.layingCombo->currentIndex());
    view.wall = FiberglassChoices::fromIndex<Wall>(ui.wallCombo->currentIndex());
    const Result<> written = m_settings.writeMainWindow(
        ui.calculationTabs->currentIndex(), WindowPlacement::of(*this, WindowPlacement::MinimizedWindow::Kept),
        screen.pixelsPerInch, screen.size, view);
    if (sayFailure)
        reportSettingsWrite(written);
}

void MainWindow::restorePlacement()
{
    const WindowPlacement::Screen screen = WindowPlacement::screenOf(*this);
    const auto view = m_settings.mainWindowView(screen.pixelsPerInch, screen.size);
    if (!view)
        return;
    if (view->placement)
        view->placement->applyTo(*this, WindowPlacement::MinimizedWindow::Kept);
    if (view->upperHalfHeight > 0) {
        QList<int> sizes = ui.halvesSplitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        ui.halvesSplitter->setSizes({view->upperHalfHeight, std::max(total - view->upperHalfHeight, 1)});
    }
    if (view->laying) {
        ui.layingCombo->setCurrentIndex(FiberglassChoices::index(*view->laying));
        m_session->setLaying(*view->laying);
    }
    if (view->wall)
        ui.wallCombo->setCurrentIndex(FiberglassChoices::index(*view->wall));
}
