#include "reports/ReportAssessment.h"

#include "reports/TemplateFiller.h"

#include <QStringList>

void ReportAssessment::fillWarnings(TemplateFiller &filler, const QVector<CalcWarning> &warnings)
{
    QStringList lines;
    for (const CalcWarning &warning : warnings)
        lines << QStringLiteral("— ") + warning.message;
    // A line break in the text inserted starts a paragraph of the same format.
    filler.ReplaceTag(QStringLiteral("$Warnings$"), lines.join(QLatin1Char('\n')));
    filler.CutIfBlock(WarningsBlock, warnings.isEmpty());
}

void ReportAssessment::fillVerdict(TemplateFiller &filler, const CalcVerdict &verdict)
{
    filler.ReplaceTag(QStringLiteral("$Verdict$"), verdict.text());
}
