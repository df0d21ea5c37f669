#include "cli/CalcCommand.h"

#include "calc/HydraulicCalc.h"
#include "calc/StaticCalc.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/JsonWriter.h"
#include "cli/ReferenceSource.h"
#include "cli/VariableSettings.h"
#include "cli/VarsCommand.h"
#include "model/CalcViews.h"
#include "model/TCalcVariables.h"

namespace {

QString outcomeSummary(const CalcOutcome &outcome)
{
    switch (outcome.kind()) {
    case CalcOutcome::Kind::Completed:
        return QStringLiteral("Результат: расчёт выполнен");
    case CalcOutcome::Kind::Stopped:
        return QStringLiteral("Результат: расчёт остановлен проверкой входных данных");
    case CalcOutcome::Kind::DivisionByZero:
        return QStringLiteral("Результат: деление на ноль");
    case CalcOutcome::Kind::Fault:
        return QStringLiteral("Результат: ошибка вычисления");
    }
    return QString();
}

} // namespace

int CalcCommand::run(CliArgs &args)
{
    VarsCommand::takeDecimalSeparator(args);
    const bool json = args.takeFlag(QStringLiteral("--json"));
    const VariableSettings settings = VariableSettings::takeFrom(args);
    const int laying = takeLaying(args);
    const int wall = takeWall(args);
    const ReferencePicks picks = takePicks(args);
    const Kind kind = takeKind(args);
    args.finish();

    TCalcVariables vars;
    vars.InitCatalogue();
    applyPicks(vars, picks);
    settings.applyTo(vars);
    vars.Mode = kind == Kind::Hydraulic ? 0 : 1;

    const FiberglassRun run = execute(kind, vars, laying, wall);
    const CalcOutcome &outcome = run.outcome;

    const CalcView view = kind == Kind::Hydraulic ? CalcView::Hydraulic
                          : kind == Kind::Static  ? CalcView::Static
                                                  : CalcView::Fiberglass;
    const QVector<Slot> outputs = CalcViews::outputRows(view);

    if (json) {
        JsonWriter out;
        out.beginObject();
        out.member(QStringLiteral("calculation"), kindName(kind));
        out.member(QStringLiteral("outcome"), outcome.keyword());
        out.member(QStringLiteral("message"), outcome.displayText());
        out.key(QStringLiteral("outputs"));
        out.beginArray();
        for (const Slot slot : outputs)
            out.value(SlotKeys::key(slot));
        out.endArray();
        out.key(QStringLiteral("variables"));
        VarsCommand::writeVariables(out, vars);
        if (kind == Kind::Fiberglass) {
            out.key(QStringLiteral("fiberglass"));
            out.beginObject();
            for (const FiberglassResults::Field &field : FiberglassResults::fields())
                out.member(QString::fromLatin1(field.name), run.results.*field.member);
            out.endObject();
        }
        out.endObject();
        Console::out(out.text() + QLatin1Char('\n'));
    } else {
        Console::out(VarsCommand::table(vars, outputs, false));
        Console::out(outcomeSummary(outcome) + QLatin1Char('\n'));
    }
    if (!outcome.isCompleted())
        Console::err(outcomeMessage(outcome) + QLatin1Char('\n'));
    return exitCode(outcome);
}

QString CalcCommand::outcomeMessage(const CalcOutcome &outcome)
{
    if (outcome.kind() == CalcOutcome::Kind::Stopped)
        return QStringLiteral("Расчёт не выполнен: входные данные не прошли проверку.");
    return outcome.displayText();
}

CalcCommand::ReferencePicks CalcCommand::takePicks(CliArgs &args)
{
    ReferencePicks picks;
    picks.tube = args.takeInteger(QStringLiteral("--tube"));
    picks.material = args.takeInteger(QStringLiteral("--material"));
    picks.soil = args.takeInteger(QStringLiteral("--soil"));
    picks.database = ReferenceSource::takeDatabase(args);
    return picks;
}

