#include "model/CalcViews.h"
#include "model/NumberFormat.h"
#include "model/CalcVariables.h"
#include "ui/VariableGridModel.h"

#include <QtTest>

class TestVariableGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void rowsReferToSlots()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        VariableGridModel model(vars, VariableGridModel::Kind::Input);
        model.setRows(CalcViews::inputRows(CalcView::Hydraulic));
        QCOMPARE(model.rowCount(), 6);
        QCOMPARE(model.cellText(0, 0), QStringLiteral("Dнаруж"));
        QCOMPARE(model.cellText(0, 1), QStringLiteral("0,4"));
        QCOMPARE(model.cellText(0, 2), QStringLiteral("м"));
        QCOMPARE(model.cellText(0, 3), QStringLiteral("Наружный диаметр трубопровода"));
        QCOMPARE(model.cellText(0, 4), QString());
        // No copy: the grid shows what the variable holds now.
        vars[Slot::Dout].setValue(1.25);
        QCOMPARE(model.cellText(0, 1), QStringLiteral("1,25"));
        QCOMPARE(&model.variableAt(1), &vars[Slot::Din]);
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Краткое описание"));
    }

    void symbolNamesOnlyInInputGrid()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        VariableGridModel input(vars, VariableGridModel::Kind::Input);
        VariableGridModel output(vars, VariableGridModel::Kind::Output);
        const QVector<Slot> rows{Slot::Eo, Slot::Etau, Slot::Mu,     Slot::Sigmao, Slot::Gamma, Slot::fi,
                                 Slot::nu, Slot::Et,   Slot::Sigmat, Slot::psiSt,  Slot::Din};
        input.setRows(rows);
        output.setRows(rows);
        const QStringList greek{"Εο", "Ετ", "μ", "σο", "γ", "ϕ", "ν", "Ετ", "στ", "πσι", "Dвнутр"};
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(input.cellText(i, 0), greek[i]);
            QCOMPARE(output.cellText(i, 0), vars[rows[i]].name());
        }
        QCOMPARE(input.data(input.index(0, 0), Qt::FontRole).value<QFont>().pointSize(), 8);
    }

    void coloursAndAlignment()
    {
        CalcVariables vars;
        vars.applyCatalogue();
        VariableGridModel input(vars, VariableGridModel::Kind::Input);
        VariableGridModel output(vars, VariableGridModel::Kind::Output);
        input.setRows(CalcViews::inputRows(CalcView::Static));
        output.setRows(CalcViews::outputRows(CalcView::Static));
        auto colour = [](const VariableGridModel &m, int row) {
            return m.data(m.index(row, 2), Qt::BackgroundRole).value<QColor>();
        };
        QCOMPARE(colour(input, 0), QColor(218, 222, 227));
        QCOMPARE(colour(input, 1), QColor(186, 187, 247));
        QCOMPARE(colour(input, 2), QColor(218, 222, 227));
        QCOMPARE(colour(output, 0), QColor(245, 223, 147));
        QCOMPARE(colour(output, 1), QColor(173, 246, 255));

        auto align = [](const VariableGridModel &m, int column) {
            return Qt::Alignment(m.data(m.index(0, column), Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(align(input, 0), Qt::AlignHCenter);
        QCOMPARE(align(output, 0), Qt::AlignLeft);
        QCOMPARE(align(output, 1), Qt::AlignHCenter);
        QCOMPARE(align(input, 3), Qt::AlignLeft);
        // The first output row of the static view has no name.
        QCOMPARE(output.cellText(0, 0), QString());
        QCOMPARE(VariableGridModel::defaultColumnWidth(VariableGridModel::Kind::Input, 3), 438);
        QCOMPARE(VariableGridModel::defaultColumnWidth(VariableGridModel::Kind::Output, 3), 446);
    }
};

QTEST_MAIN(TestVariableGrid)
#include "tst_variablegrid.moc"
