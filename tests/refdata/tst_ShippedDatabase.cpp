// The reference database that the build lays out beside the executables:
// complete, consistent, holding the catalogue defaults, and made the same
// byte for byte from the same SQL text.

#include "model/CalcVariables.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FailingSink : public ReferenceErrorSink
{
public:
    void showTableError(const QString &message) override { messages << message; }
    QStringList messages;
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isRussian(const QString &text)
{
    static const QRegularExpression cyrillic(QStringLiteral("[а-яА-ЯёЁ]"));
    return text.contains(cyrillic);
}

} // namespace

class ShippedDatabaseTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void corrugatedTubes();
    void fiberglassTubesOfBothClasses_data();
    void fiberglassTubesOfBothClasses();
    void materials();
    void soils();
    void catalogueDefaultsAreRows();
    void generationIsReproducible();

private:
    QString m_base;
    CalcVariables m_vars;
};

void ShippedDatabaseTest::initTestCase()
{
    const QFileInfo db(QStringLiteral(PIPECALC_REFERENCE_DB));
    QVERIFY2(db.isFile(), qPrintable(db.filePath()));
    m_base = db.absolutePath();
    m_vars.applyCatalogue();
}

void ShippedDatabaseTest::corrugatedTubes()
{
    FailingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.loadTubes());
    QVERIFY(sink.messages.isEmpty());
    const QVector<TubeRow> &tubes = data.tubes()->rows();
    QVERIFY(tubes.size() >= 12);
    QCOMPARE(tubes.first().Dout, 0.11);
    QCOMPARE(tubes.last().Dout, 1.2);
    double previous = 0.0;
    for (const TubeRow &t : tubes) {
        const QByteArray row = QByteArray::number(t.Dout);
        QVERIFY2(t.Dout > previous, row); // listed from small to large
        QVERIFY2(t.Dout > t.Din && t.Din > 0.8 * t.Dout, row);
        QVERIFY2(t.Lsh > t.Lv && t.Lv > 2 * t.s && t.s > 0.0, row);
        // the corrugation is higher than twice its shell
        QVERIFY2((t.Dout - t.Din) * 1000.0 / 2.0 > 2 * t.s, row);
        previous = t.Dout;
    }
}

void ShippedDatabaseTest::fiberglassTubesOfBothClasses_data()
{
    QTest::addColumn<int>("materialId");
    QTest::newRow("SN 5000, TypeID 0") << 4;
    QTest::newRow("SN 10000, TypeID 1") << 5;
}

void ShippedDatabaseTest::fiberglassTubesOfBothClasses()
{
    QFETCH(int, materialId);
    FailingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    m_vars.selectedMaterialId = materialId;
    QVERIFY(data.loadTubes());
    m_vars.selectedMaterialId = -1;
    QVERIFY(sink.messages.isEmpty());
    const QVector<FiberglassTubeRow> &tubes = data.fiberglassTubes()->rows();
    QVERIFY(tubes.size() >= 8);
    QCOMPARE(tubes.first().D, 0.3);
    QCOMPARE(tubes.last().D, 2.4);
    for (const FiberglassTubeRow &t : tubes)
        QVERIFY2(t.s > 0.0 && t.t > 0.0 && 2 * t.s + t.t < t.D / 20, QByteArray::number(t.D));
}

void ShippedDatabaseTest::materials()
{
    FailingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.loadMaterials());
    QVERIFY(sink.messages.isEmpty());
    const MaterialTableModel &m = *data.materials();
    for (int id = 1; id <= 5; ++id)
        QVERIFY2(m.findId(id) >= 0, QByteArray::number(id));
    QVERIFY(m.row(m.findId(4)).Descr.contains(QStringLiteral("SN 5000")));
    QVERIFY(m.row(m.findId(5)).Descr.contains(QStringLiteral("SN 10000")));
    for (const MaterialRow &r : m.rows()) {
        QVERIFY2(isRussian(r.Descr), qPrintable(r.Descr));
        QVERIFY2(r.Eo_MPa >= r.Etau_MPa && r.Etau_MPa > 0 && r.Mu > 0 && r.Mu < 0.5 && r.Sigmao_MPa > 0,
                 qPrintable(r.Descr));
    }
}

void ShippedDatabaseTest::soils()
{
    FailingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.loadSoils());
    QVERIFY(sink.messages.isEmpty());
    QVERIFY(data.soils()->rowCount() >= 6);
    for (const SoilRow &r : data.soils()->rows()) {
        QVERIFY2(isRussian(r.Descr), qPrintable(r.Descr));
        QVERIFY2(r.Gamma_kN_m3 > 10 && r.Egr_MPa > 0 && r.Fi > 0 && r.Fi < 90 && r.Kk > 0, qPrintable(r.Descr));
        QCOMPARE(data.soilNameById(r.SoilId).valueOr(QStringLiteral("<failed>")), r.Descr);
    }
}

void ShippedDatabaseTest::catalogueDefaultsAreRows()
{
    FailingSink sink;
    ReferenceData data(m_vars, sink, m_base);
    QVERIFY(data.reloadAll());
    const CalcVariables &v = m_vars;

    const int tube = data.tubes()->findRow([&v](const TubeRow &r) {
        return r.Din == v.value(Slot::Din) && r.Dout == v.value(Slot::Dout) && r.s == v.value(Slot::s)
               && r.Lv == v.value(Slot::Lv) && r.Lsh == v.value(Slot::Lsh);
    });
    QVERIFY(tube >= 0);
    const int material = data.materials()->findRow([&v](const MaterialRow &r) {
        return r.Eo_MPa == v.value(Slot::Eo) && r.Etau_MPa == v.value(Slot::Etau) && r.Mu == v.value(Slot::Mu)
               && r.Sigmao_MPa == v.value(Slot::Sigmao);
    });
    QVERIFY(material >= 0);
    QCOMPARE(data.materials()->row(material).TubeMaterialId, 1);
    const int soil = data.soils()->findRow(
        [&v](const SoilRow &r) { return r.Gamma_kN_m3 == v.value(Slot::Gamma) && r.Egr_MPa == v.value(Slot::Egr); });
    QVERIFY(soil >= 0);
}

void ShippedDatabaseTest::generationIsReproducible()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name : {"a.sqlite", "b.sqlite"}) {
        QProcess tool;
        tool.start(QStringLiteral(PIPECALC_MKDB),
                   {QStringLiteral(PIPECALC_REFERENCE_SQL), dir.filePath(QString::fromLatin1(name))});
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    }
    const QByteArray a = contents(dir.filePath(QStringLiteral("a.sqlite")));
    QVERIFY(!a.isEmpty());
    QCOMPARE(contents(dir.filePath(QStringLiteral("b.sqlite"))), a);
    QCOMPARE(contents(QStringLiteral(PIPECALC_REFERENCE_DB)), a);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.sqlite.tmp"))));
}

QTEST_GUILESS_MAIN(ShippedDatabaseTest)
#include "tst_ShippedDatabase.moc"
