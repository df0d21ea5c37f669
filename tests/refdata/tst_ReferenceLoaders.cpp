// The loaders, the activation reload with its guard and the name lookups of
// ReferenceData, against small SQLite databases made here.

#include "SqliteFixture.h"

#include "model/CalcVariables.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// What an activation that failed for the database reads as: none of the three.
const auto Failed = ReferenceData::Activation(-1);

// Records what the window would show; can act while "the box is open".
class RecordingSink : public ReferenceErrorSink
{
public:
    void showTableError(const QString &message) override
    {
        messages << message;
        if (whileShown)
            whileShown();
    }

    QStringList messages;
    std::function<void()> whileShown;
};

QList<double> tubeOutsideDiameters(const TubeTableModel &model)
{
    QList<double> values;
    for (const TubeRow &row : model.rows())
        values << row.Dout;
    return values;
}

QList<double> fiberglassDiameters(const FiberglassTubeTableModel &model)
{
    QList<double> values;
    for (const FiberglassTubeRow &row : model.rows())
        values << row.D;
    return values;
}

} // namespace

class ReferenceLoadersTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void loadsRowsInQueryOrder();
    void nullsReadAsZeroAndEmpty();
    void fiberglassTubesFollowChosenMaterial_data();
    void fiberglassTubesFollowChosenMaterial();
    void loadingTwiceGivesSameRows();
    void emptyTubesStopsBeforeFiberglassTubes();
    void unreadableTableKeepsGrid_data();
    void unreadableTableKeepsGrid();
    void missingDatabaseThrowsNamingFile();

    void activationReloadsEveryGrid();
    void activationAfterTableErrorIsSkippedOnce();
    void activationAfterConnectionErrorIsSkippedOnce();
    void activationDuringLoadIsSkipped();

    void picksCopyRowsAndChooseTubeGrid();

    void nameLookups_data();
    void nameLookups();
    void nameLookupOnUnreadableTable();

private:
    void rebuild(const QString &sql);
    QString dbPath() const { return QDir(m_base).filePath(QStringLiteral("data.sqlite")); }

    QTemporaryDir m_dir;
    QString m_base;
    CalcVariables m_vars;
};

void ReferenceLoadersTest::init()
{
    QVERIFY(m_dir.isValid());
    m_base = QDir(m_dir.path()).filePath(QStringLiteral("Base"));
    QDir().mkpath(m_base);
    rebuild(SqliteFixture::referenceSql());
    m_vars.selectedMaterialId = -1;
    m_vars.selectedSoilId = -1;
}

void ReferenceLoadersTest::rebuild(const QString &sql)
{
    QVERIFY(SqliteFixture::create(dbPath(), sql));
}

void ReferenceLoadersTest::loadsRowsInQueryOrder()
{
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.loadTubes());
    QVERIFY(data.loadMaterials());
    QVERIFY(data.loadSoils());

    QVERIFY(sink.messages.isEmpty());
    QCOMPARE(tubeOutsideDiameters(*data.tubes()), (QList<double>{0.4, 0.16, 0.2}));
    const TubeRow &first = data.tubes()->row(0);
    QCOMPARE(first.Din, 0.348);
    QCOMPARE(first.s, 2.0);
    QCOMPARE(first.Lv, 26.1);
    QCOMPARE(first.Lsh, 33.5);
    QCOMPARE(fiberglassDiameters(*data.fiberglassTubes()), (QList<double>{0.5, 0.3}));

    QCOMPARE(data.materials()->rowCount(), 4);
    const MaterialRow &fiberglass = data.materials()->row(1);
    QCOMPARE(fiberglass.TubeMaterialId, 5);
    QCOMPARE(fiberglass.Descr, QStringLiteral("Стеклопластик SN 10000"));
    QCOMPARE(fiberglass.Eo_MPa, 25000.0);
    QCOMPARE(fiberglass.Etau_MPa, 20000.0);
    QCOMPARE(fiberglass.Mu, 0.3);
    QCOMPARE(fiberglass.Sigmao_MPa, 1000.0);
    QCOMPARE(data.materials()->row(2).TubeMaterialId, 4);

    QCOMPARE(data.soils()->rowCount(), 2);
    const SoilRow &sand = data.soils()->row(0);
    QCOMPARE(sand.SoilId, 4);
    QCOMPARE(sand.Descr, QStringLiteral("Песок мелкий"));
    QCOMPARE(sand.Gamma_kN_m3, 19.0);
    QCOMPARE(sand.Egr_MPa, 5.0);
    QCOMPARE(sand.Fi, 30.0);
    QCOMPARE(sand.Kk, 1.3);
}

