#include "model/MessageText.h"

QString MessageText::withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

QString MessageText::divisionByZero()
{
    return QStringLiteral("Ошибка. Деление на ноль.");
}
