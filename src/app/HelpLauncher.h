#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class HelpWindow;
class QWidget;

// Opens the user's guide, "help/index.html" among the program's resources
// (ResourceLocator), in the program's own help window, at the chapter of the
// window the user asks from (F1 in the report editor opens the editor's
// chapter).  Without the guide, a compiled help file beside the executable
// ("<executable>.chm") goes to the desktop's viewer; with neither, nothing
// opens and nothing is said.
class HelpLauncher
{
public:
    using Opener = std::function<void(const QUrl &)>;

    // The file that would be opened, or an empty text.
    static QString helpFile(const QString &executablePath);
    // Opens the guide at the chapter of the active window.
    static void open(const QString &executablePath);
    static void open(const QString &executablePath, const QString &chapter);

    // The chapter (the id of its heading in the guide) that help asked for
    // from this window opens at.
    static void setChapter(QWidget *window, const QString &chapter);
    static QString chapterFor(const QWidget *window);

    // The help window once it has been opened; closeWindow() lets it go
    // (the program ends before its windows do).
    static HelpWindow *window();
    static void closeWindow();

    // Takes the guide's address (with the chapter as its fragment) instead
    // of showing it (tests); an empty opener restores the window.
    static void setOpener(Opener opener);
};
