#include "refdata/ReferenceData.h"

#include "model/CalcVariables.h"
#include "model/FiberglassMaterial.h"
#include "model/MessageText.h"
#include "refdata/DbConnection.h"
#include "refdata/ReferenceErrorSink.h"
#include "refdata/ReferenceTransfer.h"

// Marks a load or lookup under way, during which an activation of the window
// must not start another one.
class ReferenceData::BusyScope
{
public:
    explicit BusyScope(ReferenceData &data) : m_data(data) { ++m_data.m_busy; }
    ~BusyScope() { --m_data.m_busy; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    ReferenceData &m_data;
};

namespace {

QString columnErrorText(const QString &table, const QString &detail)
{
    return QStringLiteral("Не могу прочитать таблицу %1: %2").arg(table, detail);
}

// Runs a pick on a row the model has; false for any other row.
template <class Model, class Apply>
bool pickRow(const Model &model, int row, Apply apply)
{
    if (row < 0 || row >= model.rowCount())
        return false;
    apply(model.row(row));
    return true;
}

} // namespace

ReferenceData::ReferenceData(CalcVariables &vars, ReferenceErrorSink &sink, const QString &baseDir)
    : m_vars(vars), m_sink(sink), m_database(baseDir)
{}

QString ReferenceData::tableErrorText(const QString &table)
{
    return QStringLiteral("Не могу открыть таблицу: ") + table;
}

QString ReferenceData::ownItemName()
{
    return QStringLiteral("свой");
}

Result<> ReferenceData::connect()
{
    const Result<> connected = m_database.connectDatabase();
    if (!connected)
        return failDatabase(connected.message());
    return {};
}

Result<> ReferenceData::failDatabase(const QString &message)
{
    ++m_errorCount;
    m_skipNextActivation = true;
    return Result<>::failure(MessageText::withFullStop(message));
}

void ReferenceData::reportTableError(const QString &message)
{
    ++m_errorCount;
    m_skipNextActivation = true;
    m_sink.showTableError(message);
}

Result<bool> ReferenceData::openTable(const QString &table, const QString &sql)
{
    DbQuery &query = m_database.query();
    query.setSql(sql);
    const Result<> opened = query.open();
    if (opened)
        return true;
    // A statement that ended the connection found the database itself
    // damaged or too large, which a table message would not say.
    if (!m_database.connection()->isOpen())
        return failDatabase(opened.message());
    reportTableError(tableErrorText(table));
    return false;
}

template <class Row>
Result<int> ReferenceData::loadRows(RowTableModel<Row> &model, const QString &table, const QString &sql)
{
    const Result<bool> opened = openTable(table, sql);
    if (!opened)
        return opened.status();
    if (!*opened)
        return -1;

    DbQuery &query = m_database.query();
    const int count = query.recordCount();
    QVector<Row> rows;
    rows.reserve(count);
    query.first();
    for (int i = 0; i < count; ++i) {
        Result<Row> row = Row::read(query);
        if (!row) {
            reportTableError(columnErrorText(table, row.message()));
            return -1;
        }
        rows.append(std::move(*row));
        query.next();
    }
    model.setRows(std::move(rows));
    return count;
}

Result<> ReferenceData::loadTubes()
{
    const BusyScope busy(*this);
    const Result<> connected = connect();
    if (!connected)
        return connected;
    const Result<int> tubes = loadRows(m_tubes, QStringLiteral("Tubes"), QStringLiteral("select * from Tubes"));
    if (!tubes || *tubes <= 0)
        return tubes.status();
    const QString sql = m_vars.selectedMaterialId == FiberglassMaterial::Sn10000
                            ? QStringLiteral("select * from TubesSt where TypeID=1")
                            : QStringLiteral("select * from TubesSt where TypeID=0");
    return loadRows(m_fiberglassTubes, QStringLiteral("TubesSt"), sql).status();
}

Result<> ReferenceData::loadMaterials()
{
    const BusyScope busy(*this);
    const Result<> connected = connect();
    if (!connected)
        return connected;
    return loadRows(m_materials, QStringLiteral("Materials"), QStringLiteral("select * from Materials")).status();
}

Result<> ReferenceData::loadSoils()
{
    const BusyScope busy(*this);
    const Result<> connected = connect();
    if (!connected)
        return connected;
    return loadRows(m_soils, QStringLiteral("Soiles"), QStringLiteral("select * from Soiles")).status();
}

Result<> ReferenceData::reloadTubes()
{
    m_tubes.clear();
    m_fiberglassTubes.clear();
    return loadTubes();
}

Result<> ReferenceData::reloadMaterials()
{
    m_materials.clear();
    return loadMaterials();
}

Result<> ReferenceData::reloadSoils()
{
    m_soils.clear();
    return loadSoils();
}

Result<> ReferenceData::reloadAll()
{
    for (Result<> (ReferenceData::*reload)() :
         {&ReferenceData::reloadTubes, &ReferenceData::reloadMaterials, &ReferenceData::reloadSoils}) {
        const Result<> reloaded = (this->*reload)();
        if (!reloaded)
            return reloaded;
    }
    return {};
}

Result<ReferenceData::Activation> ReferenceData::reloadOnActivation()
{
    if (m_busy > 0)
        return Activation::Skipped;
    if (m_skipNextActivation) {
        m_skipNextActivation = false;
        return Activation::Skipped;
    }
    const int errorsBefore = m_errorCount;
    const Result<> reloaded = reloadAll();
    if (!reloaded)
        return reloaded;
    return m_errorCount == errorsBefore ? Activation::Reloaded : Activation::ReloadedWithErrors;
}

bool ReferenceData::pickTube(int row)
{
    return pickRow(m_tubes, row, [this](const TubeRow &r) { ReferenceTransfer::applyTube(m_vars, r); });
}

bool ReferenceData::pickFiberglassTube(int row)
{
    return pickRow(m_fiberglassTubes, row,
                   [this](const FiberglassTubeRow &r) { ReferenceTransfer::applyFiberglassTube(m_vars, r); });
}

bool ReferenceData::pickMaterial(int row)
{
    return pickRow(m_materials, row, [this](const MaterialRow &r) {
        m_fiberglassTubesVisible = ReferenceTransfer::applyMaterial(m_vars, r);
    });
}

bool ReferenceData::pickSoil(int row)
{
    return pickRow(m_soils, row, [this](const SoilRow &r) { ReferenceTransfer::applySoil(m_vars, r); });
}

Result<QString> ReferenceData::soilNameById(std::int32_t id)
{
    return nameById(QStringLiteral("Soiles"), QStringLiteral("SoilId"), id);
}

Result<QString> ReferenceData::materialNameById(std::int32_t id)
{
    return nameById(QStringLiteral("Materials"), QStringLiteral("TubeMaterialId"), id);
}

Result<QString> ReferenceData::nameById(const QString &table, const QString &idColumn, std::int32_t id)
{
    const BusyScope busy(*this);
    const Result<> connected = connect();
    if (!connected)
        return connected;
    const Result<bool> opened = openTable(table, QStringLiteral("select * from ") + table);
    if (!opened)
        return opened.status();
    DbQuery &query = m_database.query();
    if (!*opened || query.recordCount() == 0)
        return QString();

    // The first row with the id names it.
    for (query.first(); !query.eof(); query.next()) {
        const Result<std::int32_t> rowId = query.asInteger(idColumn);
        if (rowId && *rowId != id)
            continue;
        const Result<QString> name = rowId ? query.asText(QStringLiteral("Descr")) : rowId.status();
        if (!name) {
            reportTableError(columnErrorText(table, name.message()));
            return QString();
        }
        return *name;
    }
    return ownItemName();
}
