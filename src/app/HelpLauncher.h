#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opens the user's guide: the compiled help beside the executable
// ("<executable>.chm") with the desktop's viewer when it exists, otherwise
// the HTML guide "help/index.html" among the program's resources
// (ResourceLocator).  A missing guide opens nothing and says nothing.
class HelpLauncher
{
public:
    using Opener = std::function<void(const QUrl &)>;

    // The file that would be opened, or an empty text.
    static QString helpFile(const QString &executablePath);
    static void open(const QString &executablePath);

    // Replaces the desktop viewer (tests); an empty opener restores it.
    static void setOpener(Opener opener);
};
