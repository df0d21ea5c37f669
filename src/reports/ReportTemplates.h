#pragma once

#include <QString>

class QTextDocument;

// The report templates: the files of the folder "Templates" among the
// program's resources (ResourceLocator), each looked up on its own, so a
// user's copy of one template is taken before the installed one.
class ReportTemplates
{
public:
    enum class Load {
        Loaded,
        CannotOpen, // the file is missing or cannot be opened
        Failed,     // it opened but could not be read; the reason is given
    };

    // A folder that then holds every template (tests); an empty one
    // restores the lookup.
    static void setFolder(const QString &folder);
    // The template's file: where it was found, otherwise where the
    // program's own copy would be.
    static QString path(const QString &name);

    // Replaces the document's content with the template's.
    static Load load(QTextDocument &document, const QString &name, QString *reason = nullptr);

    // "Не могу открыть файл шаблона отчёта."
    static QString cannotOpenText();
};
