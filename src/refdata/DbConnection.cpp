#include "refdata/DbConnection.h"

#include "refdata/ConnectionString.h"
#include "refdata/DatabaseError.h"

DbConnection::~DbConnection() = default;

void DbConnection::open()
{
    close();
    const QString path = ConnectionString::value(m_connectionString, QStringLiteral("Data Source"));
    if (path.isEmpty())
        throw DatabaseError(DatabaseError::Kind::Connection,
                            QStringLiteral("В строке подключения не указан файл базы данных"));
    openFile(path);
    m_fileName = path;
    m_open = true;
}

void DbConnection::close()
{
    if (!m_open)
        return;
    closeFile();
    m_open = false;
    m_fileName.clear();
}

void DbConnection::failQuery(const QString &sql, const QString &detail)
{
    throw DatabaseError::queryFailed(sql, detail);
}
