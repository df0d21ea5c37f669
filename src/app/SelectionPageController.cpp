#include "app/SelectionPageController.h"

#include "calc/CalcSession.h"
#include "calc/TubeSelectionRunner.h"
#include "ui/Dialogs.h"
#include "ui/TubeSelectionModel.h"
#include "ui/TubeSelectionPage.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace {

// The slots a pick on the tube page writes: the rows do not depend on them.
bool isTubeSize(Slot slot)
{
    switch (slot) {
    case Slot::Din:
    case Slot::Dout:
    case Slot::s:
    case Slot::Lv:
    case Slot::Lsh:
    case Slot::DSt:
    case Slot::sSt:
    case Slot::t:
    case Slot::hs_d:
        return true;
    default:
        return false;
    }
}

} // namespace

SelectionPageController::SelectionPageController(QTabWidget *pages, TubeSelectionPage *selectionPage,
                                                 CalcSession &session)
    : QObject(pages), m_pages(pages), m_page(selectionPage), m_session(session), m_runner(new TubeSelectionRunner(this))
{
    TubeSelectionPage *selection = &page();
    connect(selection, &TubeSelectionPage::startRequested, this, &SelectionPageController::start);
    connect(selection, &TubeSelectionPage::cancelRequested, this, &SelectionPageController::cancel);
    connect(selection, &TubeSelectionPage::chooseRequested, this, &SelectionPageController::choose);
    connect(m_runner, &TubeSelectionRunner::progress, selection, &TubeSelectionPage::setProgress);
    connect(m_runner, &TubeSelectionRunner::finished, this, &SelectionPageController::finished);
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        if (!pageShown())
            return;
        showKind();
        if (m_runner->isRunning() || (m_haveRows && !page().isOutdated()))
            return;
        // The hydraulic selection needs a flow first.
        if (page().kind() == CalcKind::Hydraulic && page().flowEdit()->text().trimmed().isEmpty()) {
            page().setNote(QStringLiteral("Введите требуемый расход и нажмите «Подобрать»."));
            return;
        }
        start();
    });
    connect(&m_session, &CalcSession::changed, this, &SelectionPageController::showKind);
    showKind();
}

SelectionPageController::~SelectionPageController() = default;

TubeSelectionPage &SelectionPageController::page() const
{
    return *m_page;
}

bool SelectionPageController::pageShown() const
{
    return m_pages->currentWidget() == m_page;
}

QVector<double> SelectionPageController::fingerprint(CalcKind kind) const
{
    QVector<double> values{double(kind)};
    for (const Slot slot : CalcSession::inputSlots(kind)) {
        if (!isTubeSize(slot))
            values << m_session.input(slot);
    }
    values << double(m_session.vars().selectedMaterialId) << double(m_session.vars().selectedSoilId)
           << double(FiberglassChoices::index(m_session.laying()))
           << double(FiberglassChoices::index(m_session.wall()));
    return values;
}

void SelectionPageController::showKind()
{
    const CalcKind kind = m_session.calculation();
    if (m_runner->isRunning()) {
        // Rows of another calculation are of no use.
        if (kind != m_kind)
            m_runner->cancel();
        return;
    }
    if (kind != page().kind()) {
        page().setKind(kind);
        m_haveRows = false;
        // The page in view follows the calculation at once.
        if (pageShown() && kind != CalcKind::Hydraulic)
            QTimer::singleShot(0, this, &SelectionPageController::start);
        return;
    }
    if (m_haveRows)
        page().setOutdated(fingerprint(kind) != m_inputs);
}

void SelectionPageController::start()
{
    if (m_runner->isRunning())
        return;
    const CalcKind kind = m_session.calculation();
    if (kind != page().kind())
        page().setKind(kind);
    double flow = 0;
    double maxFilling = TubeSelection::DefaultMaxFilling;
    if (kind == CalcKind::Hydraulic) {
        const Result<TubeSelectionPage::FlowDemand> demand = page().readFlow();
        if (!demand) {
            page().setNote(demand.message());
            return;
        }
        flow = demand->flow;
        maxFilling = demand->maxFilling;
    }
    // The tube table as the tube page shows it now.
    if (const Result<> loaded = m_session.referenceData().loadTubes(); !loaded) {
        Dialogs::instance().generalError(m_page->window(), loaded.message());
        return;
    }
    auto selection = std::make_unique<TubeSelection>(m_session, kind);
    selection->setRequiredFlow(flow);
    selection->setMaxFilling(maxFilling);
    m_kind = kind;
    m_inputs = fingerprint(kind);
    page().setRunning(true);
    m_runner->start(std::move(selection));
}

void SelectionPageController::cancel()
{
    m_runner->cancel();
}

void SelectionPageController::finished(const QVector<TubeSelection::Row> &rows, bool complete)
{
    page().setRunning(false);
    if (m_kind != m_session.calculation()) {
        showKind();
        return;
    }
    page().setRows(rows, complete);
    m_haveRows = true;
    showKind();
}

void SelectionPageController::choose(int row)
{
    const QVector<TubeSelection::Row> &rows = page().model()->rows();
    if (row < 0 || row >= rows.size())
        return;
    const TubeSelection::Tube &tube = rows[row].tube;
    ReferenceData &refs = m_session.referenceData();
    const int index = tube.number - 1;
    // The row of the tube page that the number names must still be the tube.
    bool same = false;
    if (tube.fiberglass) {
        same = refs.fiberglassTubesVisible() && index < refs.fiberglassTubes()->rows().size()
               && refs.fiberglassTubes()->row(index).values() == tube.fiberglassRow.values();
    } else {
        same = !refs.fiberglassTubesVisible() && index < refs.tubes()->rows().size()
               && refs.tubes()->row(index).values() == tube.corrugated.values();
    }
    if (!same) {
        Dialogs::instance().message(m_page->window(),
                                    QStringLiteral("Таблица труб изменилась после подбора. "
                                                   "Нажмите «Подобрать», чтобы подобрать трубу заново."));
        return;
    }
    Q_EMIT tubeChosen(tube.fiberglass, index);
}
