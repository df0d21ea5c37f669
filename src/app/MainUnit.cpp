#include "app/MainUnit.h"

#include "app/ApplicationMessageHook.h"
#include "app/HelpLauncher.h"
#include "app/MainCharts.h"
#include "app/MainSettings.h"
#include "app/ProjectController.h"
#include "app/ReportLayer.h"
#include "app/reabout.h"
#include "calc/CalcSession.h"
#include "model/NumberFormat.h"
#include "refdata/DatabaseError.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"
#include "refdata/ReferenceTableModel.h"
#include "reports/CalcReport.h"
#include "ui/Dialogs.h"
#include "ui/ElidedLabel.h"
#include "ui/GridView.h"
#include "ui/VariableGridModel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <utility>

namespace {

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A key typed on the input grid that starts a number: a digit, a sign or a
// decimal separator.  Its text goes into the value editor.
bool startsNumber(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return text.size() == 1 && QStringLiteral("0123456789-+,.").contains(text.front());
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
    // Nothing can be said any more: a failure here goes unreported.
    if (!m_placementSaved && PlacementRestored)
        saveView(false);
    if (m_hook)
        qApp->removeEventFilter(m_hook);
}

TCalcVariables &TFormMain::vars()
{
    return m_session->vars();
}

ReferenceData &TFormMain::referenceData()
{
    return m_session->referenceData();
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
}

void TFormMain::FormCreate()
{
    // The message hook sees every event of the program.
    m_hook = new ApplicationMessageHook(this, ActionExecute, ActionReportEdit, ActionHelp);
    qApp->installEventFilter(m_hook);
    connect(m_hook, &ApplicationMessageHook::mainWindowActivated, this, &TFormMain::FormActivate);
    connect(m_hook, &ApplicationMessageHook::disabledCommandKey, this, [this](QAction *action) {
        if (action == ActionReportEdit)
            explainNoReport();
    });

    // The session lives as long as the window; its reference data touches
    // the database only when the window is first activated.
    m_session = std::make_unique<CalcSession>();
    m_tableErrors = std::make_unique<TableErrors>(this);
    m_session->setErrorSink(m_tableErrors.get());
    if (!m_databaseFolder.isEmpty())
        m_session->referenceData().dataModule().setBaseDir(m_databaseFolder);
    setUpReferenceGrids();
    m_charts = new MainCharts(*this, *m_session);

    m_inModel = new VariableGridModel(vars(), VariableGridModel::Kind::Input, this);
    m_outModel = new VariableGridModel(vars(), VariableGridModel::Kind::Output, this);
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
    connect(ui.vstInVariables->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFormMain::chooseInputRow);
    ui.vstInVariables->installEventFilter(this);
    ui.EditVarValue->installEventFilter(this);
    connect(ui.ComboBox1, QOverload<int>::of(&QComboBox::activated), this, &TFormMain::ComboBox1Change);
    connect(ui.ComboBox2, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { m_session->setWallIndex(index); });

    SettingsSection = QStringLiteral("View");
    m_settings = std::make_unique<MainSettings>(SettingsFileName, SettingsSection);

    connect(ui.TabSet, &QTabBar::currentChanged, this, &TFormMain::TabSetChange);
    ui.TabSet->setCurrentIndex(m_settings->tabIndex());

    PlacementRestored = false;
    CalculationDone = false;
    m_session->setMode(ui.TabSet->currentIndex() == 1 ? 1 : 0);
    m_session->setLayingIndex(ui.ComboBox1->currentIndex());
    m_session->setWallIndex(ui.ComboBox2->currentIndex());
    if (m_session->mode() == 0)
        ShowHydraulicView();
    else
        ShowStaticView();

    // Greek names are drawn as Unicode Greek letters in the grids' typeface.
    SymbolFont = QFont(VariableGridModel::cellFont().family());
    SymbolFont.setPointSize(9);
    m_inModel->setSymbolFont(SymbolFont);

    // The project is the session as it stands now.
    m_project = new ProjectController(this, *m_session, SettingsFileName);
    m_project->fillMenu(ui.PopupMenuProject);
    ui.PopupMenuProject->addSeparator();
    ui.PopupMenuProject->addAction(ActionExit);
    connect(m_project, &ProjectController::sessionReplaced, this, &TFormMain::showReplacedSession);

    connect(m_session.get(), &CalcSession::changed, this, &TFormMain::showSession);
    showSession();
    showValueTarget();
}

void TFormMain::FormActivate()
{
    if (!PlacementRestored) {
        restorePlacement();
        PlacementRestored = true;
        if (!m_startProject.isEmpty())
            m_project->openFile(std::exchange(m_startProject, QString()));
    }
    // A database that cannot be opened ends the activation: the panel is
    // decided at the next one.  Closing the error box activates the window
    // again; the reference data skips that one, so the box is said once.
    if (!withDatabase([this] { referenceData().reloadOnActivation(); }))
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
    ReferenceData &refs = referenceData();
    const QList<QPair<GridView *, QAbstractItemModel *>> grids = {
        {ui.vstMaterials, refs.materials()},
        {ui.vstTubes, refs.tubes()},
        {ui.vstTubesSt, refs.fiberglassTubes()},
        {ui.vstSoiles, refs.soils()},
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
    const bool fiberglass = referenceData().fiberglassTubesVisible();
    ui.vstTubes->setVisible(!fiberglass);
    ui.vstTubesSt->setVisible(fiberglass);
}

void TFormMain::AdvPageControl1Change(int index)
{
    ReferenceData &refs = referenceData();
    switch (index) {
    case TFormMainUi::PageIndexMaterials:
        withDatabase([&refs] { refs.LoadMaterials(); });
        break;
    case TFormMainUi::PageIndexTubes:
        withDatabase([&refs] { refs.LoadTubes(); });
        break;
    case TFormMainUi::PageIndexSoils:
        withDatabase([&refs] { refs.LoadSoils(); });
        break;
    default:
        break;
    }
}

void TFormMain::vstMaterialsClick()
{
    if (!m_session->pickMaterial(ui.vstMaterials->focusedRow()))
        return;
    showTubeGrid();
    m_inModel->refresh();
    UpdateFiberglassPanel();
}

void TFormMain::vstTubesClick()
{
    if (m_session->pickTube(ui.vstTubes->focusedRow()))
        m_inModel->refresh();
}

void TFormMain::vstTubesStClick()
{
    if (m_session->pickFiberglassTube(ui.vstTubesSt->focusedRow()))
        m_inModel->refresh();
}

void TFormMain::vstSoilesClick()
{
    if (m_session->pickSoil(ui.vstSoiles->focusedRow()))
        m_inModel->refresh();
}

void TFormMain::TabSetChange(int index)
{
    m_session->setMode(index);
    if (m_session->mode() == 0)
        ShowHydraulicView();
    else
        ShowStaticView();
    UpdateFiberglassPanel();
}

void TFormMain::fillView(CalcView view)
{
    const bool trenchless = ui.ComboBox1->currentIndex() == 1;
    const QVector<Slot> inputs = CalcViews::inputRows(view, trenchless);
    const QVector<Slot> outputs = CalcViews::outputRows(view);
    QPalette palette = ui.PanelTopCaption->palette();
    palette.setColor(QPalette::Window, QColor(0, 74, 128));
    ui.PanelTopCaption->setPalette(palette);
    ui.LabelTop->setText(CalcViews::headerText(view));
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
        ui.vstInVariables->selectionModel()->setCurrentIndex(
            m_inModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    m_rebuilding = false;
    showValueTarget();
    showSession();
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
    if (m_session->calculation() == CalcKind::Fiberglass) {
        ui.Panel1->show();
        ShowFiberglassView();
        return;
    }
    if (m_session->mode() == 1)
        ShowStaticView();
    ui.Panel1->hide();
}

void TFormMain::ComboBox1Change(int index)
{
    m_session->setLayingIndex(index);
    ShowFiberglassView();
}

void TFormMain::showReplacedSession()
{
    ui.TabSet->setCurrentIndex(m_session->mode());
    ui.ComboBox1->setCurrentIndex(m_session->layingIndex());
    {
        const QSignalBlocker blocker(ui.ComboBox2);
        ui.ComboBox2->setCurrentIndex(m_session->wallIndex());
    }
    showTubeGrid();
    m_inModel->refresh();
    UpdateFiberglassPanel();
    // The value editor shows the value the chosen row now holds.
    const Slot target = valueTarget();
    if (target != Slot::None)
        ui.EditVarValue->setText(vars()[target].FormatValue());
    showSession();
}

bool TFormMain::calculate(CalcKind kind)
{
    const CalcOutcome outcome = m_session->run(kind);
    switch (outcome.kind()) {
    case CalcOutcome::Kind::Completed:
        CalculationDone = true;
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

void TFormMain::CalcHydraulic()
{
    calculate(CalcKind::Hydraulic);
}

void TFormMain::CalcStatic()
{
    calculate(CalcKind::Static);
}

void TFormMain::CalcFiberglass(bool makeReport)
{
    if (calculate(CalcKind::Fiberglass) && makeReport && m_reports) {
        m_reports->makeReport(*m_session, CalcKind::Fiberglass);
        m_reportTitle = CalcReport::title(CalcKind::Fiberglass);
    }
}

void TFormMain::showSession()
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

    QColor background(236, 236, 236);
    QColor text(64, 64, 64);
    const CalcVerdict verdict = m_session->verdict(kind);
    if (state == CalcSession::ResultState::Current && verdict.judged() && !verdict.holds()) {
        background = QColor(250, 219, 216);
        text = QColor(150, 0, 0);
    } else if (state == CalcSession::ResultState::Current) {
        background = QColor(221, 242, 221);
        text = QColor(0, 90, 0);
    } else if (state == CalcSession::ResultState::Stale) {
        background = QColor(255, 243, 205);
        text = QColor(120, 80, 0);
    } else if (state == CalcSession::ResultState::Failed) {
        background = QColor(250, 219, 216);
        text = QColor(150, 0, 0);
    }
    QPalette palette = ui.ResultsState->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    ui.ResultsState->setPalette(palette);
    ui.ResultsState->setText(m_session->stateLine(kind));
    QStringList warnings;
    for (const CalcWarning &warning : m_session->warnings(kind))
        warnings << QStringLiteral("⚠ ") + warning.message;
    ui.ResultsWarnings->setText(warnings.join(QLatin1Char('\n')));
    ui.ResultsWarnings->setVisible(!warnings.isEmpty());
    ui.ChoicesLine->setText(m_session->choicesLine());

    // The fiberglass report runs its calculation first, so it is always at hand.
    ActionReportEdit->setEnabled(m_session->calculation() == CalcKind::Fiberglass || m_session->resultsCurrent());
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
    calculate(m_session->calculation());
}

void TFormMain::explainNoReport()
{
    const QString refusal = m_session->reportRefusal(m_session->calculation());
    if (!refusal.isEmpty())
        Dialogs::instance().message(this, refusal);
}

void TFormMain::ActionReportEditExecute()
{
    const CalcKind kind = m_session->calculation();
    if (kind == CalcKind::Fiberglass) {
        // The fiberglass report always follows a fresh run of the inputs as they are.
        CalcFiberglass(true);
        return;
    }
    if (!m_session->resultsCurrent(kind)) {
        explainNoReport();
        return;
    }
    if (m_reports) {
        m_reports->makeReport(*m_session, kind);
        m_reportTitle = CalcReport::title(kind);
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
    ActionHydraulicCalc->setChecked(m_session->mode() == 0);
    ActionStatCalc->setChecked(m_session->mode() == 1);
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

void TFormMain::chooseInputRow(const QModelIndex &current)
{
    // A row the user moves to is the one the next value goes to; a grid
    // rebuilt or left empty keeps the choice.
    if (m_rebuilding || !current.isValid())
        return;
    m_chosenInput = m_inModel->rows().value(current.row(), Slot::None);
    showValueTarget();
}

Slot TFormMain::valueTarget() const
{
    return m_inModel->rowOf(m_chosenInput) >= 0 ? m_chosenInput : Slot::None;
}

void TFormMain::showValueTarget()
{
    const Slot target = valueTarget();
    if (target == Slot::None) {
        ui.EditVarTarget->setText(QStringLiteral("строка не выбрана"));
        ui.EditVarTarget->setToolTip(QStringLiteral("Выберите строку таблицы, значение которой нужно изменить"));
        return;
    }
    const TVariable &v = vars()[target];
    const QString name = v.shownName().isEmpty() ? SlotKeys::key(target) : v.shownName();
    ui.EditVarTarget->setText(v.GetUnits().isEmpty() ? QStringLiteral("→ %1").arg(name)
                                                     : QStringLiteral("→ %1, %2").arg(name, v.GetUnits()));
    ui.EditVarTarget->setToolTip(QStringLiteral("Значение изменяется у %1").arg(v.GetDescription()));
}

void TFormMain::EditVarValueEnter()
{
    const Slot target = valueTarget();
    if (target == Slot::None)
        return;
    const QString text = ui.EditVarValue->text();
    double value = 0;
    if (!NumberFormat::parseEntry(text, &value)) {
        const TVariable &v = vars()[target];
        QString example = v.FormatValue();
        QString other = example;
        other.replace(QLatin1Char(','), QLatin1Char('.'));
        if (other == example)
            example = QStringLiteral("0,5");
        const QString name = v.shownName().isEmpty() ? v.GetDescription() : v.shownName();
        Dialogs::instance().message(
            this, QStringLiteral("Значение «%1» не принято для %2 («%3»). Введите число, например %4 или %5; "
                                 "дробную часть можно отделять запятой или точкой.")
                      .arg(text.trimmed(), name, v.GetDescription(), example,
                           other == v.FormatValue() ? QStringLiteral("-1.5e3") : other));
        return;
    }
    m_session->setInput(target, value);
    m_inModel->refresh();
}

void TFormMain::typeIntoValueEditor(const QString &text)
{
    m_typedIntoEditor = true;
    ui.EditVarValue->setFocus(Qt::OtherFocusReason);
    ui.EditVarValue->setText(text);
    ui.EditVarValue->deselect();
    ui.EditVarValue->setCursorPosition(int(text.size()));
}

bool TFormMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.vstInVariables && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEnter(key)) {
            ui.EditVarValue->setFocus(Qt::OtherFocusReason);
            ui.EditVarValue->selectAll();
            return true;
        }
        if (startsNumber(key)) {
            // The first key is the first character of the value.
            typeIntoValueEditor(key->text());
            return true;
        }
    } else if (watched == ui.EditVarValue) {
        if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            EditVarValueEnter();
            return true;
        }
        if (event->type() == QEvent::FocusIn) {
            if (m_typedIntoEditor) {
                m_typedIntoEditor = false;
            } else {
                // After the click that gave the focus has placed the caret.
                QTimer::singleShot(0, ui.EditVarValue, &QLineEdit::selectAll);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    if (!m_project->confirmDrop() || (m_closeGuard && !m_closeGuard())) {
        event->ignore();
        return;
    }
    saveView();
    m_placementSaved = true;
    event->accept();
}

void TFormMain::writeTabIndex()
{
    QString reason;
    const bool written = m_settings->writeTabIndex(ui.TabSet->currentIndex(), &reason);
    reportSettingsWrite(written, reason);
}

void TFormMain::reportSettingsWrite(bool written, const QString &reason)
{
    if (written)
        return;
    // One box per failure is enough: closing through the exit command writes twice.
    if (!m_settingsWriteFailed)
        Dialogs::instance().generalError(
            this, QStringLiteral("Не удалось сохранить настройки в файле «%1». %2").arg(SettingsFileName, reason));
    m_settingsWriteFailed = true;
}

void TFormMain::saveView(bool sayFailure)
{
    WindowPlacement placement;
    placement.showCmd = isMinimized()   ? WindowPlacement::Minimized
                        : isMaximized() ? WindowPlacement::Maximized
                                        : WindowPlacement::Normal;
    placement.normalBounds = normalGeometry().isValid() ? normalGeometry() : geometry();
    const QScreen *s = screen();
    MainSettings::View view;
    view.panelHeight = ui.PanelMainTop->height();
    view.laying = ui.ComboBox1->currentIndex();
    view.wall = ui.ComboBox2->currentIndex();
    QString reason;
    const bool written = m_settings->writeView(ui.TabSet->currentIndex(), placement, qRound(s->logicalDotsPerInch()),
                                               s->size(), view, &reason);
    if (sayFailure)
        reportSettingsWrite(written, reason);
}

void TFormMain::restorePlacement()
{
    const QScreen *s = screen();
    const auto view = m_settings->view(qRound(s->logicalDotsPerInch()), s->size());
    if (!view)
        return;
    if (const auto &placement = view->placement) {
        if (placement->normalBounds.isValid())
            setGeometry(WindowPlacement::fitToScreens(placement->normalBounds, WindowPlacement::availableScreenAreas()));
        if (placement->showCmd == WindowPlacement::Maximized)
            setWindowState(Qt::WindowMaximized);
        else if (placement->showCmd == WindowPlacement::Minimized)
            setWindowState(Qt::WindowMinimized);
    }
    if (view->panelHeight > 0) {
        QList<int> sizes = ui.HorizSplitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        ui.HorizSplitter->setSizes({view->panelHeight, std::max(total - view->panelHeight, 1)});
    }
    if (view->laying >= 0) {
        ui.ComboBox1->setCurrentIndex(view->laying);
        m_session->setLayingIndex(view->laying);
    }
    if (view->wall >= 0)
        ui.ComboBox2->setCurrentIndex(view->wall);
}
