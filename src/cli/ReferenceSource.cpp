#include "cli/ReferenceSource.h"

#include "cli/CliArgs.h"
#include "refdata/DatabaseError.h"

ReferenceSource::ReferenceSource(CalcVariables &vars, const std::optional<QString> &databaseFile) : m_data(vars, *this)
{
    if (databaseFile)
        m_data.database().setDatabaseFile(*databaseFile);
}

void ReferenceSource::load(void (ReferenceData::*loader)())
{
    m_messages.clear();
    (m_data.*loader)();
    if (!m_messages.isEmpty())
        throw DatabaseError(DatabaseError::Kind::Query, m_messages.join(QLatin1Char('\n')));
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
