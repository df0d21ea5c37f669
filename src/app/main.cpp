#include "app/MainUnit.h"
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

    TFormMain mainWindow;
    mainWindow.show();
    return app.exec();
}
