#include "cli/SelectCommand.h"

#include "calc/CalcSession.h"
#include "calc/ParameterSweep.h"
#include "calc/TubeSelection.h"
#include "cli/CalcCommand.h"
#include "cli/CalcOptions.h"
#include "cli/ExitCode.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/JsonWriter.h"
#include "cli/SweepCommand.h"
#include "cli/TextTable.h"
#include "cli/VariableSettings.h"
#include "model/NumberFormat.h"
#include "model/TableExport.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const QString kUtilisation = QStringLiteral("util_");

CommandResult<std::optional<double>> takeNumber(CliArgs &args, const QString &name)
{
    const CommandResult<std::optional<QString>> text = args.takeOption(name);
    if (!text)
        return text.status();
    if (!*text)
        return std::optional<double>();
    double value = 0;
    if (!VariableSettings::parseNumber((*text)->trimmed(), &value))
        return CommandResult<>::usage(QStringLiteral("%1: не число: %2").arg(name, **text));
    return std::optional<double>(value);
}

// The utilisation of each check of the calculation, by key; not a number
// where the row has no such check.
QVector<double> checkUtilisations(const TubeSelection::Row &row, const QStringList &keys)
{
    QVector<double> values(keys.size(), NAN);
    for (const CalcCheck &check : row.verdict.checks()) {
        const int i = int(keys.indexOf(check.key));
        if (i >= 0)
            values[i] = check.utilisation;
    }
    return values;
}

void numberOrNull(JsonWriter &out, const QString &name, const std::optional<double> &value)
{
    out.key(name);
    if (value)
        out.value(*value);
    else
        out.null();
}

void textOrNull(JsonWriter &out, const QString &name, const QString &text)
{
    out.key(name);
    if (text.isEmpty())
        out.null();
    else
        out.value(text);
}

QString percent(double utilisation)
{
    return std::isfinite(utilisation) ? NumberFormat::format(QStringLiteral("0.0"), utilisation * 100)
                                      : QStringLiteral("—");
}

QString csvOptional(const std::optional<double> &value)
{
    return value ? SweepCommand::csvNumber(*value) : QString();
}

// What the selection is asked for, checked before anything is read: one
// format, and the flow and filling for the hydraulic selection only.
CommandResult<> checkRequest(CalcKind kind, bool twoFormats, const std::optional<double> &flow,
                             const std::optional<double> &maxFilling)
{
    if (twoFormats)
        return CommandResult<>::usage(QStringLiteral("Укажите один формат: --csv или --json"));
    if (kind != CalcKind::Hydraulic) {
        if (flow || maxFilling) {
            return CommandResult<>::usage(QStringLiteral("--flow и --max-filling — параметры подбора для "
                                                         "гидравлического расчёта (select hydraulic)"));
        }
        return {};
    }
    if (!flow)
        return CommandResult<>::usage(QStringLiteral("select hydraulic: укажите требуемый расход --flow Q (л/с)"));
    if (const QString problem = TubeSelection::flowProblem(*flow); !problem.isEmpty())
        return CommandResult<>::usage(QStringLiteral("--flow: %1").arg(problem));
    if (maxFilling) {
        if (const QString problem = TubeSelection::fillingProblem(*maxFilling); !problem.isEmpty())
            return CommandResult<>::usage(QStringLiteral("--max-filling: %1").arg(problem));
    }
    return {};
}