void ReferenceLoadersTest::nullsReadAsZeroAndEmpty()
{
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.reloadAll());
    QVERIFY(sink.messages.isEmpty());
    QCOMPARE(data.tubes()->row(2).Lsh, 0.0);
    QCOMPARE(data.fiberglassTubes()->row(1).t, 0.0);
    QCOMPARE(data.materials()->row(3).Descr, QString());
    QCOMPARE(data.materials()->row(3).Mu, 0.0);
    QCOMPARE(data.soils()->row(1).Descr, QString());
    QCOMPARE(data.soils()->row(1).Kk, 0.0);
}

void ReferenceLoadersTest::fiberglassTubesFollowChosenMaterial_data()
{
    QTest::addColumn<int>("materialId");
    QTest::addColumn<QList<double>>("diameters");

    const QList<double> typeZero{0.5, 0.3};
    QTest::newRow("SN 10000 (5)") << 5 << QList<double>{1.0};
    QTest::newRow("SN 5000 (4)") << 4 << typeZero;
    QTest::newRow("none chosen (-1)") << -1 << typeZero;
    QTest::newRow("polymer (1)") << 1 << typeZero;
    QTest::newRow("id 2 is no TypeID") << 2 << typeZero;
}

void ReferenceLoadersTest::fiberglassTubesFollowChosenMaterial()
{
    QFETCH(int, materialId);
    QFETCH(QList<double>, diameters);

    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    m_vars.selectedMaterialId = materialId;
    QVERIFY(data.loadTubes());
    QCOMPARE(fiberglassDiameters(*data.fiberglassTubes()), diameters);
    QCOMPARE(data.tubes()->rowCount(), 3);
}

void ReferenceLoadersTest::loadingTwiceGivesSameRows()
{
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.loadTubes());
    QVERIFY(data.loadTubes());
    QVERIFY(data.loadSoils());
    QVERIFY(data.loadSoils());
    QCOMPARE(tubeOutsideDiameters(*data.tubes()), (QList<double>{0.4, 0.16, 0.2}));
    QCOMPARE(data.fiberglassTubes()->rowCount(), 2);
    QCOMPARE(data.soils()->rowCount(), 2);
}

void ReferenceLoadersTest::emptyTubesStopsBeforeFiberglassTubes()
{
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.loadTubes());
    QCOMPARE(data.fiberglassTubes()->rowCount(), 2);

    rebuild(SqliteFixture::referenceSql() + QStringLiteral("DELETE FROM Tubes;"));
    // A page change loads without emptying first: the fiberglass grid keeps
    // the rows of the last load, even for another material.
    m_vars.selectedMaterialId = 5;
    QVERIFY(data.loadTubes());
    QCOMPARE(data.tubes()->rowCount(), 0);
    QCOMPARE(fiberglassDiameters(*data.fiberglassTubes()), (QList<double>{0.5, 0.3}));

    // An activation empties both.
    QVERIFY(data.reloadTubes());
    QCOMPARE(data.tubes()->rowCount(), 0);
    QCOMPARE(data.fiberglassTubes()->rowCount(), 0);
    QVERIFY(sink.messages.isEmpty());
}

void ReferenceLoadersTest::unreadableTableKeepsGrid_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("tubes");
    QTest::addColumn<int>("fiberglassTubes");
    QTest::addColumn<int>("materials");
    QTest::addColumn<int>("soils");

    QTest::newRow("no Tubes") << "DROP TABLE Tubes;"
                              << "Не могу открыть таблицу: Tubes" << 3 << 2 << 4 << 2;
    QTest::newRow("no TubesSt") << "DROP TABLE TubesSt;"
                                << "Не могу открыть таблицу: TubesSt" << 3 << 2 << 4 << 2;
    QTest::newRow("TubesSt without TypeID")
        << "DROP TABLE TubesSt; CREATE TABLE TubesSt (D REAL, s REAL, t REAL); INSERT INTO TubesSt VALUES (9, 9, 9);"
        << "Не могу открыть таблицу: TubesSt" << 3 << 2 << 4 << 2;
    QTest::newRow("no Materials") << "DROP TABLE Materials;"
                                  << "Не могу открыть таблицу: Materials" << 3 << 2 << 4 << 2;
    QTest::newRow("no Soiles") << "DROP TABLE Soiles;"
                               << "Не могу открыть таблицу: Soiles" << 3 << 2 << 4 << 2;
    QTest::newRow("Soiles without Kk")
        << "DROP TABLE Soiles; CREATE TABLE Soiles (SoilId, Descr, Gamma_kN_m3, Egr_MPa, Fi); "
           "INSERT INTO Soiles VALUES (1, 'x', 1, 2, 3);"
        << "Не могу прочитать таблицу Soiles: нет столбца Kk" << 3 << 2 << 4 << 2;
    QTest::newRow("text in a number column")
        << "UPDATE Materials SET Eo_MPa = 'много' WHERE TubeMaterialId = 4;"
        << "Не могу прочитать таблицу Materials: в столбце Eo_MPa не число: «много»" << 3 << 2 << 4 << 2;
}

