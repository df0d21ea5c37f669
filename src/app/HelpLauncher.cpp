#include "app/HelpLauncher.h"

#include "app/HelpWindow.h"
#include "model/ResourceLocator.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QVector>

namespace {

HelpLauncher::Opener &opener()
{
    static HelpLauncher::Opener instance;
    return instance;
}

QPointer<HelpWindow> &helpWindow()
{
    static QPointer<HelpWindow> instance;
    return instance;
}

struct Chapter
{
    QPointer<QWidget> window;
    QString chapter;
};

QVector<Chapter> &chapters()
{
    static QVector<Chapter> instance;
    return instance;
}

bool isHtml(const QString &file)
{
    return QFileInfo(file).suffix().compare(QLatin1String("html"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString HelpLauncher::helpFile(const QString &executablePath)
{
    const ResourceLocator locator(ResourceLocator::environmentPlaces(QFileInfo(executablePath).absolutePath()));
    const QString guide = locator.findFile(ResourceLocator::helpFolder() + QStringLiteral("/index.html"));
    if (!guide.isEmpty())
        return guide;
    const QString compiled = executablePath + QStringLiteral(".chm");
    return QFileInfo(compiled).isFile() ? compiled : QString();
}

void HelpLauncher::open(const QString &executablePath)
{
    QWidget *active = QApplication::activeWindow();
    // Help asked for in the help window itself just keeps it where it is.
    if (active && active == helpWindow()) {
        helpWindow()->raise();
        return;
    }
    open(executablePath, chapterFor(active));
}

void HelpLauncher::open(const QString &executablePath, const QString &chapter)
{
    const QString file = helpFile(executablePath);
    if (file.isEmpty())
        return;
    QUrl url = QUrl::fromLocalFile(file);
    if (isHtml(file) && !chapter.isEmpty())
        url.setFragment(chapter);
    if (opener()) {
        opener()(url);
        return;
    }
    if (!isHtml(file)) {
        QDesktopServices::openUrl(url);
        return;
    }
    if (!helpWindow()) {
        helpWindow() = new HelpWindow;
        // Over the middle of the screen the user works on.
        QWidget *active = QApplication::activeWindow();
        if (const QScreen *screen = active ? active->screen() : QGuiApplication::primaryScreen()) {
            const QRect room = screen->availableGeometry();
            helpWindow()->resize(helpWindow()->size().boundedTo(room.size()));
            helpWindow()->move(room.center() - helpWindow()->rect().center());
        }
        // Gone with the program at the latest.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, helpWindow(), &QObject::deleteLater);
    }
    helpWindow()->showGuide(file, chapter);
}

void HelpLauncher::setChapter(QWidget *window, const QString &chapter)
{
    chapters().append({window, chapter});
}

QString HelpLauncher::chapterFor(const QWidget *window)
{
    for (const Chapter &c : chapters()) {
        if (window && c.window == window)
            return c.chapter;
    }
    return QString();
}

HelpWindow *HelpLauncher::window()
{
    return helpWindow();
}

void HelpLauncher::closeWindow()
{
    delete helpWindow();
}

void HelpLauncher::setOpener(Opener replacement)
{
    opener() = std::move(replacement);
}
