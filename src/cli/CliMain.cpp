#include "cli/CliMain.h"

#include "cli/CliArgs.h"
#include "cli/CommandTable.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"

int cliMain(const QStringList &argList)
{
    if (argList.isEmpty()) {
        Console::err(CommandTable::helpText());
        return ExitCode::Usage;
    }
    if (argList.contains(QStringLiteral("--help")) || argList.first() == QLatin1String("help")
        || argList.first() == QLatin1String("-h"))
        return Console::out(CommandTable::helpText()).report();
    if (argList.first() == QLatin1String("--version"))
        return Console::out(QStringLiteral("pipecalc-cli %1\n").arg(QStringLiteral(PIPECALC_VERSION))).report();

    const QString name = argList.first();
    const Command *command = CommandTable::find(name);
    if (!command)
        return CommandResult<>::usage(QStringLiteral("Неизвестная команда: %1").arg(name)).report();
    CliArgs args(argList.mid(1));
    return command->execute(args);
}
