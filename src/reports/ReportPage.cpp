#include "reports/ReportPage.h"

#include "reports/LongParagraphs.h"
#include "richtext/DocumentCopy.h"
#include "richtext/DocumentFile.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <cmath>

namespace {

QFont footerFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    return font;
}

QFont titleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(14);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

// Every text line of the laid-out document with its place, in document
// order, table cells included.
struct PlacedLine
{
    QString text;
    qreal top;
    qreal bottom;
};

QVector<PlacedLine> placedLines(const QTextDocument &doc)
{
    QVector<PlacedLine> lines;
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!ReportPagination::laidOut(block))
            continue;
        const QRectF blockRect = layout->blockBoundingRect(block);
        const QTextLayout *textLayout = block.layout();
        const QString text = block.text();
        for (int i = 0; i < textLayout->lineCount(); ++i) {
            const QTextLine line = textLayout->lineAt(i);
            const qreal top = blockRect.top() + line.y();
            lines.append({text.mid(line.textStart(), line.textLength()), top, top + line.height()});
        }
    }
    return lines;
}

} // namespace

ReportPage::ReportPage()
    : m_title(QStringLiteral("Гидравлический расчёт трубопровода Велтра-Норлекс")), m_logo(defaultLogo()),
      m_paperSize(QPageSize::A4), m_layoutDevice(std::make_unique<QImage>(1, 1, QImage::Format_RGB32))
{
    const int dotsPerMeter = qRound(LayoutDpi / 0.0254);
    m_layoutDevice->setDotsPerMeterX(dotsPerMeter);
    m_layoutDevice->setDotsPerMeterY(dotsPerMeter);
    setDocument(QTextDocument());
}

ReportPage::~ReportPage() = default;

QImage ReportPage::defaultLogo()
{
    Q_INIT_RESOURCE(reports);
    return QImage(QStringLiteral(":/report/logo.jpg"), "JPEG");
}

void ReportPage::setDocument(const QTextDocument &document)
{
    setDocument(DocumentCopy::of(document));
}

void ReportPage::setDocument(std::unique_ptr<QTextDocument> document)
{
    m_document = std::move(document);
    QTextDocument &doc = *m_document;
    doc.setUndoRedoEnabled(false);
    QFont base = doc.defaultFont();
    base.setFamily(QStringLiteral("Arial"));
    doc.setDefaultFont(base);
    QTextFrameFormat root = doc.rootFrame()->frameFormat();
    root.setMargin(0);
    root.setPadding(0);
    root.setBorder(0);
    doc.rootFrame()->setFrameFormat(root);
    doc.setDocumentMargin(0);
    layOut();
}

void ReportPage::setPaper(const QPageSize &size, QPageLayout::Orientation orientation)
{
    if (size.isEquivalentTo(m_paperSize) && orientation == m_orientation)
        return;
    m_paperSize = size.isValid() ? size : QPageSize(QPageSize::A4);
    m_orientation = orientation;
    if (m_document)
        layOut();
}

