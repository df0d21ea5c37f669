#include "cli/CliMain.h"

#include "cli/CliArgs.h"
#include "cli/CommandTable.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/ProjectFileError.h"
#include "cli/ReferenceDatabaseError.h"

int cliMain(const QStringList &argList)
{
    if (argList.isEmpty()) {
        Console::err(CommandTable::helpText());
        return ExitCode::Usage;
    }
    try {
        if (argList.contains(QStringLiteral("--help")) || argList.first() == QLatin1String("help")
            || argList.first() == QLatin1String("-h")) {
            Console::out(CommandTable::helpText());
            return 0;
        }
        if (argList.first() == QLatin1String("--version")) {
            Console::out(QStringLiteral("pipecalc-cli %1\n").arg(QStringLiteral(PIPECALC_VERSION)));
            return 0;
        }

        const QString name = argList.first();
        const Command *command = CommandTable::find(name);
        if (!command)
            throw UsageError(QStringLiteral("Неизвестная команда: %1").arg(name));
        CliArgs args(argList.mid(1));
        return command->execute(args);
    } catch (const UsageError &error) {
        Console::err(QStringLiteral("pipecalc-cli: %1\nСправка: pipecalc-cli --help\n").arg(error.message()));
        return ExitCode::Usage;
    } catch (const ProjectFileError &error) {
        Console::err(QStringLiteral("pipecalc-cli: %1\n").arg(error.message()));
        return ExitCode::ProjectFile;
    } catch (const Console::Failure &failure) {
        Console::err(Console::failureText(failure.reason));
        return ExitCode::CannotWrite;
    } catch (const ReferenceDatabaseError &error) {
        Console::err(QStringLiteral("pipecalc-cli: %1\n").arg(error.message()));
        return ExitCode::Database;
    }
}
