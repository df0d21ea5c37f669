#pragma once

#include "calc/CalcKind.h"

class CalcSession;

// What the report command hands on to the report editor.
class ReportLayer
{
public:
    virtual ~ReportLayer() = default;

    // Builds the report of the session's results of `kind` (which the
    // command has found current), titles the report page and shows the editor.
    virtual void makeReport(CalcSession &session, CalcKind kind) = 0;
};
