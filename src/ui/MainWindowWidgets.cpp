#include "ui/MainWindowWidgets.h"

#include "calc/FiberglassChoices.h"
#include "ui/Artwork.h"
#include "ui/ChartPage.h"
#include "ui/ElidedLabel.h"
#include "ui/GridView.h"
#include "ui/ResultsStateLine.h"
#include "ui/TableExportActions.h"
#include "ui/TubeSelectionPage.h"
#include "ui/VerdictPanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

QFont pixelFont(const char *family, int pixels, bool bold = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A line of text across the results, on a background of its own.
QLabel *resultsLine(QLabel *line)
{
    line->setWordWrap(true);
    line->setContentsMargins(6, 2, 6, 2);
    line->setFont(pixelFont("MS Sans Serif", 12));
    line->setAutoFillBackground(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return line;
}

QWidget *gap(QWidget *parent, int height)
{
    auto *w = new QWidget(parent);
    w->setFixedHeight(height);
    return w;
}

// A page that a grid fills.
QWidget *gridPage(QWidget *parent, std::initializer_list<QWidget *> grids)
{
    auto *page = new QWidget(parent);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget *grid : grids) {
        grid->setParent(page);
        layout->addWidget(grid);
    }
    return page;
}

} // namespace

QSize MainWindowWidgets::defaultSize(const QRect &available)
{
    // Wide enough for every result's description and every check on a line
    // of its own, tall enough for the inputs, the results and the checks of
    // the static calculations together; within a screen of 1280 by 800.
    QSize size(1000, 740);
    if (available.isValid())
        size = size.boundedTo(available.size() - QSize(20, 40));
    return size.expandedTo(QSize(758, 600));
}

