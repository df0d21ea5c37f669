#pragma once

#include <QStringList>

// The arguments a program was started with, as text.
class CommandLine
{
public:
    // The arguments after the program's name.  A file name the system gives
    // as bytes that are not valid text reaches the file system again byte
    // for byte (FileNameBytes).  Call it after the application object took
    // its own options out of argv.
    static QStringList arguments(int argc, char *argv[]);
};
