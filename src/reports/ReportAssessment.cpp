#include "reports/ReportAssessment.h"

#include "reports/TemplateFiller.h"

#include <QRegularExpression>
#include <QStringList>

void ReportAssessment::fillWarnings(TemplateFiller &filler, const QVector<CalcWarning> &warnings)
{
    // The report writes a minus sign, not the hyphen the messages have.
    static const QRegularExpression hyphenMinus(QStringLiteral("(?<![\\w-])-(?=\\d)"));
    QStringList lines;
    for (const CalcWarning &warning : warnings)
        lines << QStringLiteral("— ") + QString(warning.message).replace(hyphenMinus, QStringLiteral("−"));
    // A line break in the text inserted starts a paragraph of the same format.
    filler.replaceTag(QStringLiteral("$Warnings$"), lines.join(QLatin1Char('\n')));
    filler.cutIfBlock(WarningsBlock, warnings.isEmpty());
}

void ReportAssessment::fillVerdict(TemplateFiller &filler, const CalcVerdict &verdict)
{
    filler.replaceTag(QStringLiteral("$Verdict$"), verdict.text());
}
