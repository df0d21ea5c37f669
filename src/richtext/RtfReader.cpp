#include "richtext/RtfReader.h"

#include "richtext/CodePage.h"
#include "richtext/FormatKeys.h"
#include "richtext/RtfDocumentAssembler.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace {

// RTF measures in twips; a document measures in pixels of 96 per inch.
constexpr double kTwipsPerUnit = 15.0;
// Lengths beyond 22 inches are taken as 22 inches.
constexpr int kMaxTwips = 31680;
// Most unconvertible code pages reported for one file.
constexpr int kMaxReportedPages = 16;

int clampTwips(int value)
{
    return std::clamp(value, -kMaxTwips, kMaxTwips);
}

enum class Word {
    Unknown,
    // Destinations.
    Rtf, FontTable, ColorTable, StyleSheet, Info, Picture, ShapePicture, NonShapePicture, HeaderFooter,
    Footnote, FieldInstruction, FieldResult, Field, ListTable, ListOverrideTable, List, ListLevel,
    ListOverride, SkippedInList, LevelText, NumberingText, ListText, Numbering, NumberingTextBefore,
    NumberingTextAfter, UnicodePair,
    UnicodeAlternative, NestedTableProperties, NoNestedTables, SkippedDestination, ObjectData, Result,
    // Document.
    Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, DefaultTab, FontCharset, FontCodePage, UnicodeSkip, Unicode,
    Binary,
    // Characters.
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, Font, FontSize, Foreground, Background,
    Highlight, Super, Sub, NoSuperSub, Hidden,
    // Paragraphs.
    Pard, LeftAlign, Center, RightAlign, Justify, LeftIndent, RightIndent, FirstIndent, SpaceBefore,
    SpaceAfter, LineSpacing, LineMultiple, Par, Line, Tab, Page, Section, PageBreakBefore, InTable,
    TableDepth, ListOverrideNumber, ListLevelNumber, TabStop, TabRight, TabCenter, TabDecimal,
    // Tables.
    RowDefaults, CellBoundary, Cell, Row, NestedCell, NestedRow, RowGap, RowLeft, MergeFirst, MergeNext,
    CellBackground, RowLeftAligned, RowCentered, RowRightAligned, RowHeader,
    CellBorder, RowBorder, BorderStyle, BorderWidth, BorderNone,
    // Pictures.
    Png, Jpeg, Dib, OtherPicture, PictureWidth, PictureHeight, GoalWidth, GoalHeight, ScaleX, ScaleY,
    // Lists.
    ListId, LevelNumberFormat, LevelStart, LevelLegal, LevelNoRestart, LevelFollow, NumberingStart,
    NumberingBullet, NumberingBody, NumberingLevel, NumberingContinue,
    NumberingDecimal, NumberingUpperLetter, NumberingLowerLetter, NumberingUpperRoman, NumberingLowerRoman,
    // Colours.
    Red, Green, Blue,
    // Characters by name.
    EmDash, EnDash, Bullet, LeftQuote, RightQuote, LeftDoubleQuote, RightDoubleQuote, EmSpace, EnSpace,
    QuarterEmSpace, ZeroWidthJoiner, ZeroWidthNonJoiner, LeftToRightMark, RightToLeftMark,
};

// The control words the reader knows, found by a hash into a flat table
// (the lookup runs for every control word of a file).
class WordTable
{
public:
    WordTable(std::initializer_list<std::pair<std::string_view, Word>> words)
    {
        for (const auto &[name, word] : words) {
            std::size_t i = hash(name) & kMask;
            while (!m_slots[i].name.empty())
                i = (i + 1) & kMask;
            m_slots[i] = Slot{name, word};
        }
    }

