#pragma once

#include "model/Result.h"
#include "refdata/ReferenceDatabase.h"
#include "refdata/FiberglassTubeTableModel.h"
#include "refdata/MaterialTableModel.h"
#include "refdata/SoilTableModel.h"
#include "refdata/TubeTableModel.h"

#include <QString>

#include <cstdint>

class ReferenceErrorSink;
class CalcVariables;

// The reference data as the main window uses it: the reference database, the four
// grid models, the loaders, the clicks and the name lookups.
//
// Failures.  A table that cannot be read is reported to the sink as
// "Не могу открыть таблицу: <table>" and its grid keeps what it had.  A
// database that cannot be opened, or that a statement finds damaged or too
// large to read, ends the operation under way: it fails with a text naming
// the file, as the general error box shows it (with its full stop).
//
// The window puts its views on tubes(), fiberglassTubes(), materials() and
// soils(); shows the fiberglass tube grid instead of the corrugated one
// while fiberglassTubesVisible(); calls reloadOnActivation() when it becomes
// active, the page's loader when a reference page becomes current, and
// pick...() with the clicked row.
class ReferenceData
{
public:
    enum class Activation {
        Reloaded,           // all grids read without an error
        ReloadedWithErrors, // read; at least one table was reported to the sink
        Skipped,            // the activation followed an error message (see reloadOnActivation)
    };

    // An empty base folder means "Base" beside the executable.
    ReferenceData(CalcVariables &vars, ReferenceErrorSink &sink, const QString &baseDir = QString());
    ReferenceData(const ReferenceData &) = delete;
    ReferenceData &operator=(const ReferenceData &) = delete;

    ReferenceDatabase &database() { return m_database; }

    TubeTableModel *tubes() { return &m_tubes; }
    FiberglassTubeTableModel *fiberglassTubes() { return &m_fiberglassTubes; }
    MaterialTableModel *materials() { return &m_materials; }
    SoilTableModel *soils() { return &m_soils; }

    // Fill the grids from the database.  loadTubes() reads Tubes and then
    // the fiberglass tubes of the chosen material kind (TypeID 1 for
    // material 5, TypeID 0 otherwise); when Tubes has no rows or cannot be
    // read it stops there and the fiberglass grid keeps what it had.
    Result<> loadTubes();
    Result<> loadMaterials();
    Result<> loadSoils();
    // Empty the grids first, then load.
    Result<> reloadTubes();
    Result<> reloadMaterials();
    Result<> reloadSoils();
    // reloadTubes(), reloadMaterials() and reloadSoils() in this order; the
    // first database failure ends it.
    Result<> reloadAll();

    // reloadAll() for an activation of the main window, guarded against the
    // loop in which closing an error message activates the window, which
    // reloads and shows the message again.  After any error has been
    // reported (to the sink, or as a failure for the general error box) the next
    // activation, the one that closing the message causes, is skipped; the
    // one after it reads the database again.  An activation while a load is
    // under way (from the message box's own event loop) is skipped as well.
    Result<Activation> reloadOnActivation();
    // The number of errors reported so far, to the sink or as failures.
    int errorCount() const { return m_errorCount; }

    // Clicks on a grid row: copy the row into the variables.  Each returns
    // false, doing nothing, for a row the grid does not have.  After a
    // material the window shows the tube grid that fiberglassTubesVisible()
    // names and updates its fiberglass panel.
    bool pickTube(int row);
    bool pickFiberglassTube(int row);
    bool pickMaterial(int row);
    bool pickSoil(int row);
    // False at first; set by every material click.
    bool fiberglassTubesVisible() const { return m_fiberglassTubesVisible; }
    // The same for a material chosen earlier and put back without a click.
    void setFiberglassTubesVisible(bool visible) { m_fiberglassTubesVisible = visible; }

    // The description of a soil or material by id: "свой" when the table
    // has no row with the id (the id -1 of nothing chosen), the empty text
    // when the table is empty or cannot be read.
    Result<QString> soilNameById(std::int32_t id);
    Result<QString> materialNameById(std::int32_t id);

    static QString tableErrorText(const QString &table);
    static QString ownItemName();

private:
    class BusyScope;

    Result<> connect();
    // Reads a table into its grid: the number of rows, or -1 for a table
    // that could not be read and was reported to the sink.
    template <class Row>
    Result<int> loadRows(RowTableModel<Row> &model, const QString &table, const QString &sql);
    // Runs the query: false for a table that could not be run and was
    // reported to the sink.  A statement that found the whole database
    // damaged, or too large to read, fails as a database that cannot be
    // opened does.
    Result<bool> openTable(const QString &table, const QString &sql);
    Result<QString> nameById(const QString &table, const QString &idColumn, std::int32_t id);
    void reportTableError(const QString &message);
    // The failure of the whole database, counted as an error reported.
    Result<> failDatabase(const QString &message);

    CalcVariables &m_vars;
    ReferenceErrorSink &m_sink;
    ReferenceDatabase m_database;
    TubeTableModel m_tubes;
    FiberglassTubeTableModel m_fiberglassTubes;
    MaterialTableModel m_materials;
    SoilTableModel m_soils;
    bool m_fiberglassTubesVisible = false;
    int m_busy = 0;
    bool m_skipNextActivation = false;
    int m_errorCount = 0;
};
