#include "cli/CalcOptions.h"

#include "calc/CalcSession.h"
#include "cli/CliArgs.h"
#include "cli/ProjectFileError.h"
#include "cli/ReferenceSource.h"
#include "cli/VarsCommand.h"
#include "model/FiberglassMaterial.h"
#include "cli/ReferenceDatabaseError.h"

namespace {

// A choice of the fiberglass calculation, given by its word.
template <typename Choice>
std::optional<Choice> takeWord(CliArgs &args, const QString &option)
{
    const auto value = args.takeOption(option);
    if (!value)
        return std::nullopt;
    if (const std::optional<Choice> choice = FiberglassChoices::fromWord<Choice>(*value))
        return choice;
    throw UsageError(QStringLiteral("%1: %2, получено: %3")
                         .arg(option, FiberglassChoices::words<Choice>().join(QStringLiteral(" или ")), *value));
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

CalcOptions CalcOptions::take(CliArgs &args, Purpose purpose)
{
    CalcOptions options;
    VarsCommand::takeDecimalSeparator(args);
    options.m_settings = VariableSettings::takeFrom(args);
    options.m_laying = takeWord<Laying>(args, QStringLiteral("--laying"));
    options.m_wall = takeWord<Wall>(args, QStringLiteral("--wall"));
    options.m_tube = args.takeInteger(QStringLiteral("--tube"));
    options.m_material = args.takeInteger(QStringLiteral("--material"));
    options.m_soil = args.takeInteger(QStringLiteral("--soil"));
    options.m_database = ReferenceSource::takeDatabase(args);
    options.m_projectFile = args.takeOption(QStringLiteral("--project"));
    options.m_kind = takeKind(args);
    if (options.m_projectFile) {
        Result<CalcProject> project = CalcProject::load(*options.m_projectFile);
        if (!project)
            throw ProjectFileError(project.message());
        options.m_project = std::move(*project);
    }
    options.checkMaterialFitsKind(purpose);
    return options;
}

void CalcOptions::checkMaterialFitsKind(Purpose purpose) const
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
        throw UsageError(QStringLiteral("%1 — стеклопластиковый материал: его трубы рассчитывает "
                                        "%2 fiberglass, а не %2 static")
                             .arg(named, command));
    }
    if (m_kind == CalcKind::Fiberglass && material && !FiberglassMaterial::isFiberglass(*material)) {
        throw UsageError(QStringLiteral("%1 — полимерный материал: его трубы рассчитывает "
                                        "%2 static, а %2 fiberglass — только стеклопластиковые "
                                        "(--material 4 или 5)")
                             .arg(named, command));
    }
    if (purpose == Purpose::Report && m_kind == CalcKind::Fiberglass && !material) {
        throw UsageError(QStringLiteral("report fiberglass: укажите материал --material 4 (SN 5000) или "
                                        "--material 5 (SN 10000): отчёт называет класс жёсткости трубы"));
    }
}

void CalcOptions::applyTo(CalcSession &session) const
{
    if (m_database)
        session.referenceData().database().setDatabaseFile(*m_database);
    if (m_project) {
        // Names the database gives otherwise are refused: a report must not
        // name what the values are not.
        const Result<CalcProject::ChoiceCheck> check = m_project->checkChoices(session);
        if (!check)
            throw ReferenceDatabaseError(check.message());
        const Result<bool> opened = m_project->openIn(session, *check);
        if (!opened)
            throw ProjectFileError(CalcProject::openFailure(*m_projectFile, opened.message()));
    }
    if (m_material) {
        const Result<bool> picked = session.pickMaterialById(*m_material);
        if (!picked)
            throw ReferenceDatabaseError(picked.message());
        throwTableErrors(session);
        if (!*picked)
            throw UsageError(QStringLiteral("--material: в справочной базе нет материала с кодом %1").arg(*m_material));
    }
    if (m_tube) {
        const Result<bool> picked = session.pickTubeByNumber(*m_tube);
        if (!picked)
            throw ReferenceDatabaseError(picked.message());
        throwTableErrors(session);
        if (!*picked) {
            ReferenceData &data = session.referenceData();
            const bool fiberglass = session.vars().isFiberglassMaterial();
            const int count = fiberglass ? data.fiberglassTubes()->rowCount() : data.tubes()->rowCount();
            throw UsageError(QStringLiteral("--tube: в таблице %1 нет строки %2 (строк в таблице: %3)")
                                 .arg(fiberglass ? QStringLiteral("стеклопластиковых труб") : QStringLiteral("труб"))
                                 .arg(*m_tube)
                                 .arg(count));
        }
    }
    if (m_soil) {
        const Result<bool> picked = session.pickSoilById(*m_soil);
        if (!picked)
            throw ReferenceDatabaseError(picked.message());
        throwTableErrors(session);
        if (!*picked)
            throw UsageError(QStringLiteral("--soil: в справочной базе нет грунта с кодом %1").arg(*m_soil));
    }
    m_settings.applyTo(session);
    session.setMode(m_kind == CalcKind::Hydraulic ? 0 : 1);
    if (m_laying)
        session.setLaying(*m_laying);
    if (m_wall)
        session.setWall(*m_wall);
}

void CalcOptions::throwTableErrors(CalcSession &session)
{
    if (session.tableErrors().isEmpty())
        return;
    const QString message = session.tableErrors().join(QLatin1Char('\n'));
    session.clearTableErrors();
    throw ReferenceDatabaseError(message);
}

CalcKind CalcOptions::takeKind(CliArgs &args)
{
    const auto name = args.takePositional();
    if (!name)
        throw UsageError(QStringLiteral("Укажите расчёт: hydraulic, static или fiberglass"));
    CalcKind kind;
    if (!CalcKinds::fromName(*name, &kind))
        throw UsageError(QStringLiteral("Неизвестный расчёт: %1 (hydraulic, static или fiberglass)").arg(*name));
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
