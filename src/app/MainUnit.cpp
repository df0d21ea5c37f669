#include "app/MainUnit.h"

#include "app/ApplicationMessageHook.h"
#include "app/HelpLauncher.h"
#include "app/IniFile.h"
#include "app/ReportLayer.h"
#include "app/WindowPlacement.h"
#include "app/reabout.h"
#include "calc/FiberglassCalc.h"
#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "model/MessageText.h"
#include "model/NumberFormat.h"
#include "refdata/DatabaseError.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/StaticReport.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"
#include "refdata/ReferenceTableModel.h"
#include "ui/Dialogs.h"
#include "ui/GridView.h"
#include "ui/VariableGridModel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kTabIndex = QStringLiteral("TabIndex");
const QString kPanelHeight = QStringLiteral("PanelMainTop_Height");
const QString kLayingIndex = QStringLiteral("ComboBox1_ItemIndex");
const QString kWallIndex = QStringLiteral("ComboBox2_ItemIndex");

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

// A table that cannot be read is said in a box with an OK button.
class TFormMain::TableErrors : public ReferenceErrorSink
{
public:
    explicit TableErrors(QWidget *window) : m_window(window) {}
    void showTableError(const QString &message) override { Dialogs::instance().message(m_window, message); }

private:
    QWidget *m_window;
};