    Word find(std::string_view name) const
    {
        for (std::size_t i = hash(name) & kMask; !m_slots[i].name.empty(); i = (i + 1) & kMask) {
            if (m_slots[i].name == name)
                return m_slots[i].word;
        }
        return Word::Unknown;
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

    struct Slot
    {
        std::string_view name;
        Word word = Word::Unknown;
    };
    std::array<Slot, kMask + 1> m_slots{};
};

const WordTable &words()
{
    static const WordTable table = {
        {"rtf", Word::Rtf}, {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable},
        {"stylesheet", Word::StyleSheet}, {"info", Word::Info}, {"pict", Word::Picture},
        {"shppict", Word::ShapePicture}, {"nonshppict", Word::NonShapePicture},
        {"header", Word::HeaderFooter}, {"headerl", Word::HeaderFooter}, {"headerr", Word::HeaderFooter},
        {"headerf", Word::HeaderFooter}, {"footer", Word::HeaderFooter}, {"footerl", Word::HeaderFooter},
        {"footerr", Word::HeaderFooter}, {"footerf", Word::HeaderFooter}, {"footnote", Word::Footnote},
        {"annotation", Word::Footnote}, {"fldinst", Word::FieldInstruction}, {"fldrslt", Word::FieldResult},
        {"field", Word::Field}, {"listtable", Word::ListTable}, {"listoverridetable", Word::ListOverrideTable},
        {"list", Word::List}, {"listlevel", Word::ListLevel}, {"listoverride", Word::ListOverride},
        {"leveltext", Word::LevelText}, {"levelnumbers", Word::SkippedInList},
        {"listname", Word::SkippedInList}, {"pntext", Word::NumberingText}, {"listtext", Word::ListText},
        {"pn", Word::Numbering}, {"pntxtb", Word::NumberingTextBefore}, {"pntxta", Word::NumberingTextAfter},
        {"ud", Word::UnicodePair}, {"upr", Word::UnicodeAlternative},
        {"nesttableprops", Word::NestedTableProperties}, {"nonesttables", Word::NoNestedTables},
        {"xe", Word::SkippedDestination}, {"tc", Word::SkippedDestination}, {"txe", Word::SkippedDestination},
        {"rxe", Word::SkippedDestination}, {"template", Word::SkippedDestination},
        {"themedata", Word::SkippedDestination}, {"colorschememapping", Word::SkippedDestination},
        {"datastore", Word::SkippedDestination}, {"latentstyles", Word::SkippedDestination},
        {"filetbl", Word::SkippedDestination}, {"revtbl", Word::SkippedDestination},
        {"rsidtbl", Word::SkippedDestination}, {"generator", Word::SkippedDestination},
        {"userprops", Word::SkippedDestination}, {"docvar", Word::SkippedDestination},
        {"bkmkstart", Word::SkippedDestination}, {"bkmkend", Word::SkippedDestination},
        {"objdata", Word::ObjectData}, {"result", Word::Result},
        {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc}, {"pca", Word::Pca},
        {"ansicpg", Word::AnsiCodePage}, {"deff", Word::DefaultFont}, {"deftab", Word::DefaultTab}, {"fcharset", Word::FontCharset},
        {"cpg", Word::FontCodePage}, {"uc", Word::UnicodeSkip}, {"u", Word::Unicode}, {"bin", Word::Binary},
        {"plain", Word::Plain}, {"b", Word::Bold}, {"i", Word::Italic}, {"ul", Word::Underline},
        {"uld", Word::Underline}, {"uldb", Word::Underline}, {"ulw", Word::Underline},
        {"ulth", Word::Underline}, {"uldash", Word::Underline}, {"uldashd", Word::Underline},
        {"uldashdd", Word::Underline}, {"ulwave", Word::Underline}, {"ulhwave", Word::Underline},
        {"ululdbwave", Word::Underline}, {"ulldash", Word::Underline}, {"ulthd", Word::Underline},
        {"ulthdash", Word::Underline}, {"ulnone", Word::UnderlineNone}, {"strike", Word::Strike},
        {"striked", Word::Strike}, {"f", Word::Font}, {"fs", Word::FontSize}, {"cf", Word::Foreground},
        {"cb", Word::Background}, {"chcbpat", Word::Background}, {"highlight", Word::Highlight},
        {"super", Word::Super}, {"sub", Word::Sub}, {"up", Word::Super}, {"dn", Word::Sub}, {"nosupersub", Word::NoSuperSub}, {"v", Word::Hidden},
        {"pard", Word::Pard}, {"ql", Word::LeftAlign}, {"qc", Word::Center}, {"qr", Word::RightAlign},
        {"qj", Word::Justify}, {"qd", Word::Justify}, {"li", Word::LeftIndent}, {"ri", Word::RightIndent},
        {"fi", Word::FirstIndent}, {"sb", Word::SpaceBefore}, {"sa", Word::SpaceAfter},
        {"sl", Word::LineSpacing}, {"slmult", Word::LineMultiple}, {"par", Word::Par}, {"line", Word::Line},
        {"tab", Word::Tab}, {"page", Word::Page}, {"sect", Word::Section}, {"pagebb", Word::PageBreakBefore},
        {"intbl", Word::InTable}, {"itap", Word::TableDepth}, {"ls", Word::ListOverrideNumber},
        {"ilvl", Word::ListLevelNumber}, {"tx", Word::TabStop}, {"tqr", Word::TabRight},
        {"tqc", Word::TabCenter}, {"tqdec", Word::TabDecimal}, {"trowd", Word::RowDefaults}, {"cellx", Word::CellBoundary},
        {"cell", Word::Cell}, {"row", Word::Row}, {"nestcell", Word::NestedCell}, {"nestrow", Word::NestedRow},
        {"trgaph", Word::RowGap}, {"trleft", Word::RowLeft}, {"clcbpat", Word::CellBackground},
        {"trql", Word::RowLeftAligned}, {"trqc", Word::RowCentered}, {"trqr", Word::RowRightAligned}, {"trhdr", Word::RowHeader}, {"clvmgf", Word::MergeFirst},
        {"clvmrg", Word::MergeNext}, {"clbrdrt", Word::CellBorder}, {"clbrdrl", Word::CellBorder},
        {"clbrdrb", Word::CellBorder}, {"clbrdrr", Word::CellBorder}, {"trbrdrt", Word::RowBorder},
        {"trbrdrl", Word::RowBorder}, {"trbrdrb", Word::RowBorder}, {"trbrdrr", Word::RowBorder},
        {"trbrdrh", Word::RowBorder}, {"trbrdrv", Word::RowBorder}, {"brdrw", Word::BorderWidth},
        {"brdrs", Word::BorderStyle},
        {"brdrth", Word::BorderStyle}, {"brdrdb", Word::BorderStyle}, {"brdrdot", Word::BorderStyle},
        {"brdrdash", Word::BorderStyle}, {"brdrsh", Word::BorderStyle}, {"brdrhair", Word::BorderStyle},
        {"brdrtriple", Word::BorderStyle}, {"brdrnone", Word::BorderNone}, {"brdrnil", Word::BorderNone},
        {"pngblip", Word::Png}, {"jpegblip", Word::Jpeg}, {"dibitmap", Word::Dib},
        {"emfblip", Word::OtherPicture}, {"wmetafile", Word::OtherPicture}, {"macpict", Word::OtherPicture},
        {"pmmetafile", Word::OtherPicture}, {"wbitmap", Word::OtherPicture}, {"picw", Word::PictureWidth},
        {"pich", Word::PictureHeight}, {"picwgoal", Word::GoalWidth}, {"pichgoal", Word::GoalHeight},
        {"picscalex", Word::ScaleX}, {"picscaley", Word::ScaleY}, {"listid", Word::ListId},
        {"levelnfc", Word::LevelNumberFormat}, {"levelnfcn", Word::LevelNumberFormat},
        {"levelstartat", Word::LevelStart}, {"levellegal", Word::LevelLegal},
        {"levelnorestart", Word::LevelNoRestart}, {"levelfollow", Word::LevelFollow}, {"pnstart", Word::NumberingStart},
        {"pnlvlblt", Word::NumberingBullet}, {"pnlvlbody", Word::NumberingBody},
        {"pnlvl", Word::NumberingLevel}, {"pnlvlcont", Word::NumberingContinue},
        {"pndec", Word::NumberingDecimal}, {"pnucltr", Word::NumberingUpperLetter},
        {"pnlcltr", Word::NumberingLowerLetter}, {"pnucrm", Word::NumberingUpperRoman},
        {"pnlcrm", Word::NumberingLowerRoman}, {"red", Word::Red}, {"green", Word::Green},
        {"blue", Word::Blue}, {"emdash", Word::EmDash}, {"endash", Word::EnDash}, {"bullet", Word::Bullet},
        {"lquote", Word::LeftQuote}, {"rquote", Word::RightQuote}, {"ldblquote", Word::LeftDoubleQuote},
        {"rdblquote", Word::RightDoubleQuote}, {"emspace", Word::EmSpace}, {"enspace", Word::EnSpace},
        {"qmspace", Word::QuarterEmSpace}, {"zwj", Word::ZeroWidthJoiner}, {"zwnj", Word::ZeroWidthNonJoiner},
        {"ltrmark", Word::LeftToRightMark}, {"rtlmark", Word::RightToLeftMark},
    };
    return table;
}

Word wordOf(std::string_view name)
{
    return words().find(name);
}

// A device-independent bitmap as stored by \dibitmap, with the file header
// that turns it into a BMP file.
QByteArray bmpFromDib(const QByteArray &dib)
{
    if (dib.size() < 40)
        return QByteArray();
    QByteArray bmp("BM");
    const quint32 size = static_cast<quint32>(dib.size()) + 14;
    quint32 headerSize = 0;
    std::memcpy(&headerSize, dib.constData(), 4);
    quint16 bitCount = 0;
    std::memcpy(&bitCount, dib.constData() + 14, 2);
    quint32 colours = 0;
    std::memcpy(&colours, dib.constData() + 32, 4);
    if (colours == 0 && bitCount <= 8)
        colours = 1u << bitCount;
    const quint32 offset = 14 + headerSize + colours * 4;
    for (const quint32 value : {size, quint32(0), offset}) {
        const char bytes[4] = {char(value & 0xFF), char((value >> 8) & 0xFF), char((value >> 16) & 0xFF),
                               char((value >> 24) & 0xFF)};
        bmp.append(bytes, 4);
    }
    bmp.append(dib);
    return bmp;
}

// Halves of surrogate pairs that lost their partner, from index from on,
// are replaced.
void replaceLoneSurrogates(QString &text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (ch.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
}

// The level definitions of a list that has no \listtable entry, and the
// default of a level the entry does not define: level k counts in decimal
// with a full stop after its own number.
RtfListNumbering::Level defaultLevel(int level)
{
    RtfListNumbering::Level definition;
    definition.text = QString(QChar(char16_t(level))) + QLatin1Char('.');
    return definition;
}

RtfListNumbering::Levels defaultLevels()
{
    RtfListNumbering::Levels levels;
    for (int k = 0; k < 9; ++k)
        levels[static_cast<std::size_t>(k)] = defaultLevel(k);
    return levels;
}

// An \ls without a list definition: bullets at every level.
RtfListNumbering::Levels bulletLevels()
{
    RtfListNumbering::Levels levels;
    for (RtfListNumbering::Level &level : levels) {
        level.format = 23;
        level.text = QString(QChar(0x2022));
    }
    return levels;
}

} // namespace

bool RtfReader::isRtf(const QByteArray &data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

bool RtfReader::read(const QByteArray &data, QTextDocument &document)
{
    return read(data, document, Options(), nullptr);
}

bool RtfReader::read(const QByteArray &data, QTextDocument &document, const Options &options, Report *report)
{
    if (!isRtf(data))
        return false;
    RtfReader reader(data, options);
    reader.parse();

    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    // Without a page size the document's layout lays out nothing while the
    // content goes in; given back, it lays out the new content from its
    // start, in steps where a view shows it, the first page first.
    const QSizeF pageSize = document.pageSize();
    document.setPageSize(QSizeF(0, 0));
    document.clear();
    RtfDocumentAssembler::assemble(reader.m_content, document);
    document.setPageSize(pageSize);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    if (report)
        *report = reader.m_report;
    return true;
}

RtfReader::RtfReader(const QByteArray &data, const Options &options) : m_options(options), m_tokens(data)
{
    m_stack.emplace_back();
    m_content.text.reserve(data.size() / 4);
}

void RtfReader::parse()
{
    while (!m_finished) {
        const RtfTokenizer::Token token = m_tokens.next();
        switch (token.type) {
        case RtfTokenizer::Type::End:
            m_finished = true;
            break;
        case RtfTokenizer::Type::GroupOpen:
            groupOpen();
            break;
        case RtfTokenizer::Type::GroupClose:
            groupClose();
            break;
        case RtfTokenizer::Type::ControlWord:
            controlWord(token);
            break;
        case RtfTokenizer::Type::ControlSymbol:
            controlSymbol(token.symbol);
            break;
        case RtfTokenizer::Type::HexByte:
            hexByte(static_cast<unsigned char>(token.param));
            break;
        case RtfTokenizer::Type::Text:
            text(token.text);
            break;
        }
    }

    if (m_stack.size() > 1) {
        // A truncated file: what is open ends here, the last paragraph with
        // the properties it had.
        const RtfGroupState last = state();
        while (m_stack.size() > 2)
            groupClose();
        endParagraph(last, ParagraphEnd::Document);
        m_stack.resize(1);
    }
    m_content.charFormats.resize(m_formatCharacters.size() + 1);
    for (std::size_t i = 0; i < m_formatCharacters.size(); ++i)
        m_content.charFormats[i + 1] = makeCharFormat(m_formatCharacters[i]);
    m_content.lists = m_numbering.takeLists();
}

void RtfReader::groupOpen()
{
    m_skip = 0;
    m_skipTrail = false;
    if (m_starred) {
        // "{\*" followed by a group: nothing a reader needs.
        m_starred = false;
        m_tokens.skipGroup();
        return;
    }
    if (static_cast<int>(m_stack.size()) > MaxDepth) {
        m_tokens.skipGroup();
        return;
    }
    m_stack.push_back(m_stack.back());
}

void RtfReader::groupClose()
{
    m_skip = 0;
    m_skipTrail = false;
    m_starred = false;
    if (m_stack.size() <= 1)
        return;
    flushBytes();
    if (m_stack.size() == 2) {
        // The document's group ends; what follows is not RTF.
        endParagraph(state(), ParagraphEnd::Document);
        m_stack.pop_back();
        m_finished = true;
        return;
    }
    const RtfGroupState closed = m_stack.back();
    m_stack.pop_back();
    RtfGroupState &outer = state();
    using Dest = RtfGroupState::Destination;
    switch (closed.destination) {
    case Dest::Picture:
        if (outer.destination != Dest::Picture)
            finishPicture();
        break;
    case Dest::FontTable:
        finishFontName();
        break;
    case Dest::LevelText:
        if (outer.destination != Dest::LevelText)
            finishLevelText();
        break;
    case Dest::NumberingText:
        if (outer.destination == Dest::Numbering) {
            replaceLoneSurrogates(m_numberingText, 0);
            // \pntxtb was read into the prefix, \pntxta into the suffix.
            if (!m_numberingAfter)
                outer.paragraph.numberBefore = m_numberingText;
            else
                outer.paragraph.numberAfter = m_numberingText;
        }
        break;
    case Dest::Numbering:
        if (outer.destination != Dest::Numbering) {
            outer.paragraph.numbering = closed.paragraph.numbering;
            outer.paragraph.numberStyle = closed.paragraph.numberStyle;
            outer.paragraph.numberStart = closed.paragraph.numberStart;
            outer.paragraph.numberBefore = closed.paragraph.numberBefore;
            outer.paragraph.numberAfter = closed.paragraph.numberAfter;
        }
        break;
    default:
        break;
    }
    if (closed.character.font != outer.character.font)
        m_page = nullptr;
}

void RtfReader::skipDestination()
{
    m_starred = false;
    m_tokens.skipGroup();
    groupClose();
}

bool RtfReader::destinationWord(int wordValue)
{
    using Dest = RtfGroupState::Destination;
    RtfGroupState &s = state();
    const Word word = static_cast<Word>(wordValue);
    switch (word) {
    case Word::FontTable:
        s.destination = Dest::FontTable;
        m_fontInTable = -1;
        return true;
    case Word::ColorTable:
        s.destination = Dest::ColorTable;
        m_colorSeen = false;
        return true;
    case Word::Picture:
        s.destination = Dest::Picture;
        m_picture = PictureData();
        return true;
    case Word::ListTable:
        s.destination = Dest::ListTable;
        return true;
    case Word::ListOverrideTable:
        s.destination = Dest::ListOverrideTable;
        return true;
    case Word::LevelText:
        if (s.destination != Dest::ListTable)
            return false;
        flushBytes();
        s.destination = Dest::LevelText;
        m_levelText.clear();
        return true;
    case Word::NumberingText:
    case Word::ListText:
        flushText();
        s.destination = Dest::ListText;
        m_listText.clear();
        m_listTextFormat = -1;
        return true;
    case Word::Numbering:
        s.destination = Dest::Numbering;
        s.paragraph.numbering = RtfGroupState::NumberingKind::Number;
        s.paragraph.numberStyle = 0;
        s.paragraph.numberStart = 1;
        s.paragraph.numberBefore.clear();
        s.paragraph.numberAfter = QStringLiteral(".");
        return true;
    case Word::NumberingTextBefore:
    case Word::NumberingTextAfter:
        if (s.destination != Dest::Numbering)
            return false;
        flushBytes();
        s.destination = Dest::NumberingText;
        m_numberingAfter = word == Word::NumberingTextAfter;
        m_numberingText.clear();
        return true;
    case Word::UnicodeAlternative:
        s.destination = Dest::UnicodeAlternative;
        return true;
    case Word::UnicodePair:
        s.destination = Dest::Text;
        return true;
    case Word::ShapePicture:
    case Word::FieldResult:
    case Word::Field:
    case Word::Result:
        return true; // Their content is the document's.
    case Word::StyleSheet:
    case Word::Info:
    case Word::NonShapePicture:
    case Word::HeaderFooter:
    case Word::Footnote:
    case Word::FieldInstruction:
    case Word::NestedTableProperties:
    case Word::NoNestedTables:
    case Word::SkippedDestination:
    case Word::ObjectData:
        skipDestination();
        return true;
    case Word::SkippedInList:
        if (s.destination == Dest::ListTable) {
            skipDestination();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void RtfReader::controlWord(const RtfTokenizer::Token &token)
{
    using Dest = RtfGroupState::Destination;
    m_skipTrail = false;
    const Word word = wordOf(token.word);
    if (m_skip > 0) {
        --m_skip;
        if (word == Word::Binary)
            m_tokens.takeBinary(token.hasParam ? token.param : 0);
        return;
    }
    if (m_starred) {
        m_starred = false;
        if (!destinationWord(static_cast<int>(word)))
            skipDestination();
        return;
    }
    // Bytes of a multi-byte code page waiting for their partner take the
    // properties in force before this word.
    flushBytes();
    if (destinationWord(static_cast<int>(word)))
        return;

    RtfGroupState &s = state();
    RtfGroupState::Character &c = s.character;
    RtfGroupState::Paragraph &p = s.paragraph;
    const int param = token.param;
    const bool on = !token.hasParam || param != 0;

    switch (s.destination) {
    case Dest::FontTable:
        switch (word) {
        case Word::Font:
            finishFontName();
            m_fontInTable = param;
            m_fonts[param] = Font();
            m_page = nullptr;
            return;
        case Word::FontCharset:
            m_fonts[m_fontInTable].charset = param;
            m_page = nullptr;
            return;
        case Word::FontCodePage:
            m_fonts[m_fontInTable].codePage = pageNumber(param);
            m_page = nullptr;
            return;
        default:
            return;
        }
    case Dest::ColorTable: {
        const int value = std::clamp(param, 0, 255);
        if (word == Word::Red)
            m_red = value;
        else if (word == Word::Green)
            m_green = value;
        else if (word == Word::Blue)
            m_blue = value;
        else
            return;
        m_colorSeen = true;
        return;
    }
    case Dest::ListTable:
        listTableWord(static_cast<int>(word), param, on);
        return;
    case Dest::ListOverrideTable:
        if (word == Word::ListId)
            m_overrideListId = param;
        else if (word == Word::ListOverrideNumber)
            m_listOverrides[param] = m_overrideListId;
        return;
    case Dest::Numbering: {
        using Kind = RtfGroupState::NumberingKind;
        switch (word) {
        case Word::NumberingBullet:
            p.numbering = Kind::Bullet;
            return;
        case Word::NumberingBody:
        case Word::NumberingLevel:
            p.numbering = Kind::Number;
            return;
        case Word::NumberingContinue:
            p.numbering = Kind::None;
            return;
        case Word::NumberingDecimal:
            p.numberStyle = 0;
            return;
        case Word::NumberingUpperRoman:
            p.numberStyle = 1;
            return;
        case Word::NumberingLowerRoman:
            p.numberStyle = 2;
            return;
        case Word::NumberingUpperLetter:
            p.numberStyle = 3;
            return;
        case Word::NumberingLowerLetter:
            p.numberStyle = 4;
            return;
        case Word::NumberingStart:
            p.numberStart = std::clamp(param, 0, 32767);
            return;
        default:
            return;
        }
    }
    case Dest::Picture:
        switch (word) {
        case Word::Png:
            m_picture.format = 1;
            return;
        case Word::Jpeg:
            m_picture.format = 2;
            return;
        case Word::Dib:
            m_picture.format = 3;
            return;
        case Word::OtherPicture:
            m_picture.format = 0;
            return;
        case Word::PictureWidth:
            m_picture.width = std::clamp(param, 0, kMaxTwips);
            return;
        case Word::PictureHeight:
            m_picture.height = std::clamp(param, 0, kMaxTwips);
            return;
        case Word::GoalWidth:
            m_picture.goalWidth = std::clamp(param, 0, kMaxTwips);
            return;
        case Word::GoalHeight:
            m_picture.goalHeight = std::clamp(param, 0, kMaxTwips);
            return;
        case Word::ScaleX:
            m_picture.scaleX = std::clamp(param, 1, 1000);
            return;
        case Word::ScaleY:
            m_picture.scaleY = std::clamp(param, 1, 1000);
            return;
        case Word::Binary:
            m_picture.bytes.append(m_tokens.takeBinary(token.hasParam ? param : 0));
            return;
        default:
            return;
        }
    case Dest::LevelText:
    case Dest::NumberingText:
        // Only characters: the group's other words change nothing here.
        switch (word) {
        case Word::Unicode:
        case Word::UnicodeSkip:
        case Word::Tab:
        case Word::EmDash:
        case Word::EnDash:
        case Word::Bullet:
        case Word::LeftQuote:
        case Word::RightQuote:
        case Word::LeftDoubleQuote:
        case Word::RightDoubleQuote:
        case Word::EmSpace:
        case Word::EnSpace:
        case Word::QuarterEmSpace:
            break;
        case Word::Binary:
            m_tokens.takeBinary(token.hasParam ? param : 0);
            return;
        default:
            return;
        }
        break;
    default:
        break;
    }

    switch (word) {
    // Document.
    case Word::Ansi:
        m_ansiCodePage = 1252;
        m_page = nullptr;
        break;
    case Word::Mac:
        m_ansiCodePage = CodePage::MacRoman;
        m_page = nullptr;
        break;
    case Word::Pc:
        m_ansiCodePage = 437;
        m_page = nullptr;
        break;
    case Word::Pca:
        m_ansiCodePage = 850;
        m_page = nullptr;
        break;
    case Word::AnsiCodePage:
        if (param > 0)
            m_ansiCodePage = pageNumber(param);
        m_page = nullptr;
        break;
    case Word::DefaultFont:
        m_defaultFont = param;
        m_page = nullptr;
        break;
    case Word::DefaultTab:
        m_defaultTab = std::clamp(param, 60, kMaxTwips);
        break;
    case Word::UnicodeSkip:
        s.unicodeSkip = std::clamp(param, 0, 16);
        break;
    case Word::Unicode: {
        const int code = param < 0 ? param + 65536 : param;
        if (code > 0 && code < 65536)
            appendChar(QChar(char16_t(code)));
        m_skip = s.unicodeSkip;
        break;
    }
    case Word::Binary:
        m_tokens.takeBinary(token.hasParam ? param : 0);
        break;

    // Characters.
    case Word::Plain: {
        const RtfGroupState::Character plain;
        c = plain;
        break;
    }
    case Word::Bold:
        c.bold = on;
        break;
    case Word::Italic:
        c.italic = on;
        break;
    case Word::Underline:
        c.underline = on;
        break;
    case Word::UnderlineNone:
        c.underline = false;
        break;
    case Word::Strike:
        c.strike = on;
        break;
    case Word::Font:
        c.font = param;
        break;
    case Word::FontSize:
        c.halfPoints = token.hasParam && param > 0 ? std::min(param, 3276) : 24;
        break;
    case Word::Foreground:
        c.foreground = param;
        break;
    case Word::Background:
        c.background = param;
        break;
    case Word::Highlight:
        c.highlight = param;
        break;
    case Word::Super:
        c.vertical = on ? RtfGroupState::Vertical::Super : RtfGroupState::Vertical::Normal;
        break;
    case Word::Sub:
        c.vertical = on ? RtfGroupState::Vertical::Sub : RtfGroupState::Vertical::Normal;
        break;
    case Word::NoSuperSub:
        c.vertical = RtfGroupState::Vertical::Normal;
        break;
    case Word::Hidden:
        c.hidden = on;
        break;

    // Paragraphs.
    case Word::Pard: {
        const RtfGroupState::Paragraph plain;
        p = plain;
        break;
    }
    case Word::LeftAlign:
        p.alignment = RtfGroupState::Alignment::Left;
        break;
    case Word::Center:
        p.alignment = RtfGroupState::Alignment::Center;
        break;
    case Word::RightAlign:
        p.alignment = RtfGroupState::Alignment::Right;
        break;
    case Word::Justify:
        p.alignment = RtfGroupState::Alignment::Justify;
        break;
    case Word::LeftIndent:
        p.leftIndent = clampTwips(param);
        break;
    case Word::RightIndent:
        p.rightIndent = clampTwips(param);
        break;
    case Word::FirstIndent:
        p.firstIndent = clampTwips(param);
        break;
    case Word::SpaceBefore:
        p.spaceBefore = std::clamp(param, 0, kMaxTwips);
        break;
    case Word::SpaceAfter:
        p.spaceAfter = std::clamp(param, 0, kMaxTwips);
        break;
    case Word::LineSpacing:
        p.lineSpacing = clampTwips(param);
        break;
    case Word::LineMultiple:
        p.lineMultiple = on;
        break;
    case Word::PageBreakBefore:
        p.pageBreakBefore = on;
        break;
    case Word::InTable:
        p.inTable = true;
        p.tableDepth = std::max(p.tableDepth, 1);
        break;
    case Word::TableDepth:
        p.tableDepth = std::clamp(param, 0, MaxDepth);
        p.inTable = p.tableDepth > 0;
        break;
    case Word::ListOverrideNumber:
        p.listOverride = param;
        break;
    case Word::ListLevelNumber:
        p.listLevel = std::clamp(param, 0, 8);
        break;
    case Word::TabStop:
        if (p.tabs.size() < 64)
            p.tabs.append({std::clamp(param, 0, kMaxTwips), p.nextTab});
        p.nextTab = RtfGroupState::TabKind::Left;
        break;
    case Word::TabRight:
        p.nextTab = RtfGroupState::TabKind::Right;
        break;
    case Word::TabCenter:
        p.nextTab = RtfGroupState::TabKind::Center;
        break;
    case Word::TabDecimal:
        p.nextTab = RtfGroupState::TabKind::Decimal;
        break;
    case Word::Par:
        endParagraph(s, ParagraphEnd::Paragraph);
        break;
    case Word::Line:
        appendChar(QChar::LineSeparator);
        break;
    case Word::Tab:
        appendChar(QLatin1Char('\t'));
        break;
    case Word::Page:
        if (!m_content.paragraphIsEmpty() || m_runStart >= 0)
            endParagraph(s, ParagraphEnd::Paragraph);
        p.pageBreakBefore = true;
        break;
    case Word::Section:
        if (!m_content.paragraphIsEmpty() || m_runStart >= 0)
            endParagraph(s, ParagraphEnd::Paragraph);
        break;

    // Tables.
    case Word::RowDefaults:
        m_row = RtfContent::RowDefinition();
        m_nextCell = RtfContent::RowDefinition::CellDefinition();
        m_borderSide = -1;
        break;
    case Word::RowHeader:
        m_row.header = on;
        break;
    case Word::CellBoundary:
        if (static_cast<int>(m_row.cells.size()) < RtfContent::MaxCellsPerRow) {
            m_nextCell.right = std::clamp(param, -RtfContent::MaxCellBoundary, RtfContent::MaxCellBoundary);
            m_row.cells.push_back(m_nextCell);
        }
        m_nextCell = RtfContent::RowDefinition::CellDefinition();
        m_borderSide = -1;
        break;
    case Word::RowGap:
        m_row.cellGap = std::clamp(param, 0, kMaxTwips);
        break;
    case Word::RowLeft:
        m_row.left = clampTwips(param);
        break;
    case Word::RowLeftAligned:
        m_row.alignment = Qt::AlignLeft;
        break;
    case Word::RowCentered:
        m_row.alignment = Qt::AlignHCenter;
        break;
    case Word::RowRightAligned:
        m_row.alignment = Qt::AlignRight;
        break;
    case Word::CellBackground:
        if (!colorAt(param, &m_nextCell.background))
            m_nextCell.background = QColor();
        break;
    case Word::MergeFirst:
        m_nextCell.mergeDown = true;
        break;
    case Word::MergeNext:
        m_nextCell.mergedAbove = true;
        break;
    case Word::CellBorder:
        m_borderSide = token.word == "clbrdrt" ? 0 : token.word == "clbrdrl" ? 1 : token.word == "clbrdrb" ? 2 : 3;
        break;
    case Word::RowBorder:
        m_borderSide = 4;
        break;
    case Word::BorderStyle:
        if (m_borderSide == 4)
            m_row.borders = true;
        else if (m_borderSide >= 0 && m_nextCell.borders[static_cast<std::size_t>(m_borderSide)] == 0)
            m_nextCell.borders[static_cast<std::size_t>(m_borderSide)] = 15;
        break;
    case Word::BorderWidth:
        if (m_borderSide >= 0 && m_borderSide < 4)
            m_nextCell.borders[static_cast<std::size_t>(m_borderSide)] = std::clamp(param, 1, 150);
        break;
    case Word::BorderNone:
        if (m_borderSide >= 0 && m_borderSide < 4)
            m_nextCell.borders[static_cast<std::size_t>(m_borderSide)] = 0;
        m_borderSide = -1;
        break;
    case Word::Cell:
        endParagraph(s, p.tableDepth > 1 ? ParagraphEnd::Paragraph : ParagraphEnd::Cell);
        break;
    case Word::NestedCell:
        endParagraph(s, ParagraphEnd::Paragraph);
        break;
    case Word::Row:
        if (p.tableDepth > 1)
            break;
        flushText();
        m_content.endRow(m_row);
        break;

    // Characters by name.
    case Word::EmDash:
        appendChar(QChar(0x2014));
        break;
    case Word::EnDash:
        appendChar(QChar(0x2013));
        break;
    case Word::Bullet:
        appendChar(QChar(0x2022));
        break;
    case Word::LeftQuote:
        appendChar(QChar(0x2018));
        break;
    case Word::RightQuote:
        appendChar(QChar(0x2019));
        break;
    case Word::LeftDoubleQuote:
        appendChar(QChar(0x201C));
        break;
    case Word::RightDoubleQuote:
        appendChar(QChar(0x201D));
        break;
    case Word::EmSpace:
        appendChar(QChar(0x2003));
        break;
    case Word::EnSpace:
        appendChar(QChar(0x2002));
        break;
    case Word::QuarterEmSpace:
        appendChar(QChar(0x2005));
        break;
    case Word::ZeroWidthJoiner:
        appendChar(QChar(0x200D));
        break;
    case Word::ZeroWidthNonJoiner:
        appendChar(QChar(0x200C));
        break;
    case Word::LeftToRightMark:
        appendChar(QChar(0x200E));
        break;
    case Word::RightToLeftMark:
        appendChar(QChar(0x200F));
        break;
    default:
        break;
    }
}

void RtfReader::listTableWord(int wordValue, int param, bool on)
{
    const Word word = static_cast<Word>(wordValue);
    if (word == Word::List) {
        ListDefinition definition;
        definition.levels = defaultLevels();
        m_listDefinitions.push_back(definition);
        return;
    }
    if (m_listDefinitions.empty())
        return;
    ListDefinition &definition = m_listDefinitions.back();
    if (word == Word::ListId) {
        definition.id = param;
        m_listById[param] = m_listDefinitions.size() - 1;
        return;
    }
    if (word == Word::ListLevel) {
        if (definition.levelCount < 9)
            ++definition.levelCount;
        return;
    }
    if (definition.levelCount == 0)
        return;
    const auto index = static_cast<std::size_t>(definition.levelCount - 1);
    RtfListNumbering::Level &level = definition.levels[index];
    switch (word) {
    case Word::LevelNumberFormat:
        level.format = std::clamp(param, 0, 255);
        break;
    case Word::LevelStart:
        level.start = std::clamp(param, 0, 32767);
        break;
    case Word::LevelLegal:
        level.legal = on;
        break;
    case Word::LevelNoRestart:
        level.noRestart = on;
        break;
    case Word::LevelFollow:
        level.follow = std::clamp(param, 0, 2);
        break;
    case Word::Font:
        definition.fonts[index] = param;
        break;
    default:
        break;
    }
}

void RtfReader::controlSymbol(char symbol)
{
    if (symbol == '\\' || symbol == '{' || symbol == '}') {
        text(std::string_view(&symbol, 1)); // A byte (also the trail of a skipped one).
        return;
    }
    m_skipTrail = false;
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    switch (symbol) {
    case '*':
        m_starred = true;
        return;
    case '~':
        appendChar(QChar(0x00A0));
        return;
    case '-':
        appendChar(QChar(0x00AD));
        return;
    case '_':
        appendChar(QChar(0x2011));
        return;
    case '\t':
        appendChar(QLatin1Char('\t'));
        return;
    default:
        return; // \| \: and the like: nothing to show.
    }
}

bool RtfReader::skipped(unsigned char byte)
{
    if (m_skipTrail) {
        m_skipTrail = false;
        if (m_skip > 0)
            --m_skip;
        return true;
    }
    if (m_skip <= 0)
        return false;
    --m_skip;
    // The fallback of \u in a double-byte page: its trail byte goes with
    // its lead byte, whatever \uc counted.
    const CodePage &page = currentPage();
    if (!page.isSingleByte() && page.isLeadByte(byte))
        m_skipTrail = true;
    return true;
}

void RtfReader::text(std::string_view bytes)
{
    using Dest = RtfGroupState::Destination;
    while (!bytes.empty() && (m_skip > 0 || m_skipTrail) && skipped(static_cast<unsigned char>(bytes.front())))
        bytes.remove_prefix(1);
    if (bytes.empty())
        return;
    m_starred = false;
    if (m_stack.size() <= 1)
        return; // Outside the document's group.
    RtfGroupState &s = state();
    switch (s.destination) {
    case Dest::FontTable:
        if (m_fontInTable < 0 && !m_fonts.count(m_fontInTable))
            m_fonts[m_fontInTable] = Font();
        for (const char byte : bytes) {
            Font &font = m_fonts[m_fontInTable];
            if (byte == ';')
                finishFontName();
            else if (!font.named)
                font.nameBytes.append(byte);
        }
        return;
    case Dest::ColorTable:
        for (const char byte : bytes) {
            if (byte == ';')
                addColor();
        }
        return;
    case Dest::Picture:
        for (const char byte : bytes) {
            int value = -1;
            if (byte >= '0' && byte <= '9')
                value = byte - '0';
            else if (byte >= 'a' && byte <= 'f')
                value = byte - 'a' + 10;
            else if (byte >= 'A' && byte <= 'F')
                value = byte - 'A' + 10;
            if (value < 0)
                continue;
            if (m_picture.highNibble < 0) {
                m_picture.highNibble = value;
            } else {
                m_picture.bytes.append(char(m_picture.highNibble << 4 | value));
                m_picture.highNibble = -1;
            }
        }
        return;
    case Dest::Text:
    case Dest::ListText:
    case Dest::LevelText:
    case Dest::NumberingText:
        break;
    default:
        return;
    }
    if (s.character.hidden && s.destination != Dest::LevelText)
        return;
    if (s.destination == Dest::LevelText && m_levelText.isEmpty() && m_pendingBytes.isEmpty()) {
        // The level text's length: a number, not a character.
        m_levelText.append(QChar(char16_t(static_cast<unsigned char>(bytes.front()))));
        bytes.remove_prefix(1);
        if (bytes.empty())
            return;
    }

    const CodePage &page = s.destination == Dest::LevelText ? this->page(m_ansiCodePage) : currentPage();
    if (!page.isSingleByte()) {
        if (!m_pendingBytes.isEmpty() && m_pendingPage != &page)
            flushBytes();
        m_pendingPage = &page;
        m_pendingBytes.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        return;
    }
    flushBytes();
    if (s.destination != Dest::Text) {
        for (const char byte : bytes)
            appendChar(page.byteToChar(static_cast<unsigned char>(byte)));
        return;
    }
    openRun(charFormatIndex(s.character));
    QString &out = m_content.text;
    const qsizetype start = out.size();
    out.resize(start + static_cast<qsizetype>(bytes.size()));
    QChar *to = out.data() + start;
    for (const char byte : bytes) {
        const QChar ch = page.byteToChar(static_cast<unsigned char>(byte));
        if (ch.unicode() < 0x20 && ch != QLatin1Char('\t'))
            continue; // Control characters are not text (some pages map bytes to them).
        *to++ = ch;
    }
    out.resize(to - out.constData());
}

void RtfReader::hexByte(unsigned char byte)
{
    using Dest = RtfGroupState::Destination;
    if ((m_skip > 0 || m_skipTrail) && skipped(byte))
        return;
    const char c = static_cast<char>(byte);
    RtfGroupState &s = state();
    switch (s.destination) {
    case Dest::FontTable: {
        Font &font = m_fonts[m_fontInTable];
        if (!font.named)
            font.nameBytes.append(c);
        return;
    }
    case Dest::LevelText:
        if (byte < 0x20 || m_levelText.isEmpty()) {
            // The length of the level text and its placeholders: numbers.
            flushBytes();
            m_levelText.append(QChar(char16_t(byte)));
            return;
        }
        text(std::string_view(&c, 1));
        return;
    case Dest::Text:
    case Dest::ListText:
    case Dest::NumberingText:
        if (byte < 0x20 && byte != '\t')
            return; // Keep control bytes out of the text.
        text(std::string_view(&c, 1));
        return;
    default:
        return;
    }
}

void RtfReader::appendChar(QChar ch)
{
    using Dest = RtfGroupState::Destination;
    switch (ch.unicode()) {
    case 0xFFFC: // An object's place, without the object.
    case 0xFDD0: // QTextDocument's marks of frames.
    case 0xFDD1:
        return;
    case 0x2029: // Paragraphs end with \par: within one, a line break.
        ch = QChar::LineSeparator;
        break;
    default:
        if (ch.unicode() < 0x20 && ch != QLatin1Char('\t'))
            return; // Control characters are not text.
        break;
    }
    RtfGroupState &s = state();
    switch (s.destination) {
    case Dest::Text: {
        if (s.character.hidden)
            return;
        flushBytes();
        // The second half of a surrogate pair goes with the first, in its
        // format.
        const QString &text = m_content.text;
        if (!(ch.isLowSurrogate() && m_runStart >= 0 && text.size() > m_runStart && text.back().isHighSurrogate()))
            openRun(charFormatIndex(s.character));
        if (ch.isSurrogate())
            m_runSurrogate = true;
        m_content.text.append(ch);
        return;
    }
    case Dest::ListText:
        if (s.character.hidden)
            return;
        if (m_listTextFormat < 0)
            m_listTextFormat = charFormatIndex(s.character);
        m_listText.append(ch);
        return;
    case Dest::LevelText:
        m_levelText.append(ch);
        return;
    case Dest::NumberingText:
        m_numberingText.append(ch);
        return;
    default:
        return;
    }
}

void RtfReader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString decoded = m_pendingPage->decode(m_pendingBytes);
    m_pendingBytes.clear();
    for (const QChar ch : decoded)
        appendChar(ch);
}

void RtfReader::openRun(int format)
{
    if (m_runStart >= 0 && format == m_runFormat)
        return;
    closeRun();
    m_runStart = static_cast<int>(m_content.text.size());
    m_runFormat = format;
}

void RtfReader::closeRun()
{
    if (m_runStart < 0)
        return;
    if (m_runSurrogate) {
        replaceLoneSurrogates(m_content.text, m_runStart);
        m_runSurrogate = false;
    }
    m_content.addRun(m_runStart, m_runFormat);
    m_runStart = -1;
}

void RtfReader::flushText()
{
    flushBytes();
    closeRun();
}

void RtfReader::endParagraph(const RtfGroupState &s, ParagraphEnd end)
{
    flushText();
    // The empty paragraph after the last paragraph mark is no item.
    const bool dropped = end == ParagraphEnd::Document && m_content.paragraphIsEmpty();
    const RtfListNumbering::Item item = dropped ? RtfListNumbering::Item() : listItem(s.paragraph);
    if (item.list < 0) {
        // The number as text: as the writer put it, else as the level has it.
        if (!m_listText.isEmpty()) {
            replaceLoneSurrogates(m_listText, 0);
            m_content.prependText(m_listText, m_listTextFormat >= 0 ? m_listTextFormat : charFormatIndex(s.character));
        }
        else
            m_content.prependText(item.marker, charFormatIndex(s.character));
    }
    m_listText.clear();
    m_listTextFormat = -1;
    const int mark = charFormatIndex(s.character);
    const bool listed = item.list >= 0;
    const int block = blockFormatIndex(s.paragraph, listed,
                                       listed && !m_options.textOnly ? listTextIndent(s.paragraph, mark, item) : 0);
    switch (end) {
    case ParagraphEnd::Paragraph:
        m_content.endParagraph(block, mark, item.list, s.paragraph.inTable);
        break;
    case ParagraphEnd::Cell:
        m_content.endCell(block, mark, item.list);
        break;
    case ParagraphEnd::Document:
        m_content.finish(block, mark, item.list, s.paragraph.inTable);
        break;
    }
    state().paragraph.pageBreakBefore = false;
}

void RtfReader::finishPicture()
{
    PictureData picture = std::move(m_picture);
    m_picture = PictureData();
    if (picture.format == 0 || picture.bytes.isEmpty() || state().character.hidden
        || state().destination != RtfGroupState::Destination::Text)
        return;
    QByteArray bytes = picture.format == 3 ? bmpFromDib(picture.bytes) : picture.bytes;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, picture.format == 1 ? "png" : picture.format == 2 ? "jpeg" : "bmp");
    const QImage image = reader.read();
    if (image.isNull())
        return; // A broken picture is left out.

    QSizeF size;
    if (picture.goalWidth > 0 && picture.goalHeight > 0)
        size = QSizeF(picture.goalWidth / kTwipsPerUnit, picture.goalHeight / kTwipsPerUnit);
    else
        size = QSizeF(image.size());
    size = QSizeF(size.width() * picture.scaleX / 100.0, size.height() * picture.scaleY / 100.0);

    if (m_options.textOnly) {
        // The picture's place (plain text shows no character for it).
        flushBytes();
        openRun(charFormatIndex(state().character));
        m_content.text.append(QChar::ObjectReplacementCharacter);
        return;
    }
    flushText();
    m_content.pictures.push_back(RtfContent::Picture{image, size});
    m_content.addPicture(static_cast<int>(m_content.pictures.size()) - 1, charFormatIndex(state().character));
}

void RtfReader::finishFontName()
{
    const auto it = m_fonts.find(m_fontInTable);
    if (it == m_fonts.end() || it->second.named)
        return;
    Font &font = it->second;
    font.named = true;
    int number = font.codePage;
    if (number == 0)
        number = CodePage::forCharset(font.charset);
    if (number == 0 || number == CodePage::Symbol)
        number = m_ansiCodePage;
    font.name = page(number).decode(font.nameBytes).trimmed();
    font.nameBytes.clear();
}

void RtfReader::finishLevelText()
{
    flushBytes();
    if (m_listDefinitions.empty() || m_listDefinitions.back().levelCount == 0)
        return;
    ListDefinition &definition = m_listDefinitions.back();
    // The first character is the length of the text that follows, a byte.
    const int length = m_levelText.isEmpty() ? 0 : std::min<int>(m_levelText.at(0).unicode(), 255);
    QString text = m_levelText.mid(1, length);
    // Below U+0009 the numbers of the levels; further control characters
    // are no text.
    text.removeIf([](QChar ch) { return ch.unicode() > 9 && ch.unicode() < 0x20; });
    replaceLoneSurrogates(text, 0);
    definition.levels[static_cast<std::size_t>(definition.levelCount - 1)].text = text;
    m_levelText.clear();
}

void RtfReader::addColor()
{
    m_colors.emplace_back(m_red, m_green, m_blue);
    m_colorDefined.push_back(m_colorSeen);
    m_red = m_green = m_blue = 0;
    m_colorSeen = false;
}

int RtfReader::pageNumber(int number)
{
    if (CodePage::find(number))
        return number;
    if (!m_report.unsupportedCodePages.contains(number) && m_report.unsupportedCodePages.size() < kMaxReportedPages)
        m_report.unsupportedCodePages.append(number);
    return CodePage::fallbackFor(number);
}

const CodePage &RtfReader::page(int number)
{
    return CodePage::get(pageNumber(number));
}

const CodePage &RtfReader::pageOf(int fontNumber)
{
    const auto it = m_fonts.find(fontNumber < 0 ? m_defaultFont : fontNumber);
    if (it != m_fonts.end()) {
        if (it->second.codePage > 0)
            return page(it->second.codePage);
        const int number = CodePage::forCharset(it->second.charset);
        if (number > 0)
            return page(number);
    }
    return page(m_ansiCodePage);
}

const CodePage &RtfReader::currentPage()
{
    const int font = state().character.font;
    if (!m_page || m_pageFont != font) {
        m_page = &pageOf(font);
        m_pageFont = font;
    }
    return *m_page;
}

bool RtfReader::colorAt(int index, QColor *color) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_colors.size() || !m_colorDefined[static_cast<std::size_t>(index)])
        return false;
    *color = m_colors[static_cast<std::size_t>(index)];
    return true;
}

int RtfReader::charFormatIndex(const RtfGroupState::Character &given)
{
    RtfGroupState::Character reduced;
    const RtfGroupState::Character *character = &given;
    if (m_options.textOnly) {
        // Of the character's properties only raising and lowering show in
        // plain text.
        reduced.vertical = given.vertical;
        character = &reduced;
    }
    if (m_lastFormat >= 0 && *character == m_lastCharacter)
        return m_lastFormat;
    auto it = m_formatIndexes.find(*character);
    if (it == m_formatIndexes.end()) {
        m_formatCharacters.push_back(*character);
        it = m_formatIndexes.emplace(*character, static_cast<int>(m_formatCharacters.size())).first;
    }
    m_lastCharacter = *character;
    m_lastFormat = it->second;
    return m_lastFormat;
}

QTextCharFormat RtfReader::makeCharFormat(const RtfGroupState::Character &c) const
{
    QTextCharFormat format;
    if (c.vertical == RtfGroupState::Vertical::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.vertical == RtfGroupState::Vertical::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (m_options.textOnly)
        return format;
    const auto font = m_fonts.find(c.font < 0 ? m_defaultFont : c.font);
    if (font != m_fonts.end() && !font->second.name.isEmpty()) {
        format.setFontFamilies(QStringList{font->second.name});
        format.setProperty(FormatKeys::FontKey, FormatKeys::fontKey(font->second.name));
    }
    format.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold)
        format.setFontWeight(QFont::Bold);
    if (c.italic)
        format.setFontItalic(true);
    if (c.underline)
        format.setFontUnderline(true);
    if (c.strike)
        format.setFontStrikeOut(true);
    QColor value;
    if (colorAt(c.foreground, &value))
        format.setForeground(value);
    if (colorAt(c.highlight, &value) || colorAt(c.background, &value))
        format.setBackground(value);
    return format;
}

bool RtfReader::BlockKey::operator==(const BlockKey &o) const
{
    const RtfGroupState::Paragraph &a = paragraph;
    const RtfGroupState::Paragraph &b = o.paragraph;
    return listed == o.listed && listIndent == o.listIndent && a.alignment == b.alignment && a.leftIndent == b.leftIndent
           && a.rightIndent == b.rightIndent && a.firstIndent == b.firstIndent && a.spaceBefore == b.spaceBefore
           && a.spaceAfter == b.spaceAfter && a.lineSpacing == b.lineSpacing && a.lineMultiple == b.lineMultiple
           && a.pageBreakBefore == b.pageBreakBefore && a.tabs == b.tabs;
}

std::size_t RtfReader::BlockKeyHash::operator()(const BlockKey &key) const
{
    const RtfGroupState::Paragraph &p = key.paragraph;
    std::size_t hash = std::hash<int>()(p.leftIndent);
    for (const int value : {int(p.alignment), p.rightIndent, p.firstIndent, p.spaceBefore, p.spaceAfter, p.lineSpacing,
                            key.listIndent, int(p.lineMultiple) | int(p.pageBreakBefore) << 1 | int(key.listed) << 2})
        hash = hash * 31 + std::hash<int>()(value);
    for (const auto &[twips, kind] : p.tabs)
        hash = hash * 131 + std::hash<int>()(twips * 4 + int(kind));
    return hash;
}

int RtfReader::blockFormatIndex(const RtfGroupState::Paragraph &paragraph, bool listed, int listIndent)
{
    if (m_options.textOnly)
        return 0;
    BlockKey key{paragraph, listed, listIndent};
    if (m_lastBlockIndex >= 0 && key == m_lastBlock)
        return m_lastBlockIndex;
    auto it = m_blockIndexes.find(key);
    if (it == m_blockIndexes.end()) {
        m_content.blockFormats.push_back(makeBlockFormat(paragraph, listed, listIndent));
        it = m_blockIndexes.emplace(key, static_cast<int>(m_content.blockFormats.size()) - 1).first;
    }
    m_lastBlock = std::move(key);
    m_lastBlockIndex = it->second;
    return m_lastBlockIndex;
}

QTextBlockFormat RtfReader::makeBlockFormat(const RtfGroupState::Paragraph &p, bool listed, int listIndent) const
{
    QTextBlockFormat format;
    switch (p.alignment) {
    case RtfGroupState::Alignment::Left:
        break;
    case RtfGroupState::Alignment::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case RtfGroupState::Alignment::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    case RtfGroupState::Alignment::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    if (p.leftIndent != 0)
        format.setLeftMargin(p.leftIndent / kTwipsPerUnit);
    if (p.rightIndent != 0)
        format.setRightMargin(p.rightIndent / kTwipsPerUnit);
    // A list item's marker stands left of its first line's text: in the
    // hanging indent, or before a first line moved right to make room.
    if (listed ? listIndent != 0 : p.firstIndent != 0)
        format.setTextIndent((listed ? listIndent : p.firstIndent) / kTwipsPerUnit);
    if (p.spaceBefore != 0)
        format.setTopMargin(p.spaceBefore / kTwipsPerUnit);
    if (p.spaceAfter != 0)
        format.setBottomMargin(p.spaceAfter / kTwipsPerUnit);
    if (p.lineSpacing != 0) {
        if (p.lineMultiple && p.lineSpacing > 0)
            format.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing > 0)
            format.setLineHeight(p.lineSpacing / kTwipsPerUnit, QTextBlockFormat::MinimumHeight);
        else
            format.setLineHeight(-p.lineSpacing / kTwipsPerUnit, QTextBlockFormat::FixedHeight);
    }
    if (p.pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (!p.tabs.isEmpty()) {
        QList<QTextOption::Tab> tabs;
        for (const auto &[twips, kind] : p.tabs) {
            QTextOption::Tab tab(twips / kTwipsPerUnit, QTextOption::LeftTab);
            if (kind == RtfGroupState::TabKind::Right)
                tab.type = QTextOption::RightTab;
            else if (kind == RtfGroupState::TabKind::Center)
                tab.type = QTextOption::CenterTab;
            else if (kind == RtfGroupState::TabKind::Decimal)
                tab = QTextOption::Tab(twips / kTwipsPerUnit, QTextOption::DelimiterTab, QLatin1Char(','));
            tabs.append(tab);
        }
        std::stable_sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab &a, const QTextOption::Tab &b) {
            return a.position < b.position;
        });
        format.setTabPositions(tabs);
        format.setProperty(FormatKeys::TabsKey, FormatKeys::tabsKey(tabs));
    }
    return format;
}

