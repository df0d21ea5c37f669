#pragma once

#include <QTextFormat>

class QPaintDevice;
class QTextBlock;
class QTextDocument;

// Very long paragraphs of a document laid out for the report page, cut into
// pieces at the starts of their lines, so that no piece is ever shaped whole
// again: laying out, paginating and drawing then take time and memory in
// proportion to the text, whatever one paragraph holds.  The pieces are laid
// out line for line as the whole paragraph would be: the lines are found by
// laying the paragraph out a stretch at a time, keeping all lines of a
// stretch but its last, which is laid out again at the start of the next
// stretch.  Only the document's own copy for the page is cut.
class LongParagraphs
{
public:
    // Paragraphs of the body (not in tables or lists) longer than
    // `longerThan` characters are cut into pieces of about `pieceLength`,
    // for the text width (in the units of the paint device) the document
    // will be laid out at.  Cut before the document is laid out: a layout
    // would follow every cut.
    static void split(QTextDocument &document, QPaintDevice *device, qreal textWidth, int longerThan = 20000,
                      int pieceLength = 6000);

    // Puts the pieces back together: the document as it was before split().
    // Join before the document is laid out again (drop its layout first).
    static void join(QTextDocument &document);

    // The paragraph a block belongs to: the same number for every piece of
    // a paragraph that was cut, -1 for a paragraph that was not.
    static int paragraphOf(const QTextBlock &block);

    static constexpr int PieceProperty = QTextFormat::UserProperty + 0x2e1;
};
