#pragma once

#include <QString>

// A value a calculation ran with, or came to, that lies outside the range in
// which its method means something.  The calculation completes all the same;
// the warning tells the user which input to look at and why.
struct CalcWarning
{
    // The key of the input to look at ("Din").
    QString variable;
    // What is wrong, in Russian: "Dвнутр = 348 м — больше 4 м; не введён ли
    // диаметр в миллиметрах?"
    QString message;

    bool operator==(const CalcWarning &other) const { return variable == other.variable && message == other.message; }
};
