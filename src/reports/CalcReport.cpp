#include "reports/CalcReport.h"

#include "calc/CalcSession.h"
#include "refdata/ReferenceData.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/ProjectHeader.h"
#include "reports/ReportAssessment.h"
#include "reports/ReportTemplates.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"

#include <QRegularExpression>
#include <QTextDocument>

namespace {

// Runs the fill of the kind's report; the names come from `soilName` and
// `materialName`.
void fill(CalcSession &session, CalcKind kind, TemplateFiller &filler, const StaticReport::NameLookup &soilName,
          const StaticReport::NameLookup &materialName)
{
    const CalcVariables &vars = session.vars();
    switch (kind) {
    case CalcKind::Hydraulic:
        HydraulicReport::fill(filler, vars);
        break;
    case CalcKind::Static:
        StaticReport::fill(filler, vars, soilName, materialName);
        break;
    case CalcKind::Fiberglass: {
        FiberglassReport::Choices choices;
        choices.materialId = vars.selectedMaterialId;
        choices.soilId = vars.selectedSoilId;
        choices.laying = session.laying();
        choices.wall = session.wall();
        FiberglassReport::fill(filler, session.fiberglassResults(), choices, soilName);
        break;
    }
    }
    const CalcAssessment &assessment = session.lastAssessment(kind);
    ReportAssessment::fillWarnings(filler, assessment.warnings);
    if (kind != CalcKind::Hydraulic)
        ReportAssessment::fillVerdict(filler, assessment.verdict);
}

QString listed(const QStringList &items)
{
    const int shown = 6;
    QString text = items.mid(0, shown).join(QStringLiteral(", "));
    if (items.size() > shown)
        text += QStringLiteral(" и ещё %1").arg(items.size() - shown);
    return text;
}

} // namespace

QString CalcReport::title(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return HydraulicReport::title();
    case CalcKind::Static:
        return StaticReport::title();
    case CalcKind::Fiberglass:
        return FiberglassReport::title();
    }
    return QString();
}

QString CalcReport::templateName(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return QString::fromLatin1(HydraulicReport::TemplateName);
    case CalcKind::Static:
        return QString::fromLatin1(StaticReport::TemplateName);
    case CalcKind::Fiberglass:
        return QString::fromLatin1(FiberglassReport::TemplateName);
    }
    return QString();
}

QStringList CalcReport::leftoverPlaceholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("\\$(/?IF\\d+|[A-Za-z_][A-Za-z0-9_./]*)\\$"));
    QStringList found;
    auto it = placeholder.globalMatch(text);
    while (it.hasNext()) {
        const QString tag = it.next().captured(0);
        if (!found.contains(tag))
            found << tag;
    }
    return found;
}

CalcReport::Result CalcReport::build(CalcSession &session, CalcKind kind, QTextDocument &document)
{
    if (!session.resultsCurrent(kind))
        return {Status::NotCurrent, session.reportRefusal(kind)};

    const QString name = templateName(kind);
    if (!ReportTemplates::canOpen(name))
        return {Status::TemplateMissing, ReportTemplates::cannotOpenText()};
    const ::Result<> loaded = ReportTemplates::load(document, name);
    if (!loaded) {
        return {Status::TemplateUnreadable,
                QStringLiteral("Не могу прочитать файл шаблона отчёта «%1»: %2").arg(name, loaded.message())};
    }

    // What the template must hold, from a fill that only takes note.
    TemplateFiller recorder(document);
    recorder.setRecording(true);
    const auto noName = [](std::int32_t) { return QString(); };
    fill(session, kind, recorder, noName, noName);
    ProjectHeader::fill(recorder, session.description());
    QStringList missing;
    for (const QString &tag : recorder.recordedTags()) {
        if (recorder.find(tag) < 0)
            missing << tag;
    }
    for (const int block : recorder.recordedBlocks()) {
        const QString open = QStringLiteral("$IF%1$").arg(block);
        const QString close = QStringLiteral("$/IF%1$").arg(block);
        const int a = recorder.find(open);
        const int b = recorder.find(close);
        if (a < 0 || b < a)
            missing << open + QStringLiteral("…") + close;
    }
    if (!missing.isEmpty()) {
        return {Status::TemplateIncomplete,
                QStringLiteral("Шаблон отчёта «%1» повреждён или неполон: в нём нет %2.").arg(name, listed(missing))};
    }

    // The report names the soil and the material as the session does: by
    // the name of the row picked, or kept in the project opened, which the
    // database may name otherwise.  Only an id without a choice is looked up.
    // A database that cannot be read ends the report at the first lookup.
    ReferenceData &refs = session.referenceData();
    ::Result<> lookups;
    const auto lookedUp = [&lookups](const ::Result<QString> &found) {
        if (!found)
            lookups = found.status();
        return found.valueOr(QString());
    };
    const auto soilName = [&](std::int32_t id) {
        if (id >= 0 && session.soil().id == id)
            return session.soil().name;
        return lookups ? lookedUp(refs.soilNameById(id)) : QString();
    };
    const auto materialName = [&](std::int32_t id) {
        if (id >= 0 && session.material().id == id)
            return session.material().name;
        return lookups ? lookedUp(refs.materialNameById(id)) : QString();
    };
    TemplateFiller filler(document);
    fill(session, kind, filler, soilName, materialName);
    if (!lookups)
        return {Status::DatabaseUnreadable, lookups.message()};
    ProjectHeader::resolveBlocks(filler, session.description());

    // The description's own texts go in after this check: they are the
    // engineer's and may look like anything.
    QStringList leftover = leftoverPlaceholders(document.toPlainText());
    for (const QString &tag : ProjectHeader::tags())
        leftover.removeAll(tag);
    if (!leftover.isEmpty()) {
        return {Status::TemplateIncomplete,
                QStringLiteral("Шаблон отчёта «%1» содержит поля, которые программа не заполняет: %2.")
                    .arg(name, listed(leftover))};
    }
    ProjectHeader::fillTags(filler, session.description());
    return {Status::Built, QString()};
}
