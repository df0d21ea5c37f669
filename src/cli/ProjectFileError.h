#pragma once

#include <QString>

#include <stdexcept>

// A project file named on the command line that cannot be read, holds no
// project this program reads, or names choices the database lacks.  The
// message names the file and the problem.  Exit status ExitCode::ProjectFile.
class ProjectFileError : public std::runtime_error
{
public:
    explicit ProjectFileError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
