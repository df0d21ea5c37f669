#include "ui/TFormMainUi.h"

#include "ui/Artwork.h"
#include "ui/GridView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QFont pixelFont(const char *family, int pixels, bool bold = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QWidget *gap(QWidget *parent, int height)
{
    auto *w = new QWidget(parent);
    w->setFixedHeight(height);
    return w;
}

QToolButton *menuButton(QWidget *parent, const QString &text, QMenu *menu)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setMenu(menu);
    button->setFixedHeight(24);
    button->setFont(pixelFont("MS Sans Serif", 13));
    // No arrow: the button looks like a menu caption.
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"
                                         "QToolButton { padding: 0px 6px; }"));
    return button;
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

    // Menu bar.
    ControlBar1 = new QWidget(central);
    ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
    ControlBar1->setFixedHeight(52);
    PopupMenuReport = new QMenu(window);
    PopupMenuCalc = new QMenu(window);
    PopupMenuHelp = new QMenu(window);
    ButtonReport = menuButton(ControlBar1, QStringLiteral("&Отчёт"), PopupMenuReport);
    ButtonCalc = menuButton(ControlBar1, QStringLiteral("&Расчёт"), PopupMenuCalc);
    ButtonHelp = menuButton(ControlBar1, QStringLiteral("&Справка"), PopupMenuHelp);
    auto *bar = new QGridLayout(ControlBar1);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setHorizontalSpacing(0);
    bar->setVerticalSpacing(0);
    bar->addWidget(ButtonReport, 0, 0);
    bar->addWidget(ButtonCalc, 0, 1);
    bar->addWidget(ButtonHelp, 1, 0);
    bar->setColumnStretch(2, 1);
    column->addWidget(ControlBar1);
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
    AdvPageControl1->setCurrentIndex(PageIndexSummary);

    PanelMainBottom = new QWidget(HorizSplitter);
    auto *bottom = new QVBoxLayout(PanelMainBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    ResultsState = new QLabel(PanelMainBottom);
    ResultsState->setObjectName(QStringLiteral("ResultsState"));
    ResultsState->setWordWrap(true);
    ResultsState->setContentsMargins(6, 2, 6, 2);
    ResultsState->setFont(pixelFont("MS Sans Serif", 12));
    ResultsState->setAutoFillBackground(true);
    ResultsState->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottom->addWidget(ResultsState);
    vstOutVariables = new GridView(PanelMainBottom);
    vstOutVariables->setObjectName(QStringLiteral("vstOutVariables"));
    bottom->addWidget(vstOutVariables);

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
