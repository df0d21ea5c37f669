#include "app/ProjectPropertiesDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ProjectPropertiesDialog::ProjectPropertiesDialog(const ProjectDescription &description, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Свойства проекта"));
    auto *column = new QVBoxLayout(this);
    auto *note = new QLabel(QStringLiteral("Объект, проектировщик и дата печатаются в начале отчёта; "
                                           "незаполненное поле в отчёт не попадает."),
                            this);
    note->setWordWrap(true);
    column->addWidget(note);

    auto *form = new QFormLayout;
    objectEdit = new QLineEdit(description.object, this);
    objectEdit->setMinimumWidth(360);
    designerEdit = new QLineEdit(description.designer, this);
    dateCheck = new QCheckBox(QStringLiteral("указать"), this);
    dateEdit = new QDateEdit(this);
    dateEdit->setCalendarPopup(true);
    dateEdit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dateEdit->setDate(description.date.isValid() ? description.date : QDate::currentDate());
    dateCheck->setChecked(description.date.isValid());
    dateEdit->setEnabled(dateCheck->isChecked());
    connect(dateCheck, &QCheckBox::toggled, dateEdit, &QWidget::setEnabled);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(dateCheck);
    dateRow->addWidget(dateEdit);
    dateRow->addStretch(1);
    notesEdit = new QPlainTextEdit(description.notes, this);
    notesEdit->setTabChangesFocus(true);

    auto *objectLabel = new QLabel(QStringLiteral("&Объект:"), this);
    objectLabel->setBuddy(objectEdit);
    auto *designerLabel = new QLabel(QStringLiteral("&Проектировщик:"), this);
    designerLabel->setBuddy(designerEdit);
    auto *dateLabel = new QLabel(QStringLiteral("&Дата:"), this);
    dateLabel->setBuddy(dateCheck);
    auto *notesLabel = new QLabel(QStringLiteral("П&римечания:"), this);
    notesLabel->setBuddy(notesEdit);
    form->addRow(objectLabel, objectEdit);
    form->addRow(designerLabel, designerEdit);
    form->addRow(dateLabel, dateRow);
    form->addRow(notesLabel, notesEdit);
    column->addLayout(form, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

ProjectDescription ProjectPropertiesDialog::description() const
{
    ProjectDescription d;
    d.object = objectEdit->text().trimmed();
    d.designer = designerEdit->text().trimmed();
    d.date = dateCheck->isChecked() ? dateEdit->date() : QDate();
    d.notes = notesEdit->toPlainText();
    return d;
}
