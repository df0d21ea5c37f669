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

ReportTemplates::Load ReportTemplates::load(QTextDocument &document, const QString &name, QString *reason)
{
    const QString file = path(name);
    {
        QFile probe(file);
        if (!probe.open(QIODevice::ReadOnly))
            return Load::CannotOpen;
    }
    const DocumentFile::Result result = DocumentFile::load(file, document);
    if (result.ok)
        return Load::Loaded;
    if (reason)
        *reason = result.message;
    return Load::Failed;
}

QString ReportTemplates::cannotOpenText()
{
    return QStringLiteral("Не могу открыть файл шаблона отчёта.");
}
