#pragma once

#include <QVector>

class QTextBlock;
class QTextDocument;

// Pages of a document laid out once, as one long strip: each page shows
// slices of the strip.  Pages break between lines, and between the rows of
// a table; a table continued on a further page has its header rows drawn
// again at the top.  As in a book, a page neither starts nor ends with a
// single line of a paragraph that has more, a heading (or a line that leads
// into what follows) stays on the page of the paragraph after it, and
// explicit page breaks before and after paragraphs are kept.  The closing
// section, from the last heading to the end, stays on one page when it
// takes half a page at most (a report's conclusions with the place to sign
// under them).  When nothing else fits, these wishes give way rather than
// leave text out.
class ReportPagination
{
public:
    // A stretch of the strip, from top to bottom in layout units, drawn
    // `at` below the top of the page's text.
    struct Slice
    {
        qreal top = 0;
        qreal bottom = 0;
        qreal at = 0;
    };
    using Page = QVector<Slice>;

    // The first page holds `firstHeight` of text, every other `pageHeight`.
    static QVector<Page> paginate(const QTextDocument &document, qreal firstHeight, qreal pageHeight);

    // Whether a paragraph is a heading: marked as such, or a short
    // paragraph in bold throughout.
    static bool isHeading(const QTextBlock &block);

    // Whether a paragraph stays on the page of what follows it: a heading
    // (marked as such, or a short paragraph in bold or italic throughout),
    // or a short paragraph that leads into the next one with ":" or "=".
    static bool keptWithNext(const QTextBlock &block);

    // Whether the layout gives the paragraph a place: the empty paragraph
    // that a document keeps right before or after a table is not laid out
    // (its place on the strip means nothing).
    static bool laidOut(const QTextBlock &block);
};
