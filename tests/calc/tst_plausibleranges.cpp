#include "CalcTestSupport.h"

#include "calc/CalcAssessment.h"
#include "calc/PlausibleRanges.h"
#include "model/FiberglassMaterial.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"
#include "refdata/ReferenceData.h"
#include "refdata/ReferenceErrorSink.h"
#include "refdata/ReferenceTransfer.h"

#include <QFileInfo>
#include <QtTest>

using CalcTestSupport::assign;

namespace {

// The laying and the wall by their place in the window's choice lists.
Laying layingAt(int index)
{
    return *FiberglassChoices::fromIndex<Laying>(index);
}

Wall wallAt(int index)
{
    return *FiberglassChoices::fromIndex<Wall>(index);
}

class CollectingSink : public ReferenceErrorSink
{
public:
    void showTableError(const QString &message) override { messages << message; }
    QStringList messages;
};

QString listed(const QVector<CalcWarning> &warnings)
{
    QStringList lines;
    for (const CalcWarning &w : warnings)
        lines << w.variable + QStringLiteral(": ") + w.message;
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestPlausibleRanges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    // A value outside its range: the run completes, and one warning names
    // the input to look at and says why (a result it leads to may be warned
    // of as well).
    void outside_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("wall");
        QTest::addColumn<QString>("assignments");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("message");
        const int hydraulic = int(CalcKind::Hydraulic), corrugated = int(CalcKind::Static);
        const int fiberglass = int(CalcKind::Fiberglass);
        QTest::newRow("slope in per cent") << hydraulic << 0 << 1 << "i_s=2"
                                           << "i_s"
                                           << "is = 2 — больше 0,5; не введён ли уклон в процентах или промилле?";
        QTest::newRow("roughness in metres") << hydraulic << 0 << 1 << "Ke=0.00002"
                                             << "Ke"
                                             << "Ke = 2E-5 мм — меньше 0,001 мм; не введена ли шероховатость в метрах?";
        QTest::newRow("viscosity in centistokes")
            << hydraulic << 0 << 1 << "nu=1.49"
            << "nu"
            << "ν = 1,49 м^2/с — больше 0,0001 м^2/с; не введена ли вязкость в мм^2/с (сСт)?";
        QTest::newRow("deeper than 30 m") << corrugated << 0 << 1 << "Htr=40"
                                          << "Htr"
                                          << "Hтр = 40 м — больше 30 м; глубже, чем применяется метод";
        QTest::newRow("above the ground")
            << corrugated << 0 << 1 << "Htr=-0.1"
            << "Htr"
            << "Hтр = -0,1 м — меньше 0 м; глубина отсчитывается от поверхности земли вниз";
        QTest::newRow("unit weight in N/m3")
            << corrugated << 0 << 1 << "Gamma=19000"
            << "Gamma"
            << "γ = 19000 кН/м^3 — больше 30 кН/м^3; не введён ли удельный вес в Н/м^3?";
        QTest::newRow("Poisson's ratio") << corrugated << 0 << 1 << "Mu=0.6"
                                         << "Mu"
                                         << "μ = 0,6 — больше 0,5; коэффициент Пуассона лежит между 0 и 0,5";
        QTest::newRow("axle mass in kilograms") << corrugated << 0 << 1 << "m=20000"
                                                << "m"
                                                << "m = 20000 10^3 кг — больше 100 10^3 кг; не введена ли масса в "
                                                   "килограммах?";
        QTest::newRow("outer diameter below the inner one")
            << corrugated << 0 << 1 << "Dout=0.3"
            << "Dout"
            << "e = -24 мм — наружный диаметр Dнаруж не больше внутреннего Dвнутр; проверьте диаметры трубы";
        QTest::newRow("layer in millimetres") << fiberglass << 0 << 1 << "h=2 sSt=12"
                                              << "sSt"
                                              << "s = 12 м — больше 0,1 м; не введена ли толщина в миллиметрах?";
        QTest::newRow("core in millimetres, three layers")
            << fiberglass << 0 << 1 << "h=2 t=24"
            << "t"
            << "t = 24 м — больше 0,2 м; не введено ли расстояние в миллиметрах?";
        QTest::newRow("angle in radians, trenchless") << fiberglass << 1 << 1 << "h=2 fi=0.52"
                                                      << "fi"
                                                      << "ϕ = 0,52° — меньше 5°; не введён ли угол в радианах?";
        QTest::newRow("water above the ground") << fiberglass << 0 << 1 << "h=2 Hv=-1"
                                                << "Hv"
                                                << "Hв = -1 м — меньше 0 м; уровень грунтовых вод выше поверхности "
                                                   "земли; глубина уровня отсчитывается от поверхности вниз";
        QTest::newRow("no cover, no traffic") << fiberglass << 0 << 1 << ""
                                              << "h"
                                              << "h = 0 м — труба не нагружена: над ней нет грунта, а транспорт не "
                                                 "задан, и все проверки дают 0 %; задайте глубину h или транспортную "
                                                 "нагрузку";
    }

