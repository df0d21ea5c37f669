#include "cli/DocumentOutput.h"

#include "reports/ReportPage.h"
#include "richtext/DocumentFile.h"

#include <QFileInfo>

bool DocumentOutput::isPdf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

Result<> DocumentOutput::write(const QTextDocument &document, const QString &path, const QString &title)
{
    if (isPdf(path)) {
        ReportPage page;
        page.setTitle(title);
        page.setDocument(document);
        return page.exportPdf(path);
    }
    return DocumentFile::save(path, document);
}
