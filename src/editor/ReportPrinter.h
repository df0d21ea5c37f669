#pragma once

#include "model/Result.h"

#include <QObject>
#include <QString>

#include <memory>

class QPrinter;
class QTextDocument;
class QWidget;
class ReportPage;

// Holds the report page on which the editor's document is previewed,
// printed and exported to PDF, and the printer settings kept for the whole
// run.  Created once at start-up, after the editor; never shown itself.
// Each command first copies the document onto the page as RTF; the document
// itself is never changed.
class ReportPrinter : public QObject
{
    Q_OBJECT

public:
    explicit ReportPrinter(QObject *parent = nullptr);
    ~ReportPrinter() override;

    ReportPage &page() { return *m_page; }
    // The kept settings: printer, copies, orientation, pages (all, or a range).
    QPrinter &printer() { return *m_printer; }

    // The title line of the report page, set by the report command.
    void setTitle(const QString &title);
    QString title() const;

    // Copies the document onto the page through RTF and lays it out;
    // returns the number of pages.
    int copyDocument(const QTextDocument &document);

    // The preview window with zoom, page navigation, page setup and print;
    // returns when it is closed.
    void preview(QWidget *parent, const QTextDocument &document);
    // The print dialog, then on OK the pages of the kept settings; false when
    // nothing was printed.
    bool print(QWidget *parent, const QTextDocument &document);
    // The printer setup dialog: printer, copies, orientation and pages of
    // 1 to the page count; OK keeps them for later previews and prints.
    void printerSetup(QWidget *parent, const QTextDocument &document);
    // The pages as a PDF file chosen in a save dialog that starts at
    // suggestedPath; false when nothing was written.
    bool exportPdf(QWidget *parent, const QTextDocument &document, const QString &suggestedPath);

private:
    // Paints the pages asked of the printer: in a preview all of them.  A
    // printer that prints to a PDF file writes it all or nothing.  False
    // when the user stopped it or there was nothing to print on, which
    // needs no word; a failure with what to say when not all pages came out.
    Result<bool> paintPages(QPrinter *printer, QWidget *parent);

    std::unique_ptr<ReportPage> m_page;
    std::unique_ptr<QPrinter> m_printer;
};
