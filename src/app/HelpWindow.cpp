#include "app/HelpWindow.h"

#include "ui/Artwork.h"
#include "ui/Dialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QHideEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

namespace {

enum ItemRole { AnchorRole = Qt::UserRole, PositionRole };

QAction *command(QMainWindow *window, const QString &text, QStyle::StandardPixmap picture,
                 const QList<QKeySequence> &keys)
{
    auto *action = new QAction(window->style()->standardIcon(picture), text, window);
    action->setToolTip(text);
    action->setShortcuts(keys);
    window->addAction(action);
    return action;
}

// The anchor a heading carries (its id), if any.
QString anchorOf(const QTextBlock &block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QStringList names = it.fragment().charFormat().anchorNames();
        if (!names.isEmpty())
            return names.first();
    }
    return QString();
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QMainWindow(parent), m_browser(new QTextBrowser(this)), m_contents(new QTreeWidget(this)),
      m_search(new QLineEdit(this)), m_message(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Справка — %1").arg(Dialogs::applicationTitle()));
    setWindowIcon(Artwork::windowIcon());
    // Help stays open beside the program, and never keeps it running.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(980, 720);

    m_back = command(this, QStringLiteral("Назад"), QStyle::SP_ArrowBack, {QKeySequence(QKeySequence::Back)});
    m_forward = command(this, QStringLiteral("Вперёд"), QStyle::SP_ArrowForward, {QKeySequence(QKeySequence::Forward)});
    m_home =
        command(this, QStringLiteral("Содержание"), QStyle::SP_DirHomeIcon, {QKeySequence(Qt::ALT | Qt::Key_Home)});
    QAction *next =
        command(this, QStringLiteral("Найти далее"), QStyle::SP_ArrowDown, {QKeySequence(QKeySequence::FindNext)});
    QAction *previous =
        command(this, QStringLiteral("Найти ранее"), QStyle::SP_ArrowUp, {QKeySequence(QKeySequence::FindPrevious)});
    // Esc closes help, as it closes a dialog.
    QAction *closeHelp =
        command(this, QStringLiteral("Закрыть"), QStyle::SP_DialogCloseButton, {QKeySequence(Qt::Key_Escape)});
    connect(closeHelp, &QAction::triggered, this, &QWidget::close);
    QAction *toSearch =
        command(this, QStringLiteral("Поиск"), QStyle::SP_FileDialogContentsView, {QKeySequence(QKeySequence::Find)});
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("HelpToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addActions({m_back, m_forward, m_home});
    bar->addSeparator();
    m_search->setPlaceholderText(QStringLiteral("Найти в тексте"));
    m_search->setClearButtonEnabled(true);
    m_search->setMaximumWidth(260);
    bar->addWidget(m_search);
    bar->addActions({previous, next});
    addToolBar(Qt::TopToolBarArea, bar);

    m_contents->setHeaderHidden(true);
    m_contents->setRootIsDecorated(true);
    m_contents->setUniformRowHeights(true);
    m_browser->setOpenExternalLinks(true);
    // What the search finds shows while the focus stays in the search box.
    QPalette colours = m_browser->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    m_browser->setPalette(colours);
    auto *split = new QSplitter(this);
    split->addWidget(m_contents);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 720});
    setCentralWidget(split);
    statusBar()->addWidget(m_message, 1);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_home, &QAction::triggered, this, [this] {
        if (m_start.isValid())
            m_browser->setSource(m_start);
    });
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::fillContents);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpWindow::contentsClicked);
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::contentsClicked);
    connect(m_search, &QLineEdit::returnPressed, this, &HelpWindow::findNext);
    connect(next, &QAction::triggered, this, &HelpWindow::findNext);
    connect(previous, &QAction::triggered, this, &HelpWindow::findPrevious);
    connect(toSearch, &QAction::triggered, this, [this] {
        m_search->setFocus();
        m_search->selectAll();
    });
}

void HelpWindow::showGuide(const QString &file, const QString &chapter)
{
    m_start = QUrl::fromLocalFile(file);
    QUrl target = m_start;
    if (!chapter.isEmpty())
        target.setFragment(chapter);
    if (m_browser->source() != target)
        m_browser->setSource(target);
    else if (!chapter.isEmpty())
        m_browser->scrollToAnchor(chapter);
    // Asked for from a modal dialog (a message, the about box, the preview),
    // help would stay behind it and take no input: it becomes modal itself,
    // over the dialog, until it is closed.
    const QWidget *modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (wanted != windowModality() && wanted == Qt::ApplicationModal) {
        // Modality changes only while the window is hidden.
        hide();
        setWindowModality(wanted);
    }
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void HelpWindow::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    // Shown again, help is an ordinary window beside the program.
    if (!event->spontaneous() && windowModality() != Qt::NonModal)
        setWindowModality(Qt::NonModal);
}

void HelpWindow::fillContents(const QUrl &source)
{
    // The same page again (another chapter of it) keeps the contents.
    const QUrl page = source.adjusted(QUrl::RemoveFragment);
    if (page == m_contentsPage && m_contents->topLevelItemCount() > 0)
        return;
    m_contentsPage = page;
    m_contents->clear();
    QTreeWidgetItem *chapter = nullptr;
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        // The guide's own title is the page; its chapters and their sections are the contents.
        if (level < 2 || level > 3 || block.text().trimmed().isEmpty())
            continue;
        QTreeWidgetItem *item = level == 3 && chapter ? new QTreeWidgetItem(chapter) : new QTreeWidgetItem(m_contents);
        if (level == 2)
            chapter = item;
        item->setText(0, block.text().trimmed());
        item->setData(0, AnchorRole, anchorOf(block));
        item->setData(0, PositionRole, block.position());
    }
    m_contents->expandAll();
}

void HelpWindow::contentsClicked(QTreeWidgetItem *item)
{
    const QString anchor = item->data(0, AnchorRole).toString();
    if (!anchor.isEmpty()) {
        // Through the address, so that Back comes here again.
        QUrl target = m_contentsPage;
        target.setFragment(anchor);
        m_browser->setSource(target);
        return;
    }
    const QTextBlock block = m_browser->document()->findBlock(item->data(0, PositionRole).toInt());
    m_browser->verticalScrollBar()->setValue(
        int(m_browser->document()->documentLayout()->blockBoundingRect(block).top()));
}

bool HelpWindow::findNext()
{
    return find(false);
}

bool HelpWindow::findPrevious()
{
    return find(true);
}

bool HelpWindow::find(bool backward)
{
    const QString text = m_search->text().trimmed();
    m_message->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    // From the page in view when the last place found is out of sight.
    const QRect shown = m_browser->viewport()->rect();
    if (!shown.intersects(m_browser->cursorRect()))
        m_browser->setTextCursor(m_browser->cursorForPosition(backward ? shown.bottomRight() : shown.topLeft()));
    if (m_browser->find(text, flags))
        return true;
    // Round from the other end of the guide.
    const QTextCursor kept = m_browser->textCursor();
    QTextCursor from(m_browser->document());
    from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    m_browser->setTextCursor(from);
    if (m_browser->find(text, flags))
        return true;
    m_browser->setTextCursor(kept);
    m_message->setText(QStringLiteral("Текст «%1» в руководстве не найден.").arg(text));
    return false;
}

QString HelpWindow::searchMessage() const
{
    return m_message->text();
}
