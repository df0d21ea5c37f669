#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <utility>

// What work that can fail for the user's reasons returns: a file that
// cannot be written, a project that is damaged, a database that cannot be
// opened, a command line that asks for the impossible.  Either it succeeded
// (with its value, for Result<T>) or it carries the Russian message that
// says why not, ready for a message box or the command line.  Programming
// errors are not results: they are asserts.
//
//     Result<CalcProject> project = CalcProject::load(path);
//     if (!project)
//         return Result<>::failure(project.message());
//
// A failure is made with Result<T>::failure(message); a failed Result<>
// converts to every Result<T>, and status() turns any result into a Result<>.
template <class T = void>
class Result;

template <>
class [[nodiscard]] Result<void>
{
public:
    // Success.
    Result() = default;
    static Result failure(QString message)
    {
        Result result;
        result.m_failed = true;
        result.m_message = std::move(message);
        return result;
    }

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    // Why it failed: a Russian sentence; empty after success.
    const QString &message() const { return m_message; }

private:
    bool m_failed = false;
    QString m_message;
};

template <class T>
class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    // A failure passed on from work of another kind.
    Result(const Result<void> &failed) : m_message(failed.message()) { Q_ASSERT(!failed.ok()); }
    static Result failure(QString message) { return Result(Result<void>::failure(std::move(message))); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const QString &message() const { return m_message; }

    // The value; only after success.
    const T &value() const & { return checked(), *m_value; }
    T &value() & { return checked(), *m_value; }
    T &&value() && { return checked(), std::move(*m_value); }
    const T &operator*() const & { return value(); }
    T &operator*() & { return value(); }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }
    // The value, or the fallback after a failure.  For Result<bool>, whose
    // test says whether it succeeded, not what the value is.
    T valueOr(T fallback) const { return ok() ? *m_value : std::move(fallback); }

    // The outcome without the value, to pass a failure on.
    Result<void> status() const { return ok() ? Result<void>() : Result<void>::failure(m_message); }

private:
    void checked() const { Q_ASSERT(ok()); }

    std::optional<T> m_value;
    QString m_message;
};
