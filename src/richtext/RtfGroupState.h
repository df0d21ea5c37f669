#pragma once

#include "richtext/RtfListNumbering.h"

#include <QList>
#include <QString>

#include <cstddef>
#include <functional>
#include <utility>

// What an RTF group carries: where its text goes, and the character and
// paragraph properties in force.  Opening a group copies the state, closing
// it brings the enclosing one back.
struct RtfGroupState
{
    enum class Destination {
        Text, // The document's text.
        FontTable,
        ColorTable,
        Picture,
        ListText, // \pntext, \listtext: the number or bullet as text.
        ListTable,
        ListOverrideTable,
        LevelText,          // \leveltext of a list level.
        Numbering,          // \pn: the numbering of the paragraph.
        NumberingText,      // \pntxtb, \pntxta: text before and after the number.
        UnicodeAlternative, // \upr: the text before \ud is not used.
    };

    enum class Vertical { Normal, Super, Sub };
    enum class Alignment { Left, Center, Right, Justify };
    enum class NumberingKind { None, Bullet, Number };
    enum class TabKind { Left, Right, Center, Decimal };

    struct Character
    {
        int font = -1; // -1: the document's default font.
        int halfPoints = 24;
        int foreground = -1; // Colour table indexes; -1 for none.
        int background = -1;
        int highlight = -1;
        Vertical vertical = Vertical::Normal;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        bool hidden = false;

        bool operator==(const Character &o) const
        {
            return font == o.font && halfPoints == o.halfPoints && foreground == o.foreground
                   && background == o.background && highlight == o.highlight && vertical == o.vertical && bold == o.bold
                   && italic == o.italic && underline == o.underline && strike == o.strike && hidden == o.hidden;
        }
        bool operator!=(const Character &o) const { return !(*this == o); }
    };

    struct CharacterHash
    {
        std::size_t operator()(const Character &c) const
        {
            std::size_t h = std::hash<int>()(c.font);
            for (const int v :
                 {c.halfPoints, c.foreground, c.background, c.highlight, int(c.vertical),
                  int(c.bold) | int(c.italic) << 1 | int(c.underline) << 2 | int(c.strike) << 3 | int(c.hidden) << 4})
                h = h * 31 + std::hash<int>()(v);
            return h;
        }
    };

    struct Paragraph
    {
        Alignment alignment = Alignment::Left;
        int leftIndent = 0; // Twips.
        int rightIndent = 0;
        int firstIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int lineSpacing = 0; // \sl: > 0 at least, < 0 exactly, 0 single.
        bool lineMultiple = false;
        bool pageBreakBefore = false;
        bool inTable = false;
        int tableDepth = 0;   // \itap.
        int listOverride = 0; // \ls; 0 for none.
        int listLevel = 0;
        NumberingKind numbering = NumberingKind::None;                                         // \pn.
        RtfListNumbering::NumberFormat numberFormat = RtfListNumbering::NumberFormat::Decimal; // \pn
        int numberStart = 1;                                                                   // \pnstart.
        QString numberBefore;                                                                  // \pntxtb
        QString numberAfter;                                                                   // \pntxta
        QList<std::pair<int, TabKind>> tabs; // \tx: twips and kind (shared until changed).
        TabKind nextTab = TabKind::Left;     // \tqr, \tqc, \tqdec
    };

    Destination destination = Destination::Text;
    Character character;
    Paragraph paragraph;
    int unicodeSkip = 1; // \uc.
};
