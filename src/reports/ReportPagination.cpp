#include "reports/ReportPagination.h"

#include "reports/LongParagraphs.h"

#include <QAbstractTextDocumentLayout>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr qreal kEpsilon = 0.01;

// A place where a page may end.
struct Break
{
    qreal end = 0;         // the page above shows the strip down to here
    qreal resume = 0;      // the next page goes on from here
    qreal resumeUnder = 0; // ... or from here, below the repeated header rows
    int header = -1;       // the header rows to repeat on the next page, if any
    bool poor = false;     // splits what belongs together: only when nothing else fits
    bool forced = false;   // an explicit page break
};

struct HeaderRows
{
    qreal top = 0;
    qreal bottom = 0;
};

class Collector
{
public:
    explicit Collector(const QTextDocument &document) : m_document(document), m_layout(document.documentLayout()) {}

    void run()
    {
        countParagraphLines();
        for (auto it = m_document.rootFrame()->begin(); !it.atEnd(); ++it) {
            if (QTextFrame *frame = it.currentFrame()) {
                if (auto *table = qobject_cast<QTextTable *>(frame))
                    addTable(*table);
                else
                    addFrame(*frame);
            } else if (ReportPagination::laidOut(it.currentBlock())) {
                addParagraph(it.currentBlock());
            }
        }
        std::stable_sort(m_breaks.begin(), m_breaks.end(),
                         [](const Break &a, const Break &b) { return a.end < b.end; });
    }

    const std::vector<Break> &breaks() const { return m_breaks; }
    const QVector<HeaderRows> &headers() const { return m_headers; }

    // The closing section, from the last heading on, stays on one page
    // when it takes no more than `most`: its breaks are used only when
    // nothing else fits.  So a report's conclusions stay with the place to
    // sign under them.
    void keepClosingSection(qreal end, qreal most)
    {
        if (m_lastHeadingTop < 0 || end - m_lastHeadingTop > most)
            return;
        for (Break &b : m_breaks) {
            if (b.end > m_lastHeadingTop + kEpsilon)
                b.poor = true;
        }
    }

private:
    static int keyOf(const QTextBlock &block)
    {
        const int paragraph = LongParagraphs::paragraphOf(block);
        return paragraph >= 0 ? paragraph : -1 - block.blockNumber();
    }

    void countParagraphLines()
    {
        for (auto it = m_document.rootFrame()->begin(); !it.atEnd(); ++it) {
            const QTextBlock block = it.currentBlock();
            if (block.isValid() && ReportPagination::laidOut(block))
                m_paragraphLines[keyOf(block)] += block.layout()->lineCount();
        }
    }

    QRectF rectOf(const QTextBlock &block) const { return m_layout->blockBoundingRect(block); }

    void add(qreal y, bool poor, bool forced = false)
    {
        Break b;
        b.end = b.resume = b.resumeUnder = y;
        b.poor = poor;
        b.forced = forced;
        m_breaks.push_back(b);
    }

