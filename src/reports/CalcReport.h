#pragma once

#include "calc/CalcKind.h"

#include <QString>

class CalcSession;
class QTextDocument;

// The report of a calculation, made the same way for the window and for the
// command-line tool: which template, which title and which fill go with the
// calculation, and the rules that keep a report honest.  A report is made
// only of current results; its template must hold every placeholder and
// block the report fills; and the finished report holds no placeholder or
// block marker.
class CalcReport
{
public:
    enum class Status {
        Built,
        NotCurrent,         // the results are not those of the inputs as they are
        TemplateMissing,    // the template cannot be opened
        TemplateUnreadable, // it opens but is no readable document
        TemplateIncomplete, // it lacks placeholders or blocks of the report, or holds unknown ones
        DatabaseUnreadable, // the reference database that names the soil or the material cannot be read
    };
    struct Result
    {
        Status status = Status::Built;
        // What to tell the user when the report was not built.
        QString message;
        bool built() const { return status == Status::Built; }
    };

    // The title line of the report page above the report.
    static QString title(CalcKind kind);
    // The template file in the templates folder.
    static QString templateName(CalcKind kind);

    // Builds the report of the session's results of `kind` into `document`,
    // which it replaces; the session's description heads it.  The chosen
    // soil and material are named as the session names them (the rows
    // picked, or the names an opened project kept); an id without a choice
    // is named from the session's reference database (DatabaseUnreadable,
    // with the message of the general error box, when it cannot be opened).
    static Result build(CalcSession &session, CalcKind kind, QTextDocument &document);

    // The placeholders ("$Din.Val$") and block markers ("$IF2$") left in a
    // text, each once.
    static QStringList leftoverPlaceholders(const QString &text);
};
