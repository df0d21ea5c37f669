#include "cli/CalcOptions.h"

#include "calc/CalcSession.h"
#include "cli/CliArgs.h"
#include "cli/ReferenceSource.h"
#include "cli/VarsCommand.h"
#include "model/FiberglassMaterial.h"

namespace {

// A choice of the fiberglass calculation, given by its word.
template <typename Choice>
CommandResult<std::optional<Choice>> takeWord(CliArgs &args, const QString &option)
{
    const CommandResult<std::optional<QString>> value = args.takeOption(option);
    if (!value)
        return value.status();
    if (!*value)
        return std::optional<Choice>();
    if (const std::optional<Choice> choice = FiberglassChoices::fromWord<Choice>(**value))
        return choice;
    return CommandResult<>::usage(
        QStringLiteral("%1: %2, получено: %3")
            .arg(option, FiberglassChoices::words<Choice>().join(QStringLiteral(" или ")), **value));
}

// Keeps in `into` what a step took, or passes its failure on.
template <typename T>
CommandResult<> keep(CommandResult<T> &&taken, T &into)
{
    if (!taken)
        return taken.status();
    into = std::move(taken).value();
    return {};
}

QString commandName(CalcOptions::Purpose purpose)
{
    switch (purpose) {
    case CalcOptions::Purpose::Calculation:
        break;
    case CalcOptions::Purpose::Report:
        return QStringLiteral("report");
    case CalcOptions::Purpose::Sweep:
        return QStringLiteral("sweep");
    case CalcOptions::Purpose::Chart:
        return QStringLiteral("chart");
    case CalcOptions::Purpose::Select:
        return QStringLiteral("select");
    }
    return QStringLiteral("calc");
}

} // namespace

CommandResult<CalcOptions> CalcOptions::take(CliArgs &args, Purpose purpose)
{
    CalcOptions options;
    if (const CommandResult<> taken = options.takeOptions(args); !taken)
        return taken;
    if (options.m_projectFile) {
        Result<CalcProject> project = CalcProject::load(*options.m_projectFile);
        if (!project)
            return CommandResult<>::failure(ExitCode::ProjectFile, project.message());
        options.m_project = std::move(*project);
    }
    if (const CommandResult<> fits = options.checkMaterialFitsKind(purpose); !fits)
        return fits;
    return options;
}

CommandResult<> CalcOptions::takeOptions(CliArgs &args)
{
    CommandResult<> taken = VarsCommand::takeDecimalSeparator(args);
    if (taken)
        taken = keep(VariableSettings::takeFrom(args), m_settings);
    if (taken)
        taken = keep(takeWord<Laying>(args, QStringLiteral("--laying")), m_laying);
    if (taken)
        taken = keep(takeWord<Wall>(args, QStringLiteral("--wall")), m_wall);
    if (taken)
        taken = keep(args.takeInteger(QStringLiteral("--tube")), m_tube);
    if (taken)
        taken = keep(args.takeInteger(QStringLiteral("--material")), m_material);
    if (taken)
        taken = keep(args.takeInteger(QStringLiteral("--soil")), m_soil);
    if (taken)
        taken = keep(ReferenceSource::takeDatabase(args), m_database);
    if (taken)
        taken = keep(args.takeOption(QStringLiteral("--project")), m_projectFile);
    if (taken)
        taken = keep(takeKind(args), m_kind);
    return taken;
}

CommandResult<> CalcOptions::checkMaterialFitsKind(Purpose purpose) const
{
    const QString command = commandName(purpose);
    // The material given wins over the project's.
    std::optional<int> material = m_material;
    QString named = QStringLiteral("--material %1").arg(material.value_or(0));
    if (!material && m_project && m_project->material.id >= 0) {
        material = m_project->material.id;
        named = QStringLiteral("Материал проекта «%1» (код %2)").arg(m_project->material.name).arg(*material);
    }
    if (m_kind == CalcKind::Static && material && FiberglassMaterial::isFiberglass(*material)) {
        return CommandResult<>::usage(QStringLiteral("%1 — стеклопластиковый материал: его трубы рассчитывает "
                                                     "%2 fiberglass, а не %2 static")
                                          .arg(named, command));
    }
    if (m_kind == CalcKind::Fiberglass && material && !FiberglassMaterial::isFiberglass(*material)) {
        return CommandResult<>::usage(QStringLiteral("%1 — полимерный материал: его трубы рассчитывает "
                                                     "%2 static, а %2 fiberglass — только стеклопластиковые "
                                                     "(--material 4 или 5)")
                                          .arg(named, command));
    }
    if (purpose == Purpose::Report && m_kind == CalcKind::Fiberglass && !material) {
        return CommandResult<>::usage(QStringLiteral("report fiberglass: укажите материал --material 4 (SN 5000) или "
                                                     "--material 5 (SN 10000): отчёт называет класс жёсткости трубы"));
    }
    return {};
}

