#include "reports/ReportUnit.h"

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

QFont titleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(14);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

// Every text line of the laid-out document with its place, in document order.
struct PlacedLine
{
    QString text;
    qreal top;
    qreal bottom;
};

QVector<PlacedLine> placedLines(QTextDocument &doc)
{
    QVector<PlacedLine> lines;
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
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
      m_document(std::make_unique<QTextDocument>()), m_layoutDevice(std::make_unique<QImage>(1, 1, QImage::Format_RGB32))
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
    m_document.reset(document.clone());
    QTextDocument &doc = *m_document;
    doc.setUndoRedoEnabled(false);
    QFont base = doc.defaultFont();
    base.setFamily(QStringLiteral("Arial"));
    doc.setDefaultFont(base);
    doc.documentLayout()->setPaintDevice(m_layoutDevice.get());
    QTextFrameFormat root = doc.rootFrame()->frameFormat();
    root.setMargin(0);
    root.setPadding(0);
    root.setBorder(0);
    doc.rootFrame()->setFrameFormat(root);
    doc.setDocumentMargin(0);
    doc.setTextWidth(layoutDots(TextWidth));
    paginate();
}

void ReportPage::paginate()
{
    const QVector<PlacedLine> lines = placedLines(*m_document);
    const qreal height = m_document->documentLayout()->documentSize().height();
    const qreal fullPage = layoutDots(PageHeight - 2 * Margin);
    const qreal epsilon = 0.01;

    m_pageStarts = {0.0};
    qreal start = 0.0;
    qreal available = fullPage - layoutDots(TextTop); // the first page holds less
    while (start + available < height) {
        const qreal limit = start + available;
        // Break above every line that would cross the page end; lines side by
        // side in a table row move together.
        qreal cut = limit;
        for (bool moved = true; moved;) {
            moved = false;
            for (const PlacedLine &line : lines) {
                if (line.top < cut - epsilon && line.bottom > cut + epsilon && line.top > start + epsilon) {
                    cut = line.top;
                    moved = true;
                }
            }
        }
        m_pageStarts.append(cut);
        start = cut;
        available = fullPage;
    }
}

qreal ReportPage::pageEnd(int index) const
{
    return index + 1 < m_pageStarts.size() ? m_pageStarts[index + 1]
                                           : m_document->documentLayout()->documentSize().height();
}

int ReportPage::prepare(QPagedPaintDevice *device)
{
    QPageLayout page(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    device->setPageLayout(page);
    m_deviceDpi = device->logicalDpiY();
    return pageCount();
}

int ReportPage::pageCount() const
{
    return int(m_pageStarts.size());
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
    const qreal top = m_pageStarts.value(index);
    painter.translate(0, -top);
    // Clipped to this page's share of the document, across the whole paper:
    // a table drawn to the text's edge keeps its right border.
    m_document->drawContents(&painter, QRectF(-layoutDots(Margin), top, layoutDots(PageWidth), pageEnd(index) - top));
    painter.restore();

    if (index == 0) {
        // Drawn over the document as the page's elements are: title, rule, logo.
        painter.setFont(titleFont());
        painter.setPen(Qt::black);
        const QRectF titleBox(0, deviceDots(TitleTop), deviceDots(BandWidth), deviceDots(TitleHeight));
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
        const QRectF needed = painter.boundingRect(titleBox, flags, m_title);
        painter.drawText(QRectF(titleBox.topLeft(), QSizeF(titleBox.width(), std::max(titleBox.height(), needed.height()))),
                         flags, m_title);
        painter.fillRect(QRectF(0, deviceDots(RuleTop), deviceDots(RuleWidth), deviceDots(RuleHeight)), Qt::black);
        if (!m_logo.isNull())
            painter.drawImage(QRectF(deviceDots(LogoLeft), deviceDots(LogoTop), deviceDots(LogoWidth),
                                     deviceDots(LogoHeight)),
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

bool ReportPage::exportPdf(const QString &fileName, QString *error)
{
    return exportPdf(fileName, error, PdfPages());
}

bool ReportPage::exportPdf(const QString &fileName, QString *error, const PdfPages &pages)
{
    // Written all or nothing: the file that was there stays whole until the
    // new one is complete.
    const DocumentFile::Result saved = DocumentFile::saveWith(
        fileName,
        [this, &pages](QIODevice &file) {
            QPdfWriter writer(&file);
            if (pages.layout)
                writer.setPageLayout(*pages.layout);
            writer.setResolution(600);
            writer.setCreator(QStringLiteral("Расчёты Велтра-Норлекс"));
            writer.setTitle(m_title);
            return print(&writer, pages.firstPage, pages.lastPage, pages.progress);
        },
        QStringLiteral("Не удалось записать PDF"));
    if (!saved.ok && error)
        *error = saved.message;
    return saved.ok;
}

QVector<QStringList> ReportPage::pageLines() const
{
    QVector<QStringList> pages(pageCount());
    for (const PlacedLine &line : placedLines(*m_document)) {
        int page = pageCount() - 1;
        while (page > 0 && line.top < m_pageStarts[page])
            --page;
        pages[page] << line.text;
    }
    return pages;
}

bool ReportPage::anyLineCut() const
{
    for (const PlacedLine &line : placedLines(*m_document)) {
        for (int page = 1; page < pageCount(); ++page) {
            if (line.top < m_pageStarts[page] - 0.01 && line.bottom > m_pageStarts[page] + 0.01)
                return true;
        }
    }
    return false;
}