void MainWindowWidgets::setupUi(QMainWindow *window)
{
    window->setWindowTitle(QStringLiteral("Расчёты Велтра-Норлекс"));
    window->setWindowIcon(Artwork::windowIcon());
    window->resize(defaultSize(window->screen() ? window->screen()->availableGeometry() : QRect()));
    window->setMinimumSize(500, 500);
    window->setFont(pixelFont("MS Sans Serif", 10));

    auto *central = new QWidget(window);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Menu bar: one row of menus, as wide as the window, with their access keys.
    mainMenuBar = new QMenuBar(window);
    mainMenuBar->setObjectName(QStringLiteral("mainMenuBar"));
    projectMenu = mainMenuBar->addMenu(QStringLiteral("&Проект"));
    reportMenu = mainMenuBar->addMenu(QStringLiteral("&Отчёт"));
    calculationMenu = mainMenuBar->addMenu(QStringLiteral("&Расчёт"));
    helpMenu = mainMenuBar->addMenu(QStringLiteral("&Справка"));
    window->setMenuBar(mainMenuBar);
    column->addWidget(gap(central, 3));

    // Header strip.
    headerStrip = new QFrame(central);
    headerStrip->setObjectName(QStringLiteral("headerStrip"));
    headerStrip->setFixedHeight(45);
    headerStrip->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    headerStrip->setAutoFillBackground(true);
    auto *strip = new QHBoxLayout(headerStrip);
    strip->setContentsMargins(2, 0, 2, 0);
    strip->setSpacing(0);
    headerLabel = new QLabel(headerStrip);
    headerLabel->setFont(pixelFont("Tahoma", 15, true));
    headerLabel->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    strip->addSpacing(13);
    strip->addWidget(headerLabel);
    strip->addSpacing(12);
    strip->addStretch(1);
    headerPicture = new QLabel(headerStrip);
    headerPicture->setPixmap(Artwork::headerStrip(QSize(494, 41)));
    // At most its own width; it gives way when the window is narrow.
    headerPicture->setFixedHeight(41);
    headerPicture->setMaximumWidth(494);
    headerPicture->setMinimumWidth(0);
    headerPicture->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    headerPicture->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    strip->addWidget(headerPicture, 0, Qt::AlignRight | Qt::AlignVCenter);

    fiberglassOptionsPanel = new QFrame(headerStrip);
    fiberglassOptionsPanel->setObjectName(QStringLiteral("fiberglassOptionsPanel"));
    fiberglassOptionsPanel->setFixedSize(165, 41);
    fiberglassOptionsPanel->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    fiberglassOptionsPanel->setAutoFillBackground(true);
    auto *options = new QVBoxLayout(fiberglassOptionsPanel);
    options->setContentsMargins(8, 2, 8, 3);
    options->setSpacing(1);
    layingLabel = new QLabel(QStringLiteral("Способ прокладки:"), fiberglassOptionsPanel);
    layingCombo = new QComboBox(fiberglassOptionsPanel);
    for (const Laying laying : {Laying::Trench, Laying::Trenchless})
        layingCombo->addItem(FiberglassChoices::label(laying));
    layingCombo->setFixedWidth(145);
    layingCombo->setCurrentIndex(FiberglassChoices::index(Laying::Trench));
    wallLabel = new QLabel(QStringLiteral("Труба:"), fiberglassOptionsPanel);
    wallLabel->hide();
    wallCombo = new QComboBox(fiberglassOptionsPanel);
    for (const Wall wall : {Wall::SingleLayer, Wall::ThreeLayer})
        wallCombo->addItem(FiberglassChoices::label(wall));
    wallCombo->setCurrentIndex(FiberglassChoices::index(Wall::ThreeLayer));
    wallCombo->hide();
    options->addWidget(layingLabel);
    options->addWidget(layingCombo);
    strip->addWidget(fiberglassOptionsPanel, 0, Qt::AlignVCenter);
    fiberglassOptionsPanel->hide();
    column->addWidget(headerStrip);

    choicesLine = new ElidedLabel(central);
    choicesLine->setObjectName(QStringLiteral("choicesLine"));
    choicesLine->setContentsMargins(8, 2, 8, 2);
    choicesLine->setFont(pixelFont("MS Sans Serif", 12));
    choicesLine->setAutoFillBackground(true);
    QPalette choices = choicesLine->palette();
    choices.setColor(QPalette::Window, QColor(226, 234, 242));
    choices.setColor(QPalette::WindowText, QColor(0, 48, 90));
    choicesLine->setPalette(choices);
    column->addWidget(choicesLine);

    // The two halves and the splitter between them.
    halvesSplitter = new QSplitter(Qt::Vertical, central);
    halvesSplitter->setObjectName(QStringLiteral("halvesSplitter"));
    halvesSplitter->setHandleWidth(3);
    halvesSplitter->setChildrenCollapsible(false);

    upperHalf = new QWidget(halvesSplitter);
    auto *top = new QVBoxLayout(upperHalf);
    top->setContentsMargins(0, 0, 0, 0);
    pages = new QTabWidget(upperHalf);
    pages->setObjectName(QStringLiteral("pages"));
    pages->setTabPosition(QTabWidget::South);
    pages->setDocumentMode(true);
    top->addWidget(pages);

    materialsGrid = new GridView;
    materialsGrid->setObjectName(QStringLiteral("materialsGrid"));
    tubesGrid = new GridView;
    tubesGrid->setObjectName(QStringLiteral("tubesGrid"));
    fiberglassTubesGrid = new GridView;
    fiberglassTubesGrid->setObjectName(QStringLiteral("fiberglassTubesGrid"));
    soilsGrid = new GridView;
    soilsGrid->setObjectName(QStringLiteral("soilsGrid"));
    materialsPage = gridPage(pages, {materialsGrid});
    tubesPage = gridPage(pages, {tubesGrid, fiberglassTubesGrid});
    fiberglassTubesGrid->hide();
    soilsPage = gridPage(pages, {soilsGrid});

    inputGrid = new GridView;
    inputGrid->setObjectName(QStringLiteral("inputGrid"));
    summaryPage = gridPage(pages, {inputGrid});
    valueEditorPanel = new QFrame(summaryPage);
    valueEditorPanel->setFixedHeight(26);
    valueEditorPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *editorRow = new QHBoxLayout(valueEditorPanel);
    editorRow->setContentsMargins(1, 1, 1, 1);
    editorRow->setSpacing(2);
    valueEditor = new QLineEdit(valueEditorPanel);
    valueEditor->setObjectName(QStringLiteral("valueEditor"));
    valueEditor->setFrame(false);
    // Digits as easy to read as the grids' and easier: the number typed is
    // what the calculation takes.
    QFont editorFont = valueEditor->font();
    editorFont.setPixelSize(15);
    valueEditor->setFont(editorFont);
    editorRow->addWidget(valueEditor, 1);
    valueTargetLabel = new QLabel(valueEditorPanel);
    valueTargetLabel->setObjectName(QStringLiteral("valueTargetLabel"));
    valueTargetLabel->setMinimumWidth(180);
    valueTargetLabel->setFont(pixelFont("MS Sans Serif", 13));
    editorRow->addWidget(valueTargetLabel);
    summaryPage->layout()->addWidget(valueEditorPanel);

    pages->addTab(materialsPage, QStringLiteral("Материал"));
    pages->addTab(tubesPage, QStringLiteral(" Труба"));
    pages->addTab(soilsPage, QStringLiteral(" Грунт"));
    pages->addTab(summaryPage, QStringLiteral("Сводная"));
    chartPage = new ChartPage(pages);
    chartPage->setObjectName(QStringLiteral("chartPage"));
    pages->addTab(chartPage, QStringLiteral("График"));
    selectionPage = new TubeSelectionPage(pages);
    pages->addTab(selectionPage, QStringLiteral("Подбор трубы"));
    pages->setCurrentIndex(PageIndexSummary);

    lowerHalf = new QWidget(halvesSplitter);
    auto *bottom = new QVBoxLayout(lowerHalf);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    resultsStateLine = new ResultsStateLine(lowerHalf);
    resultsLine(resultsStateLine);
    bottom->addWidget(resultsStateLine);
    resultsWarningsLine = resultsLine(new QLabel(lowerHalf));
    resultsWarningsLine->setTextFormat(Qt::PlainText);
    QPalette yellow = resultsWarningsLine->palette();
    yellow.setColor(QPalette::Window, QColor(255, 236, 153));
    yellow.setColor(QPalette::WindowText, QColor(90, 60, 0));
    resultsWarningsLine->setPalette(yellow);
    resultsWarningsLine->hide();
    bottom->addWidget(resultsWarningsLine);
    // The results, and below them the checks of a static calculation, both
    // as wide as the window, so that nothing of either is cut.
    auto *results = new QSplitter(Qt::Vertical, lowerHalf);
    results->setObjectName(QStringLiteral("resultsSplitter"));
    results->setHandleWidth(3);
    results->setChildrenCollapsible(false);
    outputGrid = new GridView(results);
    outputGrid->setObjectName(QStringLiteral("outputGrid"));
    outputGrid->fitColumnsToWidth();
    // The results as the grid shows them, whichever model it has then.
    TableExportActions::install(
        outputGrid, [this] { return TableExportActions::modelRows(outputGrid->model()); },
        QStringLiteral("Результаты расчёта"));
    verdictPanel = new VerdictPanel(results);
    verdictPanel->hide();
    results->addWidget(outputGrid);
    results->addWidget(verdictPanel);
    results->setStretchFactor(0, 1);
    results->setStretchFactor(1, 0);
    bottom->addWidget(results, 1);

    halvesSplitter->addWidget(upperHalf);
    halvesSplitter->addWidget(lowerHalf);
    halvesSplitter->setStretchFactor(0, 0);
    halvesSplitter->setStretchFactor(1, 1);
    halvesSplitter->setSizes({334, 200});
    column->addWidget(halvesSplitter, 1);

    // Calculation tabs.
    calculationTabs = new QTabBar(central);
    calculationTabs->setObjectName(QStringLiteral("calculationTabs"));
    calculationTabs->setShape(QTabBar::RoundedSouth);
    calculationTabs->setDrawBase(true);
    calculationTabs->setExpanding(false);
    calculationTabs->addTab(QStringLiteral("Гидравлический расчёт"));
    calculationTabs->addTab(QStringLiteral("Статический расчёт"));
    calculationTabs->setStyleSheet(QStringLiteral("QTabBar::tab { height: 18px; padding: 0px 10px; }"
                                                  "QTabBar::tab:selected { background: white; }"));
    column->addWidget(calculationTabs);
    column->addWidget(gap(central, 2));

    window->setCentralWidget(central);

    statusBar = new QStatusBar(window);
    statusBar->setFixedHeight(19);
    statusBar->setSizeGripEnabled(true);
    statusText = new QLabel(statusBar);
    statusBar->addWidget(statusText, 1);
    window->setStatusBar(statusBar);

    // Every part is known by its member's name, as tests and style sheets find it.
    const std::pair<QObject *, const char *> parts[] = {
        {mainMenuBar, "mainMenuBar"},
        {projectMenu, "projectMenu"},
        {reportMenu, "reportMenu"},
        {calculationMenu, "calculationMenu"},
        {helpMenu, "helpMenu"},
        {headerStrip, "headerStrip"},
        {headerLabel, "headerLabel"},
        {headerPicture, "headerPicture"},
        {fiberglassOptionsPanel, "fiberglassOptionsPanel"},
        {layingLabel, "layingLabel"},
        {layingCombo, "layingCombo"},
        {wallLabel, "wallLabel"},
        {wallCombo, "wallCombo"},
        {choicesLine, "choicesLine"},
        {halvesSplitter, "halvesSplitter"},
        {upperHalf, "upperHalf"},
        {pages, "pages"},
        {materialsPage, "materialsPage"},
        {tubesPage, "tubesPage"},
        {soilsPage, "soilsPage"},
        {summaryPage, "summaryPage"},
        {materialsGrid, "materialsGrid"},
        {tubesGrid, "tubesGrid"},
        {fiberglassTubesGrid, "fiberglassTubesGrid"},
        {soilsGrid, "soilsGrid"},
        {inputGrid, "inputGrid"},
        {valueEditorPanel, "valueEditorPanel"},
        {valueEditor, "valueEditor"},
        {valueTargetLabel, "valueTargetLabel"},
        {chartPage, "chartPage"},
        {selectionPage, "selectionPage"},
        {lowerHalf, "lowerHalf"},
        {outputGrid, "outputGrid"},
        {verdictPanel, "verdictPanel"},
        {resultsStateLine, "resultsStateLine"},
        {resultsWarningsLine, "resultsWarningsLine"},
        {calculationTabs, "calculationTabs"},
        {statusBar, "statusBar"},
        {statusText, "statusText"},
    };
    for (const auto &[part, name] : parts)
        part->setObjectName(QString::fromLatin1(name));
}
