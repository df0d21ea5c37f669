#include "cli/DbCommand.h"

#include "cli/CliArgs.h"
#include "cli/Console.h"
#include "cli/JsonWriter.h"
#include "cli/ReferenceSource.h"
#include "cli/TextTable.h"
#include "cli/VarsCommand.h"
#include "model/CalcVariables.h"

namespace {

struct Grid
{
    const char *name;
    Result<> (ReferenceData::*loader)();
    ReferenceTableModel *(*model)(ReferenceData &);
};

const Grid kGrids[] = {
    {"tubes", &ReferenceData::loadTubes, [](ReferenceData &d) -> ReferenceTableModel * { return d.tubes(); }},
    {"fiberglass-tubes", &ReferenceData::loadTubes,
     [](ReferenceData &d) -> ReferenceTableModel * { return d.fiberglassTubes(); }},
    {"materials", &ReferenceData::loadMaterials,
     [](ReferenceData &d) -> ReferenceTableModel * { return d.materials(); }},
    {"soils", &ReferenceData::loadSoils, [](ReferenceData &d) -> ReferenceTableModel * { return d.soils(); }},
};

CommandResult<const Grid *> takeGrid(CliArgs &args)
{
    const std::optional<QString> name = args.takePositional();
    if (!name)
        return CommandResult<>::usage(QStringLiteral("Укажите таблицу: tubes, fiberglass-tubes, materials или soils"));
    for (const Grid &grid : kGrids) {
        if (*name == QLatin1String(grid.name))
            return &grid;
    }
    return CommandResult<>::usage(
        QStringLiteral("Неизвестная таблица: %1 (tubes, fiberglass-tubes, materials или soils)").arg(*name));
}

void writeValue(JsonWriter &json, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
        json.value(value.toInt());
        break;
    case QMetaType::Double:
        json.value(value.toDouble());
        break;
    default:
        json.value(value.toString());
        break;
    }
}

QString json(const ReferenceTableModel &model)
{
    JsonWriter out;
    const QStringList names = model.fieldNames();
    out.beginArray();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QVariantList values = model.rowValues(row);
        out.beginObject();
        for (int i = 0; i < names.size(); ++i) {
            out.key(names[i]);
            writeValue(out, values.value(i));
        }
        out.endObject();
    }
    out.endArray();
    return out.text() + QLatin1Char('\n');
}

// The columns with a header, that is all but the spare one.
QString text(const ReferenceTableModel &model)
{
    QVector<int> shown;
    QStringList header;
    for (int c = 0; c < model.columns().size(); ++c) {
        if (!model.columns()[c].header.isEmpty()) {
            shown << c;
            header << model.columns()[c].header;
        }
    }
    QVector<QStringList> rows{header};
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (const int c : shown)
            cells << model.cellText(row, c);
        rows << cells;
    }
    return TextTable::format(rows);
}

} // namespace

DbCommand::DbCommand()
    : Command(QStringLiteral("db"),
              {QStringLiteral("tubes|fiberglass-tubes|materials|soils"), QStringLiteral("[--material ID]"),
               QStringLiteral("[--database PATH]"), QStringLiteral("[--decimal-separator SEP]"),
               QStringLiteral("[--json]")},
              QStringLiteral("      Печатает строки справочной таблицы так, как их показывает программа:\n"
                             "      tubes             — гофрированные трубы;\n"
                             "      fiberglass-tubes  — стеклопластиковые трубы выбранного материала;\n"
                             "      materials         — материалы труб;\n"
                             "      soils             — грунты.\n"
                             "\n"))
{}

int DbCommand::execute(CliArgs &args) const
{
    if (const CommandResult<> separator = VarsCommand::takeDecimalSeparator(args); !separator)
        return separator.report();
    const bool asJson = args.takeFlag(QStringLiteral("--json"));
    const CommandResult<std::optional<int>> material = args.takeInteger(QStringLiteral("--material"));
    if (!material)
        return material.report();
    const CommandResult<std::optional<QString>> database = ReferenceSource::takeDatabase(args);
    if (!database)
        return database.report();
    const CommandResult<const Grid *> takenGrid = takeGrid(args);
    if (!takenGrid)
        return takenGrid.report();
    const Grid &grid = **takenGrid;
    if (const CommandResult<> finished = args.finish(); !finished)
        return finished.report();

    CalcVariables vars;
    vars.applyCatalogue();
    if (*material)
        vars.selectedMaterialId = **material;

    ReferenceSource source(vars, *database);
    if (const CommandResult<> loaded = source.load(grid.loader); !loaded)
        return loaded.report();
    const ReferenceTableModel &model = *grid.model(source.data());
    return Console::out(asJson ? json(model) : text(model)).report();
}
