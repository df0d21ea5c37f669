#include "model/NumberFormat.h"
#include "model/Variable.h"

#include <QtTest>

#include <limits>

class TestNumberFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        NumberFormat::setThousandsSeparator(QStringLiteral(" "));
    }

    void format_data()
    {
        QTest::addColumn<QString>("fmt");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");

        // The formats of the variable catalogue.
        QTest::newRow("0.### 0") << "0.###" << 0.0 << "0";
        QTest::newRow("0.### 0.348") << "0.###" << 0.348 << "0,348";
        QTest::newRow("0.### 26.1") << "0.###" << 26.1 << "26,1";
        QTest::newRow("0.### 1150") << "0.###" << 1150.0 << "1150";
        QTest::newRow("0.### 0.0625") << "0.###" << 0.0625 << "0,063";
        QTest::newRow("0.### -0.5") << "0.###" << -0.5 << "-0,5";
        QTest::newRow("0.0## 0") << "0.0##" << 0.0 << "0,0";
        QTest::newRow("0.0## 1") << "0.0##" << 1.0 << "1,0";
        QTest::newRow("0.0## 12.5") << "0.0##" << 12.5 << "12,5";
        QTest::newRow("0.0## 0.0625") << "0.0##" << 0.0625 << "0,063";
        QTest::newRow("0.0# 0") << "0.0#" << 0.0 << "0,0";
        QTest::newRow("0.0# 2") << "0.0#" << 2.0 << "2,0";
        QTest::newRow("0.0# 1.3") << "0.0#" << 1.3 << "1,3";
        QTest::newRow("0.0# 0.125") << "0.0#" << 0.125 << "0,13";
        QTest::newRow("6 places 0.012") << "0.######" << 0.012 << "0,012";
        QTest::newRow("6 places 0") << "0.######" << 0.0 << "0";
        QTest::newRow("9 places 0.024") << "0.#########" << 0.024 << "0,024";
        QTest::newRow("10 places 1.49e-6") << "0.##########" << 0.00000149 << "0,00000149";
        QTest::newRow("# 1") << "#" << 1.0 << "1";
        QTest::newRow("# 2.5") << "#" << 2.5 << "3";
        QTest::newRow("# 0") << "#" << 0.0 << "";
        QTest::newRow("# 0.4") << "#" << 0.4 << "";
        QTest::newRow("# -0.4") << "#" << -0.4 << "";

        // Rounding follows the double's exact decimal expansion, halves away from zero.
        QTest::newRow("0.15 is below a half") << "0.#" << 0.15 << "0,1";
        QTest::newRow("0.25 exact half") << "0.#" << 0.25 << "0,3";
        QTest::newRow("-0.25 exact half") << "0.#" << -0.25 << "-0,3";
        QTest::newRow("0.995 below") << "0.##" << 0.995 << "0,99";
        QTest::newRow("0.0005 above") << "0.###" << 0.0005 << "0,001";
        QTest::newRow("1.0005 below") << "0.###" << 1.0005 << "1";
        QTest::newRow("carry into integer") << "0.#" << 9.96 << "10";
        QTest::newRow("carry kept zero") << "0.0" << 9.96 << "10,0";
        QTest::newRow("carry to new digit") << "0.###" << 999999.9996 << "1000000";
        QTest::newRow("first digit rounds") << "0.#" << 0.06 << "0,1";
        QTest::newRow("far below") << "0.###" << 1e-20 << "0";
        QTest::newRow("tiny with zero place") << "0.0##" << 1e-300 << "0,0";

        // Signs.
        QTest::newRow("negative to zero") << "0.###" << -0.0004 << "0";
        QTest::newRow("negative half") << "0.###" << -0.0005 << "-0,001";
        QTest::newRow("negative zero") << "0.###" << -0.0 << "0";
        QTest::newRow("negative integer") << "0.###" << -1150.0 << "-1150";

        // Integer digits, no grouping unless asked.
        QTest::newRow("all integer digits") << "0.###" << 123456789012345678.0 << "123456789012345680";
        QTest::newRow("leading zero places") << "00.0" << 5.0 << "05,0";
        QTest::newRow("grouping") << "#,###" << 1234567.0 << "1 234 567";
        QTest::newRow("grouping with text") << "#,### KB" << 16384000.0 << "16 384 000 KB";

        // Beyond the fixed formats.
        QTest::newRow("1e18 general") << "0.###" << 1e18 << "1E18";
        QTest::newRow("-2.5e20 general") << "0.0##" << -2.5e20 << "-2,5E20";
        QTest::newRow("1e300 general") << "#" << 1e300 << "1E300";
        QTest::newRow("15 significant") << "0.###" << 1.234567890123456789e19 << "1,23456789012346E19";
        QTest::newRow("nan") << "0.###" << std::numeric_limits<double>::quiet_NaN() << "NAN";
        QTest::newRow("inf") << "0.###" << std::numeric_limits<double>::infinity() << "INF";
        QTest::newRow("-inf") << "0.###" << -std::numeric_limits<double>::infinity() << "-INF";
        QTest::newRow("empty format") << "" << 0.348 << "0,348";
    }

    void format()
    {
        QFETCH(QString, fmt);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(NumberFormat::format(fmt, value), expected);
    }

    void separatorFollowsSetting()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral("."));
        QCOMPARE(NumberFormat::format(QStringLiteral("0.###"), 0.348), QStringLiteral("0.348"));
        QCOMPARE(NumberFormat::format(QStringLiteral("0.0##"), -2.5e20), QStringLiteral("-2.5E20"));
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QCOMPARE(NumberFormat::format(QStringLiteral("0.###"), 0.348), QStringLiteral("0,348"));
    }

    void general_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fraction") << 123.456 << "123,456";
        QTest::newRow("1e-4 fixed") << 0.0001 << "0,0001";
        QTest::newRow("1e-5 scientific") << 0.00001 << "1E-5";
        QTest::newRow("negative small") << -1.5e-7 << "-1,5E-7";
        QTest::newRow("15 digits fixed") << 1e14 << "100000000000000";
        QTest::newRow("16 digits scientific") << 1e16 << "1E16";
        QTest::newRow("rounded to 15") << 0.1 + 0.2 << "0,3";
        QTest::newRow("zero") << 0.0 << "0";
    }

    void general()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(NumberFormat::general(value), expected);
    }

    void formatScaled_data()
    {
        QTest::addColumn<QString>("fmt");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("expected");
        QTest::newRow("m to mm") << "0.###" << 0.348 << 1000.0 << "348";
        QTest::newRow("factor 100") << "0.0##" << 0.036206 << 100.0 << "3,621";
        QTest::newRow("factor 0.1") << "0.###" << 26.0 << 0.1 << "2,6";
        // 0.1 * 3 is 0.30000000000000001665... exactly; rounded to double it
        // would be 0.30000000000000004441...
        QTest::newRow("extended product") << "0.##################" << 0.1 << 3.0 << "0,300000000000000017";
        QTest::newRow("product beyond 1e18") << "0.###" << 1e17 << 100.0 << "1E19";
    }

    void formatScaled()
    {
        QFETCH(QString, fmt);
        QFETCH(double, value);
        QFETCH(double, factor);
        QFETCH(QString, expected);
        Variable v;
        v.setFormat(fmt);
        v.setValue(value);
        QCOMPARE(v.formatScaled(factor), expected);
    }

    void formatValueWritesSign()
    {
        Variable v;
        v.setFormat(QStringLiteral("0.###"));
        v.setValue(-3.25);
        QCOMPARE(v.formatValue(), QStringLiteral("-3,25"));
    }

    // Significant digits as the reports round them: half away from zero on
    // the decimal expansion, as format() rounds.
    void roundSignificant_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<bool>("negative");
        QTest::addColumn<QString>("rounded");
        QTest::addColumn<int>("exponent");
        QTest::newRow("exact half, away from zero") << 0.125 << 2 << false << "13" << -1;
        QTest::newRow("below a half") << 0.15 << 1 << false << "1" << -1;
        QTest::newRow("carry to a new digit") << 9.9996 << 4 << false << "1" << 1;
        QTest::newRow("trailing zeros dropped") << 2.5 << 4 << false << "25" << 0;
        QTest::newRow("large") << 745570.3 << 6 << false << "74557" << 5;
        QTest::newRow("small and negative") << -0.000123456 << 3 << true << "123" << -4;
        QTest::newRow("zero") << 0.0 << 4 << false << "" << 0;
    }

    void roundSignificant()
    {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(bool, negative);
        QFETCH(QString, rounded);
        QFETCH(int, exponent);
        const NumberFormat::Significant s = NumberFormat::roundSignificant(value, digits);
        QCOMPARE(s.negative, negative);
        QCOMPARE(s.digits, rounded);
        QCOMPARE(s.exponent, exponent);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma fraction") << "0,348"
                                        << "," << true << 0.348;
        QTest::newRow("negative") << "-1,5"
                                  << "," << true << -1.5;
        QTest::newRow("exponent") << "1,5e3"
                                  << "," << true << 1500.0;
        QTest::newRow("whole") << "12"
                               << "," << true << 12.0;
        QTest::newRow("plus sign") << "+2"
                                   << "," << true << 2.0;
        QTest::newRow("leading separator") << ",5"
                                           << "," << true << 0.5;
        QTest::newRow("point where comma is used") << "0.5"
                                                   << "," << false << 0.0;
        QTest::newRow("with unit") << "1,5 м"
                                   << "," << false << 0.0;
        QTest::newRow("blank") << " 1"
                               << "," << false << 0.0;
        QTest::newRow("final new line") << "1\n"
                                        << "," << false << 0.0;
        QTest::newRow("empty") << ""
                               << "," << false << 0.0;
        QTest::newRow("letters") << "abc"
                                 << "," << false << 0.0;
        QTest::newRow("out of range") << "1e999"
                                      << "," << false << 0.0;
        QTest::newRow("two separators") << "1,2,3"
                                        << "," << false << 0.0;
        QTest::newRow("point") << "0.5"
                               << "." << true << 0.5;
        QTest::newRow("comma where point is used") << "0,5"
                                                   << "." << false << 0.0;
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(bool, ok);
        QFETCH(double, value);
        double parsed = -1;
        QCOMPARE(NumberFormat::parse(text, separator, &parsed), ok);
        if (ok)
            QCOMPARE(parsed, value);
    }
};

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
