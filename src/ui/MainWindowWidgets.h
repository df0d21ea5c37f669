#pragma once

#include <QRect>
#include <QSize>

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
class ResultsStateLine;
class TubeSelectionPage;
class VerdictPanel;

// The widgets of the main window, built in code with the names the rest of
// the program knows them by.
class MainWindowWidgets
{
public:
    void setupUi(QMainWindow *window);
    // The size the window first opens with, on a screen of that room.
    static QSize defaultSize(const QRect &available);

    // Menu bar, one row: project, report, calculation, help.
    QMenuBar *mainMenuBar = nullptr;
    QMenu *projectMenu = nullptr;
    QMenu *reportMenu = nullptr;
    QMenu *calculationMenu = nullptr;
    QMenu *helpMenu = nullptr;

    // Header strip with the calculation's name and the fiberglass options.
    QFrame *headerStrip = nullptr;
    QLabel *headerLabel = nullptr;
    QLabel *headerPicture = nullptr;
    QFrame *fiberglassOptionsPanel = nullptr;
    QLabel *layingLabel = nullptr;
    QComboBox *layingCombo = nullptr;
    QLabel *wallLabel = nullptr;
    QComboBox *wallCombo = nullptr;
    // Under the strip: the chosen material, tube and soil.
    ElidedLabel *choicesLine = nullptr;

    // Upper half: the page control with the reference pages and the summary.
    QSplitter *halvesSplitter = nullptr;
    QWidget *upperHalf = nullptr;
    QTabWidget *pages = nullptr;
    QWidget *materialsPage = nullptr;
    QWidget *tubesPage = nullptr;
    QWidget *soilsPage = nullptr;
    QWidget *summaryPage = nullptr;
    GridView *materialsGrid = nullptr;
    GridView *tubesGrid = nullptr;
    GridView *fiberglassTubesGrid = nullptr;
    GridView *soilsGrid = nullptr;
    GridView *inputGrid = nullptr;
    QFrame *valueEditorPanel = nullptr;
    QLineEdit *valueEditor = nullptr;
    // Names the input the value editor writes into.
    QLabel *valueTargetLabel = nullptr;
    // The chart of the calculation.
    ChartPage *chartPage = nullptr;
    // Every tube of the catalogue against the job.
    TubeSelectionPage *selectionPage = nullptr;

    // Lower half.
    QWidget *lowerHalf = nullptr;
    GridView *outputGrid = nullptr;
    // Beside the results of a static calculation: its checks at a glance.
    VerdictPanel *verdictPanel = nullptr;
    // Says what the results below are worth: current, outdated, failed;
    // for current results of a static calculation, its verdict.
    ResultsStateLine *resultsStateLine = nullptr;
    // Under it, on yellow, the inputs and results outside the range of the
    // method; hidden when there are none.
    QLabel *resultsWarningsLine = nullptr;

    QTabBar *calculationTabs = nullptr;
    QStatusBar *statusBar = nullptr;
    QLabel *statusText = nullptr;

    static constexpr int PageIndexMaterials = 0;
    static constexpr int PageIndexTubes = 1;
    static constexpr int PageIndexSoils = 2;
    static constexpr int PageIndexSummary = 3;
    static constexpr int PageIndexChart = 4;
    static constexpr int PageIndexSelection = 5;
};
