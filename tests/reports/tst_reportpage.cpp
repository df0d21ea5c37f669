#include "reports/ReportPage.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QProcess>
#include <QStandardPaths>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <QtTest>

namespace {

// A long document of numbered lines, with a table in the middle.
void fillLong(QTextDocument &doc, int paragraphs)
{
    QTextCursor cursor(&doc);
    for (int i = 1; i <= paragraphs; ++i) {
        cursor.insertText(
            QStringLiteral("Строка %1: расчёт трубопровода, проверка условия прочности и устойчивости.").arg(i));
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

// A paragraph whose every word names it ("п7 п7 п7 ..."), so that each of
// its lines tells which paragraph it belongs to.
void namedParagraph(QTextCursor &cursor, int number, int words)
{
    cursor.insertText(QStringLiteral("п%1 ").arg(number).repeated(words).trimmed());
}

QString paragraphOf(const QString &line)
{
    return line.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

// How the lines of each named paragraph fall on the pages: "п7" -> lines per page.
QMap<QString, QMap<int, int>> linesPerPage(const QVector<QStringList> &pages)
{
    QMap<QString, QMap<int, int>> spread;
    for (int p = 0; p < pages.size(); ++p) {
        for (const QString &line : pages[p]) {
            if (line.startsWith(QStringLiteral("п")))
                ++spread[paragraphOf(line)][p];
        }
    }
    return spread;
}

// The text of a PDF as pdftotext reads it, or a null text without the tool.
QString pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, {path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
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

    // Each page draws its own lines and no other: the text of the PDF holds
    // every line once, and the foot of every page its number.
    void pdfHoldsEachLineOnce()
    {
        QTextDocument doc;
        fillLong(doc, 300);
        ReportPage page;
        page.setDocument(doc);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("lines.pdf"));
        QVERIFY(page.exportPdf(pdf).ok());
        const int pages = page.pageCount();
        QVERIFY(pages > 3);
        const QString text = pdfText(pdf);
        if (text.isNull())
            QSKIP("pdftotext is not installed; the PDF's text is not checked");
        for (int i = 1; i <= 300; ++i)
            QVERIFY2(text.count(QStringLiteral("Строка %1:").arg(i)) == 1, qPrintable(QString::number(i)));
        for (int i = 0; i < 40; ++i)
            QCOMPARE(text.count(QStringLiteral("ячейка %1.0").arg(i)), 1);
        // pdftotext ends each page with a form feed.
        const QStringList onPages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(onPages.size(), pages);
        for (int p = 0; p < pages; ++p) {
            QCOMPARE(page.footerText(p), QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages));
            QCOMPARE(onPages[p].count(QStringLiteral("Страница ")), 1);
            QVERIFY2(onPages[p].contains(page.footerText(p)), qPrintable(onPages[p]));
        }
    }

    // A report's conclusions stay with the place to sign under them: the
    // closing section, from the last heading on, is never split, wherever
    // the pages would end.
    void closingSectionStaysTogether()
    {
        for (int lead = 60; lead < 140; lead += 3) {
            QTextDocument doc;
            QTextCursor cursor(&doc);
            for (int i = 0; i < lead; ++i) {
                namedParagraph(cursor, i, 20);
                cursor.insertBlock();
            }
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            cursor.insertText(QStringLiteral("Выводы"), bold);
            cursor.insertBlock();
            cursor.setCharFormat(QTextCharFormat());
            for (int i = 0; i < 4; ++i) {
                namedParagraph(cursor, 100 + i, 45);
                cursor.insertBlock();
            }
            cursor.insertText(QStringLiteral("Выполнил\t____\t____"));
            cursor.insertBlock();
            cursor.insertText(QStringLiteral("Проверил\t____\t____"));
            ReportPage page;
            page.setDocument(doc);
            const QVector<QStringList> pages = page.pageLines();
            QVERIFY(pages.size() >= 2);
            const QStringList &last = pages.last();
            QVERIFY2(last.contains(QStringLiteral("Выводы")), qPrintable(QString::number(lead)));
            QCOMPARE(last.last(), QStringLiteral("Проверил\t____\t____"));
        }
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

    void pagesBreakAsInABook_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("words");
        // About 30 words to a line.
        QTest::newRow("two-line paragraphs") << "paragraphs" << 45;
        QTest::newRow("three-line paragraphs") << "paragraphs" << 75;
        QTest::newRow("five-line paragraphs") << "paragraphs" << 140;
        QTest::newRow("headings before short paragraphs") << "headings" << 45;
        QTest::newRow("headings before long paragraphs") << "headings" << 140;
        QTest::newRow("a table with a header row") << "table" << 0;
    }

    // Whatever comes where a page ends: no line cut or lost, no single line
    // of a longer paragraph alone at the top or bottom of a page, no heading
    // last on a page, and a table's header row on every page it runs on.
    void pagesBreakAsInABook()
    {
        QFETCH(QString, layout);
        QFETCH(int, words);
        // Short lines first move everything after them along the pages.
        for (int shift = 0; shift < 8; ++shift) {
            QTextDocument doc;
            QTextCursor cursor(&doc);
            for (int i = 0; i < shift; ++i) {
                cursor.insertText(QStringLiteral("Строка %1").arg(i));
                cursor.insertBlock();
            }
            QTextCharFormat plain;
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            int rows = 0;
            if (layout == QLatin1String("table")) {
                for (int i = 0; i < 30; ++i) {
                    cursor.insertText(QStringLiteral("Абзац перед таблицей %1").arg(i));
                    cursor.insertBlock();
                }
                rows = 90;
                QTextTableFormat format;
                format.setHeaderRowCount(1);
                format.setCellPadding(4);
                QTextTable *table = cursor.insertTable(rows, 2, format);
                table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("Наименование"));
                table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("Значение"));
                for (int r = 1; r < rows; ++r) {
                    table->cellAt(r, 0).firstCursorPosition().insertText(QStringLiteral("ряд %1").arg(r));
                    table->cellAt(r, 1).firstCursorPosition().insertText(QString::number(r * 10));
                }
                cursor.movePosition(QTextCursor::End);
            } else {
                for (int n = 1; n <= 60; ++n) {
                    if (layout == QLatin1String("headings") && n % 2 == 1) {
                        cursor.setCharFormat(bold);
                        cursor.insertText(QStringLiteral("Заголовок %1").arg(n));
                        cursor.setCharFormat(plain);
                        cursor.insertBlock();
                    }
                    namedParagraph(cursor, n, words);
                    cursor.insertBlock();
                }
            }
            ReportPage page;
            page.setDocument(doc);
            const QVector<QStringList> pages = page.pageLines();
            const QString where = QStringLiteral("shifted by %1").arg(shift);
            QVERIFY2(pages.size() >= 2, qPrintable(where));
            QVERIFY2(!page.anyLineCut(), qPrintable(where));

            // Each paragraph split over pages leaves two lines or more on each.
            const auto spread = linesPerPage(pages);
            for (auto it = spread.begin(); it != spread.end(); ++it) {
                const QMap<int, int> &onPages = it.value();
                int total = 0;
                for (const int n : onPages)
                    total += n;
                QVERIFY2(onPages.size() <= 2 || total > 4, qPrintable(it.key()));
                if (onPages.size() > 1) {
                    for (const int n : onPages)
                        QVERIFY2(n >= 2, qPrintable(where + QLatin1Char(' ') + it.key()));
                }
            }
            for (int p = 0; p + 1 < pages.size(); ++p) {
                QVERIFY2(!pages[p].last().startsWith(QStringLiteral("Заголовок")), qPrintable(where));
                QVERIFY2(pages[p].last() != QStringLiteral("Значение"), qPrintable(where));
            }
            if (layout == QLatin1String("table")) {
                // Every row once, in order; the header again wherever the table goes on.
                QStringList shown;
                for (int p = 0; p < pages.size(); ++p) {
                    const int first = int(pages[p].indexOf(QRegularExpression(QStringLiteral("ряд \\d+"))));
                    if (first < 0)
                        continue;
                    QVERIFY2(first >= 2 && pages[p][first - 2] == QStringLiteral("Наименование")
                                 && pages[p][first - 1] == QStringLiteral("Значение"),
                             qPrintable(where + QStringLiteral(", page %1").arg(p + 1)));
                    for (const QString &line : pages[p]) {
                        if (line.startsWith(QStringLiteral("ряд ")))
                            shown << line;
                    }
                }
                QCOMPARE(shown.size(), rows - 1);
                QCOMPARE(shown.last(), QStringLiteral("ряд %1").arg(rows - 1));
            } else {
                QCOMPARE(spread.size(), 60);
            }
        }
    }

