#include "cli/CommandResult.h"

#include "cli/Console.h"

int CommandResult<void>::report() const
{
    if (ok())
        return ExitCode::Success;
    QString text = QStringLiteral("pipecalc-cli: %1\n").arg(message());
    if (m_exitCode == ExitCode::Usage)
        text += QStringLiteral("Справка: pipecalc-cli --help\n");
    Console::err(text);
    return m_exitCode;
}
