#pragma once

#include "calc/CalcSession.h"

#include <QLabel>

// The line above the results that says what they are worth, coloured by
// the tone the session gives it: green when the pipe holds, red when it
// fails, yellow for results the inputs have outrun, grey otherwise.
class ResultsStateLine : public QLabel
{
    Q_OBJECT

public:
    explicit ResultsStateLine(QWidget *parent = nullptr);

    void showState(CalcSession::Tone tone, const QString &text);
};
