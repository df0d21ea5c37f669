#pragma once

#include <QByteArray>

// Generated RTF documents for the rich-text benchmarks.  The same arguments
// always give the same bytes.
class BenchDocuments
{
public:
    // A long Windows-1251 report such as word processors write: short
    // paragraphs of about a dozen Cyrillic words, most words a formatted
    // group of their own ({\b ..}, {\i ..}, {\ul ..}, {\cf1 ..},
    // {\f1\fs24 ..}), and a three-cell table row after every twenty
    // paragraphs, until the document has the given size.  paragraphs, when
    // given, receives the number of paragraphs outside the tables.
    static QByteArray wordProcessorReport(qsizetype bytes, int *paragraphs = nullptr);

    // A font table of count distinct font names, each font used once in the
    // text.
    static QByteArray distinctFonts(int count);

    // count paragraphs, each with a set of tab stops of its own.
    static QByteArray distinctTabStops(int count);

    // A colour table of count distinct colours, each used once.
    static QByteArray distinctColours(int count);
    // A style sheet of count styles, each paragraph in one of them.
    static QByteArray distinctStyles(int count);
    // count lists (\ls), each with an item of its own.
    static QByteArray distinctLists(int count);
};
