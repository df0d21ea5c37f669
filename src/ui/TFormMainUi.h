#pragma once

class ChartPage;
class ElidedLabel;
class GridView;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QMenuBar;
class QSplitter;
class QStatusBar;
class QTabBar;
class QTabWidget;
class QWidget;
class VerdictPanel;

// The widgets of the main window, built in code with the names the rest of
// the program knows them by.
class TFormMainUi
{
public:
    void setupUi(QMainWindow *window);

    // Menu bar, one row: project, report, calculation, help.
    QMenuBar *ControlBar1 = nullptr;
    QMenu *PopupMenuProject = nullptr;
    QMenu *PopupMenuReport = nullptr;
    QMenu *PopupMenuCalc = nullptr;
    QMenu *PopupMenuHelp = nullptr;

    // Header strip with the calculation's name and the fiberglass options.
    QFrame *PanelTopCaption = nullptr;
    QLabel *LabelTop = nullptr;
    QLabel *ImageTopCaptionBG = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *ComboBox2 = nullptr;
    // Under the strip: the chosen material, tube and soil.
    ElidedLabel *ChoicesLine = nullptr;

    // Upper half: the page control with the reference pages and the summary.
    QSplitter *HorizSplitter = nullptr;
    QWidget *PanelMainTop = nullptr;
    QTabWidget *AdvPageControl1 = nullptr;
    QWidget *PageMaterials = nullptr;
    QWidget *PageTubes = nullptr;
    QWidget *PageSoils = nullptr;
    QWidget *PageSummary = nullptr;
    GridView *vstMaterials = nullptr;
    GridView *vstTubes = nullptr;
    GridView *vstTubesSt = nullptr;
    GridView *vstSoiles = nullptr;
    GridView *vstInVariables = nullptr;
    QFrame *PanelEditor = nullptr;
    QLineEdit *EditVarValue = nullptr;
    // Names the input the value editor writes into.
    QLabel *EditVarTarget = nullptr;
    // The chart of the calculation.
    ChartPage *PageChart = nullptr;

    // Lower half.
    QWidget *PanelMainBottom = nullptr;
    GridView *vstOutVariables = nullptr;
    // Beside the results of a static calculation: its checks at a glance.
    VerdictPanel *VerdictSummary = nullptr;
    // Says what the results below are worth: current, outdated, failed;
    // for current results of a static calculation, its verdict.
    QLabel *ResultsState = nullptr;
    // Under it, on yellow, the inputs and results outside the range of the
    // method; hidden when there are none.
    QLabel *ResultsWarnings = nullptr;

    QTabBar *TabSet = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *StatusText = nullptr;

    static constexpr int PageIndexMaterials = 0;
    static constexpr int PageIndexTubes = 1;
    static constexpr int PageIndexSoils = 2;
    static constexpr int PageIndexSummary = 3;
    static constexpr int PageIndexChart = 4;
};
