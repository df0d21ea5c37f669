#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "app/SafeApplication.h"
#include "editor/ReportEditor.h"
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
    const QStringList arguments = QCoreApplication::arguments();
    windows.showAtStart(arguments.size() > 1 ? arguments.at(1) : QString());
    return app.exec();
}
