#include "editor/TFormEditorUi.h"

#include "editor/EditorIcons.h"
#include "editor/EditorRuler.h"
#include "editor/RichEditControl.h"
#include "editor/UpDown.h"
#include "ui/Artwork.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using Picture = EditorIcons::Picture;

QAction *command(QMainWindow *window, const QString &caption, const QString &hint, const QKeySequence &shortcut = {})
{
    auto *action = new QAction(caption, window);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

QAction *command(QMainWindow *window, const QString &caption, const QString &hint, Picture picture,
                 const QKeySequence &shortcut = {})
{
    QAction *action = command(window, caption, hint, shortcut);
    action->setIcon(EditorIcons::icon(picture));
    return action;
}

QAction *toggle(QMainWindow *window, const QString &hint, Picture picture)
{
    QAction *action = command(window, hint, hint, picture);
    action->setCheckable(true);
    return action;
}

QToolButton *menuButton(QToolBar *bar, const QString &text, QMenu *menu)
{
    auto *button = new QToolButton(bar);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setMenu(menu);
    // No arrow: the button looks like a menu caption.
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"
                                         "QToolButton { padding: 1px 8px; }"));
    bar->addWidget(button);
    return button;
}

// Empty space between groups of buttons.
void gap(QToolBar *bar)
{
    auto *space = new QWidget(bar);
    space->setFixedWidth(8);
    bar->addWidget(space);
}

QLabel *statusPanel(QStatusBar *bar, int width, Qt::Alignment alignment)
{
    auto *panel = new QLabel(bar);
    panel->setFixedWidth(width);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    bar->addWidget(panel);
    return panel;
}

} // namespace

