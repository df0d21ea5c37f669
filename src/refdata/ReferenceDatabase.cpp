#include "refdata/ReferenceDatabase.h"

#include "model/ResourceLocator.h"
#include "refdata/ConnectionString.h"
#include "refdata/MdbConnection.h"
#include "refdata/SqliteConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

enum class Format { Sqlite, Access };

// Recognises the database by the first bytes of the file.
Result<Format> formatOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Result<Format>::failure(QStringLiteral("Не найден файл справочной базы данных: %1").arg(path));
    if (!info.isFile())
        return Result<Format>::failure(QStringLiteral("Справочная база данных %1 — не файл").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result<Format>::failure(
            QStringLiteral("Нет доступа на чтение к файлу справочной базы данных: %1").arg(path));
    const QByteArray head = file.read(32);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return Format::Sqlite;
    if (head.mid(4, 15) == QByteArrayLiteral("Standard Jet DB")
        || head.mid(4, 15) == QByteArrayLiteral("Standard ACE DB"))
        return Format::Access;
    return Result<Format>::failure(
        QStringLiteral("Файл %1 не является справочной базой данных (ни SQLite, ни Microsoft Access)").arg(path));
}

} // namespace

ReferenceDatabase::ReferenceDatabase(const QString &baseDir) : m_baseDir(baseDir) {}

ReferenceDatabase::~ReferenceDatabase()
{
    m_query.setConnection(nullptr);
}

void ReferenceDatabase::setBaseDir(const QString &dir)
{
    m_baseDir = dir;
}

void ReferenceDatabase::setDatabaseFile(const QString &path)
{
    m_explicitFile = path;
}

QString ReferenceDatabase::databaseFile() const
{
    if (!m_explicitFile.isEmpty())
        return QFileInfo(m_explicitFile).absoluteFilePath();
    if (m_baseDir.isEmpty()) {
        const ResourceLocator locator = ResourceLocator::forApplication();
        const QString base = ResourceLocator::baseFolder() + QLatin1Char('/');
        const QString found = locator.findFile({base + accessFileName(), base + sqliteFileName()});
        return found.isEmpty() ? locator.locateFile(base + sqliteFileName()) : found;
    }
    const QDir base(m_baseDir);
    const QString access = QFileInfo(base.filePath(accessFileName())).absoluteFilePath();
    if (QFileInfo::exists(access))
        return access;
    return QFileInfo(base.filePath(sqliteFileName())).absoluteFilePath();
}

Result<> ReferenceDatabase::connectDatabase()
{
    if (m_connection)
        m_connection->close();
    m_query.close();

    const QString file = databaseFile();
    const Result<Format> format = formatOf(file);
    if (!format)
        return format.status();
    const bool access = *format == Format::Access;
    if (!m_connection || access != m_accessBackend) {
        m_query.setConnection(nullptr);
        if (access)
            m_connection = std::make_unique<MdbConnection>();
        else
            m_connection = std::make_unique<SqliteConnection>();
        m_accessBackend = access;
        m_query.setConnection(m_connection.get());
    }

    m_connectionString = ConnectionString::compose({
        {QStringLiteral("Provider"), m_connection->providerName()},
        {QStringLiteral("Data Source"), QDir::toNativeSeparators(file)},
        // The mode part names the access the connection has always asked for;
        // both backends open the file read-only whatever it says.
        {QStringLiteral("Mode"), QStringLiteral("ReadWrite")},
        {QStringLiteral("Persist Security Info"), QStringLiteral("False")},
    });
    m_connection->setConnectionString(m_connectionString);
    return m_connection->open();
}
