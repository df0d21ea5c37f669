#pragma once

#include <QString>
#include <QStringList>

// Where the system keeps a user's data and settings, and how it names
// programs.  Folders are absolute and clean, without the program's own
// "pipecalc"; read anew from the environment at each call.
class SystemPlaces
{
public:
    // The user's data folder.
    static QString userDataFolder();
    // The system's data folders, in the order they are searched.
    static QStringList systemDataFolders();
    // The user's configuration folder.
    static QString userConfigFolder();
    // The user's documents folder.
    static QString documentsFolder();
    // The file name of a program: the name with the system's suffix for
    // executables, if it has one.
    static QString executableFileName(const QString &program);
};
