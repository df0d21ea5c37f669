#include "cli/SweepCommand.h"

#include "calc/CalcSession.h"
#include "calc/ParameterSweep.h"
#include "cli/CalcCommand.h"
#include "cli/CalcOptions.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/JsonWriter.h"
#include "cli/TextTable.h"
#include "model/CalcViews.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"

#include <charconv>
#include <cmath>

namespace {

const QString kUtilisation = QStringLiteral("util_");

// The values of a point's columns; empty when the run did not complete.
QVector<double> columnValues(const ParameterSweep::Point &point, const QVector<SweepCommand::Column> &columns)
{
    QVector<double> values;
    if (!point.completed())
        return values;
    int slotIndex = 0;
    for (const SweepCommand::Column &column : columns) {
        if (column.check >= 0)
            values << (column.check < point.checks.size() ? point.checks[column.check].utilisation : NAN);
        else
            values << point.values.value(slotIndex++, NAN);
    }
    return values;
}

// Rows go out in batches, so that a long sweep shows its progress and
// never holds all of its text.  Once standard output has failed, nothing
// more is written.
class Output
{
public:
    bool failed() const { return !m_written; }
    void add(const QString &text)
    {
        m_text += text;
        if (m_text.size() > 64 * 1024)
            write();
    }
    // Writes what is left; whether everything was written.
    CommandResult<> finish()
    {
        write();
        return m_written;
    }

private:
    void write()
    {
        if (m_written)
            m_written = Console::out(m_text);
        m_text.clear();
    }

    QString m_text;
    CommandResult<> m_written;
};

} // namespace

