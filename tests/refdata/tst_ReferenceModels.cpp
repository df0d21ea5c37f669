// What the four reference grid models give their views: headers, widths,
// cell texts in their formats, row colours, and the stored values.

#include "model/NumberFormat.h"
#include "refdata/FiberglassTubeTableModel.h"
#include "refdata/MaterialTableModel.h"
#include "refdata/SoilTableModel.h"
#include "refdata/TubeTableModel.h"

#include <QBrush>
#include <QTest>

#include <memory>

namespace {

// One model of each grid with a single row, chosen by name.
std::unique_ptr<ReferenceTableModel> modelWithOneRow(const QString &grid)
{
    if (grid == QLatin1String("tubes")) {
        auto model = std::make_unique<TubeTableModel>();
        model->setRows({TubeRow{0.3456, 3.0, 2.0, 26.1, 33.5}});
        return model;
    }
    if (grid == QLatin1String("fiberglass")) {
        auto model = std::make_unique<FiberglassTubeTableModel>();
        model->setRows({FiberglassTubeRow{1.2, 0.0046, 0.0000000004}});
        return model;
    }
    if (grid == QLatin1String("materials")) {
        auto model = std::make_unique<MaterialTableModel>();
        model->setRows({MaterialRow{5, QStringLiteral("Стеклопластик SN 10000"), 25000, 0.3, 1000.0625, 20000}});
        return model;
    }
    auto model = std::make_unique<SoilTableModel>();
    model->setRows({SoilRow{4, QStringLiteral("Песок мелкий"), 19, 5, 30, 0.0625}});
    return model;
}

} // namespace

class ReferenceModelsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void headersAndWidths_data();
    void headersAndWidths();
    void cellTexts_data();
    void cellTexts();
    void rowColoursAlternate();
    void rowValuesForExport();
    void resetEmptiesAndRefills();
};

void ReferenceModelsTest::initTestCase()
{
    NumberFormat::setDecimalSeparator(QStringLiteral(","));
}

void ReferenceModelsTest::headersAndWidths_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<int>>("maxWidths"); // 0: not bounded

    QTest::newRow("tubes") << "tubes" << QStringList{"Dнаруж, м", "Dвнутр, м", "Lв, мм", "Lш, мм", "s, мм", ""}
                           << QList<int>{90, 90, 90, 90, 90, 10} << QList<int>{0, 0, 0, 0, 0, 0};
    QTest::newRow("fiberglass") << "fiberglass" << QStringList{"D, м", "s, м", "t, м", ""}
                                << QList<int>{100, 125, 125, 10} << QList<int>{100, 0, 0, 0};
    QTest::newRow("materials") << "materials"
                               << QStringList{"Материал", "Eo, МПа", "Etau, МПа", "Mu", "Sigmao, МПа", ""}
                               << QList<int>{200, 90, 90, 90, 100, 168} << QList<int>{0, 0, 0, 0, 0, 0};
    QTest::newRow("soils") << "soils" << QStringList{"Грунт", "Gamma, кН/м^3", "Egr, МПа", "Fi, град.", "Kk"}
                           << QList<int>{150, 150, 150, 150, 138} << QList<int>{0, 0, 0, 150, 0};
}

void ReferenceModelsTest::headersAndWidths()
{
    QFETCH(QString, grid);
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, widths);
    QFETCH(QList<int>, maxWidths);

    const auto model = modelWithOneRow(grid);
    QCOMPARE(model->columnCount(), headers.size());
    for (int c = 0; c < headers.size(); ++c) {
        QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), headers[c]);
        QCOMPARE(model->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(model->headerData(c, Qt::Horizontal, ReferenceTableModel::ColumnWidthRole).toInt(), widths[c]);
        const QVariant bound = model->headerData(c, Qt::Horizontal, ReferenceTableModel::ColumnMaxWidthRole);
        QCOMPARE(bound.isValid() ? bound.toInt() : 0, maxWidths[c]);
    }
}

void ReferenceModelsTest::cellTexts_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("texts");

    // Dout 3 in "0.0##" keeps one decimal; Din 0.3456 is rounded to three.
    QTest::newRow("tubes") << "tubes" << QStringList{"3,0", "0,346", "26,1", "33,5", "2,0", ""};
    QTest::newRow("fiberglass") << "fiberglass" << QStringList{"1,2", "0,0046", "0,0", ""};
    QTest::newRow("materials") << "materials"
                               << QStringList{"Стеклопластик SN 10000", "25000", "20000", "0,3", "1000,063", ""};
    QTest::newRow("soils") << "soils" << QStringList{"Песок мелкий", "19", "5", "30", "0,063"};
}

void ReferenceModelsTest::cellTexts()
{
    QFETCH(QString, grid);
    QFETCH(QStringList, texts);

    const auto model = modelWithOneRow(grid);
    QCOMPARE(model->rowCount(), 1);
    for (int c = 0; c < texts.size(); ++c)
        QCOMPARE(model->data(model->index(0, c)).toString(), texts[c]);
    // Outside the rows and columns nothing is shown.
    QCOMPARE(model->cellText(1, 0), QString());
    QCOMPARE(model->cellText(0, texts.size()), QString());
}

void ReferenceModelsTest::rowColoursAlternate()
{
    MaterialTableModel model;
    model.setRows(QVector<MaterialRow>(3));
    const QColor even(218, 222, 227);
    const QColor odd(186, 187, 247);
    for (int c = 0; c < model.columnCount(); ++c) {
        QCOMPARE(model.data(model.index(0, c), Qt::BackgroundRole).value<QBrush>().color(), even);
        QCOMPARE(model.data(model.index(1, c), Qt::BackgroundRole).value<QBrush>().color(), odd);
        QCOMPARE(model.data(model.index(2, c), Qt::BackgroundRole).value<QBrush>().color(), even);
    }
}

void ReferenceModelsTest::rowValuesForExport()
{
    const auto materials = modelWithOneRow(QStringLiteral("materials"));
    QCOMPARE(materials->fieldNames(),
             (QStringList{"TubeMaterialId", "Descr", "Eo_MPa", "Mu", "Sigmao_MPa", "Etau_MPa"}));
    const QVariantList values = materials->rowValues(0);
    QCOMPARE(values.value(0).toInt(), 5);
    QCOMPARE(values.value(1).toString(), QStringLiteral("Стеклопластик SN 10000"));
    QCOMPARE(values.value(4).toDouble(), 1000.0625); // unrounded
    QCOMPARE(values.value(5).toDouble(), 20000.0);

    const auto tubes = modelWithOneRow(QStringLiteral("tubes"));
    QCOMPARE(tubes->fieldNames(), (QStringList{"Din", "Dout", "s", "Lv", "Lsh"}));
    QCOMPARE(tubes->rowValues(0).value(0).toDouble(), 0.3456);
    QVERIFY(tubes->rowValues(1).isEmpty());
}

void ReferenceModelsTest::resetEmptiesAndRefills()
{
    SoilTableModel model;
    int resets = 0;
    connect(&model, &QAbstractItemModel::modelReset, this, [&resets] { ++resets; });
    model.setRows(QVector<SoilRow>(4));
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(resets, 2);
    QVERIFY(!model.data(model.index(0, 0)).isValid());
}

QTEST_GUILESS_MAIN(ReferenceModelsTest)
#include "tst_ReferenceModels.moc"
