#pragma once

#include "model/CalcViews.h"
#include "model/TCalcVariables.h"
#include "ui/TFormMainUi.h"

#include <QFont>
#include <QMainWindow>

#include <functional>
#include <memory>

class ApplicationMessageHook;
class CalcOutcome;
class ReferenceData;
class IniFile;
class QAction;
class ReportLayer;
class VariableGridModel;

// The main window: the calculation views, the commands that run the
// calculations and make the reports, the settings file.
class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    // The settings file defaults to the executable's path with ".ini"
    // appended; without a database folder the reference database is looked
    // up among the program's resources.
    explicit TFormMain(const QString &settingsFileName = QString(), const QString &databaseFolder = QString(),
                       QWidget *parent = nullptr);
    ~TFormMain() override;

    TCalcVariables &vars() { return *m_vars; }
    const TFormMainUi &widgets() const { return ui; }
    VariableGridModel *inputModel() const { return m_inModel; }
    VariableGridModel *outputModel() const { return m_outModel; }
    ApplicationMessageHook *messageHook() const { return m_hook; }
    ReferenceData &referenceData() { return *m_refs; }

    // The reports; until one is set the report command stops where it would
    // hand over.
    void setReportLayer(ReportLayer *layer) { m_reports = layer; }
    // Asked before the window closes (and so the program ends); false keeps
    // it open with nothing written.
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }
    const QString &reportTitle() const { return m_reportTitle; }

    // Program-wide state.
    QString SettingsFileName;
    QString SettingsSection;
    bool PlacementRestored = false;
    bool CalculationDone = false;
    QFont SymbolFont;

    // Commands.
    QAction *ActionHydraulicCalc = nullptr;
    QAction *ActionStatCalc = nullptr;
    QAction *ActionExecute = nullptr;
    QAction *ActionReportEdit = nullptr;
    QAction *ActionExit = nullptr;
    QAction *ActionHelp = nullptr;
    QAction *ActionAbout = nullptr;

    bool fiberglassPanelShown() const;

public Q_SLOTS:
    void FormActivate();
    void TabSetChange(int index);
    void ShowHydraulicView();
    void ShowStaticView();
    void ShowFiberglassView();
    void UpdateFiberglassPanel();
    void ComboBox1Change(int index);

    void CalcHydraulic();
    void CalcStatic();
    void CalcFiberglass(bool makeReport);
    void ShowDivisionByZero();

    void ActionHydraulicCalcExecute();
    void ActionStatCalcExecute();
    void ActionExecuteExecute();
    void ActionReportEditExecute();
    void ActionExitExecute();
    void ActionHelpExecute();
    void ActionAboutExecute();
    void PopupMenuCalcPopup();
    void PopupMenuReportPopup();

    void vstInVariablesClick();
    void vstOutVariablesClick();
    void EditVarValueEnter();

    // Reference pages.
    void AdvPageControl1Change(int index);
    void vstMaterialsClick();
    void vstTubesClick();
    void vstTubesStClick();
    void vstSoilesClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void createActions();
    void setUpReferenceGrids();
    void showTubeGrid();
    // Runs a database operation; a database that cannot be opened goes to the
    // general error box.  False when it failed so.
    bool withDatabase(const std::function<void()> &operation);
    void fillView(CalcView view);
    void showVariable(VariableGridModel *model, int row);
    // Turns the outcome of a calculation into what the user sees; true when
    // it completed.
    bool finishCalculation(const CalcOutcome &outcome);

    // Settings file.
    void restorePlacement();
    void writeTabIndex();
    void savePlacement(IniFile &ini) const;
    void writeSettings(const std::function<void(IniFile &)> &change);

    TFormMainUi ui;
    std::unique_ptr<TCalcVariables> m_vars;
    class TableErrors;
    std::unique_ptr<TableErrors> m_tableErrors;
    std::unique_ptr<ReferenceData> m_refs;
    QString m_databaseFolder;
    VariableGridModel *m_inModel = nullptr;
    VariableGridModel *m_outModel = nullptr;
    ApplicationMessageHook *m_hook = nullptr;
    ReportLayer *m_reports = nullptr;
    std::function<bool()> m_closeGuard;
    QString m_reportTitle;
    bool m_placementSaved = false;
    bool m_settingsWriteFailed = false;
};
