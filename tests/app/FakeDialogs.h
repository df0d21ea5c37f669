#pragma once

#include "ui/Dialogs.h"

#include <QDialog>
#include <QStringList>

#include <functional>

// Answers the program's boxes and dialogs without a screen and remembers
// what they said.
class FakeDialogs : public Dialogs
{
public:
    FakeDialogs() { Dialogs::install(this); }
    ~FakeDialogs() override { Dialogs::install(nullptr); }

    void message(QWidget *, const QString &text) override { messages << text; }
    void error(QWidget *, const QString &text) override { errors << text; }
    QMessageBox::StandardButton question(QWidget *, const QString &text, QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        questions << text;
        return answers.isEmpty() ? answer : answers.takeFirst();
    }
    QString openFileName(QWidget *, const QString &, const QString &dir, const QString &filter) override
    {
        lastDir = dir;
        lastFilter = filter;
        return openName;
    }
    QString saveFileName(QWidget *, const QString &, const QString &dir, const QString &filter) override
    {
        lastDir = dir;
        lastFilter = filter;
        ++saveDialogsShown;
        return saveName;
    }
    int execDialog(QDialog *dialog) override
    {
        ++dialogsShown;
        if (onDialog)
            onDialog(dialog);
        return dialogResult;
    }

    QStringList messages;
    QStringList errors;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    // Answers given in turn before `answer`.
    QList<QMessageBox::StandardButton> answers;
    QString openName;
    QString saveName;
    int dialogsShown = 0;
    int saveDialogsShown = 0;
    int dialogResult = QDialog::Accepted;
    QString lastDir;
    QString lastFilter;
    std::function<void(QDialog *)> onDialog;
};
