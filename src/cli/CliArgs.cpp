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

CommandResult<std::optional<QString>> CliArgs::takeOne(const QString &name)
{
    const QString prefix = name + QLatin1Char('=');
    for (int i = 0; i < m_args.size(); ++i) {
        const QString &arg = m_args[i];
        if (arg == name) {
            if (i + 1 >= m_args.size())
                return CommandResult<>::usage(QStringLiteral("Параметр %1 требует значения").arg(name));
            const QString value = m_args[i + 1];
            m_args.remove(i, 2);
            return std::optional<QString>(value);
        }
        if (arg.startsWith(prefix)) {
            const QString value = arg.mid(prefix.size());
            m_args.removeAt(i);
            return std::optional<QString>(value);
        }
    }
    return std::optional<QString>();
}

CommandResult<std::optional<QString>> CliArgs::takeOption(const QString &name)
{
    std::optional<QString> last;
    for (;;) {
        const CommandResult<std::optional<QString>> value = takeOne(name);
        if (!value)
            return value;
        if (!*value)
            return last;
        last = *value;
    }
}

CommandResult<std::optional<QString>> CliArgs::takeOutput()
{
    const CommandResult<std::optional<QString>> shortName = takeOption(QStringLiteral("-o"));
    if (!shortName)
        return shortName;
    const CommandResult<std::optional<QString>> longName = takeOption(QStringLiteral("--output"));
    if (!longName || *longName)
        return longName;
    return shortName;
}

CommandResult<std::optional<int>> CliArgs::takeInteger(const QString &name)
{
    const CommandResult<std::optional<QString>> text = takeOption(name);
    if (!text)
        return text.status();
    if (!*text)
        return std::optional<int>();
    static const QRegularExpression pattern(QStringLiteral(R"(^[+-]?\d+$)"));
    const QString &digits = **text;
    bool ok = false;
    const int value = pattern.match(digits).hasMatch() ? digits.toInt(&ok) : 0;
    if (!ok)
        return CommandResult<>::usage(QStringLiteral("%1 ожидает целое число, получено: %2").arg(name, digits));
    return std::optional<int>(value);
}

CommandResult<QStringList> CliArgs::takeRepeated(const QString &name)
{
    QStringList values;
    for (;;) {
        const CommandResult<std::optional<QString>> value = takeOne(name);
        if (!value)
            return value.status();
        if (!*value)
            return values;
        values << **value;
    }
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

CommandResult<> CliArgs::finish() const
{
    if (m_args.isEmpty())
        return {};
    const QString &arg = m_args.first();
    if (arg.startsWith(QLatin1Char('-')))
        return CommandResult<>::usage(QStringLiteral("Неизвестный параметр: %1").arg(arg));
    return CommandResult<>::usage(QStringLiteral("Лишний аргумент: %1").arg(arg));
}
