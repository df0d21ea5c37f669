#pragma once

#include <QString>

// The Russian texts of the reference database's failures that both the
// program and its Access reader process make.
class DatabaseMessages
{
public:
    // A statement that cannot be run (a missing table, a bad statement).
    static QString queryFailed(const QString &sql, const QString &detail);
    // A damaged Access file, with what was seen of the damage when that
    // says more.
    static QString damagedAccessFile(const QString &path, const QString &detail = QString());
};
