#include "refdata/DatabaseMessages.h"

QString DatabaseMessages::queryFailed(const QString &sql, const QString &detail)
{
    return QStringLiteral("Не удалось выполнить запрос «%1»: %2").arg(sql, detail);
}

QString DatabaseMessages::damagedAccessFile(const QString &path, const QString &detail)
{
    const QString text = QStringLiteral("Справочная база данных Microsoft Access %1 повреждена").arg(path);
    return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail;
}
