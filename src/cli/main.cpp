#include "cli/CliMain.h"
#include "model/FileNameBytes.h"

#include <QApplication>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The tool's standard error carries its own messages; Qt's remarks about the
// desktop session it runs without (no runtime folder, no screen) are noise.
void filterMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    // The tool lays out report pages and draws charts, which needs fonts but
    // never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(filterMessages);
    // Charts are graphics widgets: they need the widgets' application.
    QApplication app(argc, argv);
    // The arguments as given: a file name that is not UTF-8 reaches the file
    // system byte for byte.  The application has taken its own options out.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << FileNameBytes::decode(QByteArray(argv[i]));
    return cliMain(args);
}
