#include "richtext/RtfControlWord.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

namespace {

using Id = RtfControlWord::Id;
using Group = RtfControlWord::Group;
using Names = std::initializer_list<std::pair<std::string_view, Id>>;

// The words by name, found by a hash into a flat table (the lookup runs for
// every control word of a file).
class WordTable
{
public:
    WordTable()
    {
        add(Group::Destination, {{"fonttbl", Id::FontTable},
                                 {"colortbl", Id::ColorTable},
                                 {"stylesheet", Id::StyleSheet},
                                 {"info", Id::Info},
                                 {"pict", Id::Picture},
                                 {"shppict", Id::ShapePicture},
                                 {"nonshppict", Id::NonShapePicture},
                                 {"header", Id::HeaderFooter},
                                 {"headerl", Id::HeaderFooter},
                                 {"headerr", Id::HeaderFooter},
                                 {"headerf", Id::HeaderFooter},
                                 {"footer", Id::HeaderFooter},
                                 {"footerl", Id::HeaderFooter},
                                 {"footerr", Id::HeaderFooter},
                                 {"footerf", Id::HeaderFooter},
                                 {"footnote", Id::Footnote},
                                 {"annotation", Id::Footnote},
                                 {"fldinst", Id::FieldInstruction},
                                 {"fldrslt", Id::FieldResult},
                                 {"field", Id::Field},
                                 {"listtable", Id::ListTable},
                                 {"listoverridetable", Id::ListOverrideTable},
                                 {"leveltext", Id::LevelText},
                                 {"levelnumbers", Id::SkippedInList},
                                 {"listname", Id::SkippedInList},
                                 {"pntext", Id::NumberingText},
                                 {"listtext", Id::ListText},
                                 {"pn", Id::Numbering},
                                 {"pntxtb", Id::NumberingTextBefore},
                                 {"pntxta", Id::NumberingTextAfter},
                                 {"ud", Id::UnicodePair},
                                 {"upr", Id::UnicodeAlternative},
                                 {"nesttableprops", Id::NestedTableProperties},
                                 {"nonesttables", Id::NoNestedTables},
                                 {"xe", Id::SkippedDestination},
                                 {"tc", Id::SkippedDestination},
                                 {"txe", Id::SkippedDestination},
                                 {"rxe", Id::SkippedDestination},
                                 {"template", Id::SkippedDestination},
                                 {"themedata", Id::SkippedDestination},
                                 {"colorschememapping", Id::SkippedDestination},
                                 {"datastore", Id::SkippedDestination},
                                 {"latentstyles", Id::SkippedDestination},
                                 {"filetbl", Id::SkippedDestination},
                                 {"revtbl", Id::SkippedDestination},
                                 {"rsidtbl", Id::SkippedDestination},
                                 {"generator", Id::SkippedDestination},
                                 {"userprops", Id::SkippedDestination},
                                 {"docvar", Id::SkippedDestination},
                                 {"bkmkstart", Id::SkippedDestination},
                                 {"bkmkend", Id::SkippedDestination},
                                 {"objdata", Id::ObjectData},
                                 {"result", Id::Result}});
        add(Group::Document, {{"rtf", Id::Rtf},
                              {"ansi", Id::Ansi},
                              {"mac", Id::Mac},
                              {"pc", Id::Pc},
                              {"pca", Id::Pca},
                              {"ansicpg", Id::AnsiCodePage},
                              {"deff", Id::DefaultFont},
                              {"deftab", Id::DefaultTab}});
        add(Group::FontTable, {{"fcharset", Id::FontCharset}, {"cpg", Id::FontCodePage}});
        add(Group::ColorTable, {{"red", Id::Red}, {"green", Id::Green}, {"blue", Id::Blue}});
        add(Group::List, {{"list", Id::List},
                          {"listlevel", Id::ListLevel},
                          {"listoverride", Id::ListOverride},
                          {"listid", Id::ListId},
                          {"levelnfc", Id::LevelNumberFormat},
                          {"levelnfcn", Id::LevelNumberFormat},
                          {"levelstartat", Id::LevelStart},
                          {"levellegal", Id::LevelLegal},
                          {"levelnorestart", Id::LevelNoRestart},
                          {"levelfollow", Id::LevelFollow},
                          {"pnstart", Id::NumberingStart},
                          {"pnlvlblt", Id::NumberingBullet},
                          {"pnlvlbody", Id::NumberingBody},
                          {"pnlvl", Id::NumberingLevel},
                          {"pnlvlcont", Id::NumberingContinue},
                          {"pndec", Id::NumberingDecimal},
                          {"pnucltr", Id::NumberingUpperLetter},
                          {"pnlcltr", Id::NumberingLowerLetter},
                          {"pnucrm", Id::NumberingUpperRoman},
                          {"pnlcrm", Id::NumberingLowerRoman}});
        add(Group::Picture, {{"pngblip", Id::Png},
                             {"jpegblip", Id::Jpeg},
                             {"dibitmap", Id::Dib},
                             {"emfblip", Id::OtherPicture},
                             {"wmetafile", Id::OtherPicture},
                             {"macpict", Id::OtherPicture},
                             {"pmmetafile", Id::OtherPicture},
                             {"wbitmap", Id::OtherPicture},
                             {"picw", Id::PictureWidth},
                             {"pich", Id::PictureHeight},
                             {"picwgoal", Id::GoalWidth},
                             {"pichgoal", Id::GoalHeight},
                             {"picscalex", Id::ScaleX},
                             {"picscaley", Id::ScaleY}});
        add(Group::CharacterFormat, {{"plain", Id::Plain},
                                     {"b", Id::Bold},
                                     {"i", Id::Italic},
                                     {"ul", Id::Underline},
                                     {"uld", Id::Underline},
                                     {"uldb", Id::Underline},
                                     {"ulw", Id::Underline},
                                     {"ulth", Id::Underline},
                                     {"uldash", Id::Underline},
                                     {"uldashd", Id::Underline},
                                     {"uldashdd", Id::Underline},
                                     {"ulwave", Id::Underline},
                                     {"ulhwave", Id::Underline},
                                     {"ululdbwave", Id::Underline},
                                     {"ulldash", Id::Underline},
                                     {"ulthd", Id::Underline},
                                     {"ulthdash", Id::Underline},
                                     {"ulnone", Id::UnderlineNone},
                                     {"strike", Id::Strike},
                                     {"striked", Id::Strike},
                                     {"f", Id::Font},
                                     {"fs", Id::FontSize},
                                     {"cf", Id::Foreground},
                                     {"cb", Id::Background},
                                     {"chcbpat", Id::Background},
                                     {"highlight", Id::Highlight},
                                     {"super", Id::Super},
                                     {"sub", Id::Sub},
                                     {"up", Id::Super},
                                     {"dn", Id::Sub},
                                     {"nosupersub", Id::NoSuperSub},
                                     {"v", Id::Hidden}});
        add(Group::Paragraph, {{"pard", Id::Pard},
                               {"ql", Id::LeftAlign},
                               {"qc", Id::Center},
                               {"qr", Id::RightAlign},
                               {"qj", Id::Justify},
                               {"qd", Id::Justify},
                               {"li", Id::LeftIndent},
                               {"ri", Id::RightIndent},
                               {"fi", Id::FirstIndent},
                               {"sb", Id::SpaceBefore},
                               {"sa", Id::SpaceAfter},
                               {"sl", Id::LineSpacing},
                               {"slmult", Id::LineMultiple},
                               {"pagebb", Id::PageBreakBefore},
                               {"intbl", Id::InTable},
                               {"itap", Id::TableDepth},
                               {"ls", Id::ListOverrideNumber},
                               {"ilvl", Id::ListLevelNumber},
                               {"tx", Id::TabStop},
                               {"tqr", Id::TabRight},
                               {"tqc", Id::TabCenter},
                               {"tqdec", Id::TabDecimal},
                               {"par", Id::Par},
                               {"page", Id::Page},
                               {"sect", Id::Section}});
        add(Group::Table, {{"trowd", Id::RowDefaults},
                           {"trhdr", Id::RowHeader},
                           {"cellx", Id::CellBoundary},
                           {"cell", Id::Cell},
                           {"row", Id::Row},
                           {"nestcell", Id::NestedCell},
                           {"nestrow", Id::NestedRow},
                           {"trgaph", Id::RowGap},
                           {"trleft", Id::RowLeft},
                           {"clvmgf", Id::MergeFirst},
                           {"clvmrg", Id::MergeNext},
                           {"clcbpat", Id::CellBackground},
                           {"trql", Id::RowLeftAligned},
                           {"trqc", Id::RowCentered},
                           {"trqr", Id::RowRightAligned},
                           {"clbrdrt", Id::CellBorderTop},
                           {"clbrdrl", Id::CellBorderLeft},
                           {"clbrdrb", Id::CellBorderBottom},
                           {"clbrdrr", Id::CellBorderRight},
                           {"trbrdrt", Id::RowBorder},
                           {"trbrdrl", Id::RowBorder},
                           {"trbrdrb", Id::RowBorder},
                           {"trbrdrr", Id::RowBorder},
                           {"trbrdrh", Id::RowBorder},
                           {"trbrdrv", Id::RowBorder},
                           {"brdrw", Id::BorderWidth},
                           {"brdrs", Id::BorderStyle},
                           {"brdrth", Id::BorderStyle},
                           {"brdrdb", Id::BorderStyle},
                           {"brdrdot", Id::BorderStyle},
                           {"brdrdash", Id::BorderStyle},
                           {"brdrsh", Id::BorderStyle},
                           {"brdrhair", Id::BorderStyle},
                           {"brdrtriple", Id::BorderStyle},
                           {"brdrnone", Id::BorderNone},
                           {"brdrnil", Id::BorderNone}});
        add(Group::Character, {{"uc", Id::UnicodeSkip},
                               {"u", Id::Unicode},
                               {"bin", Id::Binary},
                               {"line", Id::Line},
                               {"tab", Id::Tab},
                               {"emdash", Id::EmDash},
                               {"endash", Id::EnDash},
                               {"bullet", Id::Bullet},
                               {"lquote", Id::LeftQuote},
                               {"rquote", Id::RightQuote},
                               {"ldblquote", Id::LeftDoubleQuote},
                               {"rdblquote", Id::RightDoubleQuote},
                               {"emspace", Id::EmSpace},
                               {"enspace", Id::EnSpace},
                               {"qmspace", Id::QuarterEmSpace},
                               {"zwj", Id::ZeroWidthJoiner},
                               {"zwnj", Id::ZeroWidthNonJoiner},
                               {"ltrmark", Id::LeftToRightMark},
                               {"rtlmark", Id::RightToLeftMark}});
    }

    RtfControlWord find(std::string_view name) const
    {
        for (std::size_t i = hash(name) & kMask; !m_slots[i].name.empty(); i = (i + 1) & kMask) {
            if (m_slots[i].name == name)
                return m_slots[i].word;
        }
        return RtfControlWord();
    }

private:
    static constexpr std::size_t kMask = 1023; // Room for four times the words.

    static std::size_t hash(std::string_view name)
    {
        std::uint32_t value = 2166136261u;
        for (const char c : name)
            value = (value ^ static_cast<unsigned char>(c)) * 16777619u;
        return value;
    }

    void add(Group group, Names names)
    {
        for (const auto &[name, id] : names) {
            std::size_t i = hash(name) & kMask;
            while (!m_slots[i].name.empty())
                i = (i + 1) & kMask;
            m_slots[i] = Slot{name, RtfControlWord{id, group}};
        }
    }

    struct Slot
    {
        std::string_view name;
        RtfControlWord word;
    };
    std::array<Slot, kMask + 1> m_slots{};
};

} // namespace

RtfControlWord RtfControlWord::find(std::string_view name)
{
    static const WordTable table;
    return table.find(name);
}