void CalcCommand::applyPicks(TCalcVariables &vars, const ReferencePicks &picks)
{
    if (!picks.any())
        return;
    ReferenceSource source(vars, picks.database);
    ReferenceData &data = source.data();
    if (picks.material) {
        source.load(&ReferenceData::LoadMaterials);
        if (!data.pickMaterial(data.materials()->findId(*picks.material)))
            throw UsageError(
                QStringLiteral("--material: в справочной базе нет материала с кодом %1").arg(*picks.material));
    }
    if (picks.tube) {
        source.load(&ReferenceData::LoadTubes);
        const bool fiberglass = data.fiberglassTubesVisible();
        const int row = *picks.tube - 1;
        if (!(fiberglass ? data.pickFiberglassTube(row) : data.pickTube(row))) {
            const int count = fiberglass ? data.fiberglassTubes()->rowCount() : data.tubes()->rowCount();
            throw UsageError(QStringLiteral("--tube: в таблице %1 нет строки %2 (строк в таблице: %3)")
                                 .arg(fiberglass ? QStringLiteral("стеклопластиковых труб") : QStringLiteral("труб"))
                                 .arg(*picks.tube)
                                 .arg(count));
        }
    }
    if (picks.soil) {
        source.load(&ReferenceData::LoadSoils);
        if (!data.pickSoil(data.soils()->findId(*picks.soil)))
            throw UsageError(QStringLiteral("--soil: в справочной базе нет грунта с кодом %1").arg(*picks.soil));
    }
}

CalcCommand::Kind CalcCommand::takeKind(CliArgs &args)
{
    const auto name = args.takePositional();
    if (!name)
        throw UsageError(QStringLiteral("Укажите расчёт: hydraulic, static или fiberglass"));
    if (*name == QLatin1String("hydraulic"))
        return Kind::Hydraulic;
    if (*name == QLatin1String("static"))
        return Kind::Static;
    if (*name == QLatin1String("fiberglass"))
        return Kind::Fiberglass;
    throw UsageError(QStringLiteral("Неизвестный расчёт: %1 (hydraulic, static или fiberglass)").arg(*name));
}

int CalcCommand::takeLaying(CliArgs &args)
{
    const auto value = args.takeOption(QStringLiteral("--laying"));
    if (!value || *value == QLatin1String("trench"))
        return LayingTrench;
    if (*value == QLatin1String("trenchless"))
        return LayingTrenchless;
    throw UsageError(QStringLiteral("--laying: trench или trenchless, получено: %1").arg(*value));
}

int CalcCommand::takeWall(CliArgs &args)
{
    const auto value = args.takeOption(QStringLiteral("--wall"));
    if (!value || *value == QLatin1String("three"))
        return WallThreeLayer;
    if (*value == QLatin1String("single"))
        return WallSingleLayer;
    throw UsageError(QStringLiteral("--wall: single или three, получено: %1").arg(*value));
}

FiberglassRun CalcCommand::execute(Kind kind, TCalcVariables &vars, int laying, int wall)
{
    switch (kind) {
    case Kind::Hydraulic:
        return {CalcHydraulic(vars), FiberglassResults{}};
    case Kind::Static:
        return {CalcStatic(vars), FiberglassResults{}};
    case Kind::Fiberglass:
        return CalcFiberglass(vars, laying, wall);
    }
    return {CalcOutcome::stopped(), FiberglassResults{}};
}

int CalcCommand::exitCode(const CalcOutcome &outcome)
{
    switch (outcome.kind()) {
    case CalcOutcome::Kind::Completed:
        return ExitCompleted;
    case CalcOutcome::Kind::Stopped:
        return ExitStopped;
    case CalcOutcome::Kind::DivisionByZero:
        return ExitDivisionByZero;
    case CalcOutcome::Kind::Fault:
        return ExitFault;
    }
    return ExitFault;
}

QString CalcCommand::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Hydraulic:
        return QStringLiteral("hydraulic");
    case Kind::Static:
        return QStringLiteral("static");
    case Kind::Fiberglass:
        return QStringLiteral("fiberglass");
    }
    return QString();
}
