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

    struct List
    {
        RtfListNumbering::Levels levels;
        int levelCount = 1; // The levels written: up to the deepest one used.
    };

    explicit RtfListPlan(const QTextDocument &document);

    Entry entryOf(const QTextList *list) const;
    // The RTF lists, in the order of their first item; list n is at n - 1.
    const std::vector<List> &lists() const { return m_lists; }

private:
    struct Member
    {
        QTextList *list;
        int level;
    };

    // Adds a list of the given members, with the level definitions they
    // kept or those made of their prefix, number and suffix; false, adding
    // nothing, when reading it back would not give them.
    bool tryList(const std::vector<Member> &members, bool kept);
    void add(const RtfListNumbering::Levels &levels, const std::vector<Member> &members);

    std::vector<List> m_lists;
    std::unordered_map<const QTextList *, Entry> m_entries;
    // Where each list's items stand among all list items of the document.
    std::unordered_map<const QTextList *, std::vector<int>> m_items;
};
