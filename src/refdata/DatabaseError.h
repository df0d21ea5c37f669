#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// A failure of the reference database.  The message is the Russian text the
// user reads; for a connection failure it names the database file.
class DatabaseError : public std::exception
{
public:
    enum class Kind {
        Connection, // the database file cannot be opened at all
        Query,      // a statement cannot be run (missing table, bad statement)
        Column,     // a row lacks a column or holds a value of the wrong kind
    };

    DatabaseError(Kind kind, const QString &message);

    // The Query error of a statement that cannot be run.
    static DatabaseError queryFailed(const QString &sql, const QString &detail);
    // The Connection error of a damaged Access file, with what was seen of
    // the damage when that says more.
    static DatabaseError damagedAccessFile(const QString &path, const QString &detail = QString());

    Kind kind() const { return m_kind; }
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    Kind m_kind;
    QString m_message;
    QByteArray m_utf8;
};