void ReferenceLoadersTest::unreadableTableKeepsGrid()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);

    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.reloadAll());
    QVERIFY(sink.messages.isEmpty());

    rebuild(SqliteFixture::referenceSql() + damage);
    QVERIFY(data.loadTubes());
    QVERIFY(data.loadMaterials());
    QVERIFY(data.loadSoils());
    QCOMPARE(sink.messages, QStringList{message});
    QTEST(data.tubes()->rowCount(), "tubes");
    QTEST(data.fiberglassTubes()->rowCount(), "fiberglassTubes");
    QTEST(data.materials()->rowCount(), "materials");
    QTEST(data.soils()->rowCount(), "soils");
}

void ReferenceLoadersTest::missingDatabaseThrowsNamingFile()
{
    QFile::remove(dbPath());
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    for (auto load : {&ReferenceData::loadTubes, &ReferenceData::loadMaterials, &ReferenceData::loadSoils}) {
        const Result<> loaded = (data.*load)();
        QVERIFY2(!loaded, "a missing database was loaded");
        // As the general error box shows it.
        QCOMPARE(loaded.message(), QStringLiteral("Не найден файл справочной базы данных: %1.").arg(dbPath()));
    }
    QVERIFY(sink.messages.isEmpty());
}

void ReferenceLoadersTest::activationReloadsEveryGrid()
{
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Reloaded);
    QCOMPARE(data.tubes()->rowCount(), 3);
    QCOMPARE(data.fiberglassTubes()->rowCount(), 2);
    QCOMPARE(data.materials()->rowCount(), 4);
    QCOMPARE(data.soils()->rowCount(), 2);

    // Every activation reads the database again: changes show.
    rebuild(SqliteFixture::referenceSql() + QStringLiteral("DELETE FROM Soiles WHERE SoilId = 2;"));
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Reloaded);
    QCOMPARE(data.soils()->rowCount(), 1);
}

void ReferenceLoadersTest::activationAfterTableErrorIsSkippedOnce()
{
    rebuild(SqliteFixture::referenceSql() + QStringLiteral("DROP TABLE Materials; DROP TABLE Soiles;"));
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);

    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::ReloadedWithErrors);
    const QStringList once{QStringLiteral("Не могу открыть таблицу: Materials"),
                           QStringLiteral("Не могу открыть таблицу: Soiles")};
    QCOMPARE(sink.messages, once);
    QCOMPARE(data.tubes()->rowCount(), 3); // the tables that could be read are

    // Closing the message activates the window: no reload, no message.
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Skipped);
    QCOMPARE(sink.messages, once);

    // The next real return tries again, and shows the messages again.
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::ReloadedWithErrors);
    QCOMPARE(sink.messages.size(), 4);
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Skipped);

    // Once mended, the grids fill and activations reload every time.
    rebuild(SqliteFixture::referenceSql());
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Reloaded);
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Reloaded);
    QCOMPARE(data.soils()->rowCount(), 2);
}

void ReferenceLoadersTest::activationAfterConnectionErrorIsSkippedOnce()
{
    QFile::remove(dbPath());
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(!data.reloadOnActivation());
    QCOMPARE(data.errorCount(), 1);
    // The window shows the general error box; closing it activates again.
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Skipped);
    QVERIFY(!data.reloadOnActivation());
    QCOMPARE(data.errorCount(), 2);

    // A page-change load that fails likewise spares the activation after it.
    QVERIFY(!data.loadSoils());
    rebuild(SqliteFixture::referenceSql());
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Skipped);
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::Reloaded);
    QVERIFY(sink.messages.isEmpty());
}

void ReferenceLoadersTest::activationDuringLoadIsSkipped()
{
    rebuild(SqliteFixture::referenceSql() + QStringLiteral("DROP TABLE Tubes;"));
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QList<ReferenceData::Activation> nested;
    // The message box runs its own event loop, in which the main window can
    // be activated while the reload that showed it is still under way.
    sink.whileShown = [&] { nested << data.reloadOnActivation().valueOr(Failed); };
    QCOMPARE(data.reloadOnActivation().valueOr(Failed), ReferenceData::Activation::ReloadedWithErrors);
    QCOMPARE(nested, QList<ReferenceData::Activation>{ReferenceData::Activation::Skipped});
    QCOMPARE(sink.messages.size(), 1);
    QCOMPARE(data.materials()->rowCount(), 4);
}

