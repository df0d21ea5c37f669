#include "cli/VariableSettings.h"

#include "calc/CalcSession.h"
#include "cli/CliArgs.h"
#include "model/NumberFormat.h"

CommandResult<VariableSettings> VariableSettings::takeFrom(CliArgs &args)
{
    const CommandResult<QStringList> assignments = args.takeRepeated(QStringLiteral("--set"));
    if (!assignments)
        return assignments.status();
    VariableSettings settings;
    for (const QString &assignment : *assignments) {
        const int eq = assignment.indexOf(QLatin1Char('='));
        if (eq < 0)
            return CommandResult<>::usage(QStringLiteral("--set ожидает KEY=VALUE, получено: %1").arg(assignment));
        const QString key = assignment.left(eq);
        // Blanks around the number, spaces and line ends alike, are no part of it.
        const QString text = assignment.mid(eq + 1).trimmed();
        const auto slot = SlotKeys::fromKey(key);
        if (!slot)
            return CommandResult<>::usage(QStringLiteral("Неизвестная переменная: %1").arg(key));
        double value = 0;
        if (!parseNumber(text, &value))
            return CommandResult<>::usage(
                QStringLiteral("Значение переменной %1 не является числом: %2").arg(key, text));
        settings.m_assignments.append({*slot, value});
    }
    return settings;
}

bool VariableSettings::parseNumber(const QString &text, double *value)
{
    return NumberFormat::parse(text, QStringLiteral("."), value);
}

void VariableSettings::applyTo(CalcSession &session) const
{
    for (const Assignment &a : m_assignments)
        session.setInput(a.slot, a.value);
}
