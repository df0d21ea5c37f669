#pragma once

#include "cli/ExitCode.h"
#include "model/Result.h"

#include <QString>

#include <utility>

// What a step of a pipecalc-cli command returns: a Result that, when it
// failed, also carries the exit status the command ends with (ExitCode).
// Everything the command line can get wrong is ExitCode::Usage; a damaged
// project, a database that cannot be read and standard output that is not
// written have statuses of their own.  A command ends with report(), which
// prints the message as the tool says it and gives the status.
//
//     const CommandResult<CalcOptions> options = CalcOptions::take(args);
//     if (!options)
//         return options.report();
//
// A failed CommandResult<> converts to every CommandResult<T>, and status()
// passes any failure on as a CommandResult<>.
template <class T = void>
class CommandResult;

template <>
class [[nodiscard]] CommandResult<void> : public Result<void>
{
public:
    // Success.
    CommandResult() = default;
    static CommandResult failure(int exitCode, QString message)
    {
        CommandResult result(Result<void>::failure(std::move(message)));
        result.m_exitCode = exitCode;
        return result;
    }
    // A wrong command line.
    static CommandResult usage(QString message) { return failure(ExitCode::Usage, std::move(message)); }

    // The status the command ends with; ExitCode::Success after success.
    int exitCode() const { return m_exitCode; }

    // The exit status to end the command with; after a failure the message
    // goes to standard error first ("pipecalc-cli: " before it, and after a
    // wrong command line the way to the help).
    int report() const;

private:
    explicit CommandResult(Result<void> failed) : Result<void>(std::move(failed)) {}

    int m_exitCode = ExitCode::Success;
};

template <class T>
class [[nodiscard]] CommandResult : public Result<T>
{
public:
    CommandResult(T value) : Result<T>(std::move(value)) {}
    // A failure passed on from a step of another kind.
    CommandResult(const CommandResult<void> &failed) : Result<T>(failed), m_exitCode(failed.exitCode()) {}

    // The outcome without the value, to pass a failure on.
    CommandResult<void> status() const
    {
        return this->ok() ? CommandResult<void>() : CommandResult<void>::failure(m_exitCode, this->message());
    }
    int report() const { return status().report(); }

private:
    int m_exitCode = ExitCode::Success;
};
