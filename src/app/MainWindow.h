#pragma once

#include "calc/CalcKind.h"
#include "model/CalcViews.h"
#include "app/SettingsStore.h"
#include "model/CalcVariables.h"
#include "model/Result.h"
#include "ui/MainWindowWidgets.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CommandKeyFilter;
class ChartPageController;
class SelectionPageController;
class CalcOutcome;
class CalcSession;
class ProjectController;
class QAction;
class ReferenceData;
class ReportMaker;
class VariableGridModel;

// The main window: it shows the calculation session — the inputs of the
// chosen calculation, the reference pages, the results and what they are
// worth — and hands the user's commands to it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The settings file defaults to the executable's path with ".ini"
    // appended; without a database folder the reference database is looked
    // up among the program's resources.
    explicit MainWindow(const QString &settingsFileName = QString(), const QString &databaseFolder = QString(),
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    CalcSession &session() { return *m_session; }
    // The project commands and the window's title.
    ProjectController &project() { return *m_project; }
    // A project to open when the window is first shown (named on the
    // command line).
    void openProjectAtStart(const QString &path) { m_startProject = path; }
    CalcVariables &vars();
    ReferenceData &referenceData();
    // The filter that routes the program's command keys; other windows register with it.
    CommandKeyFilter *commandKeys() const { return m_commandKeys; }
    // The settings file, which the other windows keep their parts in too.
    const SettingsStore &settings() const { return m_settings; }

    // The reports; until one is set the report command stops where it would
    // hand over.
    void setReportMaker(ReportMaker *maker) { m_reports = maker; }
    ReportMaker *reportMaker() const { return m_reports; }
    // The chart page and the verdict summary.
    ChartPageController &charts() { return *m_charts; }
    // The page that sets the catalogue against the job.
    SelectionPageController &selection() { return *m_selection; }
    // Asked before the window closes (and so the program ends); false keeps
    // it open with nothing written.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }

    // The input that a value typed into the value editor goes to: the row
    // of the input grid the user last chose; Slot::None when the grid does
    // not list it.
    Slot valueTarget() const;

public Q_SLOTS:
    void onActivated();
    void changeCalculationTab(int index);
    void showHydraulicView();
    void showStaticView();
    void showFiberglassView();
    void updateFiberglassOptions();
    void changeLaying(int index);
    // Shows a session replaced as a whole (a new or opened project): the
    // tab, the laying and wall choices, the tube grid, the view and values.
    void showReplacedSession();

    void calculateHydraulic();
    void calculateStatic();
    void calculateFiberglass(bool makeReport);

    void chooseHydraulicCalculation();
    void chooseStaticCalculation();
    void runCalculation();
    void makeReport();
    void exitProgram();
    void openHelp();
    void showAbout();
    void markCalculationMenu();

    void showClickedInput();
    void showClickedResult();
    void applyEnteredValue();

    // Reference pages.
    void loadShownReferencePage(int index);
    void pickClickedMaterial();
    void pickClickedTube();
    void pickClickedFiberglassTube();
    void pickClickedSoil();
    // Makes a row of the tube table the chosen tube, as a click on it does.
    void chooseTubeRow(bool fiberglass, int row);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setUp();
    void createActions();
    void setUpReferenceGrids();
    void showTubeGrid();
    // What a database operation came to: a database that cannot be opened
    // goes to the general error box.  False when it failed so.
    bool sayIfDatabaseFailed(const Result<> &outcome);
    void fillView(CalcView view);
    void showVariable(VariableGridModel *model, int row);
    // Runs a calculation and says what went wrong; true when it completed.
    bool calculate(CalcKind kind);
    // Shows the session: the results and what they are worth, the commands
    // that apply.
    void showSession();
    void showValueTarget();
    // Puts the chosen input's value into the value editor.
    void showTargetValue();
    void chooseInputRow(const QModelIndex &current);
    // Says why no report can be made now.
    void explainNoReport();

    // Settings file.
    void restorePlacement();
    void writeTabIndex();
    void saveView(bool sayFailure = true);
    void reportSettingsWrite(const Result<> &written);

    MainWindowWidgets ui;
    // Commands; each carries its name as its object name.
    QAction *m_hydraulicAction = nullptr;
    QAction *m_staticAction = nullptr;
    QAction *m_runAction = nullptr;
    QAction *m_reportAction = nullptr;
    QAction *m_exitAction = nullptr;
    QAction *m_helpAction = nullptr;
    QAction *m_aboutAction = nullptr;
    std::unique_ptr<CalcSession> m_session;
    class TableErrors;
    std::unique_ptr<TableErrors> m_tableErrors;
    SettingsStore m_settings;
    ProjectController *m_project = nullptr;
    QString m_startProject;
    QString m_databaseFolder;
    VariableGridModel *m_inModel = nullptr;
    VariableGridModel *m_outModel = nullptr;
    CommandKeyFilter *m_commandKeys = nullptr;
    ReportMaker *m_reports = nullptr;
    ChartPageController *m_charts = nullptr;
    SelectionPageController *m_selection = nullptr;
    std::function<bool()> m_closeGuard;
    // The view the grids list, and the input the user last chose in it.
    CalcView m_view = CalcView::Hydraulic;
    bool m_viewShown = false;
    Slot m_chosenInput = Slot::None;
    // Set while the grids are rebuilt, when row changes are not the user's.
    bool m_rebuilding = false;
    // The stored placement is taken when the window is first activated.
    bool m_placementRestored = false;
    bool m_placementSaved = false;
    bool m_settingsWriteFailed = false;
};