    void explicitPageBreaks()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.insertText(QStringLiteral("Первая страница"));
        QTextBlockFormat breakBefore;
        breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(breakBefore);
        cursor.insertText(QStringLiteral("Вторая страница"));
        QTextBlockFormat breakAfter;
        breakAfter.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
        cursor.insertBlock(breakAfter);
        cursor.insertText(QStringLiteral("Ещё на второй"));
        cursor.insertBlock(QTextBlockFormat());
        cursor.insertText(QStringLiteral("Третья страница"));
        ReportPage page;
        page.setDocument(doc);
        QCOMPARE(
            page.pageLines(),
            (QVector<QStringList>{{"Первая страница"}, {"Вторая страница", "Ещё на второй"}, {"Третья страница"}}));
    }

    // A paragraph far longer than a page is laid out in pieces; its lines
    // are those of the paragraph laid out whole.
    void longParagraphKeepsItsLines()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.insertText(QStringLiteral("Вступление."));
        cursor.insertBlock();
        QString text;
        for (int i = 0; text.size() < 70000; ++i)
            text += QStringLiteral("слово%1 ").arg(i * 7919 % 1000);
        cursor.insertText(text);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Заключение."));
        ReportPage page;
        page.setDocument(doc);
        QVERIFY(!page.anyLineCut());
        const QStringList shown = documentLines(page.pageLines());

        // The same paragraph laid out whole, as the page lays the document out.
        QTextDocument whole;
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(96 / 0.0254));
        device.setDotsPerMeterY(qRound(96 / 0.0254));
        whole.documentLayout()->setPaintDevice(&device);
        QFont font = whole.defaultFont();
        font.setFamily(QStringLiteral("Arial"));
        whole.setDefaultFont(font);
        whole.setDocumentMargin(0);
        whole.setTextWidth(ReportPage::TextWidth * 96 / 25.4);
        whole.setPlainText(text);
        whole.documentLayout()->documentSize();
        QStringList expected{QStringLiteral("Вступление.")};
        const QTextLayout *layout = whole.begin().layout();
        QVERIFY(layout->lineCount() > 300);
        for (int i = 0; i < layout->lineCount(); ++i)
            expected << text.mid(layout->lineAt(i).textStart(), layout->lineAt(i).textLength());
        expected << QStringLiteral("Заключение.");
        QCOMPARE(shown, expected);
        // Put together and cut anew for other paper, and back.
        page.setPaper(QPageSize(QPageSize::A4), QPageLayout::Landscape);
        QVERIFY(documentLines(page.pageLines()).size() < expected.size());
        page.setPaper(QPageSize(QPageSize::A4), QPageLayout::Portrait);
        QCOMPARE(documentLines(page.pageLines()), expected);
    }

    void landscapePaper()
    {
        QTextDocument doc;
        fillLong(doc, 300);
        ReportPage page;
        page.setDocument(doc);
        const int portraitPages = page.pageCount();
        page.setPaper(QPageSize(QPageSize::A4), QPageLayout::Landscape);
        QCOMPARE(page.paperMillimetres(), QSizeF(297, 210));
        // The text, the title's band, the rule and the logo follow the width.
        QCOMPARE(page.textWidth(), 297 - 20 - 0.6);
        QCOMPARE(page.logoLeft() + ReportPage::LogoWidth, page.bandWidth() - 0.1);
        QVERIFY(page.pageCount() > portraitPages);
        QVERIFY(!page.anyLineCut());
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("landscape.pdf"));
        QVERIFY(page.exportPdf(pdf).ok());
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"));
        const QRegularExpressionMatch media = box.match(QString::fromLatin1(bytes));
        QVERIFY(media.hasMatch());
        QCOMPARE(qRound(media.captured(1).toDouble()), 842);
        QCOMPARE(qRound(media.captured(2).toDouble()), 595);
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
        QVERIFY(page.exportPdf(all).ok());
        QFile file(all);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), page.pageCount());

        const Result<> failed = page.exportPdf(dir.filePath("no/such/folder/x.pdf"));
        QVERIFY(!failed);
        QVERIFY(!failed.message().isEmpty());
    }
};

QTEST_MAIN(TestReportPage)
#include "tst_reportpage.moc"
