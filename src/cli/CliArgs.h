#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

// A wrong command line: the message names what is wrong.  Exit status
// ExitCode::Usage.
class UsageError : public std::runtime_error
{
public:
    explicit UsageError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The arguments of one command, taken apart option by option.  Each take*
// call removes what it takes; finish() then rejects whatever is left.
class CliArgs
{
public:
    explicit CliArgs(QStringList args) : m_args(std::move(args)) {}

    // "--name" present (removed once per call).
    bool takeFlag(const QString &name);
    // "--name VALUE" or "--name=VALUE"; the last one wins.  A name without
    // a value is a usage error.
    std::optional<QString> takeOption(const QString &name);
    // "--name N" with a whole number in the range of a 32-bit integer
    // (anything else is a usage error); the last one wins.
    std::optional<int> takeInteger(const QString &name);
    // Every "--name VALUE", in order.
    QStringList takeRepeated(const QString &name);
    // The next argument that is not an option; nothing when none is left.
    std::optional<QString> takePositional();
    // A usage error for any argument left over.
    void finish() const;

private:
    std::optional<QString> takeOne(const QString &name);

    QStringList m_args;
};
