#pragma once

#include "calc/ProjectDescription.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;

// "Свойства проекта": the description of the project — object, designer,
// date (which may be left out) and notes.
class ProjectPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProjectPropertiesDialog(const ProjectDescription &description, QWidget *parent = nullptr);

    // The description as the fields hold it.
    ProjectDescription description() const;

    QLineEdit *objectEdit = nullptr;
    QLineEdit *designerEdit = nullptr;
    QCheckBox *dateCheck = nullptr;
    QDateEdit *dateEdit = nullptr;
    QPlainTextEdit *notesEdit = nullptr;
};
