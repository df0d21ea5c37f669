#include "ui/Dialogs.h"

#include "model/MessageText.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>

namespace {

Dialogs *installed = nullptr;

} // namespace

Dialogs &Dialogs::instance()
{
    static Dialogs real;
    return installed ? *installed : real;
}

void Dialogs::install(Dialogs *dialogs)
{
    installed = dialogs;
}

QString Dialogs::applicationTitle()
{
    return QStringLiteral("Расчёты Велтра-Норлекс");
}

void Dialogs::message(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

void Dialogs::error(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton Dialogs::question(QWidget *parent, const QString &text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString Dialogs::openFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Dialogs::saveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    // The caller asks about overwriting in its own words.
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

int Dialogs::execDialog(QDialog *dialog)
{
    return dialog->exec();
}

void Dialogs::generalError(QWidget *parent, const QString &failure)
{
    error(parent, MessageText::withFullStop(failure));
}

bool Dialogs::confirmOverwrite(QWidget *parent, const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    return question(parent, QStringLiteral("Перезаписать %1").arg(path),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No)
           == QMessageBox::Yes;
}

bool Dialogs::askToSave(QWidget *parent, const QString &text, const std::function<bool()> &save)
{
    switch (question(parent, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return save();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}
