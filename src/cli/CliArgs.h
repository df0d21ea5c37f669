#pragma once

#include "cli/CommandResult.h"

#include <QString>
#include <QStringList>

#include <optional>

// The arguments of one command, taken apart option by option.  Each take*
// call removes what it takes; finish() then rejects whatever is left.  What
// the command line gets wrong is a usage failure whose message names it.
class CliArgs
{
public:
    explicit CliArgs(QStringList args) : m_args(std::move(args)) {}

    // "--name" present (removed once per call).
    bool takeFlag(const QString &name);
    // "--name VALUE" or "--name=VALUE"; the last one wins.  A name without
    // a value is a usage failure.
    CommandResult<std::optional<QString>> takeOption(const QString &name);
    // The file to write: "-o FILE" or "--output FILE", the long one winning.
    CommandResult<std::optional<QString>> takeOutput();
    // "--name N" with a whole number in the range of a 32-bit integer
    // (anything else is a usage failure); the last one wins.
    CommandResult<std::optional<int>> takeInteger(const QString &name);
    // Every "--name VALUE", in order.
    CommandResult<QStringList> takeRepeated(const QString &name);
    // The next argument that is not an option; nothing when none is left.
    std::optional<QString> takePositional();
    // A usage failure for any argument left over.
    CommandResult<> finish() const;

private:
    // The value of the first "--name"; nothing when there is none.
    CommandResult<std::optional<QString>> takeOne(const QString &name);

    QStringList m_args;
};
