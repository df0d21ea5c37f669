#include "model/platform/CommandLine.h"

#include "model/FileNameBytes.h"

QStringList CommandLine::arguments(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << FileNameBytes::decode(QByteArray(argv[i]));
    return args;
}
