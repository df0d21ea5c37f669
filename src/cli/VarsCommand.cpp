#include "cli/VarsCommand.h"

#include "calc/CalcSession.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/JsonWriter.h"
#include "cli/TextTable.h"
#include "cli/VariableSettings.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"

#include <QStringList>

VarsCommand::VarsCommand()
    : Command(QStringLiteral("vars"),
              {QStringLiteral("[--set KEY=VALUE]..."), QStringLiteral("[--decimal-separator SEP]"),
               QStringLiteral("[--json]")},
              QStringLiteral("      Печатает все %1 переменных: ключ, имя, значение, размерность, описание.\n"
                             "\n")
                  .arg(SlotKeys::Count))
{}

int VarsCommand::execute(CliArgs &args) const
{
    if (const CommandResult<> separator = takeDecimalSeparator(args); !separator)
        return separator.report();
    const bool json = args.takeFlag(QStringLiteral("--json"));
    const CommandResult<VariableSettings> settings = VariableSettings::takeFrom(args);
    if (!settings)
        return settings.report();
    if (const CommandResult<> finished = args.finish(); !finished)
        return finished.report();

    CalcSession session;
    settings->applyTo(session);
    const CalcVariables &vars = session.vars();

    if (json) {
        JsonWriter out;
        out.beginObject();
        out.key(QStringLiteral("variables"));
        writeVariables(out, vars);
        out.endObject();
        return Console::out(out.text() + QLatin1Char('\n')).report();
    }
    QVector<Slot> all;
    for (int n = 1; n <= SlotKeys::Count; ++n)
        all.append(static_cast<Slot>(n));
    return Console::out(table(vars, all, true)).report();
}

void VarsCommand::writeVariables(JsonWriter &json, const CalcVariables &vars)
{
    json.beginArray();
    for (int n = 1; n <= SlotKeys::Count; ++n) {
        const Variable &v = vars.at(n);
        json.beginObject();
        json.member(QStringLiteral("slot"), n);
        json.member(QStringLiteral("key"), SlotKeys::key(n));
        json.member(QStringLiteral("name"), v.name());
        json.member(QStringLiteral("value"), v.value());
        json.member(QStringLiteral("text"), v.formatValue());
        json.member(QStringLiteral("units"), v.units());
        json.endObject();
    }
    json.endArray();
}

QString VarsCommand::table(const CalcVariables &vars, const QVector<Slot> &slotList, bool withDescription)
{
    QVector<QStringList> rows;
    for (const Slot slot : slotList) {
        const Variable &v = vars[slot];
        QStringList row{SlotKeys::key(slot), v.name(), v.formatValue(), v.units()};
        if (withDescription)
            row << v.description();
        rows.append(row);
    }
    return TextTable::format(rows);
}

CommandResult<> VarsCommand::takeDecimalSeparator(CliArgs &args)
{
    const CommandResult<std::optional<QString>> given = args.takeOption(QStringLiteral("--decimal-separator"));
    if (!given)
        return given.status();
    // The tool does not follow the machine's locale: a comma unless told.
    const QString separator = given->value_or(QStringLiteral(","));
    if (separator != QLatin1String(",") && separator != QLatin1String("."))
        return CommandResult<>::usage(
            QStringLiteral("--decimal-separator ожидает «,» или «.», получено: «%1»").arg(separator));
    NumberFormat::setDecimalSeparator(separator);
    NumberFormat::setThousandsSeparator(separator == QLatin1String(",") ? QStringLiteral(" ") : QStringLiteral(","));
    return {};
}
