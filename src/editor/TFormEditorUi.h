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
class RichEditControl;
class UpDown;

// The widgets and commands of the report editor window, built in code with
// the names the rest of the program knows them by.
class TFormEditorUi
{
public:
    void setupUi(QMainWindow *window);

    // Commands, in the order of their menus.
    QAction *FileNewCmd = nullptr;
    QAction *FileOpenCmd = nullptr;
    QAction *FileSaveCmd = nullptr;
    QAction *FileSaveAsCmd = nullptr;
    QAction *FilePrinterSetup = nullptr;
    QAction *FilePrintPreviewCmd = nullptr;
    QAction *FilePrintCmd = nullptr;
    QAction *FileExportPdfCmd = nullptr;
    QAction *FileExitCmd = nullptr;
    QAction *EditUndoCmd = nullptr;
    QAction *EditRedoCmd = nullptr;
    QAction *EditCutCmd = nullptr;
    QAction *EditCopyCmd = nullptr;
    QAction *EditPasteCmd = nullptr;
    QAction *EditFontCmd = nullptr;

    // Formatting toggles on the toolbar.
    QAction *BoldButton = nullptr;
    QAction *ItalicButton = nullptr;
    QAction *UnderlineButton = nullptr;
    QActionGroup *AlignGroup = nullptr;
    QAction *LeftAlign = nullptr; // tag 0
    QAction *CenterAlign = nullptr; // tag 2
    QAction *RightAlign = nullptr; // tag 1
    QAction *BulletsButton = nullptr;

    // Control bar: the menu buttons, then the standard toolbar.
    QToolBar *ToolBar1 = nullptr;
    QToolButton *FileButton = nullptr;
    QToolButton *EditButton = nullptr;
    QMenu *FileMenu = nullptr;
    QMenu *EditMenu = nullptr;
    QToolBar *StandardToolBar = nullptr;
    QComboBox *FontName = nullptr;
    // The size in whole points: typed, chosen from the list or stepped.
    QComboBox *FontSize = nullptr;
    UpDown *UpDown1 = nullptr;

    EditorRuler *Ruler = nullptr;
    RichEditControl *Editor = nullptr;

    QStatusBar *StatusBar = nullptr;
    // Caret position, modified mark, and an empty third panel.
    QLabel *StatusPanel[3] = {nullptr, nullptr, nullptr};
};
