#include "cli/ReferenceSource.h"

#include "cli/CliArgs.h"

ReferenceSource::ReferenceSource(CalcVariables &vars, const std::optional<QString> &databaseFile) : m_data(vars, *this)
{
    if (databaseFile)
        m_data.database().setDatabaseFile(*databaseFile);
}

CommandResult<> ReferenceSource::load(Result<> (ReferenceData::*loader)())
{
    m_messages.clear();
    const Result<> loaded = (m_data.*loader)();
    if (!loaded)
        return CommandResult<>::failure(ExitCode::Database, loaded.message());
    if (!m_messages.isEmpty())
        return CommandResult<>::failure(ExitCode::Database, m_messages.join(QLatin1Char('\n')));
    return {};
}

CommandResult<std::optional<QString>> ReferenceSource::takeDatabase(CliArgs &args)
{
    const CommandResult<std::optional<QString>> path = args.takeOption(QStringLiteral("--database"));
    if (path && *path && (*path)->isEmpty())
        return CommandResult<>::usage(QStringLiteral("--database: укажите файл базы данных"));
    return path;
}

void ReferenceSource::showTableError(const QString &message)
{
    m_messages << message;
}
