#include "cli/CliArgs.h"

#include <QRegularExpression>

bool CliArgs::takeFlag(const QString &name)
{
    const int i = m_args.indexOf(name);
    if (i < 0)
        return false;
    m_args.removeAt(i);
    return true;
}

std::optional<QString> CliArgs::takeOne(const QString &name)
{
    const QString prefix = name + QLatin1Char('=');
    for (int i = 0; i < m_args.size(); ++i) {
        const QString &arg = m_args[i];
        if (arg == name) {
            if (i + 1 >= m_args.size())
                throw UsageError(QStringLiteral("Параметр %1 требует значения").arg(name));
            const QString value = m_args[i + 1];
            m_args.remove(i, 2);
            return value;
        }
        if (arg.startsWith(prefix)) {
            const QString value = arg.mid(prefix.size());
            m_args.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

std::optional<QString> CliArgs::takeOption(const QString &name)
{
    std::optional<QString> result;
    while (auto value = takeOne(name))
        result = value;
    return result;
}

std::optional<int> CliArgs::takeInteger(const QString &name)
{
    const auto text = takeOption(name);
    if (!text)
        return std::nullopt;
    static const QRegularExpression pattern(QStringLiteral(R"(^[+-]?\d+$)"));
    bool ok = false;
    const int value = pattern.match(*text).hasMatch() ? text->toInt(&ok) : 0;
    if (!ok)
        throw UsageError(QStringLiteral("%1 ожидает целое число, получено: %2").arg(name, *text));
    return value;
}

QStringList CliArgs::takeRepeated(const QString &name)
{
    QStringList values;
    while (auto value = takeOne(name))
        values << *value;
    return values;
}

std::optional<QString> CliArgs::takePositional()
{
    for (int i = 0; i < m_args.size(); ++i) {
        const QString &arg = m_args[i];
        if (arg == QLatin1String("-") || !arg.startsWith(QLatin1Char('-'))) {
            const QString value = arg;
            m_args.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

void CliArgs::finish() const
{
    if (m_args.isEmpty())
        return;
    const QString &arg = m_args.first();
    if (arg.startsWith(QLatin1Char('-')))
        throw UsageError(QStringLiteral("Неизвестный параметр: %1").arg(arg));
    throw UsageError(QStringLiteral("Лишний аргумент: %1").arg(arg));
}