CommandResult<> CalcOptions::applyTo(CalcSession &session) const
{
    if (m_database)
        session.referenceData().database().setDatabaseFile(*m_database);
    if (m_project) {
        // Names the database gives otherwise are refused: a report must not
        // name what the values are not.
        const Result<CalcProject::ChoiceCheck> check = m_project->checkChoices(session);
        if (!check)
            return CommandResult<>::failure(ExitCode::Database, check.message());
        const Result<bool> opened = m_project->openIn(session, *check);
        if (!opened)
            return CommandResult<>::failure(ExitCode::ProjectFile,
                                            CalcProject::openFailure(*m_projectFile, opened.message()));
    }
    if (m_material) {
        const Result<bool> picked = session.pickMaterialById(*m_material);
        if (!picked)
            return CommandResult<>::failure(ExitCode::Database, picked.message());
        if (const CommandResult<> read = checkTablesRead(session); !read)
            return read;
        if (!*picked)
            return CommandResult<>::usage(
                QStringLiteral("--material: в справочной базе нет материала с кодом %1").arg(*m_material));
    }
    if (m_tube) {
        const Result<bool> picked = session.pickTubeByNumber(*m_tube);
        if (!picked)
            return CommandResult<>::failure(ExitCode::Database, picked.message());
        if (const CommandResult<> read = checkTablesRead(session); !read)
            return read;
        if (!*picked) {
            ReferenceData &data = session.referenceData();
            const bool fiberglass = session.vars().isFiberglassMaterial();
            const int count = fiberglass ? data.fiberglassTubes()->rowCount() : data.tubes()->rowCount();
            return CommandResult<>::usage(
                QStringLiteral("--tube: в таблице %1 нет строки %2 (строк в таблице: %3)")
                    .arg(fiberglass ? QStringLiteral("стеклопластиковых труб") : QStringLiteral("труб"))
                    .arg(*m_tube)
                    .arg(count));
        }
    }
    if (m_soil) {
        const Result<bool> picked = session.pickSoilById(*m_soil);
        if (!picked)
            return CommandResult<>::failure(ExitCode::Database, picked.message());
        if (const CommandResult<> read = checkTablesRead(session); !read)
            return read;
        if (!*picked)
            return CommandResult<>::usage(
                QStringLiteral("--soil: в справочной базе нет грунта с кодом %1").arg(*m_soil));
    }
    m_settings.applyTo(session);
    session.setMode(m_kind == CalcKind::Hydraulic ? 0 : 1);
    if (m_laying)
        session.setLaying(*m_laying);
    if (m_wall)
        session.setWall(*m_wall);
    return {};
}

CommandResult<> CalcOptions::checkTablesRead(CalcSession &session)
{
    if (session.tableErrors().isEmpty())
        return {};
    const QString message = session.tableErrors().join(QLatin1Char('\n'));
    session.clearTableErrors();
    return CommandResult<>::failure(ExitCode::Database, message);
}

CommandResult<CalcKind> CalcOptions::takeKind(CliArgs &args)
{
    const std::optional<QString> name = args.takePositional();
    if (!name)
        return CommandResult<>::usage(QStringLiteral("Укажите расчёт: hydraulic, static или fiberglass"));
    CalcKind kind;
    if (!CalcKinds::fromName(*name, &kind))
        return CommandResult<>::usage(
            QStringLiteral("Неизвестный расчёт: %1 (hydraulic, static или fiberglass)").arg(*name));
    return kind;
}

QStringList CalcOptions::synopsis()
{
    return {QStringLiteral("hydraulic|static|fiberglass"),
            QStringLiteral("[--project ФАЙЛ]"),
            QStringLiteral("[--set KEY=VALUE]..."),
            QStringLiteral("[--tube N]"),
            QStringLiteral("[--material ID]"),
            QStringLiteral("[--soil ID]"),
            QStringLiteral("[--database PATH]"),
            QStringLiteral("[--laying trench|trenchless]"),
            QStringLiteral("[--wall single|three]"),
            QStringLiteral("[--decimal-separator SEP]")};
}
