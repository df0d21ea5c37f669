#include "calc/CalcProject.h"

#include "model/Catalogue.h"
#include "model/FiberglassMaterial.h"
#include "model/FileNameBytes.h"
#include "model/SafeFileWriter.h"
#include "refdata/FiberglassTubeRow.h"
#include "refdata/MaterialRow.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"
#include "refdata/SoilRow.h"
#include "refdata/TubeRow.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSignalBlocker>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>

namespace {

const QString kType = QStringLiteral("pipecalc-project");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QString field(const QString &name)
{
    return QStringLiteral("«%1»").arg(name);
}

double defaultOf(Slot slot)
{
    return Catalogue::entries()[std::size_t(SlotKeys::number(slot) - 1)].defaultValue;
}

// A problem found in a file's content: what the file holds is no project
// this program reads.  Reading stops at the first.
Result<> damaged(const QString &problem)
{
    return Result<>::failure(problem);
}

// A whole number within the 32-bit range.
Result<std::int32_t> integer(const QJsonValue &value, const QString &name)
{
    const double d = value.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!value.isDouble() || !std::isfinite(d) || std::floor(d) != d || d < std::numeric_limits<std::int32_t>::min()
        || d > std::numeric_limits<std::int32_t>::max())
        return damaged(QStringLiteral("поле %1 должно быть целым числом").arg(field(name)));
    return std::int32_t(d);
}

Result<QString> text(const QJsonObject &object, const QString &name, const QString &where)
{
    const QJsonValue value = object.value(name);
    if (value.isUndefined() || value.isNull())
        return QString();
    if (!value.isString())
        return damaged(QStringLiteral("поле %1%2 должно быть текстом")
                           .arg(field(name), where.isEmpty() ? QString() : QLatin1Char(' ') + where));
    return value.toString();
}

// One of the two words of a choice of the fiberglass calculation, the same
// as the command line's.
template <typename Choice>
Result<Choice> word(const QJsonObject &object, const QString &name, Choice fallback)
{
    const QJsonValue value = object.value(name);
    if (value.isUndefined())
        return fallback;
    if (const std::optional<Choice> choice = FiberglassChoices::fromWord<Choice>(value.toString()))
        return *choice;
    return damaged(QStringLiteral("поле %1 должно быть «%2»")
                       .arg(field(name), FiberglassChoices::words<Choice>().join(QStringLiteral("» или «"))));
}

QJsonValue choiceJson(const CalcSession::Choice &choice)
{
    if (choice.id < 0)
        return QJsonValue(QJsonValue::Null);
    return QJsonObject{{QStringLiteral("id"), choice.id}, {QStringLiteral("name"), choice.name}};
}

// A choice: null (or missing) for nothing chosen, else an object with its
// id and name; empty for nothing chosen.
Result<QJsonObject> choiceObject(const QJsonObject &root, const QString &name)
{
    const QJsonValue value = root.value(name);
    if (value.isUndefined() || value.isNull())
        return QJsonObject();
    if (!value.isObject())
        return damaged(QStringLiteral("поле %1 должно быть объектом с кодом и названием или null").arg(field(name)));
    const QJsonObject object = value.toObject();
    if (!object.contains(QStringLiteral("id")))
        return damaged(QStringLiteral("в поле %1 нет кода («id»)").arg(field(name)));
    return object;
}

Result<CalcSession::Choice> readChoice(const QJsonObject &object, const QString &name)
{
    CalcSession::Choice choice;
    if (object.isEmpty())
        return choice;
    const Result<std::int32_t> id = integer(object.value(QStringLiteral("id")), name + QStringLiteral(".id"));
    if (!id)
        return id.status();
    choice.id = *id;
    if (choice.id < 0)
        return damaged(QStringLiteral("код в поле %1 не может быть отрицательным").arg(field(name)));
    const Result<QString> choiceName =
        text(object, QStringLiteral("name"), QStringLiteral("в поле %1").arg(field(name)));
    if (!choiceName)
        return choiceName.status();
    choice.name = *choiceName;
    return choice;
}

// The choice of the field `name` of the root.
Result<CalcSession::Choice> readChoice(const QJsonObject &root, const QString &name, QJsonObject *object)
{
    const Result<QJsonObject> found = choiceObject(root, name);
    if (!found)
        return found.status();
    if (object)
        *object = *found;
    return readChoice(*found, name);
}

