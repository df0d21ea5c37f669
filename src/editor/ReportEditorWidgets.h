#pragma once

class EditorRuler;
class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class ReportTextEdit;
class StepArrows;

// The widgets and commands of the report editor window, built in code with
// the names the rest of the program knows them by.
class ReportEditorWidgets
{
public:
    void setupUi(QMainWindow *window);

    // Commands, in the order of their menus.
    QAction *newAction = nullptr;
    QAction *openAction = nullptr;
    QAction *saveAction = nullptr;
    QAction *saveAsAction = nullptr;
    QAction *printerSetupAction = nullptr;
    QAction *previewAction = nullptr;
    QAction *printAction = nullptr;
    QAction *exportPdfAction = nullptr;
    QAction *closeAction = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QAction *cutAction = nullptr;
    QAction *copyAction = nullptr;
    QAction *pasteAction = nullptr;
    QAction *fontAction = nullptr;

    // Formatting toggles on the toolbar.
    QAction *boldAction = nullptr;
    QAction *italicAction = nullptr;
    QAction *underlineAction = nullptr;
    QActionGroup *alignmentGroup = nullptr;
    QAction *alignLeftAction = nullptr;   // tag 0
    QAction *alignCenterAction = nullptr; // tag 2
    QAction *alignRightAction = nullptr;  // tag 1
    QAction *bulletsAction = nullptr;

    // Control bar: the menu buttons, then the standard toolbar.
    QToolBar *menuToolBar = nullptr;
    QToolButton *fileMenuButton = nullptr;
    QToolButton *editMenuButton = nullptr;
    QMenu *fileMenu = nullptr;
    QMenu *editMenu = nullptr;
    QToolBar *standardToolBar = nullptr;
    QComboBox *fontNameBox = nullptr;
    // The size in whole points: typed, chosen from the list or stepped.
    QComboBox *fontSizeBox = nullptr;
    StepArrows *fontSizeArrows = nullptr;

    EditorRuler *ruler = nullptr;
    ReportTextEdit *richEdit = nullptr;

    QStatusBar *statusBar = nullptr;
    // Caret position, modified mark, and an empty third panel.
    QLabel *statusPanels[3] = {nullptr, nullptr, nullptr};
};
