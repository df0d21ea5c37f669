#include "refdata/DatabaseError.h"

DatabaseError::DatabaseError(Kind kind, const QString &message)
    : m_kind(kind), m_message(message), m_utf8(message.toUtf8())
{
}
