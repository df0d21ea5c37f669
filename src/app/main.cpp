#include "app/MainUnit.h"
#include "app/ProgramWindows.h"
#include "editor/remain.h"
#include "model/NumberFormat.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pipecalc"));
    QApplication::setApplicationVersion(QStringLiteral(PIPECALC_VERSION));
    // Numbers are written with the separators of the user's locale as it is
    // when the program starts.
    NumberFormat::useSystemLocale();
    // The dialogs that Qt brings (files, printing, questions) speak Russian
    // like the rest of the program, where Qt's translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    ProgramWindows windows;
    // A file named first on the command line opens whenever the editor shows.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        windows.editor().setStartFile(arguments.at(1));
    windows.main().show();
    return app.exec();
}
