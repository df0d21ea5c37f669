#pragma once

#include "cli/CommandResult.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"

#include <QStringList>

#include <optional>

class CliArgs;
class CalcVariables;

// The reference database for a command of the tool: the one in "Base"
// beside the executable, or the file given with "--database".  The tool
// never writes to it.  A table that cannot be read, like a database that
// cannot be opened, ends the command with ExitCode::Database.
class ReferenceSource : private ReferenceErrorSink
{
public:
    ReferenceSource(CalcVariables &vars, const std::optional<QString> &databaseFile);

    ReferenceData &data() { return m_data; }

    // Runs a loader of ReferenceData; a failure (ExitCode::Database) when the
    // database cannot be opened or the loader reported a table.
    CommandResult<> load(Result<> (ReferenceData::*loader)());

    // The tables reported since the last load, as the program would say them.
    const QStringList &messages() const { return m_messages; }

    // "--database PATH".
    static CommandResult<std::optional<QString>> takeDatabase(CliArgs &args);

private:
    void showTableError(const QString &message) override;

    QStringList m_messages;
    ReferenceData m_data;
};