    void outside()
    {
        QFETCH(int, kind);
        QFETCH(int, laying);
        QFETCH(int, wall);
        QFETCH(QString, assignments);
        QFETCH(QString, variable);
        QFETCH(QString, message);
        CalcVariables vars;
        vars.applyCatalogue();
        assign(vars, assignments);
        const CalcAssessment a = CalcAssessment::run(vars, CalcKind(kind), layingAt(laying), wallAt(wall));
        QVERIFY(a.completed());
        QVector<CalcWarning> named;
        for (const CalcWarning &w : a.warnings) {
            if (w.variable == variable)
                named << w;
            else // the velocity a steep slope leads to
                QCOMPARE(w.variable, QStringLiteral("Vnf"));
        }
        QCOMPARE(named.size(), 1);
        QCOMPARE(named.first().message, message);
    }

    // The same values where they do not matter, or within range.
    void inside_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("laying");
        QTest::addColumn<int>("wall");
        QTest::addColumn<QString>("assignments");
        QTest::newRow("hydraulic defaults") << int(CalcKind::Hydraulic) << 0 << 1 << "";
        QTest::newRow("static defaults") << int(CalcKind::Static) << 0 << 1 << "";
        QTest::newRow("static at the limits") << int(CalcKind::Static) << 0 << 1 << "Htr=30 Mu=0.5 Gamma=10 m=0";
        QTest::newRow("no ground water") << int(CalcKind::Static) << 0 << 1 << "Hw=-1";
        QTest::newRow("fiberglass under traffic without cover")
            << int(CalcKind::Fiberglass) << 0 << 1 << "M=20 FSt=0.38";
        QTest::newRow("fiberglass with cover") << int(CalcKind::Fiberglass) << 0 << 1 << "h=2";
        QTest::newRow("angle in radians, trench") << int(CalcKind::Fiberglass) << 0 << 1 << "h=2 fi=0.52 Kk=0";
        QTest::newRow("core in millimetres, single layer") << int(CalcKind::Fiberglass) << 0 << 0 << "h=2 t=24";
    }

    void inside()
    {
        QFETCH(int, kind);
        QFETCH(int, laying);
        QFETCH(int, wall);
        QFETCH(QString, assignments);
        CalcVariables vars;
        vars.applyCatalogue();
        assign(vars, assignments);
        const CalcAssessment a = CalcAssessment::run(vars, CalcKind(kind), layingAt(laying), wallAt(wall));
        QVERIFY(a.completed());
        QVERIFY2(a.warnings.isEmpty(), qPrintable(listed(a.warnings)));
    }

    // Millimetres typed as metres: the diameter is named, and so is the
    // velocity it leads to.
    void diameterInMillimetres()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        vars.setValue(Slot::Din, 348);
        const CalcAssessment a = CalcAssessment::run(vars, CalcKind::Hydraulic);
        QVERIFY(a.completed());
        QCOMPARE(a.warnings.size(), 2);
        QCOMPARE(a.warnings[0],
                 (CalcWarning{QStringLiteral("Din"),
                              QStringLiteral("Dвнутр = 348 м — больше 4 м; не введён ли диаметр в миллиметрах?")}));
        QCOMPARE(a.warnings[1].variable, QStringLiteral("Vnf"));
        QVERIFY2(a.warnings[1].message.contains(QStringLiteral(" м/с — больше 10 м/с; скорость вне области")),
                 qPrintable(a.warnings[1].message));
    }

    // Every tube, material and soil of the shipped database, at the default
    // inputs otherwise, is within the method's range: what the program ships
    // never warns.  A fiberglass pipe lies as deep as a corrugated one by
    // default (6 m); without cover it carries nothing and is warned of.
    void shippedDatabase()
    {
        const QFileInfo db(QStringLiteral(PIPECALC_REFERENCE_DB));
        QVERIFY2(db.isFile(), qPrintable(db.filePath()));
        CalcVariables vars;
        vars.applyCatalogue();
        CollectingSink sink;
        ReferenceData data(vars, sink, db.absolutePath());
        QVERIFY(data.loadMaterials());
        QVERIFY(data.loadSoils());
        QVERIFY(data.loadTubes());
        const QVector<TubeRow> tubes = data.tubes()->rows();
        const QVector<MaterialRow> materials = data.materials()->rows();
        const QVector<SoilRow> soils = data.soils()->rows();
        QVERIFY(sink.messages.isEmpty());
        QVERIFY(!tubes.isEmpty() && !materials.isEmpty() && !soils.isEmpty());

        int runs = 0;
        const auto expectNone = [&runs](CalcVariables &v, CalcKind kind, int laying, const QString &what) {
            const CalcAssessment a = CalcAssessment::run(v, kind, layingAt(laying), Wall::ThreeLayer);
            QVERIFY2(a.completed(), qPrintable(what + QStringLiteral(": ") + a.outcome.displayText()));
            QVERIFY2(a.warnings.isEmpty(), qPrintable(what + QLatin1Char('\n') + listed(a.warnings)));
            ++runs;
        };

        for (const MaterialRow &material : materials) {
            const bool glass = FiberglassMaterial::isFiberglass(material.TubeMaterialId);
            vars.applyCatalogue();
            ReferenceTransfer::applyMaterial(vars, material);
            QVector<FiberglassTubeRow> glassTubes;
            if (glass) {
                QVERIFY(data.loadTubes());
                glassTubes = data.fiberglassTubes()->rows();
                QVERIFY(!glassTubes.isEmpty());
            }
            for (const SoilRow &soil : soils) {
                ReferenceTransfer::applySoil(vars, soil);
                const QString where =
                    QStringLiteral("material %1, soil %2").arg(material.TubeMaterialId).arg(soil.SoilId);
                if (!glass) {
                    for (const TubeRow &tube : tubes) {
                        ReferenceTransfer::applyTube(vars, tube);
                        const QString what = where + QStringLiteral(", tube Dout %1").arg(tube.Dout);
                        expectNone(vars, CalcKind::Static, 0, what);
                        expectNone(vars, CalcKind::Hydraulic, 0, what);
                    }
                    continue;
                }
                for (const FiberglassTubeRow &tube : glassTubes) {
                    ReferenceTransfer::applyFiberglassTube(vars, tube);
                    const QString what = where + QStringLiteral(", fiberglass tube D %1").arg(tube.D);
                    if (tube.D < 2.4) {
                        expectNone(vars, CalcKind::Hydraulic, 0, what);
                    } else {
                        // The largest pipe running full down the default slope
                        // of 2 % reaches 10.6 m/s: a real velocity, beyond
                        // the range of the friction law.
                        const CalcAssessment full = CalcAssessment::run(vars, CalcKind::Hydraulic);
                        QCOMPARE(full.warnings.size(), 1);
                        QCOMPARE(full.warnings.first().variable, QStringLiteral("Vnf"));
                        vars.setValue(Slot::i_s, 0.01);
                        expectNone(vars, CalcKind::Hydraulic, 0, what + QStringLiteral(", slope 1 %"));
                        vars.setValue(Slot::i_s, 0.02);
                    }
                    vars.setValue(Slot::h, 6);
                    expectNone(vars, CalcKind::Fiberglass, 0, what + QStringLiteral(", trench"));
                    expectNone(vars, CalcKind::Fiberglass, 1, what + QStringLiteral(", trenchless"));
                    vars.setValue(Slot::h, 0);
                    const CalcAssessment bare =
                        CalcAssessment::run(vars, CalcKind::Fiberglass, Laying::Trench, Wall::ThreeLayer);
                    QCOMPARE(bare.warnings.size(), 1);
                    QCOMPARE(bare.warnings.first().variable, QStringLiteral("h"));
                }
            }
        }
        QVERIFY(runs > 500);
    }
};

QTEST_GUILESS_MAIN(TestPlausibleRanges)
#include "tst_plausibleranges.moc"