    void addParagraph(const QTextBlock &block)
    {
        const QTextLayout *layout = block.layout();
        const QRectF rect = rectOf(block);
        const QTextBlockFormat format = block.blockFormat();
        const int key = keyOf(block);
        const int total = m_paragraphLines.value(key);
        const bool continued = key == m_lastKey && key >= 0;
        if (!continued && ReportPagination::isHeading(block))
            m_lastHeadingTop = rect.top();
        if (!continued)
            m_linesBefore = 0;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const qreal top = rect.top() + layout->lineAt(i).y();
            if (i == 0 && !continued) {
                add(top, m_keepWithPrevious,
                    m_breakAfterPrevious || format.pageBreakPolicy().testFlag(QTextFormat::PageBreak_AlwaysBefore));
            } else {
                // No page ends or starts with a single line of the paragraph.
                add(top, m_linesBefore == 1 || total - m_linesBefore == 1);
            }
            ++m_linesBefore;
        }
        m_lastKey = key;
        // An empty paragraph passes on what stood before it.
        if (!block.text().trimmed().isEmpty() || !m_keepWithPrevious)
            m_keepWithPrevious = ReportPagination::keptWithNext(block);
        m_breakAfterPrevious = format.pageBreakPolicy().testFlag(QTextFormat::PageBreak_AlwaysAfter);
        // The text's own bottom: the layout may let what follows begin
        // within the paragraph's margin.
        m_bottom = rect.bottom();
    }

    // The lines of every paragraph in a frame or a table row: (top, bottom).
    void linesIn(const QTextBlock &first, const QTextBlock &last, std::vector<std::pair<qreal, qreal>> &lines) const
    {
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            const QRectF rect = rectOf(block);
            const QTextLayout *layout = block.layout();
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                lines.emplace_back(rect.top() + line.y(), rect.top() + line.y() + line.height());
            }
            if (block == last)
                break;
        }
    }

    // Breaks at the tops of lines that no other line of the group crosses.
    void addBetweenLines(std::vector<std::pair<qreal, qreal>> lines, bool poor, int header)
    {
        std::sort(lines.begin(), lines.end());
        qreal reach = -std::numeric_limits<qreal>::max();
        for (const auto &[top, bottom] : lines) {
            if (top >= reach - kEpsilon && reach > -std::numeric_limits<qreal>::max()) {
                add(top, poor);
                m_breaks.back().header = header;
            }
            reach = std::max(reach, bottom);
        }
    }

    void addFrame(QTextFrame &frame)
    {
        std::vector<std::pair<qreal, qreal>> lines;
        const QTextBlock first = m_document.findBlock(frame.firstPosition());
        const QTextBlock last = m_document.findBlock(frame.lastPosition());
        linesIn(first, last, lines);
        const QRectF rect = m_layout->frameBoundingRect(&frame);
        add(std::max(m_bottom, rect.top()), m_keepWithPrevious, m_breakAfterPrevious);
        addBetweenLines(lines, false, -1);
        finishFrame(rect.bottom());
    }

    void finishFrame(qreal bottom)
    {
        m_keepWithPrevious = false;
        m_breakAfterPrevious = false;
        m_lastKey = std::numeric_limits<int>::min();
        m_bottom = bottom;
    }

    void addTable(QTextTable &table)
    {
        const int rows = table.rows();
        const int columns = table.columns();
        const qreal none = std::numeric_limits<qreal>::max();
        std::vector<qreal> contentTop(rows, none);
        std::vector<qreal> contentBottom(rows, -none);
        std::vector<bool> spanned(rows, false); // a cell runs across the top of the row
        std::vector<qreal> border(rows, 0);     // the widest border over the top of the row
        std::vector<std::vector<std::pair<qreal, qreal>>> rowLines(rows);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table.cellAt(r, c);
                if (!cell.isValid() || cell.row() != r || cell.column() != c)
                    continue;
                const QTextBlock first = cell.firstCursorPosition().block();
                const QTextBlock last = cell.lastCursorPosition().block();
                contentTop[r] = std::min(contentTop[r], rectOf(first).top() - first.blockFormat().topMargin());
                const int lastRow = std::min(rows - 1, r + cell.rowSpan() - 1);
                contentBottom[lastRow] =
                    std::max(contentBottom[lastRow], rectOf(last).bottom() + last.blockFormat().bottomMargin());
                for (int k = r + 1; k <= lastRow; ++k)
                    spanned[k] = true;
                const QTextTableCellFormat format = cell.format().toTableCellFormat();
                const qreal tableBorder = table.format().border();
                border[r] = std::max(border[r], format.hasProperty(QTextFormat::TableCellTopBorder) ? format.topBorder()
                                                                                                    : tableBorder);
                if (lastRow + 1 < rows)
                    border[lastRow + 1] = std::max(
                        border[lastRow + 1],
                        format.hasProperty(QTextFormat::TableCellBottomBorder) ? format.bottomBorder() : tableBorder);
                linesIn(first, last, rowLines[r]);
            }
        }
        // Rows are measured by their text; the borders and padding lie in
        // the gap between the text of one row and the next.
        std::vector<qreal> above(rows, -none); // the text of the rows above ends here
        qreal reach = -none;
        for (int r = 0; r < rows; ++r) {
            above[r] = reach;
            reach = std::max(reach, contentBottom[r]);
        }
        const qreal firstGap = rows > 1 && contentTop[1] < none ? contentTop[1] - above[1] : 12.0;
        // The table's top border lies as far above its text as the border
        // between two rows lies below the middle of their gap.
        const qreal top = std::max(m_bottom, contentTop[0] - firstGap / 2 - border[0] - 1.3);

        add(top, m_keepWithPrevious, m_breakAfterPrevious);

        const int headerRows = std::clamp(table.format().headerRowCount(), 0, rows - 1);
        int header = -1;
        for (int r = 1; r < rows; ++r) {
            if (spanned[r] || contentTop[r] == none)
                continue;
            // The border between the rows lies about the middle of the gap
            // between their text, set on whole pixels.  It goes with both
            // pages; under the repeated header rows, whose own border closes
            // them, it is left out.
            const qreal middle = (contentTop[r] + above[r]) / 2;
            const qreal half = border[r] / 2;
            Break b;
            b.end = std::min(contentTop[r], middle + half + 0.2);
            b.resume = std::max(above[r], middle - half - 1.3);
            b.resumeUnder = b.end;
            // The header rows stay with the first row under them.
            b.poor = r <= headerRows;
            if (r == headerRows) {
                header = int(m_headers.size());
                m_headers.append({top, b.end});
            }
            b.header = r > headerRows ? header : -1;
            m_breaks.push_back(b);
        }
        // Within a row only when the row does not fit on a page.
        for (int r = 0; r < rows; ++r)
            addBetweenLines(rowLines[r], true, r >= headerRows ? header : -1);
        finishFrame(reach + firstGap / 2);
    }

    const QTextDocument &m_document;
    QAbstractTextDocumentLayout *m_layout;
    std::vector<Break> m_breaks;
    QVector<HeaderRows> m_headers;
    QHash<int, int> m_paragraphLines;
    int m_lastKey = std::numeric_limits<int>::min();
    int m_linesBefore = 0;
    bool m_keepWithPrevious = false;
    bool m_breakAfterPrevious = false;
    qreal m_bottom = 0;
    qreal m_lastHeadingTop = -1;
};

} // namespace