int RtfReader::listTextIndent(const RtfGroupState::Paragraph &p, int markFormat, const RtfListNumbering::Item &item)
{
    if (item.label.isEmpty())
        return 0;
    // Where a word processor puts the text of the first line: the number
    // stands at the first-line indent, then comes a tab (to the hanging
    // indent when that lies past the number, else to the next tab stop), a
    // space or nothing.  Qt draws the number just left of that text.
    const RtfGroupState::Character &mark = m_formatCharacters[static_cast<std::size_t>(markFormat - 1)];
    const int start = std::max(0, p.leftIndent + p.firstIndent);
    const int roomBeforeText = p.leftIndent - start;
    // Any character is at most as wide as the font is high, nearly: a
    // number that surely fits needs no measuring.
    if (item.follow == 0 && roomBeforeText > (item.label.size() + 1) * mark.halfPoints * 12)
        return 0;
    auto metrics = m_metrics.find(markFormat);
    if (metrics == m_metrics.end())
        metrics = m_metrics.emplace(markFormat, QFontMetricsF(makeCharFormat(mark).font())).first;
    const double spacePx = metrics->second.horizontalAdvance(QLatin1Char(' '));
    const int end = start + static_cast<int>(std::ceil((metrics->second.horizontalAdvance(item.label) + spacePx) * kTwipsPerUnit));
    int text = end;
    if (item.follow == 0) {
        if (p.leftIndent >= end) {
            text = p.leftIndent;
        } else {
            text = (end / m_defaultTab + 1) * m_defaultTab;
            for (const auto &[twips, kind] : p.tabs) {
                if (twips >= end && twips < text)
                    text = twips;
            }
        }
    } else if (item.follow == 1) {
        text = end + static_cast<int>(std::ceil(spacePx * kTwipsPerUnit));
    }
    return text - p.leftIndent;
}