QSizeF ReportPage::paperMillimetres() const
{
    const QSizeF portrait = m_paperSize.size(QPageSize::Millimeter);
    return m_orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

void ReportPage::layOut()
{
    QTextDocument &doc = *m_document;
    // Without a layout while the long paragraphs are put together and cut
    // anew for the paper: a layout would lay every change out.
    doc.setDocumentLayout(nullptr);
    LongParagraphs::join(doc);
    LongParagraphs::split(doc, m_layoutDevice.get(), layoutDots(textWidth()));
    doc.documentLayout()->setPaintDevice(m_layoutDevice.get());
    doc.setTextWidth(layoutDots(textWidth()));
    doc.documentLayout()->documentSize();
    const qreal fullPage = layoutDots(paperMillimetres().height() - 2 * Margin - FooterHeight);
    m_pages = ReportPagination::paginate(doc, fullPage - layoutDots(TextTop), fullPage);
}

int ReportPage::prepare(QPagedPaintDevice *device)
{
    const QPageLayout chosen = device->pageLayout();
    setPaper(chosen.pageSize(), chosen.orientation());
    device->setPageLayout(QPageLayout(m_paperSize, m_orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    m_deviceDpi = device->logicalDpiY();
    return pageCount();
}

void ReportPage::paintPage(QPainter &painter, int index) const
{
    painter.save();
    painter.translate(deviceDots(Margin), deviceDots(Margin));

    painter.save();
    const qreal scale = m_deviceDpi / LayoutDpi;
    painter.scale(scale, scale);
    if (index == 0)
        painter.translate(0, layoutDots(TextTop));
    // Each slice clipped across the whole paper: a table drawn to the text's
    // edge keeps its right border.
    const qreal left = -layoutDots(Margin);
    const qreal width = layoutDots(paperMillimetres().width());
    for (const ReportPagination::Slice &slice : m_pages.value(index)) {
        painter.save();
        painter.translate(0, slice.at - slice.top);
        const QRectF area(left, slice.top, width, slice.bottom - slice.top);
        painter.setClipRect(area, Qt::IntersectClip);
        // The layout draws every line that touches the area; the line that
        // starts where the slice ends belongs to the next page and must not
        // be drawn here, not even clipped away: a PDF would keep its text.
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area.adjusted(0, SliceInset, 0, -SliceInset);
        m_document->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    painter.restore();

    // The page number, at the right of the foot of every page.
    painter.setFont(footerFont());
    painter.setPen(Qt::black);
    const qreal footTop = paperMillimetres().height() - 2 * Margin - FooterHeight;
    painter.drawText(QRectF(0, deviceDots(footTop), deviceDots(bandWidth()), deviceDots(FooterHeight)),
                     Qt::AlignRight | Qt::AlignBottom, footerText(index));

    if (index == 0) {
        // Drawn over the document as the page's elements are: title, rule, logo.
        painter.setFont(titleFont());
        painter.setPen(Qt::black);
        const QRectF titleBox(0, deviceDots(TitleTop), deviceDots(bandWidth()), deviceDots(TitleHeight));
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        const QRectF needed = painter.boundingRect(titleBox, flags, m_title);
        painter.drawText(
            QRectF(titleBox.topLeft(), QSizeF(titleBox.width(), std::max(titleBox.height(), needed.height()))), flags,
            m_title);
        painter.fillRect(QRectF(0, deviceDots(RuleTop), deviceDots(ruleWidth()), deviceDots(RuleHeight)), Qt::black);
        if (!m_logo.isNull())
            painter.drawImage(
                QRectF(deviceDots(logoLeft()), deviceDots(LogoTop), deviceDots(LogoWidth), deviceDots(LogoHeight)),
                m_logo);
    }
    painter.restore();
}

bool ReportPage::print(QPagedPaintDevice *device, int firstPage, int lastPage, const Progress &progress)
{
    const int pages = prepare(device);
    const int from = firstPage <= 0 ? 1 : firstPage;
    const int to = lastPage <= 0 ? pages : std::min(lastPage, pages);
    if (from > to)
        return true;
    QPainter painter;
    if (!painter.begin(device))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int page = from; page <= to; ++page) {
        if (progress && !progress(page - from, to - from + 1))
            return false;
        if (page > from && !device->newPage())
            return false;
        paintPage(painter, page - 1);
    }
    return painter.end();
}

Result<> ReportPage::exportPdf(const QString &fileName)
{
    return exportPdf(fileName, PdfPages());
}

Result<> ReportPage::exportPdf(const QString &fileName, const PdfPages &pages)
{
    // Written all or nothing: the file that was there stays whole until the
    // new one is complete.
    return DocumentFile::saveWith(
        fileName,
        [this, &pages](QIODevice &file) {
            QPdfWriter writer(&file);
            writer.setPageLayout(pages.layout ? *pages.layout
                                              : QPageLayout(m_paperSize, m_orientation, QMarginsF(0, 0, 0, 0)));
            writer.setResolution(600);
            writer.setCreator(QStringLiteral("Расчёты Велтра-Норлекс"));
            writer.setTitle(m_title);
            return print(&writer, pages.firstPage, pages.lastPage, pages.progress);
        },
        QStringLiteral("Не удалось записать PDF"));
}

QString ReportPage::footerText(int index) const
{
    return QStringLiteral("Страница %1 из %2").arg(index + 1).arg(pageCount());
}

QVector<QStringList> ReportPage::pageLines() const
{
    const QVector<PlacedLine> lines = placedLines(*m_document);
    QVector<QStringList> pages;
    for (const ReportPagination::Page &page : m_pages) {
        QStringList shown;
        for (const ReportPagination::Slice &slice : page) {
            for (const PlacedLine &line : lines) {
                const qreal middle = (line.top + line.bottom) / 2;
                if (middle >= slice.top && middle < slice.bottom)
                    shown << line.text;
            }
        }
        pages << shown;
    }
    return pages;
}

bool ReportPage::anyLineCut() const
{
    const QVector<PlacedLine> lines = placedLines(*m_document);
    for (const ReportPagination::Page &page : m_pages) {
        for (const ReportPagination::Slice &slice : page) {
            for (const PlacedLine &line : lines) {
                for (const qreal edge : {slice.top, slice.bottom}) {
                    if (line.top < edge - 0.01 && line.bottom > edge + 0.01)
                        return true;
                }
            }
        }
    }
    return false;
}
