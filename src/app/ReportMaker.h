#pragma once

#include "calc/CalcKind.h"
#include "calc/CalcSession.h"

#include <optional>

class QImage;
class QSizeF;
class QString;

// What the report command hands on to the report editor.
class ReportMaker
{
public:
    virtual ~ReportMaker() = default;

    // Builds the report of the session's results of `kind` (which the
    // command has found current), titles the report page and shows the editor.
    virtual void makeReport(CalcSession &session, CalcKind kind) = 0;

    // What the report open in the editor was made of; nothing when the
    // editor holds no report the program made (a new or opened document).
    virtual std::optional<CalcSession::ResultsStamp> openReport() const { return std::nullopt; }

    // Puts a picture with its caption below it into the report editor's
    // document at its caret, `size` in document units, and shows the editor;
    // false when there is no editor.
    virtual bool insertPicture(const QImage &picture, const QSizeF &size, const QString &caption)
    {
        (void)picture;
        (void)size;
        (void)caption;
        return false;
    }
};
