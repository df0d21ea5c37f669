// What a click on a reference row writes into the variables, and which tube
// grid a material shows.

#include "model/CalcVariables.h"
#include "refdata/FiberglassTubeRow.h"
#include "refdata/MaterialRow.h"
#include "refdata/ReferenceTransfer.h"
#include "refdata/SoilRow.h"
#include "refdata/TubeRow.h"

#include <QTest>

class ReferenceTransferTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void tubeFillsSlotsOneToFive();
    void fiberglassTubeClearsOutsideDiameter();
    void material_data();
    void material();
    void soil();

private:
    CalcVariables m_vars;
};

void ReferenceTransferTest::init()
{
    m_vars.applyCatalogue();
    m_vars.selectedMaterialId = -1;
    m_vars.selectedSoilId = -1;
}

void ReferenceTransferTest::tubeFillsSlotsOneToFive()
{
    ReferenceTransfer::applyTube(m_vars, TubeRow{0.546, 0.63, 3.0, 41.0, 53.0});
    const double expected[] = {0.546, 0.63, 3.0, 41.0, 53.0};
    for (int slot = 1; slot <= 5; ++slot)
        QCOMPARE(m_vars.at(slot).value(), expected[slot - 1]);
    QCOMPARE(m_vars.value(Slot::DSt), 0.3); // the fiberglass diameter stays
}

void ReferenceTransferTest::fiberglassTubeClearsOutsideDiameter()
{
    ReferenceTransfer::applyFiberglassTube(m_vars, FiberglassTubeRow{1.2, 0.0046, 0.0091});
    QCOMPARE(m_vars.value(Slot::DSt), 1.2);
    QCOMPARE(m_vars.value(Slot::Din), 1.2);
    QCOMPARE(m_vars.value(Slot::Dout), 0.0);
    QCOMPARE(m_vars.value(Slot::sSt), 0.0046);
    QCOMPARE(m_vars.value(Slot::t), 0.0091);
    QCOMPARE(m_vars.value(Slot::s), 2.0); // the corrugated wall stays
}

void ReferenceTransferTest::material_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("fiberglassGrid");

    QTest::newRow("polyethylene (1)") << 1 << false;
    QTest::newRow("SN 5000 (4)") << 4 << true;
    QTest::newRow("SN 10000 (5)") << 5 << true;
    QTest::newRow("other id (6)") << 6 << false;
    QTest::newRow("id 0") << 0 << false;
}

void ReferenceTransferTest::material()
{
    QFETCH(int, id);
    QFETCH(bool, fiberglassGrid);

    const MaterialRow row{id, QStringLiteral("x"), 25000.0, 0.3, 1000.0, 20000.0};
    QCOMPARE(ReferenceTransfer::applyMaterial(m_vars, row), fiberglassGrid);
    QCOMPARE(m_vars.selectedMaterialId, id);
    QCOMPARE(m_vars.value(Slot::Eo), 25000.0);
    QCOMPARE(m_vars.value(Slot::Etau), 20000.0);
    QCOMPARE(m_vars.value(Slot::Mu), 0.3);
    QCOMPARE(m_vars.value(Slot::Sigmao), 1000.0);
    QCOMPARE(m_vars.value(Slot::Et), 20000.0); // the long-term modulus
    QCOMPARE(m_vars.value(Slot::MuSt), 0.3);
    QCOMPARE(m_vars.value(Slot::Sigmat), 500.0); // half the short-term strength
}

void ReferenceTransferTest::soil()
{
    ReferenceTransfer::applySoil(m_vars, SoilRow{6, QStringLiteral("Супесь"), 19.5, 3.0, 24.0, 1.4});
    QCOMPARE(m_vars.value(Slot::Gamma), 19.5);
    QCOMPARE(m_vars.value(Slot::Egr), 3.0);
    QCOMPARE(m_vars.value(Slot::fi), 24.0);
    QCOMPARE(m_vars.value(Slot::Kk), 1.4);
    QCOMPARE(m_vars.value(Slot::GammaGrSt), 19.5);
    QCOMPARE(m_vars.value(Slot::EgrSt), 3.0);
    QCOMPARE(m_vars.selectedSoilId, 6);
    QCOMPARE(m_vars.selectedMaterialId, -1);
}

QTEST_GUILESS_MAIN(ReferenceTransferTest)
#include "tst_ReferenceTransfer.moc"