// The columns whose values tell a tube of the table apart.
const QStringList &tubeColumns(bool fiberglass)
{
    return fiberglass ? FiberglassTubeRow::fieldNames() : TubeRow::fieldNames();
}

// The sizes of the chosen tube ("geometry": the table's columns and their
// values), by which another database finds it; empty when the file has none.
Result<QVector<double>> readGeometry(const QJsonObject &tube, bool fiberglass)
{
    const QJsonValue value = tube.value(QStringLiteral("geometry"));
    if (value.isUndefined() || value.isNull())
        return QVector<double>();
    const QStringList &columns = tubeColumns(fiberglass);
    const QJsonObject object = value.toObject();
    const QString expected = QStringLiteral("поле «tube.geometry» должно быть объектом с числами %1")
                                 .arg(QStringLiteral("«") + columns.join(QStringLiteral("», «")) + QStringLiteral("»"));
    if (!value.isObject() || object.size() != columns.size())
        return damaged(expected);
    QVector<double> sizes;
    for (const QString &column : columns) {
        const QJsonValue size = object.value(column);
        if (!size.isDouble())
            return damaged(expected);
        sizes << size.toDouble();
    }
    return sizes;
}

std::optional<Slot> inputSlot(const QString &key)
{
    const auto slot = SlotKeys::fromKey(key);
    if (slot && CalcProject::inputSlots().contains(*slot))
        return slot;
    return std::nullopt;
}

// Puts a field that was read into its place; the first field that could
// not be read is the outcome.
template <class T>
void take(Result<> &outcome, const Result<T> &read, T &target)
{
    if (read)
        target = *read;
    else if (outcome)
        outcome = read.status();
}

Result<> readHeader(const QJsonObject &root)
{
    const QJsonValue format = root.value(QStringLiteral("format"));
    if (format.isUndefined())
        return damaged(QStringLiteral("в файле нет номера формата проекта (поле «format»)"));
    const Result<std::int32_t> version = integer(format, QStringLiteral("format"));
    if (!version)
        return version.status();
    if (*version > CalcProject::FormatVersion)
        return damaged(QStringLiteral("проект сохранён более новой версией программы (формат %1), а эта версия "
                                      "читает проекты формата не выше %2; откройте его в новой версии")
                           .arg(*version)
                           .arg(CalcProject::FormatVersion));
    if (*version < 1)
        return damaged(QStringLiteral("неизвестный номер формата проекта: %1").arg(*version));
    const QJsonValue type = root.value(QStringLiteral("type"));
    if (!type.isUndefined() && type.toString() != kType)
        return damaged(QStringLiteral("файл не является проектом программы (поле «type»: «%1»)").arg(type.toString()));
    return {};
}

// The calculation, its two choices, and the material, tube and soil.
Result<> readChoices(const QJsonObject &root, CalcProject &project)
{
    const Result<QString> calculation = text(root, QStringLiteral("calculation"), QString());
    if (!calculation)
        return calculation.status();
    if (!CalcKinds::fromName(*calculation, &project.calculation))
        return damaged(QStringLiteral("поле «calculation» должно быть «hydraulic», «static» или «fiberglass»"));
    Result<> outcome;
    take(outcome, word(root, QStringLiteral("laying"), Laying::Trench), project.laying);
    take(outcome, word(root, QStringLiteral("wall"), Wall::ThreeLayer), project.wall);
    take(outcome, readChoice(root, QStringLiteral("material"), nullptr), project.material);
    if (!outcome)
        return outcome;

    QJsonObject tube;
    const Result<CalcSession::Choice> tubeChoice = readChoice(root, QStringLiteral("tube"), &tube);
    if (!tubeChoice)
        return tubeChoice.status();
    static_cast<CalcSession::Choice &>(project.tube) = *tubeChoice;
    if (project.tube.id == 0)
        return damaged(QStringLiteral("номер трубы в поле «tube» считается с 1"));
    const QJsonValue fiberglass = tube.value(QStringLiteral("fiberglass"));
    if (!fiberglass.isUndefined() && !fiberglass.isBool())
        return damaged(QStringLiteral("поле «tube.fiberglass» должно быть true или false"));
    project.tube.fiberglass = fiberglass.toBool(false);
    take(outcome, readGeometry(tube, project.tube.fiberglass), project.tube.geometry);
    take(outcome, readChoice(root, QStringLiteral("soil"), nullptr), project.soil);
    if (!outcome)
        return outcome;

    const bool fiberglassMaterial = FiberglassMaterial::isFiberglass(project.material.id);
    if (project.calculation == CalcKind::Fiberglass && !fiberglassMaterial)
        return damaged(QStringLiteral("расчёт стеклопластиковой трубы, а выбранный материал не стеклопластик"));
    if (project.calculation == CalcKind::Static && fiberglassMaterial)
        return damaged(QStringLiteral("статический расчёт гофрированной трубы, а выбран стеклопластиковый материал"));
    return {};
}