TFormMain::TFormMain(const QString &settingsFileName, const QString &databaseFolder, QWidget *parent)
    : QMainWindow(parent), m_databaseFolder(databaseFolder)
{
    ui.setupUi(this);
    createActions();
    SettingsFileName = settingsFileName.isEmpty() ? QCoreApplication::applicationFilePath() + QStringLiteral(".ini")
                                                  : settingsFileName;
    FormCreate();

    // Centred at the first start; a stored placement replaces this when the
    // window is first activated.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFormMain::~TFormMain()
{
    // The views go before the models they show.
    for (GridView *grid : {ui.vstMaterials, ui.vstTubes, ui.vstTubesSt, ui.vstSoiles})
        grid->setModel(nullptr);
    if (!m_placementSaved && PlacementRestored) {
        IniFile ini(SettingsFileName);
        ini.load();
        savePlacement(ini);
        ini.save();
    }
    if (m_hook)
        qApp->removeEventFilter(m_hook);
}

void TFormMain::createActions()
{
    auto action = [this](const QString &text, void (TFormMain::*slot)()) {
        auto *a = new QAction(text, this);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    ActionHydraulicCalc = action(QStringLiteral("Гидравлический расчёт"), &TFormMain::ActionHydraulicCalcExecute);
    ActionHydraulicCalc->setCheckable(true);
    ActionStatCalc = action(QStringLiteral("Статический расчёт"), &TFormMain::ActionStatCalcExecute);
    ActionStatCalc->setCheckable(true);
    // C and R are plain keys claimed program-wide by the message hook; the
    // menus only name them.
    ActionExecute = action(QStringLiteral("Выполнить\tC"), &TFormMain::ActionExecuteExecute);
    ActionReportEdit = action(QStringLiteral("Правка\tR"), &TFormMain::ActionReportEditExecute);
    ActionExit = action(QStringLiteral("&Выход"), &TFormMain::ActionExitExecute);
    ActionExit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    ActionExit->setShortcutContext(Qt::WindowShortcut);
    ActionHelp = action(QStringLiteral("Вызов справки"), &TFormMain::ActionHelpExecute);
    ActionAbout = action(QStringLiteral("&О программе"), &TFormMain::ActionAboutExecute);

    ui.PopupMenuReport->addAction(ActionReportEdit);
    ui.PopupMenuReport->addSeparator();
    ui.PopupMenuReport->addAction(ActionExit);
    ui.PopupMenuCalc->addAction(ActionHydraulicCalc);
    ui.PopupMenuCalc->addAction(ActionStatCalc);
    ui.PopupMenuCalc->addSeparator();
    ui.PopupMenuCalc->addAction(ActionExecute);
    ui.PopupMenuHelp->addAction(ActionHelp);
    ui.PopupMenuHelp->addSeparator();
    ui.PopupMenuHelp->addAction(ActionAbout);
    connect(ui.PopupMenuCalc, &QMenu::aboutToShow, this, &TFormMain::PopupMenuCalcPopup);
    connect(ui.PopupMenuReport, &QMenu::aboutToShow, this, &TFormMain::PopupMenuReportPopup);
}

void TFormMain::FormCreate()
{
    // The message hook sees every event of the program.
    m_hook = new ApplicationMessageHook(this, ActionExecute, ActionReportEdit, ActionHelp);
    qApp->installEventFilter(m_hook);
    connect(m_hook, &ApplicationMessageHook::mainWindowActivated, this, &TFormMain::FormActivate);

    m_vars = std::make_unique<TCalcVariables>();
    m_vars->InitCatalogue();

    // The data module lives as long as the window; it touches the database
    // only when the window is first activated.
    m_tableErrors = std::make_unique<TableErrors>(this);
    m_refs = std::make_unique<ReferenceData>(*m_vars, *m_tableErrors, m_databaseFolder);
    setUpReferenceGrids();

    m_inModel = new VariableGridModel(*m_vars, VariableGridModel::Kind::Input, this);
    m_outModel = new VariableGridModel(*m_vars, VariableGridModel::Kind::Output, this);
    ui.vstInVariables->setModel(m_inModel);
    ui.vstOutVariables->setModel(m_outModel);
    for (int c = 0; c < VariableGridModel::ColumnCount; ++c) {
        ui.vstInVariables->setColumnWidth(c, VariableGridModel::defaultColumnWidth(VariableGridModel::Kind::Input, c));
        ui.vstOutVariables->setColumnWidth(c,
                                           VariableGridModel::defaultColumnWidth(VariableGridModel::Kind::Output, c));
    }
    ui.vstOutVariables->setFirstColumnIndent(18);
    connect(ui.vstInVariables, &QAbstractItemView::clicked, this, &TFormMain::vstInVariablesClick);
    connect(ui.vstOutVariables, &QAbstractItemView::clicked, this, &TFormMain::vstOutVariablesClick);
    ui.vstInVariables->installEventFilter(this);
    ui.EditVarValue->installEventFilter(this);
    connect(ui.ComboBox1, QOverload<int>::of(&QComboBox::activated), this, &TFormMain::ComboBox1Change);

    SettingsSection = QStringLiteral("View");

    IniFile ini(SettingsFileName);
    ini.load();
    int tab = ini.intValue(kSettings, kTabIndex, 0);
    if (tab != 0 && tab != 1)
        tab = 0;
    connect(ui.TabSet, &QTabBar::currentChanged, this, &TFormMain::TabSetChange);
    ui.TabSet->setCurrentIndex(tab);

    PlacementRestored = false;
    CalculationDone = false;
    m_vars->Mode = std::uint8_t(ui.TabSet->currentIndex() == 1 ? 1 : 0);
    if (m_vars->Mode == 0)
        ShowHydraulicView();
    else
        ShowStaticView();

    // Greek names are drawn as Unicode Greek letters in the grids' typeface.
    SymbolFont = QFont(VariableGridModel::cellFont().family());
    SymbolFont.setPointSize(9);
    m_inModel->setSymbolFont(SymbolFont);
}

void TFormMain::FormActivate()
{
    if (!PlacementRestored) {
        restorePlacement();
        PlacementRestored = true;
    }
    // A database that cannot be opened ends the activation: the panel is
    // decided at the next one.  Closing the error box activates the window
    // again; the reference data skips that one, so the box is said once.
    if (!withDatabase([this] { m_refs->reloadOnActivation(); }))
        return;
    UpdateFiberglassPanel();
}

bool TFormMain::withDatabase(const std::function<void()> &operation)
{
    try {
        operation();
        return true;
    } catch (const DatabaseError &error) {
        Dialogs::instance().generalError(this, error.message());
        return false;
    }
}

void TFormMain::setUpReferenceGrids()
{
    const QList<QPair<GridView *, QAbstractItemModel *>> grids = {
        {ui.vstMaterials, m_refs->materials()},
        {ui.vstTubes, m_refs->tubes()},
        {ui.vstTubesSt, m_refs->fiberglassTubes()},
        {ui.vstSoiles, m_refs->soils()},
    };
    for (const auto &[grid, model] : grids) {
        grid->setModel(model);
        QVector<int> widths;
        QVector<int> limits;
        for (int c = 0; c < model->columnCount(); ++c) {
            widths << model->headerData(c, Qt::Horizontal, ReferenceTableModel::ColumnWidthRole).toInt();
            const QVariant limit = model->headerData(c, Qt::Horizontal, ReferenceTableModel::ColumnMaxWidthRole);
            limits << (limit.isValid() ? limit.toInt() : 0);
        }
        grid->setColumnWidths(widths);
        grid->setColumnLimits(limits);
    }
    showTubeGrid();
    connect(ui.AdvPageControl1, &QTabWidget::currentChanged, this, &TFormMain::AdvPageControl1Change);
    connect(ui.vstMaterials, &QAbstractItemView::clicked, this, &TFormMain::vstMaterialsClick);
    connect(ui.vstTubes, &QAbstractItemView::clicked, this, &TFormMain::vstTubesClick);
    connect(ui.vstTubesSt, &QAbstractItemView::clicked, this, &TFormMain::vstTubesStClick);
    connect(ui.vstSoiles, &QAbstractItemView::clicked, this, &TFormMain::vstSoilesClick);
}

void TFormMain::showTubeGrid()
{
    const bool fiberglass = m_refs->fiberglassTubesVisible();
    ui.vstTubes->setVisible(!fiberglass);
    ui.vstTubesSt->setVisible(fiberglass);
}

void TFormMain::AdvPageControl1Change(int index)
{
    switch (index) {
    case TFormMainUi::PageIndexMaterials:
        withDatabase([this] { m_refs->LoadMaterials(); });
        break;
    case TFormMainUi::PageIndexTubes:
        withDatabase([this] { m_refs->LoadTubes(); });
        break;
    case TFormMainUi::PageIndexSoils:
        withDatabase([this] { m_refs->LoadSoils(); });
        break;
    default:
        break;
    }
}

void TFormMain::vstMaterialsClick()
{
    if (!m_refs->pickMaterial(ui.vstMaterials->focusedRow()))
        return;
    showTubeGrid();
    m_inModel->refresh();
    UpdateFiberglassPanel();
}

void TFormMain::vstTubesClick()
{
    if (m_refs->pickTube(ui.vstTubes->focusedRow()))
        m_inModel->refresh();
}

void TFormMain::vstTubesStClick()
{
    if (m_refs->pickFiberglassTube(ui.vstTubesSt->focusedRow()))
        m_inModel->refresh();
}

void TFormMain::vstSoilesClick()
{
    if (m_refs->pickSoil(ui.vstSoiles->focusedRow()))
        m_inModel->refresh();
}

void TFormMain::TabSetChange(int index)
{
    if (index == 0)
        m_vars->Mode = 0;
    else if (index == 1)
        m_vars->Mode = 1;
    if (m_vars->Mode == 0)
        ShowHydraulicView();
    else
        ShowStaticView();
    UpdateFiberglassPanel();
}

void TFormMain::fillView(CalcView view)
{
    m_inModel->clear();
    m_outModel->clear();
    QPalette palette = ui.PanelTopCaption->palette();
    palette.setColor(QPalette::Window, QColor(0, 74, 128));
    ui.PanelTopCaption->setPalette(palette);
    ui.LabelTop->setText(CalcViews::headerText(view));
    const bool trenchless = ui.ComboBox1->currentIndex() == 1;
    m_inModel->setRows(CalcViews::inputRows(view, trenchless));
    m_outModel->setRows(CalcViews::outputRows(view));
}

void TFormMain::ShowHydraulicView()
{
    fillView(CalcView::Hydraulic);
}

void TFormMain::ShowStaticView()
{
    fillView(CalcView::Static);
}

void TFormMain::ShowFiberglassView()
{
    fillView(CalcView::Fiberglass);
}

bool TFormMain::fiberglassPanelShown() const
{
    return !ui.Panel1->isHidden();
}

void TFormMain::UpdateFiberglassPanel()
{
    if (m_vars->Mode == 1 && m_vars->isFiberglassMaterial()) {
        ui.Panel1->show();
        ShowFiberglassView();
        return;
    }
    if (m_vars->Mode == 1)
        ShowStaticView();
    ui.Panel1->hide();
}

void TFormMain::ComboBox1Change(int)
{
    ShowFiberglassView();
}

bool TFormMain::finishCalculation(const CalcOutcome &outcome)
{
    switch (outcome.kind()) {
    case CalcOutcome::Kind::Completed:
        m_outModel->refresh();
        CalculationDone = true;
        return true;
    case CalcOutcome::Kind::Stopped:
        return false;
    case CalcOutcome::Kind::DivisionByZero:
        ShowDivisionByZero();
        return false;
    case CalcOutcome::Kind::Fault:
        Dialogs::instance().generalError(this, outcome.faultMessage());
        return false;
    }
    return false;
}

void TFormMain::CalcHydraulic()
{
    finishCalculation(::CalcHydraulic(*m_vars));
}

void TFormMain::CalcStatic()
{
    finishCalculation(::CalcStatic(*m_vars));
}

void TFormMain::CalcFiberglass(bool makeReport)
{
    const int laying = ui.ComboBox1->currentIndex();
    const FiberglassRun run = ::CalcFiberglass(*m_vars, laying, ui.ComboBox2->currentIndex());
    if (finishCalculation(run.outcome) && makeReport && m_reports)
        m_reports->reportFiberglass(run.results, laying, ui.ComboBox1->currentText());
}

void TFormMain::ShowDivisionByZero()
{
    Dialogs::instance().message(this, MessageText::divisionByZero());
}

void TFormMain::ActionHydraulicCalcExecute()
{
    ui.TabSet->setCurrentIndex(0);
}

void TFormMain::ActionStatCalcExecute()
{
    ui.TabSet->setCurrentIndex(1);
}

void TFormMain::ActionExecuteExecute()
{
    if (fiberglassPanelShown()) {
        CalcFiberglass(false);
        return;
    }
    if (m_vars->Mode == 0)
        CalcHydraulic();
    else
        CalcStatic();
}

void TFormMain::ActionReportEditExecute()
{
    auto setTitle = [this](const QString &title) {
        m_reportTitle = title;
        if (m_reports)
            m_reports->setTitle(title);
    };
    if (fiberglassPanelShown()) {
        setTitle(FiberglassReport::title());
        CalcFiberglass(true);
        return;
    }
    if (!CalculationDone)
        return;
    if (m_vars->Mode == 0) {
        setTitle(HydraulicReport::title());
        if (m_reports)
            m_reports->reportHydraulic();
    } else {
        setTitle(StaticReport::title());
        if (m_reports)
            m_reports->reportStatic();
    }
}

void TFormMain::ActionExitExecute()
{
    writeTabIndex();
    close();
}

void TFormMain::ActionHelpExecute()
{
    HelpLauncher::open(QCoreApplication::applicationFilePath());
}

void TFormMain::ActionAboutExecute()
{
    TAboutBox box(this);
    box.LabelVer->setText(QStringLiteral("Версия ") + QCoreApplication::applicationVersion());
    Dialogs::instance().execDialog(&box);
}

void TFormMain::PopupMenuCalcPopup()
{
    ActionHydraulicCalc->setChecked(m_vars->Mode == 0);
    ActionStatCalc->setChecked(m_vars->Mode == 1);
}

void TFormMain::PopupMenuReportPopup()
{
    ActionReportEdit->setEnabled(CalculationDone);
}

void TFormMain::showVariable(VariableGridModel *model, int row)
{
    if (row < 0)
        return;
    const TVariable &v = model->variableAt(row);
    ui.EditVarValue->setText(v.FormatValue());
    ui.StatusText->setText(v.GetDescription());
}

void TFormMain::vstInVariablesClick()
{
    showVariable(m_inModel, ui.vstInVariables->focusedRow());
}

void TFormMain::vstOutVariablesClick()
{
    showVariable(m_outModel, ui.vstOutVariables->focusedRow());
}

void TFormMain::EditVarValueEnter()
{
    const int row = ui.vstInVariables->focusedRow();
    if (row < 0)
        return;
    const QString text = ui.EditVarValue->text();
    static const QRegularExpression accepted(QStringLiteral("((\\d+,\\d+)|^\\d+$)"));
    if (!accepted.match(text).hasMatch())
        return;
    double value = 0;
    if (!NumberFormat::parse(text.trimmed(), NumberFormat::decimalSeparator(), &value)) {
        Dialogs::instance().generalError(this, QStringLiteral("'%1' is not a valid floating point value").arg(text));
        return;
    }
    m_inModel->variableAt(row).SetValue(value);
    m_inModel->refresh();
}

bool TFormMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.vstInVariables && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool digit = key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9;
        if (digit || isEnter(key)) {
            ui.EditVarValue->setFocus(Qt::OtherFocusReason);
            ui.EditVarValue->selectAll();
            return true;
        }
    } else if (watched == ui.EditVarValue) {
        if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            EditVarValueEnter();
            return true;
        }
        if (event->type() == QEvent::FocusIn) {
            // After the click that gave the focus has placed the caret.
            QTimer::singleShot(0, ui.EditVarValue, &QLineEdit::selectAll);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    writeSettings([this](IniFile &ini) {
        ini.setValue(kSettings, kTabIndex, ui.TabSet->currentIndex());
        savePlacement(ini);
    });
    m_placementSaved = true;
    event->accept();
}

void TFormMain::writeTabIndex()
{
    writeSettings([this](IniFile &ini) { ini.setValue(kSettings, kTabIndex, ui.TabSet->currentIndex()); });
}

void TFormMain::writeSettings(const std::function<void(IniFile &)> &change)
{
    IniFile ini(SettingsFileName);
    ini.load();
    change(ini);
    QString reason;
    if (ini.save(&reason))
        return;
    // One box per failure is enough: closing through the exit command writes twice.
    if (!m_settingsWriteFailed)
        Dialogs::instance().generalError(
            this, QStringLiteral("Не удалось сохранить настройки в файле «%1». %2").arg(SettingsFileName, reason));
    m_settingsWriteFailed = true;
}

void TFormMain::savePlacement(IniFile &ini) const
{
    WindowPlacement placement;
    placement.showCmd = isMinimized()   ? WindowPlacement::Minimized
                        : isMaximized() ? WindowPlacement::Maximized
                                        : WindowPlacement::Normal;
    placement.normalBounds = normalGeometry().isValid() ? normalGeometry() : geometry();
    const QScreen *s = screen();
    placement.save(ini, SettingsSection, qRound(s->logicalDotsPerInch()), s->size());
    ini.setValue(SettingsSection, kPanelHeight, ui.PanelMainTop->height());
    ini.setValue(SettingsSection, kLayingIndex, ui.ComboBox1->currentIndex());
    ini.setValue(SettingsSection, kWallIndex, ui.ComboBox2->currentIndex());
}

void TFormMain::restorePlacement()
{
    IniFile ini(SettingsFileName);
    if (!ini.load())
        return;
    const QScreen *s = screen();
    if (const auto placement = WindowPlacement::load(ini, SettingsSection, qRound(s->logicalDotsPerInch()), s->size())) {
        if (placement->normalBounds.isValid())
            setGeometry(WindowPlacement::fitToScreens(placement->normalBounds, WindowPlacement::availableScreenAreas()));
        if (placement->showCmd == WindowPlacement::Maximized)
            setWindowState(Qt::WindowMaximized);
        else if (placement->showCmd == WindowPlacement::Minimized)
            setWindowState(Qt::WindowMinimized);
    }
    const int height = ini.intValue(SettingsSection, kPanelHeight, -1);
    if (height > 0) {
        QList<int> sizes = ui.HorizSplitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        ui.HorizSplitter->setSizes({height, std::max(total - height, 1)});
    }
    const int laying = ini.intValue(SettingsSection, kLayingIndex, -1);
    if (laying == 0 || laying == 1)
        ui.ComboBox1->setCurrentIndex(laying);
    const int wall = ini.intValue(SettingsSection, kWallIndex, -1);
    if (wall == 0 || wall == 1)
        ui.ComboBox2->setCurrentIndex(wall);
}
