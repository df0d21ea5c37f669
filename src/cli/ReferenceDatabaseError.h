#pragma once

#include <QString>

#include <stdexcept>

// The reference database could not be read for a command: it cannot be
// opened, or a table the command needs cannot be read.  The message is the
// text the program would show.  Exit status ExitCode::Database.
class ReferenceDatabaseError : public std::runtime_error
{
public:
    explicit ReferenceDatabaseError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