bool RtfReader::isSymbolFont(int fontNumber) const
{
    const auto it = m_fonts.find(fontNumber);
    if (it == m_fonts.end())
        return false;
    const QString &name = it->second.name;
    return it->second.charset == 2 || name.startsWith(QLatin1String("Symbol"), Qt::CaseInsensitive)
           || name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)
           || name.startsWith(QLatin1String("Webdings"), Qt::CaseInsensitive);
}

const RtfListNumbering::Levels &RtfReader::levelsOf(ListDefinition &definition)
{
    if (definition.bulletsResolved)
        return definition.levels;
    definition.bulletsResolved = true;
    for (std::size_t k = 0; k < definition.levels.size(); ++k) {
        RtfListNumbering::Level &level = definition.levels[k];
        if (level.format != 23 || level.text.size() != 1)
            continue;
        // A bullet of a symbol typeface, as its byte or as its private-use
        // character: the glyph is the typeface's, so it is shown as the
        // bullet Qt draws closest to it.
        char16_t ch = level.text.at(0).unicode();
        const bool privateUse = ch >= 0xF020 && ch <= 0xF0FF;
        if (!privateUse && !isSymbolFont(definition.fonts[k]))
            continue;
        if (privateUse)
            ch = static_cast<char16_t>(ch - 0xF000);
        if (ch == 0xA7 || ch == 'n' || ch == 0xA8)
            ch = 0x25AA; // Wingdings' squares.
        else if (ch == 'o' || ch == 0xA1)
            ch = 0x25E6; // Wingdings' circles.
        else
            ch = 0x2022;
        level.text = QString(QChar(ch));
    }
    return definition.levels;
}

