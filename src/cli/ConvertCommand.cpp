#include "cli/ConvertCommand.h"

#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/DocumentOutput.h"
#include "cli/ExitCode.h"
#include "reports/HydraulicReport.h"
#include "richtext/DocumentFile.h"

#include <QTextDocument>

int ConvertCommand::run(CliArgs &args)
{
    std::optional<QString> output = args.takeOption(QStringLiteral("-o"));
    if (const auto longOutput = args.takeOption(QStringLiteral("--output")))
        output = longOutput;
    const QString title = args.takeOption(QStringLiteral("--title")).value_or(HydraulicReport::title());
    const std::optional<QString> input = args.takePositional();
    if (!input)
        throw UsageError(QStringLiteral("Укажите входной файл"));
    if (!output)
        throw UsageError(QStringLiteral("Укажите выходной файл: -o ФАЙЛ"));
    args.finish();

    // Text needs only what the plain text shows of the document.
    const bool toText = !DocumentOutput::isPdf(*output) && DocumentFile::formatOf(*output) == DocumentFile::Format::PlainText;
    QTextDocument document;
    QStringList warnings;
    const DocumentFile::Result loaded = DocumentFile::load(
        *input, document, toText ? DocumentFile::Detail::Text : DocumentFile::Detail::Full, &warnings);
    if (!loaded.ok) {
        Console::err(loaded.message + QLatin1Char('\n'));
        return ExitCode::CannotRead;
    }
    for (const QString &warning : std::as_const(warnings))
        Console::err(QStringLiteral("Предупреждение: ") + warning + QLatin1Char('\n'));
    QString message;
    if (!DocumentOutput::write(document, *output, title, &message)) {
        Console::err(message + QLatin1Char('\n'));
        return ExitCode::CannotWrite;
    }
    return 0;
}
