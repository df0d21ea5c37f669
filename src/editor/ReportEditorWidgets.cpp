#include "editor/ReportEditorWidgets.h"

#include "editor/EditorIcons.h"
#include "editor/EditorRuler.h"
#include "editor/ReportTextEdit.h"
#include "editor/StepArrows.h"
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

#include <utility>

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

void ReportEditorWidgets::setupUi(QMainWindow *window)
{
    window->setWindowIcon(Artwork::windowIcon());
    window->resize(680, 516);

    newAction = command(window, QStringLiteral("Создать"), QStringLiteral("Создать новый файл"), Picture::New,
                        QKeySequence(Qt::CTRL | Qt::Key_N));
    openAction = command(window, QStringLiteral("Открыть..."), QStringLiteral("Открыть файл..."), Picture::Open,
                         QKeySequence(Qt::CTRL | Qt::Key_O));
    saveAction = command(window, QStringLiteral("Сохранить"), QStringLiteral("Сохранить текущий файл"), Picture::Save,
                         QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAsAction = command(window, QStringLiteral("Сохранить как..."), QStringLiteral("Сохранить как..."));
    printerSetupAction = command(window, QStringLiteral("Настройка печати..."), QStringLiteral("Настройка печати..."));
    previewAction = command(window, QStringLiteral("Предварительный просмотр"),
                            QStringLiteral("Предварительный просмотр..."), Picture::Preview);
    printAction = command(window, QStringLiteral("Печать"), QStringLiteral("Печать файла"), Picture::Print,
                          QKeySequence(Qt::CTRL | Qt::Key_P));
    exportPdfAction =
        command(window, QStringLiteral("Экспорт в PDF..."), QStringLiteral("Сохранить отчёт в файл PDF"), Picture::Pdf);
    closeAction =
        command(window, QStringLiteral("Закрыть"), QStringLiteral("Закрыть"), QKeySequence(Qt::ALT | Qt::Key_X));
    undoAction = command(window, QStringLiteral("Отменить"), QStringLiteral("Отменить"), Picture::Undo,
                         QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = command(window, QStringLiteral("Повторить"), QStringLiteral("Повторить"), Picture::Redo);
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    cutAction = command(window, QStringLiteral("Вырезать"), QStringLiteral("Вырезать"), Picture::Cut,
                        QKeySequence(Qt::CTRL | Qt::Key_X));
    copyAction = command(window, QStringLiteral("Копировать"), QStringLiteral("Копировать"), Picture::Copy,
                         QKeySequence(Qt::CTRL | Qt::Key_C));
    pasteAction = command(window, QStringLiteral("Вставить"), QStringLiteral("Вставить"), Picture::Paste,
                          QKeySequence(Qt::CTRL | Qt::Key_V));
    fontAction = command(window, QStringLiteral("Шрифт..."), QStringLiteral("Шрифт..."));
    // The edit menu shows no pictures; the toolbar does.
    for (QAction *action : {undoAction, redoAction, cutAction, copyAction, pasteAction})
        action->setIconVisibleInMenu(false);

    boldAction = toggle(window, QStringLiteral("Жирный"), Picture::Bold);
    italicAction = toggle(window, QStringLiteral("Курсив"), Picture::Italic);
    underlineAction = toggle(window, QStringLiteral("Подчёркивание"), Picture::Underline);
    boldAction->setShortcut(QKeySequence::Bold);
    italicAction->setShortcut(QKeySequence::Italic);
    underlineAction->setShortcut(QKeySequence::Underline);
    alignmentGroup = new QActionGroup(window);
    alignmentGroup->setExclusive(true);
    alignLeftAction = toggle(window, QStringLiteral("Слева"), Picture::AlignLeft);
    alignLeftAction->setData(0);
    alignCenterAction = toggle(window, QStringLiteral("По центру"), Picture::AlignCenter);
    alignCenterAction->setData(2);
    alignRightAction = toggle(window, QStringLiteral("Справа"), Picture::AlignRight);
    alignRightAction->setData(1);
    for (QAction *action : {alignLeftAction, alignCenterAction, alignRightAction})
        alignmentGroup->addAction(action);
    alignLeftAction->setChecked(true);
    bulletsAction = toggle(window, QStringLiteral("Список"), Picture::Bullets);

    // Menus.
    fileMenu = new QMenu(window);
    fileMenu->addActions({newAction, openAction, saveAction, saveAsAction});
    fileMenu->addSeparator();
    fileMenu->addActions({printerSetupAction, previewAction, printAction, exportPdfAction});
    fileMenu->addSeparator();
    fileMenu->addAction(closeAction);
    editMenu = new QMenu(window);
    editMenu->addActions({undoAction, redoAction});
    editMenu->addSeparator();
    editMenu->addActions({cutAction, copyAction, pasteAction});
    editMenu->addSeparator();
    editMenu->addAction(fontAction);

    // Control bar.
    menuToolBar = new QToolBar(window);
    menuToolBar->setObjectName(QStringLiteral("menuToolBar"));
    menuToolBar->setMovable(false);
    fileMenuButton = menuButton(menuToolBar, QStringLiteral("Файл"), fileMenu);
    editMenuButton = menuButton(menuToolBar, QStringLiteral("Правка"), editMenu);
    window->addToolBar(Qt::TopToolBarArea, menuToolBar);
    window->addToolBarBreak(Qt::TopToolBarArea);

    standardToolBar = new QToolBar(window);
    standardToolBar->setObjectName(QStringLiteral("standardToolBar"));
    standardToolBar->setMovable(false);
    standardToolBar->setIconSize(QSize(16, 16));
    standardToolBar->addActions({newAction, openAction, saveAction});
    gap(standardToolBar);
    standardToolBar->addActions({previewAction, printAction});
    standardToolBar->addSeparator();
    standardToolBar->addActions({cutAction, copyAction, pasteAction});
    gap(standardToolBar);
    standardToolBar->addActions({undoAction, redoAction});
    gap(standardToolBar);

    fontNameBox = new QComboBox(standardToolBar);
    fontNameBox->setEditable(true);
    fontNameBox->setInsertPolicy(QComboBox::NoInsert);
    fontNameBox->setMaxVisibleItems(10);
    fontNameBox->setFixedWidth(150);
    fontNameBox->setToolTip(QStringLiteral("Выбор шрифта"));
    fontNameBox->setStatusTip(QStringLiteral("Выбор шрифта"));
    standardToolBar->addWidget(fontNameBox);
    gap(standardToolBar);

    auto *sizeBox = new QWidget(standardToolBar);
    auto *sizeRow = new QHBoxLayout(sizeBox);
    sizeRow->setContentsMargins(0, 0, 0, 0);
    sizeRow->setSpacing(0);
    fontSizeBox = new QComboBox(sizeBox);
    fontSizeBox->setEditable(true);
    fontSizeBox->setInsertPolicy(QComboBox::NoInsert);
    // A size is typed whole: no completion from the list while typing.
    fontSizeBox->setCompleter(nullptr);
    for (const int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        fontSizeBox->addItem(QString::number(size));
    fontSizeBox->setMaxVisibleItems(16);
    fontSizeBox->setEditText(QStringLiteral("10"));
    fontSizeBox->setFixedWidth(52);
    for (QWidget *box : {static_cast<QWidget *>(fontSizeBox), static_cast<QWidget *>(fontSizeBox->lineEdit())}) {
        box->setToolTip(QStringLiteral("Размер шрифта"));
        box->setStatusTip(QStringLiteral("Размер шрифта"));
    }
    // Sizes start at 1 point: the arrows never step to a size that is refused.
    fontSizeArrows = new StepArrows(fontSizeBox->lineEdit(), 1, 100, sizeBox);
    fontSizeArrows->setPosition(10);
    sizeRow->addWidget(fontSizeBox);
    sizeRow->addWidget(fontSizeArrows);
    standardToolBar->addWidget(sizeBox);
    gap(standardToolBar);

    standardToolBar->addActions({boldAction, italicAction, underlineAction});
    standardToolBar->addSeparator();
    standardToolBar->addActions({alignLeftAction, alignCenterAction, alignRightAction});
    standardToolBar->addSeparator();
    standardToolBar->addAction(bulletsAction);
    window->addToolBar(Qt::TopToolBarArea, standardToolBar);

    // Ruler and document.
    auto *central = new QWidget(window);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    ruler = new EditorRuler(central);
    richEdit = new ReportTextEdit(central);
    column->addWidget(ruler);
    column->addWidget(richEdit, 1);
    window->setCentralWidget(central);

    statusBar = new QStatusBar(window);
    statusPanels[0] = statusPanel(statusBar, 120, Qt::AlignLeft);
    statusPanels[1] = statusPanel(statusBar, 80, Qt::AlignHCenter);
    statusPanels[2] = statusPanel(statusBar, 50, Qt::AlignLeft);
    window->setStatusBar(statusBar);

    // Every part is known by its member's name, as tests and style sheets find it.
    const std::pair<QObject *, const char *> parts[] = {
        {newAction, "newAction"},
        {openAction, "openAction"},
        {saveAction, "saveAction"},
        {saveAsAction, "saveAsAction"},
        {printerSetupAction, "printerSetupAction"},
        {previewAction, "previewAction"},
        {printAction, "printAction"},
        {exportPdfAction, "exportPdfAction"},
        {closeAction, "closeAction"},
        {undoAction, "undoAction"},
        {redoAction, "redoAction"},
        {cutAction, "cutAction"},
        {copyAction, "copyAction"},
        {pasteAction, "pasteAction"},
        {fontAction, "fontAction"},
        {boldAction, "boldAction"},
        {italicAction, "italicAction"},
        {underlineAction, "underlineAction"},
        {alignmentGroup, "alignmentGroup"},
        {alignLeftAction, "alignLeftAction"},
        {alignCenterAction, "alignCenterAction"},
        {alignRightAction, "alignRightAction"},
        {bulletsAction, "bulletsAction"},
        {menuToolBar, "menuToolBar"},
        {fileMenuButton, "fileMenuButton"},
        {editMenuButton, "editMenuButton"},
        {fileMenu, "fileMenu"},
        {editMenu, "editMenu"},
        {standardToolBar, "standardToolBar"},
        {fontNameBox, "fontNameBox"},
        {fontSizeBox, "fontSizeBox"},
        {fontSizeArrows, "fontSizeArrows"},
        {ruler, "ruler"},
        {richEdit, "richEdit"},
        {statusBar, "statusBar"},
    };
    for (const auto &[part, name] : parts)
        part->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < 3; ++i)
        statusPanels[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i));
}