RtfListNumbering::Item RtfReader::listItem(const RtfGroupState::Paragraph &p)
{
    if (p.listOverride > 0) {
        m_legacyGroup = 0;
        const auto over = m_listOverrides.find(p.listOverride);
        const auto list = over != m_listOverrides.end() ? m_listById.find(over->second) : m_listById.end();
        if (list == m_listById.end()) {
            static const RtfListNumbering::Levels bullets = bulletLevels();
            return m_numbering.add(p.listOverride, bullets, p.listLevel);
        }
        return m_numbering.add(p.listOverride, levelsOf(m_listDefinitions[list->second]), p.listLevel);
    }
    if (p.numbering == RtfGroupState::NumberingKind::None) {
        m_legacyGroup = 0;
        return RtfListNumbering::Item();
    }
    // Numbering by \pn: one level, running on while the paragraphs before
    // had the same numbering.
    RtfListNumbering::Level level;
    if (p.numbering == RtfGroupState::NumberingKind::Bullet) {
        level.format = 23;
        level.text = QString(QChar(0x2022));
    } else {
        level.format = p.numberStyle;
        level.start = p.numberStart;
        // As a level text, at most 255 characters.
        const QString after = p.numberAfter.left(127);
        level.text = p.numberBefore.left(254 - after.size()) + QChar(char16_t(0)) + after;
    }
    if (m_legacyGroup == 0 || !(level == m_legacyLevel)) {
        m_legacyGroup = --m_nextLegacyGroup;
        m_legacyLevel = level;
        m_legacyLevels = defaultLevels();
        m_legacyLevels[0] = level;
    }
    return m_numbering.add(m_legacyGroup, m_legacyLevels, 0);
}
