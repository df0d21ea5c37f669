#include "ui/TFormMainUi.h"

#include "ui/Artwork.h"
#include "ui/ChartPage.h"
#include "ui/ElidedLabel.h"
#include "ui/GridView.h"
#include "ui/VerdictPanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QFont pixelFont(const char *family, int pixels, bool bold = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A line of text across the results, on a background of its own.
QLabel *resultsLine(QWidget *parent, const char *name)
{
    auto *line = new QLabel(parent);
    line->setObjectName(QString::fromLatin1(name));
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

void TFormMainUi::setupUi(QMainWindow *window)
{
    window->setWindowTitle(QStringLiteral("Расчёты Велтра-Норлекс"));
    window->setWindowIcon(Artwork::windowIcon());
    window->resize(758, 688);
    window->setMinimumSize(500, 500);
    window->setFont(pixelFont("MS Sans Serif", 10));

    auto *central = new QWidget(window);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Menu bar: one row of menus, as wide as the window, with their access keys.
    ControlBar1 = new QMenuBar(window);
    ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
    PopupMenuProject = ControlBar1->addMenu(QStringLiteral("&Проект"));
    PopupMenuReport = ControlBar1->addMenu(QStringLiteral("&Отчёт"));
    PopupMenuCalc = ControlBar1->addMenu(QStringLiteral("&Расчёт"));
    PopupMenuHelp = ControlBar1->addMenu(QStringLiteral("&Справка"));
    window->setMenuBar(ControlBar1);
    column->addWidget(gap(central, 3));

    // Header strip.
    PanelTopCaption = new QFrame(central);
    PanelTopCaption->setObjectName(QStringLiteral("PanelTopCaption"));
    PanelTopCaption->setFixedHeight(45);
    PanelTopCaption->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    PanelTopCaption->setAutoFillBackground(true);
    auto *strip = new QHBoxLayout(PanelTopCaption);
    strip->setContentsMargins(2, 0, 2, 0);
    strip->setSpacing(0);
    LabelTop = new QLabel(PanelTopCaption);
    LabelTop->setFont(pixelFont("Tahoma", 15, true));
    LabelTop->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    strip->addSpacing(13);
    strip->addWidget(LabelTop);
    strip->addSpacing(12);
    strip->addStretch(1);
    ImageTopCaptionBG = new QLabel(PanelTopCaption);
    ImageTopCaptionBG->setPixmap(Artwork::headerStrip(QSize(494, 41)));
    // At most its own width; it gives way when the window is narrow.
    ImageTopCaptionBG->setFixedHeight(41);
    ImageTopCaptionBG->setMaximumWidth(494);
    ImageTopCaptionBG->setMinimumWidth(0);
    ImageTopCaptionBG->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    ImageTopCaptionBG->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    strip->addWidget(ImageTopCaptionBG, 0, Qt::AlignRight | Qt::AlignVCenter);

    Panel1 = new QFrame(PanelTopCaption);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(165, 41);
    Panel1->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    auto *options = new QVBoxLayout(Panel1);
    options->setContentsMargins(8, 2, 8, 3);
    options->setSpacing(1);
    Label1 = new QLabel(QStringLiteral("Способ прокладки:"), Panel1);
    ComboBox1 = new QComboBox(Panel1);
    ComboBox1->addItems({QStringLiteral("траншейный"), QStringLiteral("бестраншейный")});
    ComboBox1->setFixedWidth(145);
    ComboBox1->setCurrentIndex(0);
    Label2 = new QLabel(QStringLiteral("Труба:"), Panel1);
    Label2->hide();
    ComboBox2 = new QComboBox(Panel1);
    ComboBox2->addItems({QStringLiteral("однослойная"), QStringLiteral("трехслойная")});
    ComboBox2->setCurrentIndex(1);
    ComboBox2->hide();
    options->addWidget(Label1);
    options->addWidget(ComboBox1);
    strip->addWidget(Panel1, 0, Qt::AlignVCenter);
    Panel1->hide();
    column->addWidget(PanelTopCaption);

    ChoicesLine = new ElidedLabel(central);
    ChoicesLine->setObjectName(QStringLiteral("ChoicesLine"));
    ChoicesLine->setContentsMargins(8, 2, 8, 2);
    ChoicesLine->setFont(pixelFont("MS Sans Serif", 12));
    ChoicesLine->setAutoFillBackground(true);
    QPalette choices = ChoicesLine->palette();
    choices.setColor(QPalette::Window, QColor(226, 234, 242));
    choices.setColor(QPalette::WindowText, QColor(0, 48, 90));
    ChoicesLine->setPalette(choices);
    column->addWidget(ChoicesLine);

    // The two halves and the splitter between them.
    HorizSplitter = new QSplitter(Qt::Vertical, central);
    HorizSplitter->setObjectName(QStringLiteral("HorizSplitter"));
    HorizSplitter->setHandleWidth(3);
    HorizSplitter->setChildrenCollapsible(false);

    PanelMainTop = new QWidget(HorizSplitter);
    auto *top = new QVBoxLayout(PanelMainTop);
    top->setContentsMargins(0, 0, 0, 0);
    AdvPageControl1 = new QTabWidget(PanelMainTop);
    AdvPageControl1->setObjectName(QStringLiteral("AdvPageControl1"));
    AdvPageControl1->setTabPosition(QTabWidget::South);
    AdvPageControl1->setDocumentMode(true);
    top->addWidget(AdvPageControl1);

    vstMaterials = new GridView;
    vstMaterials->setObjectName(QStringLiteral("vstMaterials"));
    vstTubes = new GridView;
    vstTubes->setObjectName(QStringLiteral("vstTubes"));
    vstTubesSt = new GridView;
    vstTubesSt->setObjectName(QStringLiteral("vstTubesSt"));
    vstSoiles = new GridView;
    vstSoiles->setObjectName(QStringLiteral("vstSoiles"));
    PageMaterials = gridPage(AdvPageControl1, {vstMaterials});
    PageTubes = gridPage(AdvPageControl1, {vstTubes, vstTubesSt});
    vstTubesSt->hide();
    PageSoils = gridPage(AdvPageControl1, {vstSoiles});

    vstInVariables = new GridView;
    vstInVariables->setObjectName(QStringLiteral("vstInVariables"));
    PageSummary = gridPage(AdvPageControl1, {vstInVariables});
    PanelEditor = new QFrame(PageSummary);
    PanelEditor->setFixedHeight(18);
    PanelEditor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *editorRow = new QHBoxLayout(PanelEditor);
    editorRow->setContentsMargins(1, 1, 1, 1);
    editorRow->setSpacing(2);
    EditVarValue = new QLineEdit(PanelEditor);
    EditVarValue->setObjectName(QStringLiteral("EditVarValue"));
    EditVarValue->setFrame(false);
    EditVarValue->setFont(pixelFont("Courier", 11));
    editorRow->addWidget(EditVarValue, 1);
    EditVarTarget = new QLabel(PanelEditor);
    EditVarTarget->setObjectName(QStringLiteral("EditVarTarget"));
    EditVarTarget->setFixedWidth(127);
    EditVarTarget->setFont(pixelFont("MS Sans Serif", 11));
    editorRow->addWidget(EditVarTarget);
    PageSummary->layout()->addWidget(PanelEditor);

    AdvPageControl1->addTab(PageMaterials, QStringLiteral("Материал"));
    AdvPageControl1->addTab(PageTubes, QStringLiteral(" Труба"));
    AdvPageControl1->addTab(PageSoils, QStringLiteral(" Грунт"));
    AdvPageControl1->addTab(PageSummary, QStringLiteral("Сводная"));
    PageChart = new ChartPage(AdvPageControl1);
    PageChart->setObjectName(QStringLiteral("PageChart"));
    AdvPageControl1->addTab(PageChart, QStringLiteral("График"));
    AdvPageControl1->setCurrentIndex(PageIndexSummary);

    PanelMainBottom = new QWidget(HorizSplitter);
    auto *bottom = new QVBoxLayout(PanelMainBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    ResultsState = resultsLine(PanelMainBottom, "ResultsState");
    bottom->addWidget(ResultsState);
    ResultsWarnings = resultsLine(PanelMainBottom, "ResultsWarnings");
    ResultsWarnings->setTextFormat(Qt::PlainText);
    QPalette yellow = ResultsWarnings->palette();
    yellow.setColor(QPalette::Window, QColor(255, 236, 153));
    yellow.setColor(QPalette::WindowText, QColor(90, 60, 0));
    ResultsWarnings->setPalette(yellow);
    ResultsWarnings->hide();
    bottom->addWidget(ResultsWarnings);
    // The results, and beside them the checks of a static calculation.
    auto *results = new QSplitter(Qt::Horizontal, PanelMainBottom);
    results->setObjectName(QStringLiteral("ResultsSplitter"));
    results->setHandleWidth(3);
    results->setChildrenCollapsible(false);
    vstOutVariables = new GridView(results);
    vstOutVariables->setObjectName(QStringLiteral("vstOutVariables"));
    // The name, value and units of every result stay in sight beside the checks.
    vstOutVariables->setMinimumWidth(305);
    VerdictSummary = new VerdictPanel(results);
    VerdictSummary->hide();
    results->addWidget(vstOutVariables);
    results->addWidget(VerdictSummary);
    results->setStretchFactor(0, 1);
    results->setStretchFactor(1, 0);
    bottom->addWidget(results, 1);

    HorizSplitter->addWidget(PanelMainTop);
    HorizSplitter->addWidget(PanelMainBottom);
    HorizSplitter->setStretchFactor(0, 0);
    HorizSplitter->setStretchFactor(1, 1);
    HorizSplitter->setSizes({334, 200});
    column->addWidget(HorizSplitter, 1);

    // Calculation tabs.
    TabSet = new QTabBar(central);
    TabSet->setObjectName(QStringLiteral("TabSet"));
    TabSet->setShape(QTabBar::RoundedSouth);
    TabSet->setDrawBase(true);
    TabSet->setExpanding(false);
    TabSet->addTab(QStringLiteral("Гидравлический расчёт"));
    TabSet->addTab(QStringLiteral("Статический расчёт"));
    TabSet->setStyleSheet(QStringLiteral("QTabBar::tab { height: 18px; padding: 0px 10px; }"
                                         "QTabBar::tab:selected { background: white; }"));
    column->addWidget(TabSet);
    column->addWidget(gap(central, 2));

    window->setCentralWidget(central);

    StatusBar = new QStatusBar(window);
    StatusBar->setFixedHeight(19);
    StatusBar->setSizeGripEnabled(true);
    StatusText = new QLabel(StatusBar);
    StatusBar->addWidget(StatusText, 1);
    window->setStatusBar(StatusBar);
}
