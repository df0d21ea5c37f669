#include "app/MainUnit.h"
#include "app/ProgramWindows.h"
#include "editor/remain.h"
#include "model/NumberFormat.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pipecalc"));
    QApplication::setApplicationVersion(QStringLiteral(PIPECALC_VERSION));
    // Numbers are written with the separators of the user's locale as it is
    // when the program starts.
    NumberFormat::useSystemLocale();

    ProgramWindows windows;
    // A file named first on the command line opens whenever the editor shows.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        windows.editor().setStartFile(arguments.at(1));
    windows.main().show();
    return app.exec();
}
