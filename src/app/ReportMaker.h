#pragma once

#include "calc/CalcKind.h"

class CalcSession;
class QImage;
class QSizeF;

// What the report command hands on to the report editor.
class ReportMaker
{
public:
    virtual ~ReportMaker() = default;

    // Builds the report of the session's results of `kind` (which the
    // command has found current), titles the report page and shows the editor.
    virtual void makeReport(CalcSession &session, CalcKind kind) = 0;

    // Puts a picture into the report editor's document at its caret, `size`
    // in document units, and shows the editor; false when there is no editor.
    virtual bool insertPicture(const QImage &picture, const QSizeF &size)
    {
        (void)picture;
        (void)size;
        return false;
    }
};
