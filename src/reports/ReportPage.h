#pragma once

#include "model/Result.h"
#include "reports/ReportPagination.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

// The report page: A4 portrait unless other paper is chosen, with 10 mm
// margins.  The first page carries the logo at the top right, a rule under
// it and the centred title, all following the width of the paper; the
// document starts 22.6 mm below the top margin and runs on over as many
// pages as it needs.  Every page says at its foot which page of how many it
// is ("Страница 2 из 3").  The document is laid out once for the paper and each
// page draws its slices of that layout (see ReportPagination): lines are
// never cut at a page end, table header rows repeat on every page the table
// continues on, headings stay with what follows, and no page starts or ends
// with a single line of a longer paragraph.
class ReportPage
{
public:
    ReportPage();
    ~ReportPage();
    ReportPage(const ReportPage &) = delete;
    ReportPage &operator=(const ReportPage &) = delete;

    // Page geometry in millimetres, the widths as they are on A4 portrait.
    static constexpr qreal PageWidth = 210.0;
    static constexpr qreal PageHeight = 297.0;
    static constexpr qreal Margin = 10.0;
    static constexpr qreal TextTop = 22.6;
    static constexpr qreal TextWidth = 189.4;
    static constexpr qreal TitleTop = 16.6;
    static constexpr qreal TitleHeight = 6.0;
    static constexpr qreal RuleTop = 16.7;
    static constexpr qreal RuleWidth = 189.9;
    static constexpr qreal RuleHeight = 0.2;
    static constexpr qreal LogoLeft = 128.7;
    static constexpr qreal LogoTop = 0.2;
    static constexpr qreal LogoWidth = 61.0;
    static constexpr qreal LogoHeight = 16.1;
    static constexpr qreal BandWidth = 189.8;
    // The foot of every page, above the bottom margin, that holds the page number.
    static constexpr qreal FooterHeight = 7.0;

    // The title line; at first "Гидравлический расчёт трубопровода Велтра-Норлекс".
    const QString &title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    // The logo the page was built with.
    const QImage &logo() const { return m_logo; }
    void setLogo(const QImage &logo) { m_logo = logo; }

    // The paper; the document is laid out anew for other paper.
    void setPaper(const QPageSize &size, QPageLayout::Orientation orientation);
    const QPageSize &paperSize() const { return m_paperSize; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    // The paper's width and height as it lies, in millimetres.
    QSizeF paperMillimetres() const;
    // The widths of the text, the band of the title and of the rule, and
    // where the logo starts, for the paper chosen.
    qreal textWidth() const { return bandWidth() - (BandWidth - TextWidth); }
    qreal bandWidth() const { return paperMillimetres().width() - 2 * Margin - (PageWidth - 2 * Margin - BandWidth); }
    qreal ruleWidth() const { return bandWidth() + (RuleWidth - BandWidth); }
    qreal logoLeft() const { return bandWidth() - (BandWidth - LogoLeft); }

    // Copies the document onto the page; the copy keeps every character and
    // paragraph format, and text without a font of its own is set in Arial.
    void setDocument(const QTextDocument &document);
    // The same with a document the page takes over, which spares the copy.
    void setDocument(std::unique_ptr<QTextDocument> document);

    // Takes the paper of the device (as chosen in printer setup, the print
    // dialog or the preview), lays the page out for it when it is new and
    // sets the device to print from the paper's corner; returns the number
    // of pages.
    int prepare(QPagedPaintDevice *device);
    int pageCount() const { return int(m_pages.size()); }

    // Paints page `index` (from 0) of the last layout; the painter's origin
    // is the top left corner of the paper, in the device's pixels.
    void paintPage(QPainter &painter, int index) const;

    // Lays out for the device and paints pages first..last (from 1; 0 and 0
    // mean all) onto it, one page after another.  False when the device
    // cannot be painted on or cannot start a new page.  progress, when given,
    // hears before each page how many of how many are done, and stops the
    // printing (false) by returning false.
    using Progress = std::function<bool(int done, int total)>;
    bool print(QPagedPaintDevice *device, int firstPage = 0, int lastPage = 0, const Progress &progress = {});

    // The pages as a PDF file on the paper of the page, written all or
    // nothing; a failure carries the message to show when the file cannot
    // be written.
    Result<> exportPdf(const QString &fileName);
    // The same for pages first..last (as print() takes them) with progress,
    // on the paper of a printer's settings when given.
    struct PdfPages
    {
        int firstPage = 0;
        int lastPage = 0;
        Progress progress;
        std::optional<QPageLayout> layout;
    };
    Result<> exportPdf(const QString &fileName, const PdfPages &pages);

    // The text lines each page shows, in reading order (header rows that
    // repeat are shown on every page they are drawn on).
    QVector<QStringList> pageLines() const;
    // The line at the foot of page `index` (from 0): "Страница 1 из 3".
    QString footerText(int index) const;
    // Whether a line of the last layout is cut by the edge of a slice.
    bool anyLineCut() const;

    // The logo that ships with the program.
    static QImage defaultLogo();

private:
    // The document is laid out at a fixed 96 dots per inch, the resolution
    // the editor measures indents in, and scaled onto the device; the page's
    // own elements are drawn in the device's pixels.
    static qreal layoutDots(qreal millimetres) { return millimetres * LayoutDpi / 25.4; }
    qreal deviceDots(qreal millimetres) const { return millimetres * m_deviceDpi / 25.4; }
    static constexpr qreal LayoutDpi = 96.0;
    // How far inside its slice a page looks for the lines it draws, in
    // layout units: lines that only touch the slice's edge are another page's.
    static constexpr qreal SliceInset = 0.5;

    // Lays the document out for the paper and cuts it into pages.
    void layOut();

    QString m_title;
    QImage m_logo;
    QPageSize m_paperSize;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    // The document, laid out for the paper; its long paragraphs cut into
    // pieces for that paper, put together again for other paper.
    std::unique_ptr<QTextDocument> m_document;
    std::unique_ptr<QImage> m_layoutDevice;
    QVector<ReportPagination::Page> m_pages;
    qreal m_deviceDpi = LayoutDpi;
};
