#include "refdata/DatabaseError.h"

DatabaseError::DatabaseError(Kind kind, const QString &message)
    : m_kind(kind), m_message(message), m_utf8(message.toUtf8())
{}

DatabaseError DatabaseError::queryFailed(const QString &sql, const QString &detail)
{
    return DatabaseError(Kind::Query, QStringLiteral("Не удалось выполнить запрос «%1»: %2").arg(sql, detail));
}

DatabaseError DatabaseError::damagedAccessFile(const QString &path, const QString &detail)
{
    const QString text = QStringLiteral("Справочная база данных Microsoft Access %1 повреждена").arg(path);
    return DatabaseError(Kind::Connection, detail.isEmpty() ? text : text + QStringLiteral(": ") + detail);
}
