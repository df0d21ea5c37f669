#pragma once

#include <QString>

class QTextDocument;

// The report templates in the folder "Templates" beside the executable.
class ReportTemplates
{
public:
    enum class Load {
        Loaded,
        CannotOpen, // the file is missing or cannot be opened
        Failed,     // it opened but could not be read; the reason is given
    };

    // The folder the templates are read from; tests may point it elsewhere.
    static QString folder();
    static void setFolder(const QString &folder);
    static QString path(const QString &name);

    // Replaces the document's content with the template's.
    static Load load(QTextDocument &document, const QString &name, QString *reason = nullptr);

    // "Не могу открыть файл шаблона отчёта."
    static QString cannotOpenText();
};
