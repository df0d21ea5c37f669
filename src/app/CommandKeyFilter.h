#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QKeyEvent;
class QWidget;

// Looks at every event of the program before its target does:
// - the release of F1 anywhere opens the help, once per press;
// - the plain keys C and R (also the keys that type "с" and "к" in a Russian
//   layout) run the calculation and make the report in the main window and
//   in the windows registered for them, also while a text field there has
//   the focus, but never while a modal window is open; a disabled command's
//   key is taken too, and reported, so the window can say why;
// - it tells the main window when it becomes active again after another
//   window of the program was, which a switch to another program is not.
class CommandKeyFilter : public QObject
{
    Q_OBJECT

public:
    CommandKeyFilter(QWidget *mainWindow, QAction *execute, QAction *report, QAction *help);

    // A further window where C and R act; `accepts` decides for the widget
    // that has the focus (letters typed into a document must stay letters).
    void addLetterWindow(QWidget *window, std::function<bool(QWidget *focus)> accepts);

    // Whether a key press is the plain key of a letter command, in a Latin
    // or a Russian layout.
    static bool isPlainKey(const QKeyEvent *event, int latinKey, char16_t cyrillicUpper);

    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    void mainWindowActivated();
    // A letter command's key was pressed where it acts, but the command is
    // disabled: the window may say why.
    void disabledCommandKey(QAction *action);

private:
    bool letterCommandsActIn(QWidget *activeWindow) const;

    QWidget *m_main;
    QAction *m_execute;
    QAction *m_report;
    QAction *m_help;
    QPointer<QObject> m_lastActive;
    struct LetterWindow
    {
        QPointer<QWidget> window;
        std::function<bool(QWidget *)> accepts;
    };
    QVector<LetterWindow> m_letterWindows;
};
