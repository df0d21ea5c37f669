#include "cli/CliMain.h"
#include "cli/Console.h"
#include "model/platform/CommandLine.h"

#include <QApplication>

namespace {

// The tool's standard error carries its own messages; Qt's remarks about the
// desktop session it runs without (no runtime folder, no screen) are noise.
// The others go out, checked, like the tool's own.
void filterMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    Console::err(qFormatLogMessage(type, context, message) + QLatin1Char('\n'));
}

} // namespace

int main(int argc, char *argv[])
{
    Console::guardStandardStreams();
    // The tool lays out report pages and draws charts, which needs fonts but
    // never a screen: a platform named for the desktop (xcb, wayland) would
    // end the tool where there is no display, over ssh or from cron.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(filterMessages);
    // Charts are graphics widgets: they need the widgets' application.
    QApplication app(argc, argv);
    // The arguments as given: a file name that is not UTF-8 reaches the file
    // system byte for byte.  The application has taken its own options out.
    return Console::finish(cliMain(CommandLine::arguments(argc, argv)));
}
