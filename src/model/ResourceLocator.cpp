#include "model/ResourceLocator.h"

#include "model/platform/SystemPlaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// PIPECALC_INSTALLED_DATA_DIR and PIPECALC_INSTALLED_HELPER_DIR come from the
// build: the install folders relative to the programs' folder.

namespace {

const QString kProgramFolder = QStringLiteral("pipecalc");

QString under(const QString &folder, const QString &relative)
{
    return QDir::cleanPath(folder + QLatin1Char('/') + relative);
}

} // namespace

ResourceLocator::ResourceLocator(Places places) : m_places(std::move(places)) {}

ResourceLocator ResourceLocator::forApplication()
{
    return ResourceLocator(environmentPlaces(QCoreApplication::applicationDirPath()));
}

ResourceLocator::Places ResourceLocator::environmentPlaces(const QString &executableDir)
{
    Places places;
    places.executableDir = QDir::cleanPath(QDir(executableDir).absolutePath());
    places.dataHome = SystemPlaces::userDataFolder();
    places.configHome = SystemPlaces::userConfigFolder();
    places.dataDirs = SystemPlaces::systemDataFolders();
    places.documents = SystemPlaces::documentsFolder();
    return places;
}

QString ResourceLocator::installedDataDir()
{
    return QStringLiteral(PIPECALC_INSTALLED_DATA_DIR);
}

QString ResourceLocator::installedHelperDir()
{
    return QStringLiteral(PIPECALC_INSTALLED_HELPER_DIR);
}

bool ResourceLocator::isPortable() const
{
    return QFileInfo(under(m_places.executableDir, baseFolder())).isDir();
}

QStringList ResourceLocator::searchFolders() const
{
    QStringList folders;
    auto add = [&folders](const QString &folder) {
        const QString clean = QDir::cleanPath(folder);
        if (!clean.isEmpty() && !folders.contains(clean))
            folders << clean;
    };
    add(m_places.executableDir);
    if (!m_places.dataHome.isEmpty())
        add(under(m_places.dataHome, kProgramFolder));
    add(under(m_places.executableDir, installedDataDir()));
    for (const QString &dir : m_places.dataDirs)
        add(under(dir, kProgramFolder));
    return folders;
}

QString ResourceLocator::programDataDir() const
{
    if (isPortable())
        return m_places.executableDir;
    return under(m_places.executableDir, installedDataDir());
}

QString ResourceLocator::findFile(const QStringList &relativePaths) const
{
    for (const QString &folder : searchFolders()) {
        for (const QString &relative : relativePaths) {
            const QString path = under(folder, relative);
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return QString();
}

QString ResourceLocator::findFile(const QString &relativePath) const
{
    return findFile(QStringList{relativePath});
}

QString ResourceLocator::locateFile(const QString &relativePath) const
{
    const QString found = findFile(relativePath);
    return found.isEmpty() ? under(programDataDir(), relativePath) : found;
}

QString ResourceLocator::settingsFile(const QString &executablePath) const
{
    if (isPortable())
        return executablePath + QStringLiteral(".ini");
    return under(m_places.configHome, kProgramFolder + QStringLiteral("/pipecalc.ini"));
}

QString ResourceLocator::defaultDocumentsDir() const
{
    if (isPortable())
        return m_places.executableDir;
    if (!m_places.documents.isEmpty() && QFileInfo(m_places.documents).isDir())
        return m_places.documents;
    return QDir::homePath();
}

QString ResourceLocator::helperExecutable(const QString &name) const
{
    const QString fileName = SystemPlaces::executableFileName(name);
    const QString beside = under(m_places.executableDir, fileName);
    const QString installed = under(m_places.executableDir, installedHelperDir() + QLatin1Char('/') + fileName);
    for (const QString &candidate : {beside, installed}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return candidate;
    }
    return beside;
}
