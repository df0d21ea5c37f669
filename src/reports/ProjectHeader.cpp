#include "reports/ProjectHeader.h"

#include "calc/ProjectDescription.h"
#include "reports/TemplateFiller.h"

namespace {

// A line of the header holds no line break of its own.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text.trimmed();
}

} // namespace

const QStringList &ProjectHeader::tags()
{
    static const QStringList all{QStringLiteral("$Project.Object$"), QStringLiteral("$Project.Designer$"),
                                 QStringLiteral("$Project.Date$"), QStringLiteral("$Sign.Designer$"),
                                 QStringLiteral("$Sign.Date$")};
    return all;
}

QString ProjectHeader::blankLine()
{
    return QString(20, QLatin1Char('_'));
}

QString ProjectHeader::dateText(const ProjectDescription &description)
{
    return description.date.isValid() ? description.date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

void ProjectHeader::resolveBlocks(TemplateFiller &filler, const ProjectDescription &description)
{
    filler.cutIfBlock(ObjectBlock, oneLine(description.object).isEmpty());
    filler.cutIfBlock(DesignerBlock, oneLine(description.designer).isEmpty());
    filler.cutIfBlock(DateBlock, !description.date.isValid());
}

void ProjectHeader::fillTags(TemplateFiller &filler, const ProjectDescription &description)
{
    const QString designer = oneLine(description.designer);
    const QString date = dateText(description);
    filler.replaceTags({{tags().at(0), oneLine(description.object)},
                        {tags().at(1), designer},
                        {tags().at(2), date},
                        {tags().at(3), designer.isEmpty() ? blankLine() : designer},
                        {tags().at(4), date.isEmpty() ? blankLine() : date}});
}

void ProjectHeader::fill(TemplateFiller &filler, const ProjectDescription &description)
{
    resolveBlocks(filler, description);
    fillTags(filler, description);
}
