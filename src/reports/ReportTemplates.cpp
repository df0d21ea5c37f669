#include "reports/ReportTemplates.h"

#include "model/ResourceLocator.h"
#include "richtext/DocumentFile.h"

#include <QDir>
#include <QFile>

namespace {

QString &folderOverride()
{
    static QString folder;
    return folder;
}

} // namespace

void ReportTemplates::setFolder(const QString &folder)
{
    folderOverride() = folder;
}

QString ReportTemplates::path(const QString &name)
{
    if (!folderOverride().isEmpty())
        return QDir(folderOverride()).filePath(name);
    return ResourceLocator::forApplication().locateFile(ResourceLocator::templatesFolder() + QLatin1Char('/') + name);
}

bool ReportTemplates::canOpen(const QString &name)
{
    QFile probe(path(name));
    return probe.open(QIODevice::ReadOnly);
}

Result<> ReportTemplates::load(QTextDocument &document, const QString &name)
{
    if (!canOpen(name))
        return Result<>::failure(cannotOpenText());
    return DocumentFile::load(path(name), document);
}

QString ReportTemplates::cannotOpenText()
{
    return QStringLiteral("Не могу открыть файл шаблона отчёта.");
}
