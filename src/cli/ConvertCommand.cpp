#include "cli/ConvertCommand.h"

#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "richtext/DocumentFile.h"

#include <QTextDocument>

int ConvertCommand::run(CliArgs &args)
{
    std::optional<QString> output = args.takeOption(QStringLiteral("-o"));
    if (const auto longOutput = args.takeOption(QStringLiteral("--output")))
        output = longOutput;
    const std::optional<QString> input = args.takePositional();
    if (!input)
        throw UsageError(QStringLiteral("Укажите входной файл"));
    if (!output)
        throw UsageError(QStringLiteral("Укажите выходной файл: -o ФАЙЛ"));
    args.finish();

    QTextDocument document;
    const DocumentFile::Result loaded = DocumentFile::load(*input, document);
    if (!loaded.ok) {
        Console::err(loaded.message + QLatin1Char('\n'));
        return ExitCannotRead;
    }
    const DocumentFile::Result saved = DocumentFile::save(*output, document);
    if (!saved.ok) {
        Console::err(saved.message + QLatin1Char('\n'));
        return ExitCannotWrite;
    }
    return 0;
}
