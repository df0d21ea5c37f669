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
        return answer;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return openName; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return saveName; }
    int execDialog(QDialog *dialog) override
    {
        ++dialogsShown;
        if (onDialog)
            onDialog(dialog);
        return QDialog::Accepted;
    }

    QStringList messages;
    QStringList errors;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    QString openName;
    QString saveName;
    int dialogsShown = 0;
    std::function<void(QDialog *)> onDialog;
};
