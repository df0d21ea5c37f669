#include "refdata/DbConnection.h"

#include "refdata/ConnectionString.h"
#include "refdata/DatabaseMessages.h"

DbConnection::~DbConnection() = default;

Result<> DbConnection::open()
{
    close();
    const QString path = ConnectionString::value(m_connectionString, QStringLiteral("Data Source"));
    if (path.isEmpty())
        return Result<>::failure(QStringLiteral("В строке подключения не указан файл базы данных"));
    const Result<> opened = openFile(path);
    if (!opened)
        return opened;
    m_fileName = path;
    m_open = true;
    return {};
}

void DbConnection::close()
{
    if (!m_open)
        return;
    closeFile();
    m_open = false;
    m_fileName.clear();
}

Result<DbResult> DbConnection::failQuery(const QString &sql, const QString &detail)
{
    return Result<DbResult>::failure(DatabaseMessages::queryFailed(sql, detail));
}

Result<DbResult> DbConnection::failFile(const QString &message)
{
    close();
    return Result<DbResult>::failure(message);
}
