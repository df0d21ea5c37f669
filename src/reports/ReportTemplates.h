#pragma once

#include "model/Result.h"

#include <QString>

class QTextDocument;

// The report templates: the files of the folder "Templates" among the
// program's resources (ResourceLocator), each looked up on its own, so a
// user's copy of one template is taken before the installed one.
class ReportTemplates
{
public:
    // A folder that then holds every template (tests); an empty one
    // restores the lookup.
    static void setFolder(const QString &folder);
    // The template's file: where it was found, otherwise where the
    // program's own copy would be.
    static QString path(const QString &name);

    // Whether the template's file is there and opens for reading.
    static bool canOpen(const QString &name);
    // Replaces the document's content with the template's.  A failure says
    // why: cannotOpenText() for a file that is missing or does not open,
    // otherwise why it could not be read.
    static Result<> load(QTextDocument &document, const QString &name);

    // "Не могу открыть файл шаблона отчёта."
    static QString cannotOpenText();
};
