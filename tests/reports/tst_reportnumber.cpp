// Numbers as the reports print them: enough digits to redo a line by hand,
// never 0 for a value that is not, a power of ten for the very small and
// the very large, the separator chosen and "−" for minus.
#include "model/NumberFormat.h"
#include "reports/ReportNumber.h"

#include <QtTest>

class TestReportNumber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void computed_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("four digits, zeros kept") << 0.12704 << 4 << ","
                                                 << "0,1270";
        QTest::newRow("a whole value shows its digits") << 26.0 << 4 << ","
                                                        << "26,00";
        QTest::newRow("rounded to four digits") << 37.1075 << 4 << ","
                                                << "37,11";
        QTest::newRow("a small fraction") << 0.000368934 << 4 << ","
                                          << "0,0003689";
        QTest::newRow("from 0,0001 on a power of ten") << 0.0000123456 << 4 << ","
                                                       << "1,235·10⁻⁵";
        QTest::newRow("very small") << 3.41333e-10 << 4 << ","
                                    << "3,413·10⁻¹⁰";
        QTest::newRow("five whole digits") << 12345.67 << 4 << ","
                                           << "12346";
        QTest::newRow("six whole digits") << 745570.3 << 4 << ","
                                          << "745570";
        QTest::newRow("a million on a power of ten") << 8700000.0 << 4 << ","
                                                     << "8,700·10⁶";
        QTest::newRow("rounding up to a million") << 999999.7 << 4 << ","
                                                  << "1,000·10⁶";
        QTest::newRow("rounding up to the next digit") << 0.099996 << 4 << ","
                                                       << "0,1000";
        QTest::newRow("negative with a minus sign") << -0.0224 << 4 << ","
                                                    << "−0,02240";
        QTest::newRow("zero") << 0.0 << 4 << ","
                              << "0";
        QTest::newRow("six digits") << 0.123456789 << 6 << ","
                                    << "0,123457";
        QTest::newRow("a point") << 0.12704 << 4 << "."
                                 << "0.1270";
        QTest::newRow("a point on a power of ten") << 1.23456e-7 << 4 << "."
                                                   << "1.235·10⁻⁷";
    }

    void computed()
    {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        NumberFormat::setDecimalSeparator(separator);
        QCOMPARE(ReportNumber::computed(value, digits).text(), expected);
    }

    void input_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as given") << 0.348 << "0,348";
        QTest::newRow("a gentle slope") << 0.0007 << "0,0007";
        QTest::newRow("the smallest plain") << 0.0001 << "0,0001";
        QTest::newRow("below it") << 0.00001 << "1·10⁻⁵";
        QTest::newRow("a viscosity") << 1.49e-6 << "1,49·10⁻⁶";
        QTest::newRow("a modulus in Pa") << 2e10 << "2·10¹⁰";
        QTest::newRow("another") << 1.25e9 << "1,25·10⁹";
        QTest::newRow("a scaled input keeps its digits") << 0.4 * 1000 << "400";
        QTest::newRow("a whole number") << 16000.0 << "16000";
        QTest::newRow("at most six digits") << 0.1234567 << "0,123457";
        QTest::newRow("negative") << -2.5 << "−2,5";
    }

    void input()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(ReportNumber::input(value).text(), expected);
    }

    // What a number is made of, for a filler that raises the exponent.
    void parts()
    {
        const ReportNumber number = ReportNumber::computed(-1.23456e-7);
        QVERIFY(number.isNegative());
        QCOMPARE(number.mantissa(), QStringLiteral("1,235"));
        QCOMPARE(number.powerOfTen(), -7);
        QCOMPARE(number.exponentText(), QStringLiteral("−7"));
        QCOMPARE(number.magnitude().text(), QStringLiteral("1,235·10⁻⁷"));
        QVERIFY(!ReportNumber::computed(0.5).hasPowerOfTen());
        QVERIFY(ReportNumber::computed(0).isZero());
    }

    // A value and its limit get the digits that show which side of the
    // limit the value lies on.
    void digitsToCompare_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("limit");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("printed");
        QTest::newRow("far apart") << 0.6589 << 1.0 << 4 << "0,6589";
        QTest::newRow("equal") << 0.2475 << 0.2475 << 4 << "0,2475";
        QTest::newRow("apart in the fifth digit") << 0.24749 << 0.24751 << 5 << "0,24749";
        QTest::newRow("just above the limit") << 1.000003 << 1.0 << 7 << "1,000003";
        QTest::newRow("just below the limit") << 0.9999996 << 1.0 << 7 << "0,9999996";
        QTest::newRow("the next double") << 1.0000000000000002 << 1.0 << 17 << "1,0000000000000002";
    }

    void digitsToCompare()
    {
        QFETCH(double, value);
        QFETCH(double, limit);
        QFETCH(int, digits);
        QFETCH(QString, printed);
        QCOMPARE(ReportNumber::digitsToCompare(value, limit), digits);
        QCOMPARE(ReportNumber::computed(value, digits).text(), printed);
    }
};

QTEST_MAIN(TestReportNumber)
#include "tst_reportnumber.moc"
