#include "cli/ReferenceSource.h"

#include "cli/CliArgs.h"
#include "cli/ReferenceDatabaseError.h"

ReferenceSource::ReferenceSource(CalcVariables &vars, const std::optional<QString> &databaseFile) : m_data(vars, *this)
{
    if (databaseFile)
        m_data.database().setDatabaseFile(*databaseFile);
}

void ReferenceSource::load(Result<> (ReferenceData::*loader)())
{
    m_messages.clear();
    const Result<> loaded = (m_data.*loader)();
    if (!loaded)
        throw ReferenceDatabaseError(loaded.message());
    if (!m_messages.isEmpty())
        throw ReferenceDatabaseError(m_messages.join(QLatin1Char('\n')));
}

std::optional<QString> ReferenceSource::takeDatabase(CliArgs &args)
{
    const auto path = args.takeOption(QStringLiteral("--database"));
    if (path && path->isEmpty())
        throw UsageError(QStringLiteral("--database: укажите файл базы данных"));
    return path;
}

void ReferenceSource::showTableError(const QString &message)
{
    m_messages << message;
}
