#pragma once

#include <QString>
#include <QTextListFormat>

#include <array>
#include <unordered_map>
#include <vector>

// The numbering of RTF lists (\listtable, \ls, \ilvl) mapped onto
// QTextList objects.
//
// An RTF list has nine levels, each with a number format and a level text
// such as "Глава %1" or "%1.%2." whose placeholders stand for the numbers of
// its own and of the levels above.  Each level counts its items, and starts
// again after an item of a level above (unless \levelnorestart).  A
// QTextList numbers its items 1, 2, 3... with one number format, a prefix
// and a suffix; so the items of a level between two items of the levels
// above make one QTextList, whose prefix holds the numbers of the levels
// above, which do not change within it.  An item whose number a QTextList
// cannot show exactly (a list starting at 5, the 27th item in letters, the
// 1001st of a list, a format Qt lacks) is left out of lists: its number is
// given as text instead.
//
// The reader numbers the paragraphs of a document in order; the writer runs
// the same numbering over what it is going to write, to check that reading
// it back gives the lists the document has.
class RtfListNumbering
{
public:
    // How a level shows its number, as \levelnfc numbers it.  A file may
    // name formats not listed here (0 to 255): they are kept as read,
    // written back as read, and shown in decimal.
    enum class NumberFormat : int {
        Decimal = 0,
        UpperRoman = 1,
        LowerRoman = 2,
        UpperLetter = 3,
        LowerLetter = 4,
        LeadingZero = 22, // 01, 02... 10.
        Bullet = 23,      // No number: the level text is the bullet.
        None = 255,       // Nothing at all.
    };

    // What stands between the number and the text, as \levelfollow
    // numbers it.
    enum class Follow : int { Tab = 0, Space = 1, Nothing = 2 };

    // One level of a list, as \listlevel defines it.
    struct Level
    {
        QString text = QStringLiteral("\x00.");
        NumberFormat format = NumberFormat::Decimal;
        int start = 1;
        bool legal = false;
        bool noRestart = false;
        Follow follow = Follow::Tab;

        bool operator==(const Level &o) const
        {
            return text == o.text && format == o.format && start == o.start && legal == o.legal
                   && noRestart == o.noRestart && follow == o.follow;
        }
    };
    using Levels = std::array<Level, 9>;

    // Most items one QTextList takes.  Qt walks all items of a list for
    // every item added, so a list of many thousands would take minutes;
    // past this number the items' numbers are given as text.
    static constexpr int MaxItemsPerList = 1000;

    // What an item became: an item of the QTextList lists()[list], or, when
    // list < 0, a paragraph whose number is the text marker (with the tab
    // or space that follows it; empty when the level shows nothing).
    // label: the number as the level shows it, follow as the level's.
    struct Item
    {
        int list = -1;
        QString marker;
        QString label;
        Follow follow = Follow::Tab;
    };

    // The next item of the list named group (any number the caller chooses)
    // at level (0 to 8), with the list's level definitions.
    Item add(int group, const Levels &levels, int level);

    // The QTextList formats made so far, in the order the lists began.
    const std::vector<QTextListFormat> &lists() const { return m_lists; }
    std::vector<QTextListFormat> takeLists() { return std::move(m_lists); }

    // A number as a level of the given format shows it (decimal for the
    // formats not known here).
    static QString numberText(int number, NumberFormat format);
    // The level of a QTextList format that was not read from RTF: its
    // style, prefix and suffix as a level definition.
    static Level levelOf(const QTextListFormat &format);
    // The style of a bullet level's text; ListStyleUndefined when its text
    // is not a bullet Qt draws.
    static QTextListFormat::Style bulletStyle(const QString &text);
    static QChar bulletChar(QTextListFormat::Style style);

private:
    struct Counters
    {
        std::array<int, 9> number{};
        std::array<bool, 9> counted{};
        std::array<int, 9> list{-1, -1, -1, -1, -1, -1, -1, -1, -1};
    };
    struct Open
    {
        QString prefix;
        QString suffix;
        int items = 0;
    };

    std::unordered_map<int, Counters> m_counters;
    std::vector<QTextListFormat> m_lists;
    std::vector<Open> m_open;
};