void ReferenceLoadersTest::picksCopyRowsAndChooseTubeGrid()
{
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    m_vars.applyCatalogue();
    QVERIFY(data.reloadAll());
    QVERIFY(!data.fiberglassTubesVisible());

    // A row the grid does not have changes nothing.
    QVERIFY(!data.pickTube(3));
    QVERIFY(!data.pickMaterial(-1));
    QVERIFY(!data.pickSoil(2));
    QCOMPARE(m_vars.value(Slot::Din), 0.348);
    QCOMPARE(m_vars.selectedMaterialId, -1);

    QVERIFY(data.pickMaterial(1)); // id 5
    QVERIFY(data.fiberglassTubesVisible());
    QCOMPARE(m_vars.selectedMaterialId, 5);
    QCOMPARE(m_vars.value(Slot::Sigmat), 500.0);
    // The tube grids are not reloaded by the click, only by the next load.
    QCOMPARE(fiberglassDiameters(*data.fiberglassTubes()), (QList<double>{0.5, 0.3}));
    QVERIFY(data.loadTubes());
    QCOMPARE(fiberglassDiameters(*data.fiberglassTubes()), QList<double>{1.0});
    QVERIFY(data.pickFiberglassTube(0));
    QCOMPARE(m_vars.value(Slot::Din), 1.0);
    QCOMPARE(m_vars.value(Slot::Dout), 0.0);

    QVERIFY(data.pickSoil(0));
    QCOMPARE(m_vars.selectedSoilId, 4);
    QCOMPARE(m_vars.value(Slot::Kk), 1.3);

    // A reload keeps the choice of grid and ids.
    QVERIFY(data.reloadAll());
    QVERIFY(data.fiberglassTubesVisible());
    QCOMPARE(m_vars.selectedSoilId, 4);

    QVERIFY(data.pickMaterial(3)); // id 7, no fiberglass
    QVERIFY(!data.fiberglassTubesVisible());
    QVERIFY(data.pickTube(1));
    QCOMPARE(m_vars.value(Slot::Dout), 0.16);
}

void ReferenceLoadersTest::nameLookups_data()
{
    QTest::addColumn<QString>("extraSql");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("soil");
    QTest::addColumn<QString>("material");

    QTest::newRow("found") << "" << 4 << "Песок мелкий"
                           << "Стеклопластик SN 5000";
    QTest::newRow("nothing chosen") << "" << -1 << "свой"
                                    << "свой";
    QTest::newRow("unknown id") << "" << 3 << "свой"
                                << "свой";
    QTest::newRow("NULL description") << "" << 2 << ""
                                      << "свой";
    QTest::newRow("empty tables") << "DELETE FROM Soiles; DELETE FROM Materials;" << -1 << ""
                                  << "";
}

void ReferenceLoadersTest::nameLookups()
{
    QFETCH(QString, extraSql);
    QFETCH(int, id);
    QFETCH(QString, soil);
    QFETCH(QString, material);

    rebuild(SqliteFixture::referenceSql() + extraSql);
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QCOMPARE(data.soilNameById(id).valueOr(QStringLiteral("<failed>")), soil);
    QCOMPARE(data.materialNameById(id).valueOr(QStringLiteral("<failed>")), material);
    QVERIFY(sink.messages.isEmpty());

    // The filter is gone afterwards: a load reads every row.
    QVERIFY(data.loadMaterials());
    QCOMPARE(data.materials()->rowCount(), extraSql.isEmpty() ? 4 : 0);
}

void ReferenceLoadersTest::nameLookupOnUnreadableTable()
{
    rebuild(SqliteFixture::referenceSql() + QStringLiteral("DROP TABLE Soiles;"));
    RecordingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QCOMPARE(data.soilNameById(4).valueOr(QStringLiteral("<failed>")), QString());
    QCOMPARE(sink.messages, QStringList{QStringLiteral("Не могу открыть таблицу: Soiles")});
    QCOMPARE(data.materialNameById(4).valueOr(QStringLiteral("<failed>")), QStringLiteral("Стеклопластик SN 5000"));

    QFile::remove(dbPath());
    QVERIFY(!data.materialNameById(4));
}

QTEST_GUILESS_MAIN(ReferenceLoadersTest)
#include "tst_ReferenceLoaders.moc"