bool ReportPagination::laidOut(const QTextBlock &block)
{
    if (!block.isValid() || block.length() != 1 || !block.document())
        return true;
    const QTextDocument *document = block.document();
    const QTextBlockFormat format = block.blockFormat();
    const auto *next = qobject_cast<const QTextTable *>(document->frameAt(block.position() + 1));
    if (next && next->firstPosition() == block.position() + 1 && !format.hasProperty(QTextFormat::PageBreakPolicy)
        && !format.hasProperty(QTextFormat::BackgroundBrush))
        return false;
    const auto *previous = qobject_cast<const QTextTable *>(document->frameAt(block.position() - 1));
    return !(previous && previous->lastPosition() == block.position() - 1);
}

namespace {

// A short paragraph (two lines at most) whose text is all bold, all italic.
struct ShortParagraph
{
    bool isShort = false;
    bool bold = false;
    bool italic = false;
};

ShortParagraph shortParagraph(const QTextBlock &block)
{
    ShortParagraph paragraph;
    const QString text = block.text().trimmed();
    if (text.isEmpty() || block.blockFormat().hasProperty(LongParagraphs::PieceProperty))
        return paragraph;
    const QTextLayout *layout = block.layout();
    if (layout && layout->lineCount() > 2)
        return paragraph;
    paragraph.isShort = true;
    paragraph.bold = true;
    paragraph.italic = true;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.text().trimmed().isEmpty())
            continue;
        const QTextCharFormat chars = fragment.charFormat();
        paragraph.bold = paragraph.bold && chars.fontWeight() >= QFont::DemiBold;
        paragraph.italic = paragraph.italic && chars.fontItalic();
    }
    return paragraph;
}

} // namespace

bool ReportPagination::isHeading(const QTextBlock &block)
{
    return block.blockFormat().headingLevel() > 0 || shortParagraph(block).bold;
}

bool ReportPagination::keptWithNext(const QTextBlock &block)
{
    if (block.blockFormat().headingLevel() > 0)
        return true;
    const ShortParagraph paragraph = shortParagraph(block);
    if (!paragraph.isShort)
        return false;
    const QString text = block.text().trimmed();
    if (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char('=')))
        return true;
    return paragraph.bold || paragraph.italic;
}

QVector<ReportPagination::Page> ReportPagination::paginate(const QTextDocument &document, qreal firstHeight,
                                                           qreal pageHeight)
{
    Collector collector(document);
    collector.run();
    const qreal end = document.documentLayout()->documentSize().height();
    collector.keepClosingSection(end, pageHeight / 2);
    const std::vector<Break> &breaks = collector.breaks();
    const QVector<HeaderRows> &headers = collector.headers();

    QVector<Page> pages;
    qreal start = 0;
    int header = -1;
    qreal available = firstHeight;
    for (;;) {
        Page page;
        qreal at = 0;
        if (header >= 0) {
            const HeaderRows &rows = headers[header];
            page.append({rows.top, rows.bottom, 0});
            at = rows.bottom - rows.top;
        }
        const qreal limit = start + available - at;
        // The breaks that leave something on this page and fit on it.
        const auto first = std::upper_bound(breaks.begin(), breaks.end(), start + kEpsilon,
                                            [](qreal y, const Break &b) { return y < b.end; });
        const auto past =
            std::upper_bound(first, breaks.end(), limit + kEpsilon, [](qreal y, const Break &b) { return y < b.end; });
        const auto forced = std::find_if(first, past, [](const Break &b) { return b.forced; });
        if (forced == past && end <= limit + kEpsilon) {
            page.append({start, end, at});
            pages.append(page);
            break;
        }
        Break chosen;
        if (first == past) {
            // Something taller than a page: cut it where the page ends.
            chosen.end = chosen.resume = chosen.resumeUnder = limit;
        } else {
            auto pick = forced;
            if (pick == past) {
                pick = past - 1;
                while (pick != first && pick->poor)
                    --pick;
                if (pick->poor)
                    pick = past - 1;
            }
            chosen = *pick;
        }
        page.append({start, chosen.end, at});
        pages.append(page);
        header = chosen.header;
        start = header >= 0 ? chosen.resumeUnder : chosen.resume;
        available = pageHeight;
    }
    return pages;
}
