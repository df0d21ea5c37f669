#include "cli/CliMain.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return cliMain(QCoreApplication::arguments().mid(1));
}