QString SweepCommand::csvNumber(double value)
{
    if (!std::isfinite(value))
        return QString();
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

CommandResult<QVector<SweepCommand::Column>> SweepCommand::columns(CalcKind kind, const QString &list)
{
    const QStringList checks = ParameterSweep::checkKeys(kind);
    QVector<Column> result;
    if (list.isNull()) {
        for (const Slot slot : CalcViews::outputRows(CalcKinds::view(kind)))
            result.append({SlotKeys::key(slot), slot, -1});
        for (int i = 0; i < checks.size(); ++i)
            result.append({kUtilisation + checks[i], Slot::None, i});
        return result;
    }
    const QVector<Slot> inputs = CalcSession::inputSlots(kind);
    const QVector<Slot> results = ParameterSweep::resultSlots(kind);
    for (const QString &entry : list.split(QLatin1Char(','))) {
        const QString name = entry.trimmed();
        if (name.startsWith(kUtilisation) && checks.contains(name.mid(kUtilisation.size()))) {
            result.append({name, Slot::None, int(checks.indexOf(name.mid(kUtilisation.size())))});
            continue;
        }
        const auto slot = SlotKeys::fromKey(name);
        if (!slot || (!inputs.contains(*slot) && !results.contains(*slot))) {
            QStringList utilisation;
            for (const QString &check : checks)
                utilisation << kUtilisation + check;
            return CommandResult<>::usage(
                QStringLiteral("--columns: %1 — не исходное данное и не результат расчёта %2%3")
                    .arg(name.isEmpty() ? QStringLiteral("пустое имя") : name, CalcKinds::name(kind),
                         utilisation.isEmpty() ? QString()
                                               : QStringLiteral(" (использование проверок: %1)")
                                                     .arg(utilisation.join(QStringLiteral(", ")))));
        }
        result.append({name, *slot, -1});
    }
    return result;
}

CommandResult<SweepCommand::Plan> SweepCommand::parse(CliArgs &args)
{
    const bool csv = args.takeFlag(QStringLiteral("--csv"));
    const bool json = args.takeFlag(QStringLiteral("--json"));
    const CommandResult<QStringList> varied = args.takeRepeated(QStringLiteral("--vary"));
    if (!varied)
        return varied.status();
    const CommandResult<std::optional<QString>> columnList = args.takeOption(QStringLiteral("--columns"));
    if (!columnList)
        return columnList.status();
    const CommandResult<CalcOptions> options = CalcOptions::take(args, CalcOptions::Purpose::Sweep);
    if (!options)
        return options.status();
    if (const CommandResult<> finished = args.finish(); !finished)
        return finished;
    if (csv && json)
        return CommandResult<>::usage(QStringLiteral("Укажите один формат: --csv или --json"));
    if (varied->isEmpty())
        return CommandResult<>::usage(QStringLiteral("Укажите изменяемое исходное данное: --vary KEY=FROM:TO:STEP"));

    // Everything the command line says is checked before anything is read or computed.
    const CalcKind kind = options->kind();
    Plan plan{kind, ParameterSweep(kind), {}, {}, {}, json ? Format::Json : csv ? Format::Csv : Format::Text};
    for (const QString &text : *varied) {
        const Result<SweepRange> range = SweepRange::parse(text, ParameterSweep::MaxPoints);
        const Result<> added = range ? plan.sweep.addRange(*range) : range.status();
        if (!added)
            return CommandResult<>::usage(QStringLiteral("--vary: %1").arg(added.message()));
    }
    const CommandResult<QVector<Column>> columnsNamed = columns(kind, columnList->value_or(QString()));
    if (!columnsNamed)
        return columnsNamed.status();
    plan.columns = *columnsNamed;
    QVector<Slot> slotColumns;
    for (const Column &column : plan.columns) {
        if (column.check < 0)
            slotColumns << column.slot;
        plan.names << column.name;
    }
    static_cast<void>(plan.sweep.setColumns(slotColumns));

    CalcSession session;
    if (const CommandResult<> applied = options->applyTo(session); !applied)
        return applied;
    plan.sweep.setInputs(session);

    for (const SweepRange &range : plan.sweep.ranges())
        plan.varied << SlotKeys::key(range.slot());
    return plan;
}

SweepCommand::SweepCommand()
    : Command(QStringLiteral("sweep"),
              {QStringLiteral("hydraulic|static|fiberglass"), QStringLiteral("--vary KEY=FROM:TO:STEP"),
               QStringLiteral("[--vary KEY=FROM:TO:STEP]..."), QStringLiteral("[--columns KEY,...]"),
               QStringLiteral("[параметры расчёта, как у calc]"), QStringLiteral("[--csv|--json]")},
              QStringLiteral("      Выполняет расчёт при каждом сочетании значений изменяемых исходных\n"
                             "      данных и печатает по строке на сочетание: изменяемые данные, итог\n"
                             "      (completed, stopped, division_by_zero, fault) и значения столбцов.\n"
                             "      Каждая точка считается заново от исходных данных, заданных\n"
                             "      параметрами расчёта (--project, --material, --tube, --soil, --set,\n"
                             "      --laying, --wall, --database); изменяемые данные задаются поверх них. Значения\n"
                             "      FROM, FROM+STEP, ... до TO считаются в десятичной записи: 0.1:1:0.1 —\n"
                             "      ровно десять значений 0.1, 0.2, ..., 1. Первый --vary меняется\n"
                             "      медленнее всех. Больше 100000 строк — ошибка в командной строке.\n"
                             "      Если расчёт в точке не выполнен, её значения пусты: никогда не\n"
                             "      остаются от другой точки; такие точки — часть ответа, и код\n"
                             "      завершения остаётся 0.\n"
                             "\n"))
{}

int SweepCommand::execute(CliArgs &args) const
{
    const CommandResult<Plan> plan = parse(args);
    if (!plan)
        return plan.report();
    CommandResult<> written;
    switch (plan->format) {
    case Format::Json:
        written = writeJson(*plan);
        break;
    case Format::Csv:
        written = writeCsv(*plan);
        break;
    case Format::Text:
        written = writeText(*plan);
        break;
    }
    return written.report();
}

CommandResult<> SweepCommand::writeJson(const Plan &plan)
{
    JsonWriter out;
    out.beginObject();
    out.member(QStringLiteral("calculation"), CalcKinds::name(plan.kind));
    out.key(QStringLiteral("vary"));
    out.beginArray();
    for (const QString &key : plan.varied)
        out.value(key);
    out.endArray();
    out.key(QStringLiteral("columns"));
    out.beginArray();
    for (const QString &name : plan.names)
        out.value(name);
    out.endArray();
    out.key(QStringLiteral("rows"));
    out.beginArray();
    plan.sweep.run([&](const ParameterSweep::Point &point) {
        out.beginObject();
        out.key(QStringLiteral("inputs"));
        out.beginObject();
        for (int i = 0; i < plan.varied.size(); ++i)
            out.member(plan.varied[i], point.inputs[i]);
        out.endObject();
        CalcCommand::writeOutcome(out, point.outcome);
        out.key(QStringLiteral("values"));
        out.beginObject();
        const QVector<double> values = columnValues(point, plan.columns);
        for (int i = 0; i < plan.names.size(); ++i) {
            out.key(plan.names[i]);
            if (i < values.size())
                out.value(values[i]);
            else
                out.null();
        }
        out.endObject();
        out.endObject();
    });
    out.endArray();
    out.endObject();
    return Console::out(out.text() + QLatin1Char('\n'));
}

CommandResult<> SweepCommand::writeCsv(const Plan &plan)
{
    Output out;
    out.add((plan.varied + QStringList{QStringLiteral("outcome")} + plan.names).join(QLatin1Char(','))
            + QLatin1Char('\n'));
    // Rows go out as they are worked out; an output that fails ends the sweep.
    plan.sweep.runWhile([&](const ParameterSweep::Point &point) {
        QStringList row;
        for (const double input : point.inputs)
            row << csvNumber(input);
        row << point.outcome.keyword();
        const QVector<double> values = columnValues(point, plan.columns);
        for (int i = 0; i < plan.names.size(); ++i)
            row << (i < values.size() ? csvNumber(values[i]) : QString());
        out.add(row.join(QLatin1Char(',')) + QLatin1Char('\n'));
        return !out.failed();
    });
    return out.finish();
}

CommandResult<> SweepCommand::writeText(const Plan &plan)
{
    // A table to read: inputs as given, values in the formats of the grids.
    CalcVariables formats;
    formats.applyCatalogue();
    QVector<QStringList> rows{plan.varied + QStringList{QStringLiteral("итог")} + plan.names};
    plan.sweep.run([&](const ParameterSweep::Point &point) {
        QStringList row;
        for (const double input : point.inputs)
            row << NumberFormat::general(input, 15);
        row << point.outcome.word();
        const QVector<double> values = columnValues(point, plan.columns);
        for (int i = 0; i < plan.names.size(); ++i) {
            if (i >= values.size() || !std::isfinite(values[i]))
                row << QStringLiteral("—");
            else if (plan.columns[i].check >= 0)
                row << NumberFormat::format(QStringLiteral("0.###"), values[i]);
            else
                row << NumberFormat::format(formats[plan.columns[i].slot].format(), values[i]);
        }
        rows.append(row);
    });
    return Console::out(TextTable::format(rows));
}
