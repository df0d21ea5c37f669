// The project's description at the top of the three reports: a line for
// each part given, nothing at all for a part left out.
#include "calc/CalcSession.h"
#include "calc/ProjectDescription.h"
#include "model/NumberFormat.h"
#include "reports/CalcReport.h"
#include "reports/FiberglassReport.h"
#include "reports/HydraulicReport.h"
#include "reports/ProjectHeader.h"
#include "reports/ReportTemplates.h"
#include "reports/StaticReport.h"
#include "reports/TemplateFiller.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

class TestProjectHeader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void linesOfTheDescriptionGiven_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("designer");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QStringList>("lines");
        const QString heading = QStringLiteral("Исходные данные");
        for (const char *name :
             {HydraulicReport::TemplateName, StaticReport::TemplateName, FiberglassReport::TemplateName}) {
            const QString t = QString::fromLatin1(name);
            QTest::newRow(qPrintable(t + QStringLiteral(": none")))
                << t << QString() << QString() << QDate() << QStringList{heading};
            QTest::newRow(qPrintable(t + QStringLiteral(": all")))
                << t << "Коллектор К-3"
                << "Иванов И. И." << QDate(2026, 3, 14)
                << QStringList{"Объект: Коллектор К-3", "Проектировщик: Иванов И. И.", "Дата: 14.03.2026", heading};
            QTest::newRow(qPrintable(t + QStringLiteral(": designer only")))
                << t << QString() << "Петров" << QDate() << QStringList{"Проектировщик: Петров", heading};
            QTest::newRow(qPrintable(t + QStringLiteral(": object and date, blanks for the designer")))
                << t << "Дюкер"
                << " \n " << QDate(2025, 12, 1) << QStringList{"Объект: Дюкер", "Дата: 01.12.2025", heading};
        }
    }

    void linesOfTheDescriptionGiven()
    {
        QFETCH(QString, templateName);
        QFETCH(QString, object);
        QFETCH(QString, designer);
        QFETCH(QDate, date);
        QFETCH(QStringList, lines);
        QTextDocument doc;
        QVERIFY(ReportTemplates::load(doc, templateName).ok());
        TemplateFiller filler(doc);
        ProjectDescription description;
        description.object = object;
        description.designer = designer;
        description.date = date;
        ProjectHeader::fill(filler, description);

        QTextBlock block = doc.begin();
        for (int i = 0; i < lines.size(); ++i, block = block.next()) {
            QVERIFY(block.isValid());
            QCOMPARE(block.text(), lines[i]);
            // The heading keeps its own paragraph whatever was cut above it;
            // the description lines are not centred like it.
            const bool heading = i == lines.size() - 1;
            QCOMPARE(block.blockFormat().alignment() == Qt::AlignHCenter, heading);
        }
        QVERIFY(!doc.toPlainText().contains(QStringLiteral("$Project.")));
        QVERIFY(!doc.toPlainText().contains(QRegularExpression(QStringLiteral("\\$/?IF10[123]\\$"))));
    }

    // Every report ends with a place to sign: who made it, with the
    // designer's name and the date where the description gives them and a
    // line to write them on where it does not, and who checked it.
    void signatureBlock_data()
    {
        QTest::addColumn<QString>("templateName");
        QTest::addColumn<QString>("designer");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("made");
        const QString line(20, QLatin1Char('_'));
        for (const char *name :
             {HydraulicReport::TemplateName, StaticReport::TemplateName, FiberglassReport::TemplateName}) {
            const QString t = QString::fromLatin1(name);
            QTest::newRow(qPrintable(t + QStringLiteral(": named and dated")))
                << t << "Иванов И. И." << QDate(2026, 3, 14)
                << QStringLiteral("Выполнил\t%1\tИванов И. И.\t14.03.2026").arg(line);
            QTest::newRow(qPrintable(t + QStringLiteral(": nothing given")))
                << t << QString() << QDate() << QStringLiteral("Выполнил\t%1\t%1\t%1").arg(line);
        }
    }

    void signatureBlock()
    {
        QFETCH(QString, templateName);
        QFETCH(QString, designer);
        QFETCH(QDate, date);
        QFETCH(QString, made);
        QTextDocument doc;
        QVERIFY(ReportTemplates::load(doc, templateName).ok());
        TemplateFiller filler(doc);
        ProjectDescription description;
        description.designer = designer;
        description.date = date;
        ProjectHeader::fill(filler, description);
        const QStringList lines = doc.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(lines.size() - 2), made);
        QCOMPARE(lines.last(), QStringLiteral("Проверил\t%1\t%1\t%1").arg(QString(20, QLatin1Char('_'))));
        QVERIFY(!doc.toPlainText().contains(QStringLiteral("$Sign.")));
    }

    void engineersTextsPrintAsTyped()
    {
        CalcSession session;
        QVERIFY(session.run(CalcKind::Hydraulic).isCompleted());
        ProjectDescription description;
        // Texts that look like placeholders and block markers of the report.
        description.object = QStringLiteral("$Project.Designer$ и $Dout.Val$ $IF101$");
        description.designer = QStringLiteral("$Project.Object$ $/IF103$");
        session.setDescription(description);
        QVERIFY(session.resultsCurrent(CalcKind::Hydraulic));
        QTextDocument doc;
        const CalcReport::Result result = CalcReport::build(session, CalcKind::Hydraulic, doc);
        QVERIFY2(result.built(), qPrintable(result.message));
        const QStringList lines = doc.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Объект: ") + description.object);
        QCOMPARE(lines.value(1), QStringLiteral("Проектировщик: ") + description.designer);
        QCOMPARE(lines.value(2), QStringLiteral("Исходные данные"));
    }
};

QTEST_MAIN(TestProjectHeader)
#include "tst_projectheader.moc"
