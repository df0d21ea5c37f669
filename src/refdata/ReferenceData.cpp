#include "refdata/ReferenceData.h"

#include "model/CalcVariables.h"
#include "model/FiberglassMaterial.h"
#include "refdata/DatabaseError.h"
#include "refdata/ReferenceErrorSink.h"
#include "refdata/ReferenceTransfer.h"

#include <optional>

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

void ReferenceData::connect()
{
    try {
        m_database.connectDatabase();
    } catch (const DatabaseError &) {
        ++m_errorCount;
        m_skipNextActivation = true;
        throw;
    }
}

void ReferenceData::passOnDamage(const DatabaseError &error)
{
    if (error.kind() != DatabaseError::Kind::Connection)
        return;
    ++m_errorCount;
    m_skipNextActivation = true;
    throw error;
}

void ReferenceData::reportTableError(const QString &message)
{
    ++m_errorCount;
    m_skipNextActivation = true;
    m_sink.showTableError(message);
}

template <class Row>
int ReferenceData::loadRows(RowTableModel<Row> &model, const QString &table, const QString &sql)
{
    DbQuery &query = m_database.query();
    query.setSql(sql);
    try {
        query.open();
    } catch (const DatabaseError &error) {
        passOnDamage(error);
        reportTableError(tableErrorText(table));
        return -1;
    }

    const int count = query.recordCount();
    QVector<Row> rows;
    rows.reserve(count);
    std::optional<QString> failure;
    if (count > 0) {
        query.first();
        try {
            for (int i = 0; i < count; ++i) {
                rows.append(Row::read(query));
                query.next();
            }
        } catch (const DatabaseError &error) {
            failure = columnErrorText(table, error.message());
        }
    }
    if (failure) {
        reportTableError(*failure);
        return -1;
    }
    model.setRows(std::move(rows));
    return count;
}

void ReferenceData::loadTubes()
{
    const BusyScope busy(*this);
    connect();
    if (loadRows(m_tubes, QStringLiteral("Tubes"), QStringLiteral("select * from Tubes")) <= 0)
        return;
    const QString sql = m_vars.selectedMaterialId == FiberglassMaterial::Sn10000
                            ? QStringLiteral("select * from TubesSt where TypeID=1")
                            : QStringLiteral("select * from TubesSt where TypeID=0");
    loadRows(m_fiberglassTubes, QStringLiteral("TubesSt"), sql);
}

void ReferenceData::loadMaterials()
{
    const BusyScope busy(*this);
    connect();
    loadRows(m_materials, QStringLiteral("Materials"), QStringLiteral("select * from Materials"));
}

void ReferenceData::loadSoils()
{
    const BusyScope busy(*this);
    connect();
    loadRows(m_soils, QStringLiteral("Soiles"), QStringLiteral("select * from Soiles"));
}

void ReferenceData::reloadTubes()
{
    m_tubes.clear();
    m_fiberglassTubes.clear();
    loadTubes();
}

void ReferenceData::reloadMaterials()
{
    m_materials.clear();
    loadMaterials();
}

void ReferenceData::reloadSoils()
{
    m_soils.clear();
    loadSoils();
}

void ReferenceData::reloadAll()
{
    reloadTubes();
    reloadMaterials();
    reloadSoils();
}

ReferenceData::Activation ReferenceData::reloadOnActivation()
{
    if (m_busy > 0)
        return Activation::Skipped;
    if (m_skipNextActivation) {
        m_skipNextActivation = false;
        return Activation::Skipped;
    }
    const int errorsBefore = m_errorCount;
    reloadAll();
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

QString ReferenceData::soilNameById(std::int32_t id)
{
    return nameById(QStringLiteral("Soiles"), QStringLiteral("SoilId"), id);
}

QString ReferenceData::materialNameById(std::int32_t id)
{
    return nameById(QStringLiteral("Materials"), QStringLiteral("TubeMaterialId"), id);
}

QString ReferenceData::nameById(const QString &table, const QString &idColumn, std::int32_t id)
{
    const BusyScope busy(*this);
    connect();
    DbQuery &query = m_database.query();
    query.setSql(QStringLiteral("select * from ") + table);
    try {
        query.open();
    } catch (const DatabaseError &error) {
        passOnDamage(error);
        reportTableError(tableErrorText(table));
        return QString();
    }
    if (query.recordCount() == 0)
        return QString();

    // The first row with the id names it.
    QString name = ownItemName();
    std::optional<QString> failure;
    try {
        for (query.first(); !query.eof(); query.next()) {
            if (query.asInteger(idColumn) == id) {
                name = query.asText(QStringLiteral("Descr"));
                break;
            }
        }
    } catch (const DatabaseError &error) {
        failure = columnErrorText(table, error.message());
    }
    if (failure) {
        reportTableError(*failure);
        return QString();
    }
    return name;
}
