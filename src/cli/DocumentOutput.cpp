#include "cli/DocumentOutput.h"

#include "reports/ReportPage.h"
#include "richtext/DocumentFile.h"

#include <QFileInfo>

bool DocumentOutput::isPdf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

bool DocumentOutput::write(const QTextDocument &document, const QString &path, const QString &title, QString *message)
{
    if (isPdf(path)) {
        ReportPage page;
        page.setTitle(title);
        page.setDocument(document);
        return page.exportPdf(path, message);
    }
    const DocumentFile::Result saved = DocumentFile::save(path, document);
    if (!saved.ok)
        *message = saved.message;
    return saved.ok;
}
