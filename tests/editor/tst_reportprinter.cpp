#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "app/FakeDialogs.h"

#include "editor/ReportTextEdit.h"
#include "editor/ReportPrinter.h"
#include "editor/ReportEditor.h"
#include "reports/ReportPage.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

namespace {

// Numbered paragraphs enough for several pages.
void fillLines(QTextDocument &doc, int lines)
{
    QTextCursor cursor(&doc);
    for (int i = 1; i <= lines; ++i) {
        cursor.insertText(QStringLiteral("Строка %1 отчёта о расчёте трубопровода.").arg(i));
        if (i < lines)
            cursor.insertBlock();
    }
}

int pdfPages(const QString &path)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    const QString text = QString::fromLatin1(TestFiles::read(path));
    return int(text.count(page));
}

// The editor with a report printer, its document long enough for 3 pages or
// more, and the kept printer writing PDF files, as a printer without a
// printer does here.
struct Setup
{
    FakeDialogs dialogs;
    ReportEditor editor;
    ReportPrinter report;

    Setup(const QString &printed, int lines = 300)
    {
        editor.setReportPrinter(&report);
        fillLines(*editor.document().textDocument(), lines);
        editor.document().setModified(false);
        report.printer().setOutputFileName(printed);
    }
};

} // namespace

class TestReportPrinter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void copiesTheDocumentAsRtf()
    {
        ReportPrinter report;
        QCOMPARE(report.title(), QStringLiteral("Гидравлический расчёт трубопровода Велтра-Норлекс"));
        report.setTitle(QStringLiteral("Статический расчёт трубопровода Велтра-Норлекс"));
        QCOMPARE(report.page().title(), QStringLiteral("Статический расчёт трубопровода Велтра-Норлекс"));

        QTextDocument empty;
        QCOMPARE(report.copyDocument(empty), 1);
        QTextDocument doc;
        fillLines(doc, 300);
        QTextCursor bold(&doc);
        bold.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        bold.mergeCharFormat(format);
        doc.setModified(false);
        const int pages = report.copyDocument(doc);
        QVERIFY(pages >= 3);
        QVERIFY(!doc.isModified());
        const QVector<QStringList> lines = report.page().pageLines();
        QCOMPARE(lines.first().first(), QStringLiteral("Строка 1 отчёта о расчёте трубопровода."));
        QCOMPARE(lines.last().last(), QStringLiteral("Строка 300 отчёта о расчёте трубопровода."));
        QVERIFY(!report.page().anyLineCut());
    }

    void preview()
    {
        Setup s(path(QStringLiteral("preview.pdf")));
        const int pages = s.report.copyDocument(*s.editor.document().textDocument());
        // A range kept for printing does not narrow the preview.
        s.report.printer().setPrintRange(QPrinter::PageRange);
        s.report.printer().setFromTo(2, 2);
        int shown = 0;
        bool editorEnabled = true;
        s.dialogs.onDialog = [&](QDialog *dialog) {
            auto *preview = qobject_cast<QPrintPreviewDialog *>(dialog);
            QVERIFY(preview);
            QCOMPARE(preview->windowTitle(), QStringLiteral("Предварительный просмотр"));
            editorEnabled = s.editor.isEnabled();
            auto *widget = preview->findChild<QPrintPreviewWidget *>();
            QVERIFY(widget);
            widget->updatePreview();
            shown = widget->pageCount();
        };
        part<QAction>(s.editor, "previewAction")->trigger();
        QCOMPARE(s.dialogs.dialogsShown, 1);
        QVERIFY(!editorEnabled);
        QVERIFY(s.editor.isEnabled());
        QCOMPARE(shown, pages);
        QVERIFY(s.dialogs.errors.isEmpty());
        QVERIFY(!s.editor.document().isModified());
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("preview.pdf"))));
    }

    void print_data()
    {
        QTest::addColumn<int>("dialogResult");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("printed"); // -1: all pages
        QTest::newRow("cancel") << int(QDialog::Rejected) << 0 << 0 << 0;
        QTest::newRow("all pages") << int(QDialog::Accepted) << 0 << 0 << -1;
        QTest::newRow("pages 2 to 3") << int(QDialog::Accepted) << 2 << 3 << 2;
        QTest::newRow("range past the end") << int(QDialog::Accepted) << 2 << 99 << -2;
    }

    void print()
    {
        QFETCH(int, dialogResult);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, printed);
        const QString file = path(QStringLiteral("print-%1.pdf").arg(QTest::currentDataTag()));
        Setup s(file);
        const int pages = s.report.copyDocument(*s.editor.document().textDocument());
        if (from) {
            s.report.printer().setPrintRange(QPrinter::PageRange);
            s.report.printer().setFromTo(from, to);
        }
        s.dialogs.dialogResult = dialogResult;
        s.dialogs.onDialog = [](QDialog *dialog) { QVERIFY(qobject_cast<QPrintDialog *>(dialog)); };
        s.editor.showEditor();
        QVERIFY(QTest::qWaitForWindowActive(&s.editor));
        QTest::keyClick(part<ReportTextEdit>(s.editor, "richEdit"), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(s.dialogs.dialogsShown, 1);
        if (printed == 0)
            QVERIFY(!QFileInfo::exists(file));
        else
            QCOMPARE(pdfPages(file), printed == -1 ? pages : printed == -2 ? pages - 1 : printed);
        QVERIFY(s.dialogs.errors.isEmpty());
    }

    void printerSetup()
    {
        const QString file = path(QStringLiteral("setup.pdf"));
        Setup s(file);
        const int pages = s.report.copyDocument(*s.editor.document().textDocument());
        QVERIFY(pages >= 3);
        const QStringList noPrinterWarning = QPrinterInfo::availablePrinterNames().isEmpty()
                                                 ? QStringList{QStringLiteral("Не установлен ни один принтер.")}
                                                 : QStringList();
        // Cancel keeps the former settings.
        s.dialogs.dialogResult = QDialog::Rejected;
        s.dialogs.onDialog = [&](QDialog *dialog) {
            auto *setup = qobject_cast<QPrintDialog *>(dialog);
            QVERIFY(setup);
            QCOMPARE(setup->minPage(), 1);
            QCOMPARE(setup->maxPage(), pages);
            QCOMPARE(setup->fromPage(), 1);
            QCOMPARE(setup->toPage(), pages);
            QVERIFY(!setup->testOption(QAbstractPrintDialog::PrintToFile));
            setup->setPrintRange(QAbstractPrintDialog::PageRange);
            setup->setFromTo(2, 3);
            setup->printer()->setCopyCount(4);
        };
        part<QAction>(s.editor, "printerSetupAction")->trigger();
        QCOMPARE(s.dialogs.messages, noPrinterWarning);
        QCOMPARE(s.report.printer().printRange(), QPrinter::AllPages);
        QCOMPARE(s.report.printer().copyCount(), 1);

        // OK keeps the range and the copies for the rest of the run.
        s.dialogs.dialogResult = QDialog::Accepted;
        s.dialogs.onDialog = [](QDialog *dialog) {
            auto *setup = qobject_cast<QPrintDialog *>(dialog);
            setup->setPrintRange(QAbstractPrintDialog::PageRange);
            setup->setFromTo(2, 3);
            setup->printer()->setCopyCount(2);
        };
        part<QAction>(s.editor, "printerSetupAction")->trigger();
        QCOMPARE(s.report.printer().printRange(), QPrinter::PageRange);
        QCOMPARE(s.report.printer().fromPage(), 2);
        QCOMPARE(s.report.printer().toPage(), 3);
        QCOMPARE(s.report.printer().copyCount(), 2);
        s.dialogs.onDialog = {};
        part<QAction>(s.editor, "printAction")->trigger();
        QCOMPARE(pdfPages(file), 2);

        // The next setup offers the kept range; all pages go back to 0 and 0.
        s.dialogs.onDialog = [](QDialog *dialog) {
            auto *setup = qobject_cast<QPrintDialog *>(dialog);
            QCOMPARE(setup->printRange(), QAbstractPrintDialog::PageRange);
            QCOMPARE(setup->fromPage(), 2);
            setup->setPrintRange(QAbstractPrintDialog::AllPages);
        };
        part<QAction>(s.editor, "printerSetupAction")->trigger();
        QCOMPARE(s.report.printer().printRange(), QPrinter::AllPages);
        QCOMPARE(s.report.printer().fromPage(), 0);
        QCOMPARE(s.report.printer().toPage(), 0);
        QVERIFY(!s.editor.document().isModified());
    }

    void paperChosen_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("in the preview") << "preview";
        QTest::newRow("in printer setup") << "setup";
    }

    // Landscape chosen in the preview or in printer setup lays the pages out
    // anew for the preview, the printing and the PDF export.
    void paperChosen()
    {
        QFETCH(QString, where);
        Setup s(path(QStringLiteral("paper-%1.pdf").arg(where)));
        const int portrait = s.report.copyDocument(*s.editor.document().textDocument());
        QCOMPARE(s.report.printer().pageLayout().pageSize().id(), QPageSize::A4);
        int shown = 0;
        if (where == QLatin1String("preview")) {
            s.dialogs.onDialog = [&](QDialog *dialog) {
                auto *widget = dialog->findChild<QPrintPreviewWidget *>();
                QVERIFY(widget);
                widget->setLandscapeOrientation();
                widget->updatePreview();
                shown = widget->pageCount();
            };
            part<QAction>(s.editor, "previewAction")->trigger();
        } else {
            s.dialogs.onDialog = [](QDialog *dialog) {
                qobject_cast<QPrintDialog *>(dialog)->printer()->setPageOrientation(QPageLayout::Landscape);
            };
            part<QAction>(s.editor, "printerSetupAction")->trigger();
            shown = s.report.copyDocument(*s.editor.document().textDocument());
        }
        QCOMPARE(s.report.printer().pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(s.report.page().orientation(), QPageLayout::Landscape);
        QVERIFY(shown > portrait);
        s.dialogs.onDialog = {};
        s.dialogs.saveName = path(QStringLiteral("landscape-%1.pdf").arg(where));
        part<QAction>(s.editor, "exportPdfAction")->trigger();
        QCOMPARE(pdfPages(s.dialogs.saveName), shown);
        static const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"));
        const QRegularExpressionMatch box = mediaBox.match(QString::fromLatin1(TestFiles::read(s.dialogs.saveName)));
        QVERIFY(box.hasMatch());
        QCOMPARE(qRound(box.captured(1).toDouble()), 842);
        QCOMPARE(qRound(box.captured(2).toDouble()), 595);
        part<QAction>(s.editor, "printAction")->trigger();
        QCOMPARE(pdfPages(path(QStringLiteral("paper-%1.pdf").arg(where))), shown);
        QVERIFY(s.dialogs.errors.isEmpty());
    }

    void exportPdf()
    {
        Setup s(QString(), 150);
        const int pages = s.report.copyDocument(*s.editor.document().textDocument());
        QVERIFY(pages >= 2);
        s.dialogs.saveName = path(QStringLiteral("report")); // the extension is added
        part<QAction>(s.editor, "exportPdfAction")->trigger();
        QCOMPARE(s.dialogs.lastDir, s.editor.dialogFolder() + QStringLiteral("/Отчёт.pdf"));
        const QString written = path(QStringLiteral("report.pdf"));
        QCOMPARE(pdfPages(written), pages);
        QVERIFY(TestFiles::read(written).startsWith("%PDF"));
        QVERIFY(s.dialogs.questions.isEmpty());
        QVERIFY(s.dialogs.errors.isEmpty());

        // An existing file is replaced only on Yes.
        QVERIFY(TestFiles::write(written, "former"));
        s.dialogs.saveName = written;
        s.dialogs.answer = QMessageBox::No;
        part<QAction>(s.editor, "exportPdfAction")->trigger();
        QCOMPARE(s.dialogs.questions, QStringList{QStringLiteral("Перезаписать %1").arg(written)});
        QCOMPARE(TestFiles::read(written), QByteArray("former"));
        s.dialogs.answer = QMessageBox::Yes;
        part<QAction>(s.editor, "exportPdfAction")->trigger();
        QCOMPARE(pdfPages(written), pages);

        // A folder that is not there: said, and nothing written.
        s.dialogs.saveName = path(QStringLiteral("no-folder/report.pdf"));
        part<QAction>(s.editor, "exportPdfAction")->trigger();
        QCOMPARE(s.dialogs.errors.size(), 1);
        QVERIFY(
            s.dialogs.errors.first().startsWith(QStringLiteral("Cannot create file \"%1\"").arg(s.dialogs.saveName)));
        QVERIFY(!s.editor.document().isModified());
    }

    void failingDiskKeepsThePdf_data()
    {
        QTest::addColumn<bool>("printing"); // else the export
        QTest::newRow("printing to a PDF file") << true;
        QTest::newRow("PDF export") << false;
    }

    // The PDF file written by printing or by the export is replaced only by
    // a complete one.
    void failingDiskKeepsThePdf()
    {
        QFETCH(bool, printing);
        const QString file = path(QStringLiteral("kept-%1.pdf").arg(printing));
        QVERIFY(TestFiles::write(file, "%PDF former"));
        Setup s(file, 150);
        s.dialogs.dialogResult = QDialog::Accepted;
        s.dialogs.saveName = file;
        s.dialogs.answer = QMessageBox::Yes;
        {
            const FaultyFileSystem disk{FaultyFileSystem::Fault::ShortWrite};
            if (printing)
                s.report.print(&s.editor, *s.editor.document().textDocument());
            else
                part<QAction>(s.editor, "exportPdfAction")->trigger();
        }
        QCOMPARE(s.dialogs.errors, QStringList{QStringLiteral("Файл \"%1\" не записан. На диске недостаточно места. "
                                                              "Прежний файл сохранён без изменений.")
                                                   .arg(file)});
        QCOMPARE(TestFiles::read(file), QByteArray("%PDF former"));
    }
};

QTEST_MAIN(TestReportPrinter)
#include "tst_reportprinter.moc"
