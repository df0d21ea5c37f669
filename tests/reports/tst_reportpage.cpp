#include "reports/ReportUnit.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

namespace {

// A long document of numbered lines, with a table in the middle.
void fillLong(QTextDocument &doc, int paragraphs)
{
    QTextCursor cursor(&doc);
    for (int i = 1; i <= paragraphs; ++i) {
        cursor.insertText(QStringLiteral("Строка %1: расчёт трубопровода, проверка условия прочности и устойчивости.").arg(i));
        if (i == paragraphs / 2) {
            cursor.insertBlock();
            QTextTable *table = cursor.insertTable(40, 3);
            for (int r = 0; r < 40; ++r) {
                for (int c = 0; c < 3; ++c) {
                    table->cellAt(r, c).firstCursorPosition().insertText(QStringLiteral("ячейка %1.%2").arg(r).arg(c));
                }
            }
            cursor.movePosition(QTextCursor::End);
        }
        if (i < paragraphs)
            cursor.insertBlock();
    }
}

QStringList documentLines(const QVector<QStringList> &pages)
{
    QStringList all;
    for (const QStringList &page : pages)
        all += page;
    return all;
}

} // namespace

class TestReportPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void logoDecodes()
    {
        const QImage logo = ReportPage::defaultLogo();
        QVERIFY(!logo.isNull());
        QVERIFY(logo.width() > 3 * logo.height());
        // Mostly white around a dark blue mark.
        QCOMPARE(logo.pixelColor(2, 2), QColor(Qt::white).toRgb());
    }

    void logoIsDecoded()
    {
        // The logo is read by Qt's own image reader: its JPEG plugin must be there.
        const QImage logo = ReportPage::defaultLogo();
        QVERIFY(!logo.isNull());
        QVERIFY(logo.width() > logo.height());
    }

    void emptyDocumentIsOnePage()
    {
        ReportPage page;
        QCOMPARE(page.title(), QStringLiteral("Гидравлический расчёт трубопровода Велтра-Норлекс"));
        QPdfWriter writer(QStringLiteral("/dev/null"));
        QCOMPARE(page.prepare(&writer), 1);
    }

    void longDocumentLosesNoLine()
    {
        QTextDocument doc;
        fillLong(doc, 400);
        ReportPage page;
        page.setDocument(doc);
        QTemporaryDir dir;
        QPdfWriter writer(dir.filePath("a.pdf"));
        const int pages = page.prepare(&writer);
        QVERIFY(pages > 5);
        QVERIFY(!page.anyLineCut());

        // Every line of the document, each on exactly one page, in order.
        QStringList expected;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            expected << b.text();
        const QStringList onPages = documentLines(page.pageLines());
        QCOMPARE(onPages.join(QString()), expected.join(QString()));
        for (const QStringList &lines : page.pageLines())
            QVERIFY(!lines.isEmpty());
        // The first page holds less: the logo, rule and title come first.
        QVERIFY(page.pageLines().first().size() < page.pageLines().at(1).size());
        // The caller's document is left as it was.
        QCOMPARE(doc.begin().blockFormat().topMargin(), 0.0);
    }

    void documentStartingWithATable()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QTextTable *table = cursor.insertTable(2, 2);
        table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("A"));
        ReportPage page;
        page.setDocument(doc);
        QTemporaryDir dir;
        QPdfWriter writer(dir.filePath("t.pdf"));
        QCOMPARE(page.prepare(&writer), 1);
        QVERIFY(page.pageLines().first().contains(QStringLiteral("A")));
    }

    void printsAPageRangeToPdf()
    {
        QTextDocument doc;
        fillLong(doc, 300);
        ReportPage page;
        page.setTitle(QStringLiteral("Статический расчёт трубопровода Велтра-Норлекс"));
        page.setDocument(doc);
        QTemporaryDir dir;
        const QString all = dir.filePath("all.pdf");
        QVERIFY(page.exportPdf(all));
        QFile file(all);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), page.pageCount());

        QString error;
        QVERIFY(!page.exportPdf(dir.filePath("no/such/folder/x.pdf"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestReportPage)
#include "tst_reportpage.moc"
