#include "reports/LongParagraphs.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextLayout>

#include <vector>

namespace {

// A document that lays stretches of one paragraph out exactly as the
// document they come from would.
class Scratch
{
public:
    Scratch(const QTextDocument &source, QPaintDevice *device, qreal textWidth)
        : m_source(source), m_textWidth(textWidth)
    {
        m_document.setUndoRedoEnabled(false);
        m_document.documentLayout()->setPaintDevice(device);
    }

    // The start (relative to the stretch) of each line of the stretch laid
    // out as a paragraph of the given format.
    std::vector<int> lineStarts(const QTextDocumentFragment &stretch, const QTextBlockFormat &format,
                                const QTextCharFormat &blockCharFormat)
    {
        // Clearing sets the document's own formats back: set them each time.
        m_document.clear();
        m_document.setDefaultFont(m_source.defaultFont());
        m_document.setDefaultTextOption(m_source.defaultTextOption());
        m_document.setIndentWidth(m_source.indentWidth());
        m_document.setUseDesignMetrics(m_source.useDesignMetrics());
        m_document.rootFrame()->setFrameFormat(m_source.rootFrame()->frameFormat());
        m_document.setDocumentMargin(m_source.documentMargin());
        m_document.setTextWidth(m_textWidth);
        QTextCursor cursor(&m_document);
        cursor.setBlockFormat(format);
        cursor.setBlockCharFormat(blockCharFormat);
        cursor.insertFragment(stretch);
        m_document.documentLayout()->documentSize(); // lays it out
        std::vector<int> starts;
        const QTextLayout *layout = m_document.begin().layout();
        for (int i = 0; i < layout->lineCount(); ++i)
            starts.push_back(layout->lineAt(i).textStart());
        return starts;
    }

private:
    const QTextDocument &m_source;
    qreal m_textWidth;
    QTextDocument m_document;
};

// Where the paragraph is to be cut: document positions of line starts.
std::vector<int> cutsOf(Scratch &scratch, QTextDocument &document, const QTextBlock &block, int pieceLength)
{
    std::vector<int> cuts;
    QTextBlockFormat format = block.blockFormat();
    const int end = block.position() + block.length() - 1;
    int from = block.position();
    // The last stretch may be up to half a piece longer, so that no piece is short.
    while (end - from > pieceLength + pieceLength / 2) {
        QTextCursor stretch(&document);
        stretch.setPosition(from);
        stretch.setPosition(from + pieceLength, QTextCursor::KeepAnchor);
        const std::vector<int> starts = scratch.lineStarts(stretch.selection(), format, block.charFormat());
        // A line that fills the whole stretch (text without a place to
        // break) leaves nothing to cut at.
        if (starts.size() < 2 || starts.back() <= 0)
            break;
        from += starts.back();
        cuts.push_back(from);
        // The lines after a cut are no first line.
        format.setTextIndent(0);
    }
    return cuts;
}

void cut(QTextDocument &document, const QTextBlock &block, const std::vector<int> &cuts, int paragraph)
{
    const QTextBlockFormat whole = block.blockFormat();
    QTextBlockFormat piece = whole;
    piece.setProperty(LongParagraphs::PieceProperty, paragraph);
    piece.setTextIndent(0);
    piece.setTopMargin(0);
    piece.setBottomMargin(0);
    piece.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    // One edit: a cursor outside an edit would lay out the paragraph
    // before the cut after every cut, to know where its caret stands.
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = cuts.rbegin(); it != cuts.rend(); ++it) {
        cursor.setPosition(*it);
        cursor.insertBlock(piece, block.charFormat());
    }
    // The first piece keeps what stands before the paragraph, the last what
    // stands after it.
    QTextBlockFormat first = whole;
    first.setProperty(LongParagraphs::PieceProperty, paragraph);
    first.setBottomMargin(0);
    first.setPageBreakPolicy(whole.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysAfter);
    QTextBlock last = block;
    for (std::size_t i = 0; i < cuts.size(); ++i)
        last = last.next();
    QTextBlockFormat lastFormat = piece;
    lastFormat.setBottomMargin(whole.bottomMargin());
    lastFormat.setPageBreakPolicy(whole.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter);
    cursor.setPosition(last.position());
    cursor.setBlockFormat(lastFormat);
    cursor.setPosition(block.position());
    cursor.setBlockFormat(first);
    cursor.endEditBlock();
}

} // namespace

void LongParagraphs::split(QTextDocument &document, QPaintDevice *device, qreal textWidth, int longerThan,
                           int pieceLength)
{
    std::vector<QTextBlock> longOnes;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        const QTextBlock block = it.currentBlock();
        if (block.isValid() && block.length() > longerThan && !block.textList())
            longOnes.push_back(block);
    }
    if (longOnes.empty())
        return;
    Scratch scratch(document, device, textWidth);
    // From the end, so that the positions of the paragraphs before stay.
    for (auto it = longOnes.rbegin(); it != longOnes.rend(); ++it) {
        const std::vector<int> cuts = cutsOf(scratch, document, *it, pieceLength);
        if (!cuts.empty())
            cut(document, *it, cuts, it->blockNumber());
    }
}

void LongParagraphs::join(QTextDocument &document)
{
    // The runs of pieces, each as its first and last block.
    std::vector<std::pair<QTextBlock, QTextBlock>> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int paragraph = paragraphOf(block);
        if (paragraph < 0)
            continue;
        if (!runs.empty() && paragraphOf(runs.back().second) == paragraph && runs.back().second.next() == block)
            runs.back().second = block;
        else
            runs.emplace_back(block, block);
    }
    if (runs.empty())
        return;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const QTextBlock first = run->first;
        const QTextBlock last = run->second;
        QTextBlockFormat whole = first.blockFormat();
        whole.clearProperty(PieceProperty);
        whole.setBottomMargin(last.blockFormat().bottomMargin());
        whole.setPageBreakPolicy(whole.pageBreakPolicy()
                                 | (last.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter));
        // The paragraph ends between the pieces go, from the last.
        std::vector<int> ends;
        for (QTextBlock piece = first.next(); piece.isValid(); piece = piece.next()) {
            ends.push_back(piece.position() - 1);
            if (piece == last)
                break;
        }
        const int start = first.position();
        for (auto end = ends.rbegin(); end != ends.rend(); ++end) {
            cursor.setPosition(*end);
            cursor.deleteChar();
        }
        cursor.setPosition(start);
        cursor.setBlockFormat(whole);
    }
    cursor.endEditBlock();
}

int LongParagraphs::paragraphOf(const QTextBlock &block)
{
    const QVariant piece = block.blockFormat().property(PieceProperty);
    return piece.isValid() ? piece.toInt() : -1;
}
