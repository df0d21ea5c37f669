#include "model/platform/SystemPlaces.h"

#include <QDir>
#include <QStandardPaths>

// The freedesktop.org base directories: each variable with its documented
// default when unset, empty or not absolute.

namespace {

QString xdgFolder(const char *variable, const QString &homeRelative)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + homeRelative);
}

} // namespace

QString SystemPlaces::userDataFolder()
{
    return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QStringList SystemPlaces::systemDataFolders()
{
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share/:/usr/share/");
    QStringList folders;
    for (const QString &dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            folders << QDir::cleanPath(dir);
    }
    return folders;
}

QString SystemPlaces::userConfigFolder()
{
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString SystemPlaces::documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString SystemPlaces::executableFileName(const QString &program)
{
    return program;
}
