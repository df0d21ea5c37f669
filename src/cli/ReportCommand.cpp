#include "cli/ReportCommand.h"

#include "cli/CalcCommand.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/DocumentOutput.h"
#include "cli/ReferenceSource.h"
#include "cli/VariableSettings.h"
#include "cli/VarsCommand.h"
#include "model/TCalcVariables.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/ReportTemplates.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"

#include <QTextDocument>

namespace {

const char *templateName(CalcCommand::Kind kind)
{
    switch (kind) {
    case CalcCommand::Kind::Hydraulic:
        return HydraulicReport::TemplateName;
    case CalcCommand::Kind::Static:
        return StaticReport::TemplateName;
    case CalcCommand::Kind::Fiberglass:
        return FiberglassReport::TemplateName;
    }
    return "";
}

QString title(CalcCommand::Kind kind)
{
    switch (kind) {
    case CalcCommand::Kind::Hydraulic:
        return HydraulicReport::title();
    case CalcCommand::Kind::Static:
        return StaticReport::title();
    case CalcCommand::Kind::Fiberglass:
        return FiberglassReport::title();
    }
    return QString();
}

} // namespace

int ReportCommand::run(CliArgs &args)
{
    VarsCommand::takeDecimalSeparator(args);
    std::optional<QString> output = args.takeOption(QStringLiteral("-o"));
    if (const auto longOutput = args.takeOption(QStringLiteral("--output")))
        output = longOutput;
    const VariableSettings settings = VariableSettings::takeFrom(args);
    const CalcCommand::ReferencePicks picks = CalcCommand::takePicks(args);
    const int laying = CalcCommand::takeLaying(args);
    const int wall = CalcCommand::takeWall(args);
    const CalcCommand::Kind kind = CalcCommand::takeKind(args);
    if (!output)
        throw UsageError(QStringLiteral("Укажите файл отчёта: -o ФАЙЛ"));
    args.finish();

    TCalcVariables vars;
    vars.InitCatalogue();
    CalcCommand::applyPicks(vars, picks);
    settings.applyTo(vars);
    vars.Mode = kind == CalcCommand::Kind::Hydraulic ? 0 : 1;

    const FiberglassRun run = CalcCommand::execute(kind, vars, laying, wall);
    if (!run.outcome.isCompleted()) {
        Console::err(CalcCommand::outcomeMessage(run.outcome) + QLatin1Char('\n'));
        return CalcCommand::exitCode(run.outcome);
    }

    QTextDocument document;
    QString reason;
    switch (ReportTemplates::load(document, QString::fromLatin1(templateName(kind)), &reason)) {
    case ReportTemplates::Load::Loaded:
        break;
    case ReportTemplates::Load::CannotOpen:
        Console::err(ReportTemplates::cannotOpenText() + QLatin1Char('\n'));
        return ExitTemplate;
    case ReportTemplates::Load::Failed:
        Console::err(reason + QLatin1Char('\n'));
        return ExitTemplate;
    }

    // The names of the chosen soil and material come from the reference
    // database, read only when a report asks for them.
    ReferenceSource source(vars, picks.database);
    auto soilName = [&](std::int32_t id) { return source.data().SoilNameById(id); };
    auto materialName = [&](std::int32_t id) { return source.data().MaterialNameById(id); };

    TemplateFiller filler(document);
    switch (kind) {
    case CalcCommand::Kind::Hydraulic:
        HydraulicReport::fill(filler, vars);
        break;
    case CalcCommand::Kind::Static:
        StaticReport::fill(filler, vars, soilName, materialName);
        break;
    case CalcCommand::Kind::Fiberglass: {
        FiberglassReport::Choices choices;
        choices.materialId = vars.SelectedMaterialId;
        choices.soilId = vars.SelectedSoilId;
        choices.layingIndex = laying;
        choices.layingText = laying == LayingTrenchless ? QStringLiteral("бестраншейный") : QStringLiteral("траншейный");
        FiberglassReport::fill(filler, run.results, choices, soilName);
        break;
    }
    }
    for (const QString &message : source.messages())
        Console::err(message + QLatin1Char('\n'));

    QString message;
    if (!DocumentOutput::write(document, *output, title(kind), &message)) {
        Console::err(message + QLatin1Char('\n'));
        return ExitCannotWrite;
    }
    return 0;
}
