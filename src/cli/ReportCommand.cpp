#include "cli/ReportCommand.h"

#include "calc/CalcSession.h"
#include "cli/CalcOptions.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/DocumentOutput.h"
#include "cli/ExitCode.h"
#include "reports/CalcReport.h"

#include <QTextDocument>

ReportCommand::ReportCommand()
    : Command(QStringLiteral("report"), CalcOptions::synopsis() + QStringList{QStringLiteral("-o ФАЙЛ")},
              QStringLiteral("      Выполняет расчёт, как calc, и составляет его отчёт по шаблону из папки\n"
                             "      Templates файлов программы (см. «Файлы»). Отчёт записывается по расширению ФАЙЛА:\n"
                             "      «.rtf» (и любое другое) — RTF, «.txt» — простой текст, «.pdf» —\n"
                             "      страницы отчёта формата A4 с эмблемой, линейкой и заголовком, как в\n"
                             "      предварительном просмотре, внизу каждой — «Страница N из M». Если\n"
                             "      расчёт не выполнен, ничего не записывается.\n"
                             "\n"))
{}

int ReportCommand::execute(CliArgs &args) const
{
    const CommandResult<std::optional<QString>> takenOutput = args.takeOutput();
    if (!takenOutput)
        return takenOutput.report();
    const std::optional<QString> &output = *takenOutput;
    const CommandResult<CalcOptions> options = CalcOptions::take(args, CalcOptions::Purpose::Report);
    if (!options)
        return options.report();
    if (!output)
        return CommandResult<>::usage(QStringLiteral("Укажите файл отчёта: -o ФАЙЛ")).report();
    if (const CommandResult<> finished = args.finish(); !finished)
        return finished.report();

    CalcSession session;
    if (const CommandResult<> applied = options->applyTo(session); !applied)
        return applied.report();
    const CalcKind kind = options->kind();
    const CalcOutcome outcome = session.run(kind);
    if (!outcome.isCompleted()) {
        Console::err(outcome.displayText() + QLatin1Char('\n'));
        return ExitCode::of(outcome);
    }

    QTextDocument document;
    const CalcReport::Result report = CalcReport::build(session, kind, document);
    if (report.status == CalcReport::Status::DatabaseUnreadable)
        return CommandResult<>::failure(ExitCode::Database, report.message).report();
    for (const QString &message : session.tableErrors())
        Console::err(message + QLatin1Char('\n'));
    if (!report.built()) {
        Console::err(report.message + QLatin1Char('\n'));
        return ExitCode::Template;
    }

    const Result<> written = DocumentOutput::write(document, *output, CalcReport::title(kind));
    if (!written) {
        Console::err(written.message() + QLatin1Char('\n'));
        return ExitCode::CannotWrite;
    }
    return 0;
}
