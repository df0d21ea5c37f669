#pragma once

#include <QString>

// Standard output and standard error, written as UTF-8.
class Console
{
public:
    static void out(const QString &text);
    static void err(const QString &text);
};
