#pragma once

#include <QString>

// Where the reference data reports a table it could not read.  The window
// shows the text in a message box with an OK button and returns when the
// box is closed; the command-line tool collects it.
class ReferenceErrorSink
{
public:
    virtual ~ReferenceErrorSink();

    // "Не могу открыть таблицу: Tubes" and the like.
    virtual void showTableError(const QString &message) = 0;
};