CommandResult<> printStatic(const TubeSelection &selection, const QVector<TubeSelection::Row> &rows, bool json,
                            bool csv)
{
    const QStringList keys = ParameterSweep::checkKeys(selection.kind());
    const int smallest = TubeSelection::smallestPassing(rows);
    if (json) {
        JsonWriter out;
        out.beginObject();
        out.member(QStringLiteral("kind"), CalcKinds::name(selection.kind()));
        out.key(QStringLiteral("rows"));
        out.beginArray();
        for (const TubeSelection::Row &row : rows) {
            out.beginObject();
            out.member(QStringLiteral("tube"), row.tube.number);
            out.member(QStringLiteral("name"), row.tube.name);
            out.member(QStringLiteral("outcome"), row.outcome.keyword());
            textOrNull(out, QStringLiteral("verdict"), row.verdict.keyword());
            out.member(QStringLiteral("utilisation"), row.utilisation());
            textOrNull(out, QStringLiteral("governing"), row.governingKey());
            numberOrNull(out, QStringLiteral("max_depth"), row.maxDepth);
            out.key(QStringLiteral("checks"));
            out.beginObject();
            const QVector<double> values = checkUtilisations(row, keys);
            for (int i = 0; i < keys.size(); ++i)
                out.member(keys[i], values[i]);
            out.endObject();
            out.endObject();
        }
        out.endArray();
        out.endObject();
        return Console::out(out.text() + QLatin1Char('\n'));
    }
    if (csv) {
        QStringList header{QStringLiteral("tube"),     QStringLiteral("name"),        QStringLiteral("outcome"),
                           QStringLiteral("verdict"),  QStringLiteral("utilisation"), QStringLiteral("governing"),
                           QStringLiteral("max_depth")};
        for (const QString &key : keys)
            header << kUtilisation + key;
        QString text = TableExport::csvLine(header, QLatin1Char(',')) + QLatin1Char('\n');
        for (const TubeSelection::Row &row : rows) {
            QStringList line{QString::number(row.tube.number),
                             row.tube.name,
                             row.outcome.keyword(),
                             row.verdict.keyword(),
                             SweepCommand::csvNumber(row.utilisation()),
                             row.governingKey(),
                             csvOptional(row.maxDepth)};
            for (const double value : checkUtilisations(row, keys))
                line << SweepCommand::csvNumber(value);
            text += TableExport::csvLine(line, QLatin1Char(',')) + QLatin1Char('\n');
        }
        return Console::out(text);
    }
    QStringList header{QStringLiteral("№"),
                       QStringLiteral("труба"),
                       QStringLiteral("итог"),
                       QStringLiteral("использование, %"),
                       QStringLiteral("определяющая"),
                       QStringLiteral("наибольшая глубина, м")};
    for (const QString &key : keys)
        header << kUtilisation + key;
    header << QString();
    QVector<QStringList> table{header};
    for (int i = 0; i < rows.size(); ++i) {
        const TubeSelection::Row &row = rows[i];
        QString verdict = row.outcome.word();
        if (row.outcome.isCompleted())
            verdict = row.verdict.holds() ? QStringLiteral("подходит") : QStringLiteral("не подходит");
        QStringList line{QString::number(row.tube.number),
                         row.tube.name,
                         verdict,
                         percent(row.utilisation()),
                         row.governing() ? row.governing()->title : QStringLiteral("—"),
                         row.maxDepth ? NumberFormat::format(QStringLiteral("0.00"), *row.maxDepth)
                                      : QStringLiteral("нет")};
        for (const double value : checkUtilisations(row, keys))
            line << percent(value);
        line << (i == smallest ? QStringLiteral("← наименьшая подходящая") : QString());
        table << line;
    }
    return Console::out(TextTable::format(table));
}

CommandResult<> printHydraulic(const TubeSelection &selection, const QVector<TubeSelection::Row> &rows, bool json,
                               bool csv)
{
    const int smallest = TubeSelection::smallestPassing(rows);
    if (json) {
        JsonWriter out;
        out.beginObject();
        out.member(QStringLiteral("kind"), CalcKinds::name(selection.kind()));
        out.member(QStringLiteral("flow"), selection.requiredFlow());
        out.member(QStringLiteral("max_filling"), selection.maxFilling());
        out.key(QStringLiteral("rows"));
        out.beginArray();
        for (const TubeSelection::Row &row : rows) {
            out.beginObject();
            out.member(QStringLiteral("tube"), row.tube.number);
            out.member(QStringLiteral("name"), row.tube.name);
            numberOrNull(out, QStringLiteral("filling"), row.filling);
            numberOrNull(out, QStringLiteral("velocity"),
                         row.filling ? std::optional<double>(row.velocity) : std::nullopt);
            out.member(QStringLiteral("holds"), row.fits);
            out.endObject();
        }
        out.endArray();
        out.endObject();
        return Console::out(out.text() + QLatin1Char('\n'));
    }
    if (csv) {
        QString text = TableExport::csvLine({QStringLiteral("tube"), QStringLiteral("name"), QStringLiteral("filling"),
                                             QStringLiteral("velocity"), QStringLiteral("holds")},
                                            QLatin1Char(','))
                       + QLatin1Char('\n');
        for (const TubeSelection::Row &row : rows) {
            text += TableExport::csvLine({QString::number(row.tube.number), row.tube.name, csvOptional(row.filling),
                                          row.filling ? SweepCommand::csvNumber(row.velocity) : QString(),
                                          row.fits ? QStringLiteral("true") : QStringLiteral("false")},
                                         QLatin1Char(','))
                    + QLatin1Char('\n');
        }
        return Console::out(text);
    }
    QVector<QStringList> table{{QStringLiteral("№"), QStringLiteral("труба"), QStringLiteral("наполнение h/d"),
                                QStringLiteral("скорость, м/с"), QStringLiteral("итог"), QString()}};
    for (int i = 0; i < rows.size(); ++i) {
        const TubeSelection::Row &row = rows[i];
        QString verdict;
        if (!row.outcome.isCompleted())
            verdict = row.outcome.word();
        else if (!row.filling)
            verdict = QStringLiteral("расход не пропускает");
        else
            verdict = row.fits ? QStringLiteral("подходит") : QStringLiteral("наполнение больше допустимого");
        table << QStringList{
            QString::number(row.tube.number),
            row.tube.name,
            row.filling ? NumberFormat::format(QStringLiteral("0.000"), *row.filling) : QStringLiteral("—"),
            row.filling ? NumberFormat::format(QStringLiteral("0.000"), row.velocity) : QStringLiteral("—"),
            verdict,
            i == smallest ? QStringLiteral("← наименьшая подходящая") : QString()};
    }
    return Console::out(TextTable::format(table));
}

} // namespace

