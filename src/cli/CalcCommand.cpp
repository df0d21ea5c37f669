#include "cli/CalcCommand.h"

#include "calc/CalcProject.h"
#include "calc/CalcSession.h"
#include "cli/CalcOptions.h"
#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/JsonWriter.h"
#include "cli/VarsCommand.h"
#include "model/CalcViews.h"

namespace {

// A key, or null when there is none.
void keyMember(JsonWriter &out, const QString &name, const QString &key)
{
    out.key(name);
    if (key.isEmpty())
        out.null();
    else
        out.value(key);
}

void writeChecks(JsonWriter &out, const CalcVerdict &verdict)
{
    out.key(QStringLiteral("checks"));
    out.beginArray();
    for (const CalcCheck &check : verdict.checks()) {
        out.beginObject();
        out.member(QStringLiteral("name"), check.key);
        out.member(QStringLiteral("title"), check.title);
        out.member(QStringLiteral("value"), check.value);
        out.member(QStringLiteral("limit"), check.limit);
        out.member(QStringLiteral("units"), check.units);
        // Not a number (no limit above zero) is written as null.
        out.member(QStringLiteral("utilisation"), check.utilisation);
        out.member(QStringLiteral("holds"), check.holds);
        out.endObject();
    }
    out.endArray();
    keyMember(out, QStringLiteral("verdict"), verdict.keyword());
}

void writeWarnings(JsonWriter &out, const QVector<CalcWarning> &warnings)
{
    out.key(QStringLiteral("warnings"));
    out.beginArray();
    for (const CalcWarning &warning : warnings) {
        out.beginObject();
        out.member(QStringLiteral("variable"), warning.variable);
        out.member(QStringLiteral("message"), warning.message);
        out.endObject();
    }
    out.endArray();
}

// The checks, the verdict and the warnings as lines under the results.
QString assessmentText(const CalcVerdict &verdict, const QVector<CalcWarning> &warnings)
{
    QString text;
    for (const CalcCheck &check : verdict.checks()) {
        text += QStringLiteral("Проверка: %1 — %2 (%3)\n")
                    .arg(check.title, check.holds ? QStringLiteral("выполнено") : QStringLiteral("не выполнено"),
                         CalcCheck::percentText(check.utilisation));
    }
    if (verdict.judged())
        text += QStringLiteral("Итог: %1\n").arg(verdict.text());
    for (const CalcWarning &warning : warnings)
        text += QStringLiteral("Предупреждение: %1\n").arg(warning.message);
    return text;
}

} // namespace

void CalcCommand::writeOutcome(JsonWriter &out, const CalcOutcome &outcome)
{
    out.member(QStringLiteral("outcome"), outcome.keyword());
    out.member(QStringLiteral("message"), outcome.displayText());
    keyMember(out, QStringLiteral("variable"), outcome.variable());
    keyMember(out, QStringLiteral("computing"), outcome.computing());
}

CalcCommand::CalcCommand()
    : Command(QStringLiteral("calc"),
              CalcOptions::synopsis()
                  + QStringList{QStringLiteral("[--json]"), QStringLiteral("[--save-project ФАЙЛ]")},
              QStringLiteral("      Выполняет расчёт от значений по умолчанию (или от проекта) с заданными\n"
                             "      изменениями и печатает выходные строки расчёта (ключ, имя, значение,\n"
                             "      размерность) и итог; для статических расчётов — ещё каждую проверку\n"
                             "      с её использованием и итог проверок, для всех — предупреждения о\n"
                             "      значениях вне области применения метода (код завершения от них не\n"
                             "      меняется).\n"
                             "      hydraulic   — гидравлический расчёт (любой материал);\n"
                             "      static      — статический расчёт гофрированной трубы (полимерные\n"
                             "                    материалы; --material 4 и 5 — ошибка в командной строке);\n"
                             "      fiberglass  — статический расчёт стеклопластиковой трубы (материалы 4\n"
                             "                    и 5; report fiberglass требует --material 4 или 5).\n"
                             "      Если расчёт не выполнен, выходные значения не печатаются: только итог\n"
                             "      и сообщение, которое называет входную переменную.\n"
                             "\n"))
{}

int CalcCommand::execute(CliArgs &args) const
{
    const bool json = args.takeFlag(QStringLiteral("--json"));
    const CommandResult<std::optional<QString>> takenProjectOut = args.takeOption(QStringLiteral("--save-project"));
    if (!takenProjectOut)
        return takenProjectOut.report();
    const std::optional<QString> &projectOut = *takenProjectOut;
    const CommandResult<CalcOptions> options = CalcOptions::take(args);
    if (!options)
        return options.report();
    if (const CommandResult<> finished = args.finish(); !finished)
        return finished.report();

    CalcSession session;
    if (const CommandResult<> applied = options->applyTo(session); !applied)
        return applied.report();
    const CalcKind kind = options->kind();
    // The inputs as given, before anything is calculated: kept whatever
    // the run comes to.
    if (projectOut) {
        const Result<> saved = CalcProject::of(session).save(*projectOut);
        if (!saved) {
            Console::err(saved.message() + QLatin1Char('\n'));
            return ExitCode::CannotWrite;
        }
    }
    const CalcOutcome outcome = session.run(kind);
    const QVector<Slot> outputs = CalcViews::outputRows(CalcKinds::view(kind));
    const CalcVerdict verdict = session.verdict(kind);
    const QVector<CalcWarning> warnings = session.warnings(kind);

    QString text;
    if (json) {
        JsonWriter out;
        out.beginObject();
        out.member(QStringLiteral("calculation"), CalcKinds::name(kind));
        writeOutcome(out, outcome);
        out.key(QStringLiteral("outputs"));
        out.beginArray();
        for (const Slot slot : outputs)
            out.value(SlotKeys::key(slot));
        out.endArray();
        writeChecks(out, verdict);
        writeWarnings(out, warnings);
        out.key(QStringLiteral("variables"));
        VarsCommand::writeVariables(out, session.vars());
        if (kind == CalcKind::Fiberglass) {
            const FiberglassResults &results = session.fiberglassResults();
            out.key(QStringLiteral("fiberglass"));
            out.beginObject();
            for (const FiberglassResults::Field &field : FiberglassResults::fields())
                out.member(QString::fromLatin1(field.name), results.*field.member);
            out.endObject();
        }
        out.endObject();
        text = out.text() + QLatin1Char('\n');
    } else {
        // Only a completed run has results to print.
        if (outcome.isCompleted())
            text = VarsCommand::table(session.vars(), outputs, false);
        text += QStringLiteral("Результат: %1\n").arg(outcome.summary());
        text += assessmentText(verdict, warnings);
    }
    if (const CommandResult<> printed = Console::out(text); !printed)
        return printed.report();
    if (!outcome.isCompleted())
        Console::err(outcome.displayText() + QLatin1Char('\n'));
    return ExitCode::of(outcome);
}