Result<> readInputs(const QJsonObject &root, CalcProject &project)
{
    const QJsonValue inputs = root.value(QStringLiteral("inputs"));
    if (!inputs.isUndefined() && !inputs.isObject())
        return damaged(QStringLiteral("поле «inputs» должно быть объектом: ключ величины и её значение"));
    const QJsonObject values = inputs.toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        const auto slot = inputSlot(it.key());
        if (!slot)
            return damaged(QStringLiteral("в исходных данных (поле «inputs») есть «%1» — это не исходная величина "
                                          "ни одного расчёта")
                               .arg(it.key()));
        if (!it.value().isDouble())
            return damaged(QStringLiteral("значение исходной величины «%1» не число").arg(it.key()));
        project.inputs.append({*slot, it.value().toDouble()});
    }
    std::sort(project.inputs.begin(), project.inputs.end(),
              [](const CalcProject::Input &a, const CalcProject::Input &b) {
                  return SlotKeys::number(a.slot) < SlotKeys::number(b.slot);
              });
    return {};
}

Result<> readDescription(const QJsonObject &root, ProjectDescription &description)
{
    const QJsonValue value = root.value(QStringLiteral("description"));
    if (!value.isUndefined() && !value.isObject())
        return damaged(QStringLiteral("поле «description» должно быть объектом"));
    const QJsonObject about = value.toObject();
    const QString where = QStringLiteral("в описании проекта");
    Result<> outcome;
    take(outcome, text(about, QStringLiteral("object"), where), description.object);
    take(outcome, text(about, QStringLiteral("designer"), where), description.designer);
    take(outcome, text(about, QStringLiteral("notes"), where), description.notes);
    QString date;
    take(outcome, text(about, QStringLiteral("date"), where), date);
    if (!outcome)
        return outcome;
    if (!date.isEmpty()) {
        description.date = QDate::fromString(date, kDateFormat);
        if (!description.date.isValid())
            return damaged(QStringLiteral("дата проекта «%1» не является датой в виде ГГГГ-ММ-ДД").arg(date));
    }
    return {};
}

Result<CalcProject> parse(const QByteArray &bytes)
{
    QByteArray content = bytes;
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError)
        return damaged(QStringLiteral("файл повреждён или это не проект: его текст не читается как JSON "
                                      "(ошибка около знака %1)")
                           .arg(error.offset + 1));
    if (!document.isObject())
        return damaged(QStringLiteral("в файле нет проекта: ожидался объект JSON"));
    const QJsonObject root = document.object();

    if (const Result<> header = readHeader(root); !header)
        return header;
    CalcProject project;
    if (const Result<> choices = readChoices(root, project); !choices)
        return choices;
    if (const Result<> inputs = readInputs(root, project); !inputs)
        return inputs;
    if (const Result<> description = readDescription(root, project.description); !description)
        return description;
    return project;
}

// Reads at most `limit` + 1 bytes, so that a larger file is recognised
// without reading it whole.
Result<QByteArray> readFile(const QString &path, qint64 limit)
{
    QFile file;
    switch (FileNameBytes::openForReading(file, path)) {
    case 0:
        break;
    case ENOENT:
    case ENOTDIR:
        return Result<QByteArray>::failure(QStringLiteral("файла нет"));
    case EISDIR:
        return Result<QByteArray>::failure(QStringLiteral("это папка, а не файл"));
    case FileNameBytes::NotRegularFile:
        return Result<QByteArray>::failure(QStringLiteral("это не обычный файл"));
    case EACCES:
        return Result<QByteArray>::failure(QStringLiteral("нет доступа на чтение файла"));
    default:
        return Result<QByteArray>::failure(QStringLiteral("файл не открывается для чтения"));
    }
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError)
        return Result<QByteArray>::failure(QStringLiteral("файл не читается"));
    if (bytes.size() > limit)
        return Result<QByteArray>::failure(QStringLiteral("файл слишком велик для проекта"));
    return bytes;
}

