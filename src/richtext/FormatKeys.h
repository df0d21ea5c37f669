#pragma once

#include <QList>
#include <QString>
#include <QTextFormat>
#include <QTextOption>

// Properties of our own that the RTF reader puts on the formats it makes.
//
// QTextDocument finds a format among its formats by a hash that counts a
// list of font families or of tab stops by its type or length only, so
// thousands of fonts or tab-stop sets would all share one hash and every
// lookup would compare against all of them.  A key derived from the value
// keeps such formats apart; it changes nothing in how the text looks.
//
// A list read from RTF keeps the definition of its level, so that it is
// written back as it was read: the level text with its placeholders, the
// number formats of the levels up to its own and the level's flags.
class FormatKeys
{
public:
    enum Property : int {
        FontKey = QTextFormat::UserProperty + 0x5210, // Character formats: the font families.
        TabsKey,                                      // Block formats: the tab stops.
        ListGroup,                                    // Lists: lists with the same group are levels of one RTF list.
        ListLevel,                                    // The level in that list, 0 to 8.
        ListLevelText,    // The level text; U+0000..U+0008 stand for the numbers of levels 1 to 9.
        ListLevelFormats, // The number format (\levelnfc) of each level up to this one, a character each.
        ListLegal,        // \levellegal: the numbers of the levels above in Arabic figures.
        ListNoRestart,    // \levelnorestart: the numbering goes on past items of the levels above.
        ListFollow,       // \levelfollow: 0 tab, 1 space, 2 nothing after the number.
    };

    static int fontKey(const QString &family);
    static int tabsKey(const QList<QTextOption::Tab> &tabs);
};
