#include "calc/CalcSession.h"

#include "model/CalcViews.h"
#include "model/FiberglassMaterial.h"
#include "model/NumberFormat.h"
#include "refdata/MaterialRow.h"
#include "refdata/SoilRow.h"

#include <cstring>

namespace {

QString metres(double value)
{
    return NumberFormat::format(QStringLiteral("0.###"), value);
}

// Compared bit for bit, so that a value that is no number still matches itself.
bool sameInputs(const QVector<double> &a, const QVector<double> &b)
{
    return a.size() == b.size() && std::memcmp(a.constData(), b.constData(), sizeof(double) * size_t(a.size())) == 0;
}

QString metresFine(double value)
{
    return NumberFormat::format(QStringLiteral("0.#####"), value);
}

} // namespace

void CalcSession::Sink::showTableError(const QString &message)
{
    if (target)
        target->showTableError(message);
    else
        collected << message;
}

CalcSession::CalcSession(QObject *parent) : QObject(parent), m_refs(m_vars, m_sink)
{
    m_vars.applyCatalogue();
}

CalcSession::~CalcSession() = default;

void CalcSession::setMode(int mode)
{
    if (mode != 0 && mode != 1)
        return;
    if (m_vars.mode == mode)
        return;
    m_vars.mode = std::uint8_t(mode);
    Q_EMIT changed();
}

void CalcSession::setLaying(Laying laying)
{
    if (laying == m_laying)
        return;
    m_laying = laying;
    Q_EMIT changed();
}

void CalcSession::setWall(Wall wall)
{
    if (wall == m_wall)
        return;
    m_wall = wall;
    Q_EMIT changed();
}

CalcKind CalcSession::calculationFor(int mode, std::int32_t materialId)
{
    if (mode == 0)
        return CalcKind::Hydraulic;
    return FiberglassMaterial::isFiberglass(materialId) ? CalcKind::Fiberglass : CalcKind::Static;
}

CalcKind CalcSession::calculation() const
{
    return calculationFor(m_vars.mode, m_vars.selectedMaterialId);
}

void CalcSession::setInput(Slot slot, double value)
{
    m_vars.setValue(slot, value);
    Q_EMIT changed();
}

Result<> CalcSession::enterInput(Slot slot, const QString &text)
{
    double value = 0;
    if (NumberFormat::parseEntry(text, &value)) {
        setInput(slot, value);
        return {};
    }
    // Examples in the input's own format, with a comma and with a point.
    const Variable &v = m_vars[slot];
    QString example = v.formatValue();
    QString other = example;
    other.replace(QLatin1Char(','), QLatin1Char('.'));
    if (other == example)
        example = QStringLiteral("0,5");
    const QString name = v.shownName().isEmpty() ? v.description() : v.shownName();
    return Result<>::failure(
        QStringLiteral("Значение «%1» не принято для %2 («%3»). Введите число, например %4 или %5; "
                       "дробную часть можно отделять запятой или точкой.")
            .arg(text.trimmed(), name, v.description(), example,
                 other == v.formatValue() ? QStringLiteral("-1.5e3") : other));
}

bool CalcSession::pickMaterial(int row)
{
    if (!m_refs.pickMaterial(row))
        return false;
    const MaterialRow &r = m_refs.materials()->row(row);
    m_material = Choice{r.TubeMaterialId, r.Descr};
    // A tube is made of one kind of material: a corrugated tube does not
    // stay chosen for a fiberglass material, nor the other way round.
    QString dropped;
    if (m_tube.id >= 0 && m_tube.fiberglass != FiberglassMaterial::isFiberglass(r.TubeMaterialId)) {
        dropped = QStringLiteral("Труба «%1» не изготавливается из материала «%2» и больше не выбрана. "
                                 "Выберите трубу на странице «Труба».")
                      .arg(m_tube.name, r.Descr);
        m_tube = TubeChoice();
    }
    Q_EMIT changed();
    if (!dropped.isEmpty())
        Q_EMIT tubeDropped(dropped);
    return true;
}

void CalcSession::tubeChosen(bool fiberglass, int row)
{
    m_tube.fiberglass = fiberglass;
    m_tube.id = row + 1;
    const QVariantList values =
        fiberglass ? m_refs.fiberglassTubes()->row(row).values() : m_refs.tubes()->row(row).values();
    m_tube.name = fiberglass ? tubeName(m_refs.fiberglassTubes()->row(row)) : tubeName(m_refs.tubes()->row(row));
    m_tube.geometry.clear();
    for (const QVariant &value : values)
        m_tube.geometry << value.toDouble();
    Q_EMIT changed();
}

bool CalcSession::pickTube(int row)
{
    if (!m_refs.pickTube(row))
        return false;
    tubeChosen(false, row);
    return true;
}

bool CalcSession::pickFiberglassTube(int row)
{
    if (!m_refs.pickFiberglassTube(row))
        return false;
    tubeChosen(true, row);
    return true;
}

