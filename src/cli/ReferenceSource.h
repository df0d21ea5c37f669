#pragma once

#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"

#include <QStringList>

#include <optional>

class CliArgs;
class CalcVariables;

// The reference database for a command of the tool: the one in "Base"
// beside the executable, or the file given with "--database".  The tool
// never writes to it.  A table that cannot be read, like a database that
// cannot be opened, ends the command with ReferenceDatabaseError.
class ReferenceSource : private ReferenceErrorSink
{
public:
    ReferenceSource(CalcVariables &vars, const std::optional<QString> &databaseFile);

    ReferenceData &data() { return m_data; }

    // Runs a loader of ReferenceData; throws ReferenceDatabaseError when the database
    // cannot be opened or the loader reported a table.
    void load(Result<> (ReferenceData::*loader)());

    // The tables reported since the last load, as the program would say them.
    const QStringList &messages() const { return m_messages; }

    // "--database PATH".
    static std::optional<QString> takeDatabase(CliArgs &args);

private:
    void showTableError(const QString &message) override;

    QStringList m_messages;
    ReferenceData m_data;
};
