#include "app/HelpLauncher.h"

#include "model/ResourceLocator.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace {

HelpLauncher::Opener &opener()
{
    static HelpLauncher::Opener instance;
    return instance;
}

} // namespace

QString HelpLauncher::helpFile(const QString &executablePath)
{
    const QString compiled = executablePath + QStringLiteral(".chm");
    if (QFileInfo(compiled).isFile())
        return compiled;
    const ResourceLocator locator(ResourceLocator::environmentPlaces(QFileInfo(executablePath).absolutePath()));
    return locator.findFile(ResourceLocator::helpFolder() + QStringLiteral("/index.html"));
}

void HelpLauncher::open(const QString &executablePath)
{
    const QString file = helpFile(executablePath);
    if (file.isEmpty())
        return;
    const QUrl url = QUrl::fromLocalFile(file);
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}

void HelpLauncher::setOpener(Opener replacement)
{
    opener() = std::move(replacement);
}