bool CalcSession::pickSoil(int row)
{
    if (!m_refs.pickSoil(row))
        return false;
    const SoilRow &r = m_refs.soils()->row(row);
    m_soil = Choice{r.SoilId, r.Descr};
    Q_EMIT changed();
    return true;
}

Result<bool> CalcSession::pickMaterialById(std::int32_t id)
{
    const Result<> loaded = m_refs.loadMaterials();
    if (!loaded)
        return loaded;
    return pickMaterial(m_refs.materials()->findId(id));
}

Result<bool> CalcSession::pickTubeByNumber(int number)
{
    const Result<> loaded = m_refs.loadTubes();
    if (!loaded)
        return loaded;
    const bool fiberglass = m_vars.isFiberglassMaterial();
    return fiberglass ? pickFiberglassTube(number - 1) : pickTube(number - 1);
}

Result<bool> CalcSession::pickSoilById(std::int32_t id)
{
    const Result<> loaded = m_refs.loadSoils();
    if (!loaded)
        return loaded;
    return pickSoil(m_refs.soils()->findId(id));
}

QString CalcSession::tubeName(const TubeRow &row)
{
    return QStringLiteral("Dнаруж %1 м, Dвнутр %2 м").arg(metres(row.Dout), metres(row.Din));
}

QString CalcSession::tubeName(const FiberglassTubeRow &row)
{
    return QStringLiteral("D %1 м, s %2 м, t %3 м").arg(metres(row.D), metresFine(row.s), metresFine(row.t));
}

QString CalcSession::choicesLine() const
{
    const auto named = [](const Choice &choice, const QString &none) { return choice.id < 0 ? none : choice.name; };
    return QStringLiteral("Материал: %1 · Труба: %2 · Грунт: %3")
        .arg(named(m_material, QStringLiteral("не выбран")), named(m_tube, QStringLiteral("не выбрана")),
             named(m_soil, QStringLiteral("не выбран")));
}

void CalcSession::restoreChoices(const Choice &material, const TubeChoice &tube, const Choice &soil)
{
    m_material = material;
    m_tube = tube;
    m_soil = soil;
    m_vars.selectedMaterialId = material.id;
    m_vars.selectedSoilId = soil.id;
    m_refs.setFiberglassTubesVisible(FiberglassMaterial::isFiberglass(material.id));
    Q_EMIT changed();
}

void CalcSession::setDescription(const ProjectDescription &description)
{
    if (description == m_description)
        return;
    m_description = description;
    Q_EMIT changed();
}

void CalcSession::reset()
{
    m_vars.applyCatalogue();
    m_vars.selectedMaterialId = -1;
    m_vars.selectedSoilId = -1;
    m_material = Choice();
    m_tube = TubeChoice();
    m_soil = Choice();
    m_description = ProjectDescription();
    m_runs.fill(Run());
    m_refs.setFiberglassTubesVisible(false);
    Q_EMIT changed();
}

QVector<Slot> CalcSession::inputSlots(CalcKind kind)
{
    // Every input the calculation can read, trenchless ones included.
    return CalcViews::inputRows(CalcKinds::view(kind), true);
}

QVector<double> CalcSession::fingerprint(CalcKind kind) const
{
    QVector<double> values;
    for (const Slot slot : inputSlots(kind))
        values << m_vars.value(slot);
    // The reports name the material (the hydraulic report by its kind) and
    // the soil; the fiberglass calculation follows the two choices.
    values << double(m_vars.selectedMaterialId);
    if (kind != CalcKind::Hydraulic)
        values << double(m_vars.selectedSoilId);
    if (kind == CalcKind::Fiberglass)
        values << double(FiberglassChoices::index(m_laying)) << double(FiberglassChoices::index(m_wall));
    return values;
}

const CalcOutcome &CalcSession::run()
{
    return run(calculation());
}

const CalcOutcome &CalcSession::run(CalcKind kind)
{
    Run &r = m_runs[index(kind)];
    r.inputs = fingerprint(kind);
    r.assessment = CalcAssessment::run(m_vars, kind, m_laying, m_wall);
    r.done = true;
    Q_EMIT changed();
    return r.assessment.outcome;
}

CalcVerdict CalcSession::verdict(CalcKind kind) const
{
    return resultsCurrent(kind) ? lastAssessment(kind).verdict : CalcVerdict();
}

QVector<CalcWarning> CalcSession::warnings(CalcKind kind) const
{
    return resultsCurrent(kind) ? lastAssessment(kind).warnings : QVector<CalcWarning>();
}

CalcSession::ResultState CalcSession::state(CalcKind kind) const
{
    const Run &r = m_runs[index(kind)];
    if (!r.done)
        return ResultState::None;
    const bool same = sameInputs(fingerprint(kind), r.inputs);
    if (r.assessment.completed())
        return same ? ResultState::Current : ResultState::Stale;
    return same ? ResultState::Failed : ResultState::None;
}

