#pragma once

#include "richtext/RtfListNumbering.h"

#include <unordered_map>
#include <vector>

class QTextDocument;
class QTextList;

// How the writer puts a document's QTextLists into RTF lists.
//
// Lists that were read as the levels of one RTF list (they share
// FormatKeys::ListGroup) are written as that list again, with the level
// definitions they kept, when numbering what is written gives back exactly
// these lists with these markers; otherwise, and for lists made in the
// editor, each QTextList is written as an RTF list of its own whose level
// text is its prefix, number and suffix.  Either way reading the file back
// gives the lists and the item numbers the document has.
class RtfListPlan
{
public:
    struct Entry
    {
        int list = 0;  // \ls and \listid, from 1; 0 for a QTextList not in the document.
        int level = 0; // \ilvl
    };

    explicit RtfListPlan(const QTextDocument &document);

    Entry entryOf(const QTextList *list) const;
    // The RTF lists, in the order of their first item; list n is at n - 1.
    const std::vector<RtfListNumbering::Levels> &lists() const { return m_lists; }

private:
    struct Member
    {
        QTextList *list;
        int level;
    };

    // Adds a list of the given members (items: every list item's list in
    // document order), with the level definitions they kept or those made
    // of their prefix, number and suffix; false, adding nothing, when
    // reading it back would not give them.
    bool tryList(const std::vector<Member> &members, const std::vector<QTextList *> &items, bool kept);

    std::vector<RtfListNumbering::Levels> m_lists;
    std::unordered_map<const QTextList *, Entry> m_entries;
};
