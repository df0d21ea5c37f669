#pragma once

#include <QString>

// Texts of the messages the program shows.
class MessageText
{
public:
    // The general error box ends a message with a full stop when its last
    // character has a code above that of "." (after letters, digits, "?"),
    // but not after ".", "!" or an empty text.
    static QString withFullStop(const QString &message);

    static QString divisionByZero();
};
