#include "editor/ReportPrinter.h"

#include "reports/ReportPage.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "ui/Dialogs.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextDocument>

#include <algorithm>

namespace {

// Whether printing on this printer can produce anything: a PDF printer
// needs a file, a system printer must exist.  (Beginning to paint on one
// that cannot leaves it unusable for the rest of the run.)
bool hasOutput(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return printer.isValid();
}

// Whether the printer is painting the pages of a preview window, which
// shows all of them whatever range is kept for printing.
bool isPreviewing(QPrinter *printer)
{
    return printer->paintEngine() && printer->paintEngine()->type() == QPaintEngine::Picture;
}

} // namespace

ReportPrinter::ReportPrinter(QObject *parent)
    : QObject(parent), m_page(std::make_unique<ReportPage>()), m_printer(std::make_unique<QPrinter>())
{
    // The page's origin is the paper's corner, as the report page draws it.
    m_printer->setFullPage(true);
    // A4 portrait until the user chooses other paper, whatever the system's
    // default.
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Portrait);
    m_printer->setCopyCount(1);
    m_printer->setDuplex(QPrinter::DuplexNone);
    m_printer->setPaperSource(QPrinter::Auto);
    m_printer->setPrintRange(QPrinter::AllPages);
}

ReportPrinter::~ReportPrinter() = default;

void ReportPrinter::setTitle(const QString &title)
{
    m_page->setTitle(title);
}

QString ReportPrinter::title() const
{
    return m_page->title();
}

int ReportPrinter::copyDocument(const QTextDocument &document)
{
    // Through RTF, as a file would carry it: character and paragraph formats
    // included, whatever the document was read from.
    auto copy = std::make_unique<QTextDocument>();
    RtfReader::read(RtfWriter::write(document), *copy);
    // On the paper chosen last, in printer setup, the print dialog or the preview.
    const QPageLayout paper = m_printer->pageLayout();
    m_page->setPaper(paper.pageSize(), paper.orientation());
    m_page->setDocument(std::move(copy));
    return m_page->pageCount();
}

void ReportPrinter::preview(QWidget *parent, const QTextDocument &document)
{
    copyDocument(document);
    QPrintPreviewDialog dialog(m_printer.get(), parent);
    dialog.setWindowTitle(QStringLiteral("Предварительный просмотр"));
    dialog.resize(760, 860);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this, &dialog](QPrinter *printer) {
        const Result<bool> painted = paintPages(printer, &dialog);
        if (!painted)
            Dialogs::instance().generalError(&dialog, painted.message());
    });
    Dialogs::instance().execDialog(&dialog);
}

bool ReportPrinter::print(QWidget *parent, const QTextDocument &document)
{
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setWindowTitle(QStringLiteral("Печать"));
    if (Dialogs::instance().execDialog(&dialog) != QDialog::Accepted)
        return false;
    copyDocument(document);
    // Without a printer nothing comes out, and nothing is said.
    if (!hasOutput(*m_printer))
        return false;
    const Result<bool> painted = paintPages(m_printer.get(), parent);
    if (!painted) {
        Dialogs::instance().generalError(parent, painted.message());
        return false;
    }
    return *painted;
}

Result<bool> ReportPrinter::paintPages(QPrinter *printer, QWidget *parent)
{
    const auto notPrinted = [] { return Result<bool>::failure(QStringLiteral("Не удалось напечатать отчёт")); };
    if (isPreviewing(printer)) {
        if (m_page->print(printer))
            return true;
        return notPrinted();
    }
    if (!hasOutput(*printer))
        return false;
    int first = 0;
    int last = 0;
    if (printer->printRange() == QPrinter::PageRange) {
        first = printer->fromPage();
        last = printer->toPage();
    }
    QProgressDialog progress(QStringLiteral("Печать отчёта..."), QStringLiteral("Отмена"), 0, 1, parent);
    progress.setWindowTitle(Dialogs::applicationTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    bool stopped = false;
    const ReportPage::Progress onPage = [&progress, &stopped, printer](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        if (progress.wasCanceled()) {
            stopped = true;
            printer->abort();
            return false;
        }
        return true;
    };
    if (printer->outputFormat() == QPrinter::PdfFormat) {
        // The file a printer without a printer writes is kept whole until
        // the new one is complete, as the PDF export keeps it.
        ReportPage::PdfPages pages;
        pages.firstPage = first;
        pages.lastPage = last;
        pages.progress = onPage;
        pages.layout = printer->pageLayout();
        const Result<> exported = m_page->exportPdf(printer->outputFileName(), pages);
        if (exported)
            return true;
        if (stopped)
            return false;
        return exported;
    }
    if (m_page->print(printer, first, last, onPage))
        return true;
    if (stopped || printer->printerState() == QPrinter::Aborted)
        return false;
    return notPrinted();
}

void ReportPrinter::printerSetup(QWidget *parent, const QTextDocument &document)
{
    const int pages = copyDocument(document);
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        Dialogs::instance().message(parent, QStringLiteral("Не установлен ни один принтер."));

    // The dialog works on a copy of the settings, so that Cancel keeps them.
    QPrinter setup;
    if (!m_printer->printerName().isEmpty())
        setup.setPrinterName(m_printer->printerName());
    setup.setCopyCount(m_printer->copyCount());
    setup.setPageSize(m_printer->pageLayout().pageSize());
    setup.setPageOrientation(m_printer->pageLayout().orientation());
    if (m_printer->printRange() == QPrinter::PageRange && m_printer->fromPage() > 0) {
        setup.setPrintRange(QPrinter::PageRange);
        const int from = std::clamp(m_printer->fromPage(), 1, pages);
        setup.setFromTo(from, std::clamp(m_printer->toPage(), from, pages));
    } else {
        setup.setPrintRange(QPrinter::AllPages);
        setup.setFromTo(1, pages);
    }
    QPrintDialog dialog(&setup, parent);
    dialog.setWindowTitle(QStringLiteral("Настройка печати"));
    dialog.setMinMax(1, pages);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintShowPageSize
                      | QAbstractPrintDialog::PrintCollateCopies);
    // It sets up; the printing is done by the print command.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("ОК"));
    }
    if (Dialogs::instance().execDialog(&dialog) != QDialog::Accepted)
        return;

    if (setup.outputFormat() == QPrinter::NativeFormat && !setup.printerName().isEmpty())
        m_printer->setPrinterName(setup.printerName());
    m_printer->setCopyCount(setup.copyCount());
    m_printer->setPageSize(setup.pageLayout().pageSize());
    m_printer->setPageOrientation(setup.pageLayout().orientation());
    if (setup.printRange() == QPrinter::PageRange) {
        m_printer->setPrintRange(QPrinter::PageRange);
        m_printer->setFromTo(setup.fromPage(), setup.toPage());
    } else {
        m_printer->setPrintRange(QPrinter::AllPages);
        m_printer->setFromTo(0, 0);
    }
}

bool ReportPrinter::exportPdf(QWidget *parent, const QTextDocument &document, const QString &suggestedPath)
{
    QString path = Dialogs::instance().saveFileName(parent, QStringLiteral("Экспорт в PDF"), suggestedPath,
                                                    QStringLiteral("Документы PDF (*.pdf *.PDF)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (!Dialogs::instance().confirmOverwrite(parent, path))
        return false;
    copyDocument(document);
    const Result<> exported = m_page->exportPdf(path);
    if (!exported) {
        Dialogs::instance().generalError(parent, exported.message());
        return false;
    }
    return true;
}
