#include "app/MainUnit.h"
#include "app/ProgramWindows.h"
#include "app/SafeApplication.h"
#include "calc/CalcProject.h"
#include "editor/remain.h"
#include "model/NumberFormat.h"
#include "model/ResourceLocator.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    SafeApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pipecalc"));
    QApplication::setApplicationVersion(QStringLiteral(PIPECALC_VERSION));
    // The desktop entry the windows belong to (its name and icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pipecalc.pipecalc"));
    // Numbers are written with the separators of the user's locale as it is
    // when the program starts.
    NumberFormat::useSystemLocale();
    // The dialogs that Qt brings (files, printing, questions) speak Russian
    // like the rest of the program, where Qt's translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // Beside the executable when it runs from its own folder, in the user's
    // configuration folder when installed.
    const ResourceLocator locator = ResourceLocator::forApplication();
    const QString settingsFile = locator.settingsFile(QCoreApplication::applicationFilePath());
    if (!locator.isPortable())
        QDir().mkpath(QFileInfo(settingsFile).absolutePath());

    ProgramWindows windows(settingsFile);
    // A file named first on the command line: a project opens in the main
    // window as it is first shown; any other file opens in the report
    // editor, which shows it beside the main window from the start.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        if (CalcProject::isProjectFile(arguments.at(1)))
            windows.main().openProjectAtStart(QFileInfo(arguments.at(1)).absoluteFilePath());
        else
            windows.editor().setStartFile(arguments.at(1));
    }
    windows.main().show();
    if (windows.editor().hasStartFile())
        windows.editor().ShowEditor();
    return app.exec();
}