// Collects the tables the check could not read.
class CollectingSink : public ReferenceErrorSink
{
public:
    void showTableError(const QString &message) override { messages << message; }
    QStringList messages;
};

} // namespace

QString CalcProject::fileSuffix()
{
    return QStringLiteral("pipecalc");
}

QString CalcProject::mimeType()
{
    return QStringLiteral("application/x-pipecalc-project");
}

bool CalcProject::operator==(const CalcProject &other) const
{
    return calculation == other.calculation && laying == other.laying && wall == other.wall
           && material == other.material && tube == other.tube && tube.fiberglass == other.tube.fiberglass
           && tube.geometry == other.tube.geometry && soil == other.soil && inputs == other.inputs
           && description == other.description;
}

const QVector<Slot> &CalcProject::inputSlots()
{
    static const QVector<Slot> kept = [] {
        QVector<Slot> all;
        for (const CalcKind kind : {CalcKind::Hydraulic, CalcKind::Static, CalcKind::Fiberglass}) {
            for (const Slot slot : CalcSession::inputSlots(kind)) {
                if (!all.contains(slot))
                    all.append(slot);
            }
        }
        std::sort(all.begin(), all.end(), [](Slot a, Slot b) { return SlotKeys::number(a) < SlotKeys::number(b); });
        return all;
    }();
    return kept;
}

CalcProject CalcProject::of(const CalcSession &session)
{
    CalcProject project;
    project.calculation = session.calculation();
    project.laying = session.laying();
    project.wall = session.wall();
    project.material = session.material();
    project.tube = session.tube();
    project.soil = session.soil();
    for (const Slot slot : inputSlots()) {
        const double value = session.input(slot);
        if (value != defaultOf(slot))
            project.inputs.append({slot, value});
    }
    project.description = session.description();
    return project;
}

