#pragma once

#include <QString>
#include <QStringList>

// Where the program finds what it reads (the reference database in "Base",
// the report templates in "Templates", the guide in "help"), where it keeps
// its settings and where its helper programs are.
//
// A program whose own folder holds "Base" runs portable (a build folder, or a
// folder copied as a whole): its resources and its settings file
// "<executable>.ini" are beside the executable, as they always were.  Any
// other program is installed: it never writes beside its executable, and its
// settings live in "$XDG_CONFIG_HOME/pipecalc/pipecalc.ini" (by default
// "~/.config/pipecalc/"), whoever runs it.
//
// Resources are looked up file by file in these folders, the first that has
// the file winning:
//   1. the executable's folder (so a build or portable folder is
//      self-contained);
//   2. the user's data folder, "$XDG_DATA_HOME/pipecalc" (by default
//      "~/.local/share/pipecalc"), so that a user's own "Base/data.mdb" or
//      "Base/data.sqlite" is taken before the installed one;
//   3. the installed resources, "../share/pipecalc" relative to the
//      executable's folder;
//   4. "pipecalc" in each folder of $XDG_DATA_DIRS, in their order.
// Folders that appear twice are searched once.
class ResourceLocator
{
public:
    // What a locator looks at.  forApplication() fills it in from the running
    // program and its environment; tests point it at temporary folders.
    struct Places
    {
        QString executableDir;
        QString dataHome;     // the user's data folder, without "pipecalc"
        QStringList dataDirs; // the system's data folders, without "pipecalc"
        QString configHome;   // the user's configuration folder, without "pipecalc"
        QString documents;    // the user's documents folder
    };

    explicit ResourceLocator(Places places);

    // The locator of the running program: its executable's folder and the
    // XDG folders of its environment, read anew at each call.
    static ResourceLocator forApplication();
    // The places of a program in the given folder, with the system's folders
    // as SystemPlaces gives them (on Linux the XDG folders of the
    // environment: $XDG_DATA_HOME, $XDG_DATA_DIRS, $XDG_CONFIG_HOME, each
    // with its documented default when unset, empty or not absolute).
    static Places environmentPlaces(const QString &executableDir);

    // Relative paths of the resources.
    static QString baseFolder() { return QStringLiteral("Base"); }
    static QString templatesFolder() { return QStringLiteral("Templates"); }
    static QString helpFolder() { return QStringLiteral("help"); }
    // Where the installed resources and helper programs lie relative to the
    // executable's folder.
    static QString installedDataDir();
    static QString installedHelperDir();

    const Places &places() const { return m_places; }

    // Whether the executable's folder holds "Base".
    bool isPortable() const;

    // The folders searched for resources, in order.
    QStringList searchFolders() const;
    // The folder where the program's own resources lie: beside the
    // executable when portable, otherwise the installed "../share/pipecalc".
    QString programDataDir() const;

    // The first existing file among the relative paths; the folders are
    // tried in order and, within a folder, the paths in the order given.
    // Empty when none exists.
    QString findFile(const QStringList &relativePaths) const;
    QString findFile(const QString &relativePath) const;
    // The file when it exists somewhere, otherwise where the program's own
    // copy would be (for messages naming what is missing).
    QString locateFile(const QString &relativePath) const;

    // The settings file of the program whose executable is given.
    QString settingsFile(const QString &executablePath) const;
    // The folder the file dialogs start in before the user chose one: the
    // executable's folder when portable, otherwise the user's documents
    // folder (the home folder when it does not exist).
    QString defaultDocumentsDir() const;

    // A helper program, named with the system's suffix for executables:
    // beside the executable, else in the installed
    // "../libexec/pipecalc".  When neither exists, the path beside the
    // executable (for messages naming what is missing).
    QString helperExecutable(const QString &name) const;

private:
    Places m_places;
};
