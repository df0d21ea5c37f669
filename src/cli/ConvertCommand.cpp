#include "cli/ConvertCommand.h"

#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/DocumentOutput.h"
#include "cli/ExitCode.h"
#include "reports/HydraulicReport.h"
#include "richtext/DocumentFile.h"

#include <QTextDocument>

ConvertCommand::ConvertCommand()
    : Command(QStringLiteral("convert"),
              {QStringLiteral("ВХОД"), QStringLiteral("-o ВЫХОД"), QStringLiteral("[--title ТЕКСТ]")},
              QStringLiteral("      Читает документ ВХОД так, как его открывает редактор отчётов, и\n"
                             "      записывает в ВЫХОД так, как редактор сохраняет. Формат выбирается по\n"
                             "      расширению без учёта регистра: «.txt» — простой текст, «.pdf» —\n"
                             "      страницы отчёта под заголовком ТЕКСТ (по умолчанию заголовок\n"
                             "      гидравлического расчёта), любое другое расширение или его\n"
                             "      отсутствие — RTF. Если файл не читается в своём\n"
                             "      формате, он читается в другом (RTF как текст, текст как RTF). Текст\n"
                             "      читается как UTF-8 (метка порядка байтов или корректный UTF-8 с\n"
                             "      не-ASCII символами), иначе как Windows-1251; записывается в\n"
                             "      Windows-1251, а если в ней есть не все символы — в UTF-8 с меткой.\n"
                             "      Если RTF написан в кодовой странице, которую программа не умеет\n"
                             "      читать, текст в ней читается в близкой странице, и об этом\n"
                             "      выводится предупреждение в стандартный поток ошибок.\n"
                             "\n"))
{}

int ConvertCommand::execute(CliArgs &args) const
{
    const CommandResult<std::optional<QString>> takenOutput = args.takeOutput();
    if (!takenOutput)
        return takenOutput.report();
    const std::optional<QString> &output = *takenOutput;
    const CommandResult<std::optional<QString>> givenTitle = args.takeOption(QStringLiteral("--title"));
    if (!givenTitle)
        return givenTitle.report();
    const QString title = givenTitle->value_or(HydraulicReport::title());
    const std::optional<QString> input = args.takePositional();
    if (!input)
        return CommandResult<>::usage(QStringLiteral("Укажите входной файл")).report();
    if (!output)
        return CommandResult<>::usage(QStringLiteral("Укажите выходной файл: -o ФАЙЛ")).report();
    if (const CommandResult<> finished = args.finish(); !finished)
        return finished.report();

    // Text needs only what the plain text shows of the document.
    const bool toText =
        !DocumentOutput::isPdf(*output) && DocumentFile::formatOf(*output) == DocumentFile::Format::PlainText;
    QTextDocument document;
    QStringList warnings;
    const Result<> loaded = DocumentFile::load(
        *input, document, toText ? DocumentFile::Detail::Text : DocumentFile::Detail::Full, &warnings);
    if (!loaded.ok()) {
        Console::err(loaded.message() + QLatin1Char('\n'));
        return ExitCode::CannotRead;
    }
    for (const QString &warning : std::as_const(warnings))
        Console::err(QStringLiteral("Предупреждение: ") + warning + QLatin1Char('\n'));
    const Result<> written = DocumentOutput::write(document, *output, title);
    if (!written) {
        Console::err(written.message() + QLatin1Char('\n'));
        return ExitCode::CannotWrite;
    }
    return 0;
}