QString CalcSession::reportRefusal(CalcKind kind) const
{
    switch (state(kind)) {
    case ResultState::Current:
        return QString();
    case ResultState::None:
        return QStringLiteral("Отчёт не составлен: расчёт по текущим исходным данным не выполнен. "
                              "Нажмите C, чтобы выполнить расчёт, затем R.");
    case ResultState::Stale:
        return QStringLiteral("Отчёт не составлен: исходные данные изменены после расчёта, и результаты устарели. "
                              "Нажмите C, чтобы пересчитать, затем R.");
    case ResultState::Failed:
        return QStringLiteral("Отчёт не составлен: расчёт не выполнен. %1 Исправьте исходные данные и нажмите C.")
            .arg(lastOutcome(kind).displayText());
    }
    return QString();
}

std::optional<CalcSession::ResultsStamp> CalcSession::currentResults(CalcKind kind) const
{
    if (!resultsCurrent(kind))
        return std::nullopt;
    return ResultsStamp{kind, m_runs[index(kind)].inputs};
}

namespace {

// "гидравлического расчёта", as in "график гидравлического расчёта".
QString ofCalculation(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return QStringLiteral("гидравлического расчёта");
    case CalcKind::Static:
        return QStringLiteral("статического расчёта");
    case CalcKind::Fiberglass:
        return QStringLiteral("расчёта стеклопластиковой трубы");
    }
    return QString();
}

} // namespace

QString CalcSession::chartRefusal(CalcKind kind, const std::optional<ResultsStamp> &report) const
{
    if (!report)
        return QStringLiteral("График не вставлен: в редакторе нет отчёта, составленного программой. "
                              "Нажмите R, чтобы составить отчёт, затем вставьте в него график.");
    if (report->kind != kind)
        return QStringLiteral("График не вставлен: открыт отчёт %1, а график — %2. Вставьте график в отчёт "
                              "того же расчёта.")
            .arg(ofCalculation(report->kind), ofCalculation(kind));
    switch (state(kind)) {
    case ResultState::Current:
        break;
    case ResultState::Stale:
        return QStringLiteral("График не вставлен: исходные данные изменены после расчёта, и график не совпадает "
                              "с результатами отчёта. Нажмите C и R, чтобы составить отчёт заново.");
    case ResultState::None:
    case ResultState::Failed:
        return QStringLiteral("График не вставлен: расчёт по текущим исходным данным не выполнен. "
                              "Нажмите C и R, чтобы составить отчёт заново.");
    }
    if (!sameInputs(m_runs[index(kind)].inputs, report->inputs))
        return QStringLiteral("График не вставлен: отчёт составлен по другим исходным данным, чем текущие "
                              "результаты. Нажмите R, чтобы составить отчёт заново.");
    return QString();
}

QString CalcSession::chartCaption(CalcKind kind) const
{
    const auto named = [](const Choice &choice, const QString &none) {
        return choice.id < 0 || choice.name.isEmpty() ? none : QStringLiteral("«%1»").arg(choice.name);
    };
    QStringList parts{QStringLiteral("материал %1").arg(named(m_material, QStringLiteral("не выбран"))),
                      QStringLiteral("труба %1").arg(named(m_tube, QStringLiteral("не выбрана")))};
    if (kind != CalcKind::Hydraulic) {
        parts << QStringLiteral("грунт %1").arg(named(m_soil, QStringLiteral("не выбран")));
        const Slot depth = kind == CalcKind::Static ? Slot::Htr : Slot::h;
        parts << QStringLiteral("глубина %1 м").arg(metres(m_vars.value(depth)));
    }
    return QStringLiteral("График %1: %2.").arg(ofCalculation(kind), parts.join(QStringLiteral(", ")));
}

CalcSession::Tone CalcSession::stateTone(CalcKind kind) const
{
    switch (state(kind)) {
    case ResultState::Current: {
        const CalcVerdict judged = verdict(kind);
        return judged.judged() && !judged.holds() ? Tone::Fails : Tone::Holds;
    }
    case ResultState::Stale:
        return Tone::Outdated;
    case ResultState::Failed:
        return Tone::Fails;
    case ResultState::None:
        break;
    }
    return Tone::Neutral;
}

QString CalcSession::stateLine(CalcKind kind) const
{
    switch (state(kind)) {
    case ResultState::Current: {
        const CalcVerdict judged = verdict(kind);
        return judged.judged() ? judged.text() : QStringLiteral("Результаты соответствуют исходным данным.");
    }
    case ResultState::None:
        return QStringLiteral("Расчёт не выполнен. Нажмите C, чтобы выполнить расчёт.");
    case ResultState::Stale:
        return QStringLiteral("Исходные данные изменены после расчёта: результаты устарели. "
                              "Нажмите C, чтобы пересчитать.");
    case ResultState::Failed:
        return lastOutcome(kind).displayText();
    }
    return QString();
}
