#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Every modal box and file dialog of the program goes through here, so that
// tests can answer them without a screen.  Install a subclass with
// Dialogs::install(); pass nullptr to go back to the real dialogs.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    static Dialogs &instance();
    static void install(Dialogs *dialogs);

    // The program's caption of every message box.
    static QString applicationTitle();

    // A box with an information icon, an OK button and the application title
    // as caption.
    virtual void message(QWidget *parent, const QString &text);
    // The same with an error icon.
    virtual void error(QWidget *parent, const QString &text);
    // A question; returns the button chosen.
    virtual QMessageBox::StandardButton question(QWidget *parent, const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton);
    // File names; empty when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);

    // Shows a modal dialog of the program; returns its result.
    virtual int execDialog(QDialog *dialog);

    // The general error box: the failure's text, ending in a full stop after
    // a letter, digit or "?".
    void generalError(QWidget *parent, const QString &failure);
    // Before writing over a file: asks "Перезаписать <path>" when it exists;
    // true when there is none or the answer is Yes.
    bool confirmOverwrite(QWidget *parent, const QString &path);
    // Before unsaved work is dropped: asks the question with Yes (the
    // default), No and Cancel.  Yes saves and goes on only when the save
    // happened (not cancelled, not failed); No goes on without saving;
    // Cancel stays.  True when the caller may go on.
    bool askToSave(QWidget *parent, const QString &question, const std::function<bool()> &save);
};