QByteArray CalcProject::toJson() const
{
    QJsonObject root;
    root.insert(QStringLiteral("format"), FormatVersion);
    root.insert(QStringLiteral("type"), kType);
    root.insert(QStringLiteral("calculation"), CalcKinds::name(calculation));
    root.insert(QStringLiteral("laying"), FiberglassChoices::word(laying));
    root.insert(QStringLiteral("wall"), FiberglassChoices::word(wall));
    root.insert(QStringLiteral("material"), choiceJson(material));
    QJsonValue tubeValue = choiceJson(tube);
    if (tubeValue.isObject()) {
        QJsonObject object = tubeValue.toObject();
        object.insert(QStringLiteral("fiberglass"), tube.fiberglass);
        const QStringList &columns = tubeColumns(tube.fiberglass);
        if (tube.geometry.size() == columns.size()) {
            QJsonObject geometry;
            for (int i = 0; i < columns.size(); ++i)
                geometry.insert(columns[i], tube.geometry[i]);
            object.insert(QStringLiteral("geometry"), geometry);
        }
        tubeValue = object;
    }
    root.insert(QStringLiteral("tube"), tubeValue);
    root.insert(QStringLiteral("soil"), choiceJson(soil));
    QJsonObject values;
    for (const Input &input : inputs)
        values.insert(SlotKeys::key(input.slot), input.value);
    root.insert(QStringLiteral("inputs"), values);
    root.insert(QStringLiteral("description"),
                QJsonObject{{QStringLiteral("object"), description.object},
                            {QStringLiteral("designer"), description.designer},
                            {QStringLiteral("date"),
                             description.date.isValid() ? description.date.toString(kDateFormat) : QString()},
                            {QStringLiteral("notes"), description.notes}});
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Result<CalcProject> CalcProject::fromJson(const QByteArray &bytes)
{
    return parse(bytes);
}

Result<> CalcProject::save(const QString &path) const
{
    for (const Input &input : inputs) {
        // JSON has no place for them; no input of the program holds one.
        if (!std::isfinite(input.value)) {
            return Result<>::failure(
                QStringLiteral("Проект «%1» не сохранён: значение величины «%2» не является числом.")
                    .arg(path, SlotKeys::key(input.slot)));
        }
    }
    const Result<> written = SafeFileWriter::writeFile(path, toJson());
    if (!written)
        return Result<>::failure(QStringLiteral("Проект «%1» не сохранён: %2.").arg(path, written.message()));
    return {};
}

QString CalcProject::openFailure(const QString &path, const QString &problem)
{
    return QStringLiteral("Проект «%1» не открыт: %2.").arg(path, problem);
}

Result<CalcProject> CalcProject::load(const QString &path)
{
    const Result<QByteArray> bytes = readFile(path, MaxFileSize);
    Result<CalcProject> project = bytes ? fromJson(*bytes) : Result<CalcProject>(bytes.status());
    if (!project)
        return Result<CalcProject>::failure(openFailure(path, project.message()));
    return project;
}

Result<CalcProject::ChoiceCheck> CalcProject::checkChoices(CalcSession &session) const
{
    ChoiceCheck check;
    check.material = material;
    check.tube = tube;
    check.soil = soil;
    if (material.id < 0 && tube.id < 0 && soil.id < 0)
        return check;
    // A reference data of its own reads the same database, so that the
    // session's grids stay as they are.
    CalcVariables vars;
    CollectingSink sink;
    ReferenceData refs(vars, sink);
    refs.database().setDatabaseFile(session.referenceData().database().databaseFile());
    // A database that cannot be opened, or a table that cannot be read,
    // ends the check.
    const auto readFailure = [&sink](const Result<> &loaded) {
        if (!loaded)
            return loaded;
        if (!sink.messages.isEmpty())
            return Result<>::failure(sink.messages.join(QLatin1Char('\n')));
        return Result<>();
    };
    // A name the project has not kept is the database's; one that differs
    // from it is a difference.
    const auto compareName = [&check](QString &kept, const QString &inDatabase, const QString &what) {
        if (kept.isEmpty())
            kept = inDatabase;
        else if (kept != inDatabase)
            check.differences
                << QStringLiteral("%1 — в проекте «%2», в справочной базе «%3»").arg(what, kept, inDatabase);
    };
    // A material or a soil: the row under its id, named as in the project.
    const auto descriptionOf = [](const auto &model, std::int32_t id) -> std::optional<QString> {
        const int row = model.findId(id);
        return row < 0 ? std::nullopt : std::optional<QString>(model.row(row).Descr);
    };
    // `kind` names it ("материал с кодом 1"), `ofKind` in the genitive.
    const auto rowById = [&](const CalcSession::Choice &choice, CalcSession::Choice &opened,
                             const std::optional<QString> &inDatabase, const QString &kind, const QString &ofKind) {
        if (!inDatabase) {
            check.missing = QStringLiteral("в справочной базе нет выбранного в проекте %1 «%2» (код %3)")
                                .arg(ofKind, choice.name)
                                .arg(choice.id);
            return false;
        }
        compareName(opened.name, *inDatabase, QStringLiteral("%1 с кодом %2").arg(kind).arg(choice.id));
        return true;
    };
    if (material.id >= 0) {
        if (const Result<> failure = readFailure(refs.loadMaterials()); !failure)
            return failure;
        if (!rowById(material, check.material, descriptionOf(*refs.materials(), material.id),
                     QStringLiteral("материал"), QStringLiteral("материала")))
            return check;
    }
    if (tube.id >= 0) {
        vars.selectedMaterialId = material.id;
        if (const Result<> failure = readFailure(refs.loadTubes()); !failure)
            return failure;
        const int rows = tube.fiberglass ? refs.fiberglassTubes()->rowCount() : refs.tubes()->rowCount();
        const auto rowValues = [&](int row) {
            return tube.fiberglass ? refs.fiberglassTubes()->row(row).values() : refs.tubes()->row(row).values();
        };
        const auto rowName = [&](int row) {
            return tube.fiberglass ? CalcSession::tubeName(refs.fiberglassTubes()->row(row))
                                   : CalcSession::tubeName(refs.tubes()->row(row));
        };
        const QString table = tube.fiberglass ? QStringLiteral("стеклопластиковых труб") : QStringLiteral("труб");
        if (!tube.geometry.isEmpty()) {
            // The same sizes, under the same number when it has them, else
            // wherever this database lists them.
            const auto sameSizes = [&](int row) {
                const QVariantList values = rowValues(row);
                for (int i = 0; i < values.size(); ++i) {
                    if (i >= tube.geometry.size() || values[i].toDouble() != tube.geometry[i])
                        return false;
                }
                return values.size() == tube.geometry.size();
            };
            int found = tube.id <= rows && sameSizes(tube.id - 1) ? tube.id - 1 : -1;
            for (int row = 0; row < rows && found < 0; ++row) {
                if (sameSizes(row))
                    found = row;
            }
            if (found < 0) {
                check.differences << QStringLiteral("труба «%1» — в таблице %2 справочной базы нет трубы этих размеров")
                                         .arg(tube.name, table);
            } else {
                check.tube.id = found + 1;
                compareName(check.tube.name, rowName(found), QStringLiteral("труба"));
            }
        } else if (tube.id > rows) {
            check.missing =
                QStringLiteral("в справочной базе нет выбранной в проекте трубы «%1» (строка %2 таблицы %3, "
                               "а в ней строк: %4)")
                    .arg(tube.name)
                    .arg(tube.id)
                    .arg(table)
                    .arg(rows);
            return check;
        } else {
            // A project saved before tubes kept their sizes: the row's name
            // says whether it is the same tube, whose sizes it keeps from now on.
            compareName(check.tube.name, rowName(tube.id - 1),
                        QStringLiteral("труба в строке %1 таблицы %2").arg(tube.id).arg(table));
            for (const QVariant &value : rowValues(tube.id - 1))
                check.tube.geometry << value.toDouble();
        }
    }
    if (soil.id >= 0) {
        if (const Result<> failure = readFailure(refs.loadSoils()); !failure)
            return failure;
        if (!rowById(soil, check.soil, descriptionOf(*refs.soils(), soil.id), QStringLiteral("грунт"),
                     QStringLiteral("грунта")))
            return check;
    }
    return check;
}

QString CalcProject::differencesProblem(const QStringList &differences)
{
    return QStringLiteral("справочная база называет выбранное в проекте иначе: %1")
        .arg(differences.join(QStringLiteral("; ")));
}

Result<bool> CalcProject::openIn(CalcSession &session, const ChoiceCheck &check,
                                 const DifferencesQuestion &openAnyway) const
{
    if (!check.missing.isEmpty())
        return Result<bool>::failure(check.missing);
    if (!check.differences.isEmpty()) {
        if (!openAnyway)
            return Result<bool>::failure(differencesProblem(check.differences));
        if (!openAnyway(check.differences))
            return false;
    }
    CalcProject opened = *this;
    opened.material = check.material;
    opened.tube = check.tube;
    opened.soil = check.soil;
    opened.applyTo(session);
    return true;
}

void CalcProject::applyTo(CalcSession &session) const
{
    {
        // One change for those who watch the session.
        const QSignalBlocker blocker(&session);
        session.reset();
        session.setMode(calculation == CalcKind::Hydraulic ? 0 : 1);
        session.setLaying(laying);
        session.setWall(wall);
        session.restoreChoices(material, tube, soil);
        for (const Input &input : inputs)
            session.setInput(input.slot, input.value);
        session.setDescription(description);
    }
    session.touch();
}

Result<bool> CalcProject::open(const QString &path, CalcSession &session, const DifferencesQuestion &openAnyway)
{
    const Result<CalcProject> project = load(path);
    if (!project)
        return project.status();
    const Result<ChoiceCheck> check = project->checkChoices(session);
    if (!check) {
        QString problem = QStringLiteral("справочная база не читается. %1").arg(check.message());
        while (problem.endsWith(QLatin1Char('.')))
            problem.chop(1);
        return Result<bool>::failure(openFailure(path, problem));
    }
    const Result<bool> opened = project->openIn(session, *check, openAnyway);
    if (!opened)
        return Result<bool>::failure(openFailure(path, opened.message()));
    return opened;
}

bool CalcProject::isProjectFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.suffix().compare(fileSuffix(), Qt::CaseInsensitive) == 0)
        return true;
    if (!info.isFile() || info.size() > MaxFileSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.peek(16).trimmed();
    if (!head.startsWith('{') && !head.startsWith("\xEF\xBB\xBF"))
        return false;
    QByteArray content = file.readAll();
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);
    const QJsonDocument document = QJsonDocument::fromJson(content);
    return document.isObject() && document.object().value(QStringLiteral("type")).toString() == kType;
}
