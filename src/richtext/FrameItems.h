#pragma once

#include <QTextBlock>
#include <QTextFrame>

#include <vector>

// The content of a frame (the document, a table cell) as the writers see
// it: paragraphs and child frames in order, without the empty paragraphs
// that QTextDocument keeps next to tables (before a table at the start of a
// frame, after a table at the end of a frame).  Reading a table back makes
// those paragraphs again, so leaving them out keeps documents from growing
// when written and read in turn.  The paragraph between two tables stays:
// without it the rows of both would read back as one table.
class FrameItems
{
public:
    struct Item
    {
        QTextBlock block;            // Valid for a paragraph.
        QTextFrame *frame = nullptr; // Set for a child frame.
    };

    static std::vector<Item> of(QTextFrame::iterator begin);
};
