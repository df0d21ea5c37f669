#include "cli/ChartCommand.h"

#include "calc/CalcSession.h"
#include "calc/ChartData.h"
#include "calc/ParameterSweep.h"
#include "cli/CalcOptions.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "ui/ChartFigure.h"

ChartCommand::ChartCommand()
    : Command(QStringLiteral("chart"),
              {QStringLiteral("hydraulic|static|fiberglass"), QStringLiteral("[параметры расчёта]"),
               QStringLiteral("-o ФАЙЛ")},
              QStringLiteral("      Рисует график расчёта, как на странице «График» программы, и\n"
                             "      записывает его в ФАЙЛ: «.svg» — SVG, «.png» — PNG. hydraulic —\n"
                             "      скорость и расход в зависимости от наполнения h/d от 0,05 до 1 с\n"
                             "      рабочей точкой; static и fiberglass — использование каждой проверки\n"
                             "      (значение, делённое на предел; 1 — предел) в зависимости от глубины\n"
                             "      заложения, с текущей глубиной. Точки, в которых расчёт не выполнен, не\n"
                             "      рисуются, о них говорится в стандартном потоке ошибок. Экран не нужен.\n"
                             "\n"))
{}

int ChartCommand::execute(CliArgs &args) const
{
    const CommandResult<std::optional<QString>> takenOutput = args.takeOutput();
    if (!takenOutput)
        return takenOutput.report();
    const std::optional<QString> &output = *takenOutput;
    const CommandResult<CalcOptions> options = CalcOptions::take(args, CalcOptions::Purpose::Chart);
    if (!options)
        return options.report();
    if (const CommandResult<> finished = args.finish(); !finished)
        return finished.report();
    if (!output)
        return CommandResult<>::usage(QStringLiteral("Укажите файл графика: -o ФАЙЛ.svg или -o ФАЙЛ.png")).report();
    if (ChartFigure::formatOf(*output) == ChartFigure::Format::None)
        return CommandResult<>::usage(QStringLiteral("-o: график записывается в SVG или PNG, имя файла должно "
                                                     "оканчиваться на .svg или .png: %1")
                                          .arg(*output))
            .report();

    CalcSession session;
    if (const CommandResult<> applied = options->applyTo(session); !applied)
        return applied.report();
    const CalcKind kind = options->kind();
    const ChartData data = ChartData::build(session, kind);
    if (!data.hasPoints()) {
        // A chart without a single point says nothing: no file.
        Console::err(QStringLiteral("График не построен: расчёт не выполнен ни в одной точке.\n"));
        if (!data.note.isEmpty())
            Console::err(data.note + QLatin1Char('\n'));
        const CalcOutcome outcome = ParameterSweep(session, kind).runUnchanged().outcome;
        return outcome.isCompleted() ? ExitCode::Fault : ExitCode::of(outcome);
    }
    if (!data.note.isEmpty())
        Console::err(data.note + QLatin1Char('\n'));

    const Result<> saved = ChartFigure::save(data, *output, ChartFigure::defaultSize());
    if (!saved) {
        Console::err(saved.message() + QLatin1Char('\n'));
        return ExitCode::CannotWrite;
    }
    return 0;
}