SelectCommand::SelectCommand()
    : Command(QStringLiteral("select"),
              {QStringLiteral("hydraulic|static|fiberglass"), QStringLiteral("[--flow Q]"),
               QStringLiteral("[--max-filling F]"), QStringLiteral("[параметры расчёта]"),
               QStringLiteral("[--csv|--json]")},
              QStringLiteral("      Подбор трубы: рассчитывает каждую трубу справочника, как --tube N с\n"
                             "      теми же параметрами расчёта, и печатает по строке на трубу. static —\n"
                             "      трубы таблицы гофрированных труб, fiberglass — стеклопластиковые трубы\n"
                             "      материала (нужен --material 4 или 5 или материал проекта). Для каждой\n"
                             "      трубы: итог, проверки с их использованием, определяющая проверка,\n"
                             "      наибольшее использование и наибольшая глубина заложения (Htr, для\n"
                             "      fiberglass — h) от 0 до 30 м с шагом 1 см, на которой выполнены все\n"
                             "      проверки («нет», если такой нет). hydraulic (с --flow Q) — наполнение\n"
                             "      h/d, при котором труба пропускает расход Q (л/с) при текущем уклоне (с\n"
                             "      точностью 0,1 %), скорость при нём и подходит ли труба: наполнение не\n"
                             "      больше F (по умолчанию 0,8). Наименьшая подходящая труба отмечена.\n"
                             "      Если расчёт не выполняется ни для одной трубы, код завершения — как у\n"
                             "      calc.\n"
                             "\n"))
{}

int SelectCommand::execute(CliArgs &args) const
{
    const bool csv = args.takeFlag(QStringLiteral("--csv"));
    const bool json = args.takeFlag(QStringLiteral("--json"));
    const CommandResult<std::optional<double>> takenFlow = takeNumber(args, QStringLiteral("--flow"));
    if (!takenFlow)
        return takenFlow.report();
    const CommandResult<std::optional<double>> takenFilling = takeNumber(args, QStringLiteral("--max-filling"));
    if (!takenFilling)
        return takenFilling.report();
    const std::optional<double> &flow = *takenFlow;
    const std::optional<double> &maxFilling = *takenFilling;
    const CommandResult<CalcOptions> options = CalcOptions::take(args, CalcOptions::Purpose::Select);
    if (!options)
        return options.report();
    if (const CommandResult<> finished = args.finish(); !finished)
        return finished.report();
    if (const CommandResult<> asked = checkRequest(options->kind(), csv && json, flow, maxFilling); !asked)
        return asked.report();
    const CalcKind kind = options->kind();

    CalcSession session;
    if (const CommandResult<> applied = options->applyTo(session); !applied)
        return applied.report();
    if (kind == CalcKind::Fiberglass && !session.vars().isFiberglassMaterial()) {
        return CommandResult<>::usage(QStringLiteral("select fiberglass: укажите материал --material 4 (SN 5000) или "
                                                     "--material 5 (SN 10000): от него зависит список "
                                                     "стеклопластиковых труб"))
            .report();
    }
    // The tube table as the tube page reads it for the chosen material.
    if (const Result<> loaded = session.referenceData().loadTubes(); !loaded)
        return CommandResult<>::failure(ExitCode::Database, loaded.message()).report();
    if (const CommandResult<> read = CalcOptions::checkTablesRead(session); !read)
        return read.report();

    TubeSelection selection(session, kind);
    if (flow)
        selection.setRequiredFlow(*flow);
    if (maxFilling)
        selection.setMaxFilling(*maxFilling);
    const QVector<TubeSelection::Row> rows = selection.run();
    const CommandResult<> printed = kind == CalcKind::Hydraulic ? printHydraulic(selection, rows, json, csv)
                                                                : printStatic(selection, rows, json, csv);
    if (!printed)
        return printed.report();
    // Inputs that no tube can be calculated with end as a single calculation
    // with them would: the message and its exit status.
    const bool anyCompleted =
        std::any_of(rows.begin(), rows.end(), [](const TubeSelection::Row &row) { return row.outcome.isCompleted(); });
    if (rows.isEmpty() || anyCompleted)
        return ExitCode::Success;
    Console::err(rows.first().outcome.displayText() + QLatin1Char('\n'));
    return ExitCode::of(rows.first().outcome);
}