void TFormEditorUi::setupUi(QMainWindow *window)
{
    window->setWindowIcon(Artwork::windowIcon());
    window->resize(680, 516);

    FileNewCmd = command(window, QStringLiteral("Создать"), QStringLiteral("Создать новый файл"), Picture::New,
                         QKeySequence(Qt::CTRL | Qt::Key_N));
    FileOpenCmd = command(window, QStringLiteral("Открыть..."), QStringLiteral("Открыть файл..."), Picture::Open,
                          QKeySequence(Qt::CTRL | Qt::Key_O));
    FileSaveCmd = command(window, QStringLiteral("Сохранить"), QStringLiteral("Сохранить текущий файл"), Picture::Save,
                          QKeySequence(Qt::CTRL | Qt::Key_S));
    FileSaveAsCmd = command(window, QStringLiteral("Сохранить как..."), QStringLiteral("Сохранить как..."));
    FilePrinterSetup = command(window, QStringLiteral("Настройка печати..."), QStringLiteral("Настройка печати..."));
    FilePrintPreviewCmd = command(window, QStringLiteral("Предварительный просмотр"),
                                  QStringLiteral("Предварительный просмотр..."), Picture::Preview);
    FilePrintCmd = command(window, QStringLiteral("Печать"), QStringLiteral("Печать файла"), Picture::Print,
                           QKeySequence(Qt::CTRL | Qt::Key_P));
    FileExportPdfCmd = command(window, QStringLiteral("Экспорт в PDF..."), QStringLiteral("Сохранить отчёт в файл PDF"),
                               Picture::Pdf);
    FileExitCmd = command(window, QStringLiteral("Закрыть"), QStringLiteral("Закрыть"), QKeySequence(Qt::ALT | Qt::Key_X));
    EditUndoCmd = command(window, QStringLiteral("Отменить"), QStringLiteral("Отменить"), Picture::Undo,
                          QKeySequence(Qt::CTRL | Qt::Key_Z));
    EditRedoCmd = command(window, QStringLiteral("Повторить"), QStringLiteral("Повторить"), Picture::Redo);
    EditRedoCmd->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    EditCutCmd = command(window, QStringLiteral("Вырезать"), QStringLiteral("Вырезать"), Picture::Cut,
                         QKeySequence(Qt::CTRL | Qt::Key_X));
    EditCopyCmd = command(window, QStringLiteral("Копировать"), QStringLiteral("Копировать"), Picture::Copy,
                          QKeySequence(Qt::CTRL | Qt::Key_C));
    EditPasteCmd = command(window, QStringLiteral("Вставить"), QStringLiteral("Вставить"), Picture::Paste,
                           QKeySequence(Qt::CTRL | Qt::Key_V));
    EditFontCmd = command(window, QStringLiteral("Шрифт..."), QStringLiteral("Шрифт..."));
    // The edit menu shows no pictures; the toolbar does.
    for (QAction *action : {EditUndoCmd, EditRedoCmd, EditCutCmd, EditCopyCmd, EditPasteCmd})
        action->setIconVisibleInMenu(false);

    BoldButton = toggle(window, QStringLiteral("Жирный"), Picture::Bold);
    ItalicButton = toggle(window, QStringLiteral("Курсив"), Picture::Italic);
    UnderlineButton = toggle(window, QStringLiteral("Подчёркивание"), Picture::Underline);
    AlignGroup = new QActionGroup(window);
    AlignGroup->setExclusive(true);
    LeftAlign = toggle(window, QStringLiteral("Слева"), Picture::AlignLeft);
    LeftAlign->setData(0);
    CenterAlign = toggle(window, QStringLiteral("По центру"), Picture::AlignCenter);
    CenterAlign->setData(2);
    RightAlign = toggle(window, QStringLiteral("Справа"), Picture::AlignRight);
    RightAlign->setData(1);
    for (QAction *action : {LeftAlign, CenterAlign, RightAlign})
        AlignGroup->addAction(action);
    LeftAlign->setChecked(true);
    BulletsButton = toggle(window, QStringLiteral("Список"), Picture::Bullets);

    // Menus.
    FileMenu = new QMenu(window);
    FileMenu->addActions({FileNewCmd, FileOpenCmd, FileSaveCmd, FileSaveAsCmd});
    FileMenu->addSeparator();
    FileMenu->addActions({FilePrinterSetup, FilePrintPreviewCmd, FilePrintCmd, FileExportPdfCmd});
    FileMenu->addSeparator();
    FileMenu->addAction(FileExitCmd);
    EditMenu = new QMenu(window);
    EditMenu->addActions({EditUndoCmd, EditRedoCmd});
    EditMenu->addSeparator();
    EditMenu->addActions({EditCutCmd, EditCopyCmd, EditPasteCmd});
    EditMenu->addSeparator();
    EditMenu->addAction(EditFontCmd);

    // Control bar.
    ToolBar1 = new QToolBar(window);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    FileButton = menuButton(ToolBar1, QStringLiteral("Файл"), FileMenu);
    EditButton = menuButton(ToolBar1, QStringLiteral("Правка"), EditMenu);
    window->addToolBar(Qt::TopToolBarArea, ToolBar1);
    window->addToolBarBreak(Qt::TopToolBarArea);

    StandardToolBar = new QToolBar(window);
    StandardToolBar->setObjectName(QStringLiteral("StandardToolBar"));
    StandardToolBar->setMovable(false);
    StandardToolBar->setIconSize(QSize(16, 16));
    StandardToolBar->addActions({FileNewCmd, FileOpenCmd, FileSaveCmd});
    gap(StandardToolBar);
    StandardToolBar->addActions({FilePrintPreviewCmd, FilePrintCmd});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({EditCutCmd, EditCopyCmd, EditPasteCmd});
    gap(StandardToolBar);
    StandardToolBar->addActions({EditUndoCmd, EditRedoCmd});
    gap(StandardToolBar);

    FontName = new QComboBox(StandardToolBar);
    FontName->setEditable(true);
    FontName->setInsertPolicy(QComboBox::NoInsert);
    FontName->setMaxVisibleItems(10);
    FontName->setFixedWidth(150);
    FontName->setToolTip(QStringLiteral("Выбор шрифта"));
    FontName->setStatusTip(QStringLiteral("Выбор шрифта"));
    StandardToolBar->addWidget(FontName);
    gap(StandardToolBar);

    auto *sizeBox = new QWidget(StandardToolBar);
    auto *sizeRow = new QHBoxLayout(sizeBox);
    sizeRow->setContentsMargins(0, 0, 0, 0);
    sizeRow->setSpacing(0);
    FontSize = new QComboBox(sizeBox);
    FontSize->setEditable(true);
    FontSize->setInsertPolicy(QComboBox::NoInsert);
    // A size is typed whole: no completion from the list while typing.
    FontSize->setCompleter(nullptr);
    for (const int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        FontSize->addItem(QString::number(size));
    FontSize->setMaxVisibleItems(16);
    FontSize->setEditText(QStringLiteral("10"));
    FontSize->setFixedWidth(52);
    for (QWidget *box : {static_cast<QWidget *>(FontSize), static_cast<QWidget *>(FontSize->lineEdit())}) {
        box->setToolTip(QStringLiteral("Размер шрифта"));
        box->setStatusTip(QStringLiteral("Размер шрифта"));
    }
    // Sizes start at 1 point: the arrows never step to a size that is refused.
    UpDown1 = new UpDown(FontSize->lineEdit(), 1, 100, sizeBox);
    UpDown1->setPosition(10);
    sizeRow->addWidget(FontSize);
    sizeRow->addWidget(UpDown1);
    StandardToolBar->addWidget(sizeBox);
    gap(StandardToolBar);

    StandardToolBar->addActions({BoldButton, ItalicButton, UnderlineButton});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({LeftAlign, CenterAlign, RightAlign});
    StandardToolBar->addSeparator();
    StandardToolBar->addAction(BulletsButton);
    window->addToolBar(Qt::TopToolBarArea, StandardToolBar);

    // Ruler and document.
    auto *central = new QWidget(window);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    Ruler = new EditorRuler(central);
    Editor = new RichEditControl(central);
    column->addWidget(Ruler);
    column->addWidget(Editor, 1);
    window->setCentralWidget(central);

    StatusBar = new QStatusBar(window);
    StatusPanel[0] = statusPanel(StatusBar, 120, Qt::AlignLeft);
    StatusPanel[1] = statusPanel(StatusBar, 80, Qt::AlignHCenter);
    StatusPanel[2] = statusPanel(StatusBar, 50, Qt::AlignLeft);
    window->setStatusBar(StatusBar);
}
