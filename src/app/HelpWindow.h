#pragma once

#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The user's guide in a window of the program, so that help needs no
// browser: the guide's pages with back and forward, the contents (its
// chapters and sections) beside them, and a search of the text.
class HelpWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the guide file at a chapter (the id of its heading; empty for
    // the start), and brings the window to the front.
    void showGuide(const QString &file, const QString &chapter = QString());

    QTextBrowser *browser() const { return m_browser; }
    QTreeWidget *contents() const { return m_contents; }
    QLineEdit *searchBox() const { return m_search; }
    QAction *backAction() const { return m_back; }
    QAction *forwardAction() const { return m_forward; }
    QAction *homeAction() const { return m_home; }
    // What the last search said ("" when it found the text).
    QString searchMessage() const;

public Q_SLOTS:
    // The next (or previous) place of the search box's text, from the
    // selection on, round to the start (or end) when need be; false when
    // the guide does not hold it.
    bool findNext();
    bool findPrevious();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    bool find(bool backward);
    void fillContents(const QUrl &source);
    void contentsClicked(QTreeWidgetItem *item);

    QTextBrowser *m_browser;
    QTreeWidget *m_contents;
    QLineEdit *m_search;
    QLabel *m_message;
    QAction *m_back;
    QAction *m_forward;
    QAction *m_home;
    QUrl m_start;
    // The page the contents list.
    QUrl m_contentsPage;
};
