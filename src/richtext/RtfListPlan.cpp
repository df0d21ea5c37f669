#include "richtext/RtfListPlan.h"

#include "richtext/FormatKeys.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <map>

namespace {

bool isBullet(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
           || style == QTextListFormat::ListSquare;
}

int levelOf(const QTextListFormat &format)
{
    return qBound(0, format.intProperty(FormatKeys::ListLevel), 8);
}

QString suffixOf(const QTextListFormat &format)
{
    return format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix() : QStringLiteral(".");
}

// A number format as FormatKeys::ListLevelFormats keeps it.
RtfListNumbering::NumberFormat formatOf(QChar kept)
{
    return static_cast<RtfListNumbering::NumberFormat>(kept.unicode());
}

// The level a list read from RTF kept; false when it kept none.
bool keptLevel(const QTextListFormat &format, RtfListNumbering::Level *level)
{
    if (!format.hasProperty(FormatKeys::ListLevelText))
        return false;
    const int own = levelOf(format);
    const QString formats = format.stringProperty(FormatKeys::ListLevelFormats);
    level->text = format.stringProperty(FormatKeys::ListLevelText);
    level->format = own < formats.size() ? formatOf(formats.at(own)) : RtfListNumbering::NumberFormat::Decimal;
    level->start = 1;
    level->legal = format.boolProperty(FormatKeys::ListLegal);
    level->noRestart = format.boolProperty(FormatKeys::ListNoRestart);
    level->follow = static_cast<RtfListNumbering::Follow>(qBound(0, format.intProperty(FormatKeys::ListFollow), 2));
    if (isBullet(format.style())) {
        level->format = RtfListNumbering::NumberFormat::Bullet;
        level->text = QString(RtfListNumbering::bulletChar(format.style()));
    }
    return true;
}

RtfListNumbering::Levels defaultLevels()
{
    RtfListNumbering::Levels levels;
    for (int k = 0; k < 9; ++k)
        levels[static_cast<std::size_t>(k)].text = QString(QChar(char16_t(k))) + QLatin1Char('.');
    return levels;
}

} // namespace

RtfListPlan::RtfListPlan(const QTextDocument &document)
{
    // Every list's items in document order (table cells included), and the
    // lists grouped as they were read.
    std::vector<QTextList *> order;
    std::map<int, std::vector<QTextList *>> groups;
    int position = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextList *list = block.textList();
        if (!list)
            continue;
        std::vector<int> &items = m_items[list];
        if (items.empty()) {
            order.push_back(list);
            const QTextListFormat format = list->format();
            if (format.hasProperty(FormatKeys::ListGroup) && format.hasProperty(FormatKeys::ListLevelText))
                groups[format.intProperty(FormatKeys::ListGroup)].push_back(list);
        }
        items.push_back(position++);
    }

    for (QTextList *list : order) {
        if (m_entries.count(list))
            continue;
        const QTextListFormat format = list->format();
        std::vector<Member> members;
        if (format.hasProperty(FormatKeys::ListGroup) && format.hasProperty(FormatKeys::ListLevelText)) {
            for (QTextList *member : groups[format.intProperty(FormatKeys::ListGroup)])
                members.push_back(Member{member, levelOf(member->format())});
        } else {
            members.push_back(Member{list, levelOf(format)});
        }
        if (tryList(members, true))
            continue;
        for (const Member &member : members) {
            if (!m_entries.count(member.list) && !tryList({member}, true) && !tryList({member}, false)) {
                // Written all the same: items past what one QTextList takes
                // come back with their numbers as text.
                RtfListNumbering::Levels levels = defaultLevels();
                levels[static_cast<std::size_t>(member.level)] = RtfListNumbering::levelOf(member.list->format());
                add(levels, {member});
            }
        }
    }
}

RtfListPlan::Entry RtfListPlan::entryOf(const QTextList *list) const
{
    const auto it = m_entries.find(list);
    return it == m_entries.end() ? Entry() : it->second;
}

void RtfListPlan::add(const RtfListNumbering::Levels &levels, const std::vector<Member> &members)
{
    List list;
    list.levels = levels;
    for (const Member &member : members)
        list.levelCount = std::max(list.levelCount, member.level + 1);
    m_lists.push_back(list);
    for (const Member &member : members)
        m_entries[member.list] = Entry{static_cast<int>(m_lists.size()), member.level};
}

bool RtfListPlan::tryList(const std::vector<Member> &members, bool kept)
{
    // The level definitions: those the lists kept when they came from one
    // RTF list, else their prefix, number and suffix.
    RtfListNumbering::Levels levels = defaultLevels();
    std::array<bool, 9> defined{};
    std::vector<std::pair<int, const Member *>> items; // Position, member.
    for (const Member &member : members) {
        const QTextListFormat format = member.list->format();
        RtfListNumbering::Level level;
        if (!kept || !keptLevel(format, &level))
            level = RtfListNumbering::levelOf(format);
        const auto k = static_cast<std::size_t>(member.level);
        if (defined[k] && !(levels[k] == level))
            return false;
        levels[k] = level;
        defined[k] = true;
        for (const int position : m_items[member.list])
            items.emplace_back(position, &member);
    }
    std::sort(items.begin(), items.end());
    // The number formats of the levels above, for the numbers that level
    // texts show of them.
    for (const Member &member : members) {
        const QString formats = kept ? member.list->format().stringProperty(FormatKeys::ListLevelFormats) : QString();
        for (int k = 0; k < member.level && k < formats.size(); ++k) {
            if (!defined[static_cast<std::size_t>(k)])
                levels[static_cast<std::size_t>(k)].format = formatOf(formats.at(k));
        }
    }

    // Number what would be written, as the reader will.
    RtfListNumbering numbering;
    std::vector<QTextList *> listOfPiece;
    std::unordered_map<const QTextList *, int> pieceOfList;
    for (const auto &[position, member] : items) {
        const RtfListNumbering::Item item = numbering.add(0, levels, member->level);
        if (item.list < 0)
            return false;
        const auto piece = static_cast<std::size_t>(item.list);
        if (piece == listOfPiece.size()) {
            if (pieceOfList.count(member->list))
                return false; // One list would come back as two.
            listOfPiece.push_back(member->list);
            pieceOfList[member->list] = item.list;
        } else if (listOfPiece[piece] != member->list) {
            return false; // Two lists would come back as one.
        }
    }
    for (std::size_t piece = 0; piece < listOfPiece.size(); ++piece) {
        const QTextListFormat want = listOfPiece[piece]->format();
        const QTextListFormat got = numbering.lists()[piece];
        if (got.style() != want.style())
            return false;
        if (!isBullet(want.style()) && (got.numberPrefix() != want.numberPrefix() || suffixOf(got) != suffixOf(want)))
            return false;
    }
    if (listOfPiece.size() != members.size())
        return false;
    add(levels, members);
    return true;
}
