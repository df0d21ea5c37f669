#include "richtext/RtfReader.h"

#include "richtext/CodePage.h"
#include "richtext/FormatKeys.h"
#include "richtext/RtfContent.h"
#include "richtext/RtfControlWord.h"
#include "richtext/RtfDocumentAssembler.h"
#include "richtext/RtfGroupState.h"
#include "richtext/RtfListNumbering.h"
#include "richtext/RtfTokenizer.h"

#include <QBuffer>
#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

using Destination = RtfGroupState::Destination;
using Group = RtfControlWord::Group;
using Id = RtfControlWord::Id;
using NumberFormat = RtfListNumbering::NumberFormat;
using Token = RtfTokenizer::Token;

// RTF measures in twips; a document measures in pixels of 96 per inch.
constexpr double kTwipsPerUnit = 15.0;
// Lengths beyond 22 inches are taken as 22 inches.
constexpr int kMaxTwips = 31680;
// Most unconvertible code pages reported for one file.
constexpr int kMaxReportedPages = 16;
// What QTextList draws for a bullet, and what a bullet level shows as text.
constexpr char16_t kBullet = 0x2022;

int clampTwips(int value)
{
    return std::clamp(value, -kMaxTwips, kMaxTwips);
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
        level.format = NumberFormat::Bullet;
        level.text = QString(QChar(kBullet));
    }
    return levels;
}

struct Font
{
    QByteArray nameBytes;
    QString name;
    int charset = -1;
    int codePage = 0; // 0: by charset or the document's page.
    bool named = false;
};

struct ListDefinition
{
    int id = 0;
    int levelCount = 0;
    RtfListNumbering::Levels levels;
    std::array<int, 9> fonts{-1, -1, -1, -1, -1, -1, -1, -1, -1}; // \f of each level's text.
    bool bulletsResolved = false;                                 // Bullets of symbol fonts turned into Unicode ones.
};

enum class PictureFormat { Unsupported, Png, Jpeg, DeviceIndependentBitmap };

struct PictureData
{
    QByteArray bytes;
    PictureFormat format = PictureFormat::Unsupported;
    int width = 0; // \picw, \pich
    int height = 0;
    int goalWidth = 0; // Twips.
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    int highNibble = -1;
};

// The colour table: its entries, and the one being read.
struct ColorTable
{
    std::vector<QColor> colors;
    std::vector<bool> defined; // Whether an entry names a colour; one that does not is "automatic".
    int red = 0;
    int green = 0;
    int blue = 0;
    bool seen = false; // The entry being read named a colour component.
};

// Numbering by \pn: the paragraphs in a row with the same numbering make
// one list.
struct LegacyNumbering
{
    int group = 0;     // The list of the paragraphs just before; 0 for none.
    int nextGroup = 0; // \pn lists are numbered -1, -2...; \ls lists by \ls.
    RtfListNumbering::Level level;
    RtfListNumbering::Levels levels;
    QString text;       // Of \pntxtb or \pntxta, being read.
    bool after = false; // \pntxta rather than \pntxtb.
};

// Which border \brdrs, \brdrw and the like describe.
enum class BorderTarget { None, CellTop, CellLeft, CellBottom, CellRight, Row };

enum class ParagraphEnd { Paragraph, Cell, Document };

// A paragraph format as the document gets it: the paragraph's properties,
// and where a list item's first line starts.
struct BlockKey
{
    RtfGroupState::Paragraph paragraph;
    bool listed = false;
    int listIndent = 0;

    bool operator==(const BlockKey &o) const
    {
        const RtfGroupState::Paragraph &a = paragraph;
        const RtfGroupState::Paragraph &b = o.paragraph;
        return listed == o.listed && listIndent == o.listIndent && a.alignment == b.alignment
               && a.leftIndent == b.leftIndent && a.rightIndent == b.rightIndent && a.firstIndent == b.firstIndent
               && a.spaceBefore == b.spaceBefore && a.spaceAfter == b.spaceAfter && a.lineSpacing == b.lineSpacing
               && a.lineMultiple == b.lineMultiple && a.pageBreakBefore == b.pageBreakBefore && a.tabs == b.tabs;
    }
};

struct BlockKeyHash
{
    std::size_t operator()(const BlockKey &key) const
    {
        const RtfGroupState::Paragraph &p = key.paragraph;
        std::size_t hash = std::hash<int>()(p.leftIndent);
        for (const int value :
             {int(p.alignment), p.rightIndent, p.firstIndent, p.spaceBefore, p.spaceAfter, p.lineSpacing,
              key.listIndent, int(p.lineMultiple) | int(p.pageBreakBefore) << 1 | int(key.listed) << 2})
            hash = hash * 31 + std::hash<int>()(value);
        for (const auto &[twips, kind] : p.tabs)
            hash = hash * 131 + std::hash<int>()(twips * 4 + int(kind));
        return hash;
    }
};

// Reads the tokens of one file into an RtfContent.  Each destination
// (the font table, the colour table, the list tables, \pn numbering, a
// picture, a level text) has a handler for the control words it knows;
// in the document's text the words go to the handler of their group.
class Parser
{
public:
    Parser(const QByteArray &data, const RtfReader::Options &options);

    void parse();

    RtfContent &content() { return m_content; }
    const RtfReader::Report &report() const { return m_report; }

private:
    // Tokens.
    void groupOpen();
    void groupClose();
    void controlWord(const Token &token);
    void controlSymbol(char symbol);
    void text(std::string_view bytes);
    void hexByte(unsigned char byte);
    // Whether the byte is one of those that \u asks to skip.
    bool skipped(unsigned char byte);

    // Destinations.  startDestination handles a word that starts one;
    // false for the others.
    bool startDestination(Id id);
    void skipDestination();
    void endNumberingText(RtfGroupState &outer);
    static void endNumbering(const RtfGroupState &numbering, RtfGroupState &outer);

    // Control words, by the destination they stand in.
    void fontTableWord(Id id, int param);
    void colorTableWord(Id id, int param);
    void listTableWord(Id id, int param, bool on);
    void listOverrideTableWord(Id id, int param);
    void numberingWord(Id id, int param);
    void pictureWord(Id id, const Token &token);
    void levelTextWord(Id id, const Token &token);
    // Control words of the document's text, by their group.
    void documentWord(Id id, int param);
    void characterFormatWord(Id id, const Token &token);
    void paragraphWord(Id id, int param, bool on);
    void tableWord(Id id, int param, bool on);
    void characterWord(Id id, const Token &token);
    // The width of the cell border the \brdr words describe; null when
    // they describe the row's or none.
    int *cellBorderWidth();

    // Text of the tables and pictures.
    void fontNameText(std::string_view bytes);
    void colorTableText(std::string_view bytes);
    void pictureText(std::string_view bytes);

    void appendChar(QChar ch);
    // Text in the given format goes on the open run, or on a new one.
    void openRun(int format);
    void closeRun();
    void flushText();
    void flushBytes();
    // Closes the open paragraph with the properties of s.
    void endParagraph(const RtfGroupState &s, ParagraphEnd end);
    void finishPicture();
    void finishFontName();
    void finishLevelText();
    void addColor();

    // The code page of a font (-1: the default font), and of the current
    // group's font, remembered until the fonts or the document's page change.
    const CodePage &pageOf(int font);
    const CodePage &currentPage();
    // The page for a number; one Qt cannot convert is reported and stood in for.
    const CodePage &page(int number);
    int pageNumber(int number);
    // The colour of a colour table entry; false for "automatic" and for
    // indexes the table does not have.
    bool colorAt(int index, QColor *color) const;
    int charFormatIndex(const RtfGroupState::Character &character);
    // listIndent: for a list item, where its first line's text starts,
    // relative to the left indent (twips).
    int blockFormatIndex(const RtfGroupState::Paragraph &paragraph, bool listed, int listIndent);
    QTextBlockFormat makeBlockFormat(const RtfGroupState::Paragraph &paragraph, bool listed, int listIndent) const;
    int listTextIndent(const RtfGroupState::Paragraph &paragraph, int markFormat, const RtfListNumbering::Item &item);
    RtfListNumbering::Item listItem(const RtfGroupState::Paragraph &paragraph);
    const RtfListNumbering::Levels &levelsOf(ListDefinition &definition);
    bool isSymbolFont(int font) const;
    QTextCharFormat makeCharFormat(const RtfGroupState::Character &character) const;

    RtfGroupState &state() { return m_stack.back(); }

    RtfReader::Options m_options;
    RtfReader::Report m_report;
    RtfTokenizer m_tokens;
    RtfContent m_content;
    std::vector<RtfGroupState> m_stack;
    bool m_starred = false;
    bool m_finished = false;
    long long m_skip = 0;     // Characters still to skip after \u.
    bool m_skipTrail = false; // The trail byte of a skipped lead byte comes next.

    // The document.
    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;
    int m_defaultTab = 720; // \deftab, twips.

    // Fonts.
    std::unordered_map<int, Font> m_fonts;
    int m_fontInTable = -1;
    const CodePage *m_page = nullptr; // Of m_pageFont.
    int m_pageFont = 0;

    ColorTable m_colorTable;

    // Lists.
    std::vector<ListDefinition> m_listDefinitions;
    std::unordered_map<int, std::size_t> m_listById; // \listid -> definition
    std::unordered_map<int, int> m_listOverrides;    // \ls -> \listid
    int m_overrideListId = 0;
    QString m_levelText;
    RtfListNumbering m_numbering;
    LegacyNumbering m_legacy;
    QString m_listText; // The number as text (\listtext, \pntext).
    int m_listTextFormat = -1;

    // Tables.
    RtfContent::RowDefinition m_row;
    RtfContent::RowDefinition::CellDefinition m_nextCell;
    BorderTarget m_border = BorderTarget::None;

    PictureData m_picture;

    // The run of text being read, and bytes of a multi-byte code page
    // waiting for the rest of their character.
    int m_runStart = -1; // Where the open run starts in the content's text.
    int m_runFormat = -1;
    bool m_runSurrogate = false;
    QByteArray m_pendingBytes;
    const CodePage *m_pendingPage = nullptr;

    // Character and paragraph formats met so far, and the last of each.
    std::unordered_map<RtfGroupState::Character, int, RtfGroupState::CharacterHash> m_formatIndexes;
    std::vector<RtfGroupState::Character> m_formatCharacters;
    RtfGroupState::Character m_lastCharacter;
    int m_lastFormat = -1;
    std::unordered_map<BlockKey, int, BlockKeyHash> m_blockIndexes;
    std::unordered_map<int, QFontMetricsF> m_metrics; // Of the character formats list numbers are drawn in.
    BlockKey m_lastBlock;
    int m_lastBlockIndex = -1;
};

Parser::Parser(const QByteArray &data, const RtfReader::Options &options) : m_options(options), m_tokens(data)
{
    m_stack.emplace_back();
    m_content.text.reserve(data.size() / 4);
}

void Parser::parse()
{
    while (!m_finished) {
        const Token token = m_tokens.next();
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

void Parser::groupOpen()
{
    m_skip = 0;
    m_skipTrail = false;
    if (m_starred) {
        // "{\*" followed by a group: nothing a reader needs.
        m_starred = false;
        m_tokens.skipGroup();
        return;
    }
    if (static_cast<int>(m_stack.size()) > RtfReader::MaxDepth) {
        m_tokens.skipGroup();
        return;
    }
    m_stack.push_back(m_stack.back());
}

void Parser::groupClose()
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
    switch (closed.destination) {
    case Destination::Picture:
        if (outer.destination != Destination::Picture)
            finishPicture();
        break;
    case Destination::FontTable:
        finishFontName();
        break;
    case Destination::LevelText:
        if (outer.destination != Destination::LevelText)
            finishLevelText();
        break;
    case Destination::NumberingText:
        if (outer.destination == Destination::Numbering)
            endNumberingText(outer);
        break;
    case Destination::Numbering:
        if (outer.destination != Destination::Numbering)
            endNumbering(closed, outer);
        break;
    default:
        break;
    }
    if (closed.character.font != outer.character.font)
        m_page = nullptr;
}

void Parser::endNumberingText(RtfGroupState &outer)
{
    replaceLoneSurrogates(m_legacy.text, 0);
    // \pntxtb was read into the prefix, \pntxta into the suffix.
    if (!m_legacy.after)
        outer.paragraph.numberBefore = m_legacy.text;
    else
        outer.paragraph.numberAfter = m_legacy.text;
}

// The numbering a \pn group defined goes to the paragraph around it.
void Parser::endNumbering(const RtfGroupState &numbering, RtfGroupState &outer)
{
    outer.paragraph.numbering = numbering.paragraph.numbering;
    outer.paragraph.numberFormat = numbering.paragraph.numberFormat;
    outer.paragraph.numberStart = numbering.paragraph.numberStart;
    outer.paragraph.numberBefore = numbering.paragraph.numberBefore;
    outer.paragraph.numberAfter = numbering.paragraph.numberAfter;
}

void Parser::skipDestination()
{
    m_starred = false;
    m_tokens.skipGroup();
    groupClose();
}

bool Parser::startDestination(Id id)
{
    RtfGroupState &s = state();
    switch (id) {
    case Id::FontTable:
        s.destination = Destination::FontTable;
        m_fontInTable = -1;
        return true;
    case Id::ColorTable:
        s.destination = Destination::ColorTable;
        m_colorTable.seen = false;
        return true;
    case Id::Picture:
        s.destination = Destination::Picture;
        m_picture = PictureData();
        return true;
    case Id::ListTable:
        s.destination = Destination::ListTable;
        return true;
    case Id::ListOverrideTable:
        s.destination = Destination::ListOverrideTable;
        return true;
    case Id::LevelText:
        if (s.destination != Destination::ListTable)
            return false;
        flushBytes();
        s.destination = Destination::LevelText;
        m_levelText.clear();
        return true;
    case Id::NumberingText:
    case Id::ListText:
        flushText();
        s.destination = Destination::ListText;
        m_listText.clear();
        m_listTextFormat = -1;
        return true;
    case Id::Numbering:
        s.destination = Destination::Numbering;
        s.paragraph.numbering = RtfGroupState::NumberingKind::Number;
        s.paragraph.numberFormat = NumberFormat::Decimal;
        s.paragraph.numberStart = 1;
        s.paragraph.numberBefore.clear();
        s.paragraph.numberAfter = QStringLiteral(".");
        return true;
    case Id::NumberingTextBefore:
    case Id::NumberingTextAfter:
        if (s.destination != Destination::Numbering)
            return false;
        flushBytes();
        s.destination = Destination::NumberingText;
        m_legacy.after = id == Id::NumberingTextAfter;
        m_legacy.text.clear();
        return true;
    case Id::UnicodeAlternative:
        s.destination = Destination::UnicodeAlternative;
        return true;
    case Id::UnicodePair:
        s.destination = Destination::Text;
        return true;
    case Id::ShapePicture:
    case Id::FieldResult:
    case Id::Field:
    case Id::Result:
        return true; // Their content is the document's.
    case Id::StyleSheet:
    case Id::Info:
    case Id::NonShapePicture:
    case Id::HeaderFooter:
    case Id::Footnote:
    case Id::FieldInstruction:
    case Id::NestedTableProperties:
    case Id::NoNestedTables:
    case Id::SkippedDestination:
    case Id::ObjectData:
        skipDestination();
        return true;
    case Id::SkippedInList:
        if (s.destination == Destination::ListTable) {
            skipDestination();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void Parser::controlWord(const Token &token)
{
    m_skipTrail = false;
    const RtfControlWord word = RtfControlWord::find(token.word);
    if (m_skip > 0) {
        --m_skip;
        if (word.id == Id::Binary)
            m_tokens.takeBinary(token.hasParam ? token.param : 0);
        return;
    }
    if (m_starred) {
        m_starred = false;
        if (word.group != Group::Destination || !startDestination(word.id))
            skipDestination();
        return;
    }
    // Bytes of a multi-byte code page waiting for their partner take the
    // properties in force before this word.
    flushBytes();
    if (word.group == Group::Destination && startDestination(word.id))
        return;

    const int param = token.param;
    const bool on = !token.hasParam || param != 0;
    switch (state().destination) {
    case Destination::FontTable:
        fontTableWord(word.id, param);
        return;
    case Destination::ColorTable:
        colorTableWord(word.id, param);
        return;
    case Destination::ListTable:
        listTableWord(word.id, param, on);
        return;
    case Destination::ListOverrideTable:
        listOverrideTableWord(word.id, param);
        return;
    case Destination::Numbering:
        numberingWord(word.id, param);
        return;
    case Destination::Picture:
        pictureWord(word.id, token);
        return;
    case Destination::LevelText:
    case Destination::NumberingText:
        levelTextWord(word.id, token);
        return;
    default:
        break;
    }

    switch (word.group) {
    case Group::Document:
        documentWord(word.id, param);
        break;
    case Group::CharacterFormat:
        characterFormatWord(word.id, token);
        break;
    case Group::Paragraph:
        paragraphWord(word.id, param, on);
        break;
    case Group::Table:
        tableWord(word.id, param, on);
        break;
    case Group::Character:
        characterWord(word.id, token);
        break;
    default:
        break; // Words of the tables and pictures mean nothing in the text.
    }
}

void Parser::fontTableWord(Id id, int param)
{
    switch (id) {
    case Id::Font:
        finishFontName();
        m_fontInTable = param;
        m_fonts[param] = Font();
        m_page = nullptr;
        break;
    case Id::FontCharset:
        m_fonts[m_fontInTable].charset = param;
        m_page = nullptr;
        break;
    case Id::FontCodePage:
        m_fonts[m_fontInTable].codePage = pageNumber(param);
        m_page = nullptr;
        break;
    default:
        break;
    }
}

void Parser::colorTableWord(Id id, int param)
{
    const int value = std::clamp(param, 0, 255);
    switch (id) {
    case Id::Red:
        m_colorTable.red = value;
        break;
    case Id::Green:
        m_colorTable.green = value;
        break;
    case Id::Blue:
        m_colorTable.blue = value;
        break;
    default:
        return;
    }
    m_colorTable.seen = true;
}

void Parser::listTableWord(Id id, int param, bool on)
{
    if (id == Id::List) {
        ListDefinition definition;
        definition.levels = defaultLevels();
        m_listDefinitions.push_back(definition);
        return;
    }
    if (m_listDefinitions.empty())
        return;
    ListDefinition &definition = m_listDefinitions.back();
    if (id == Id::ListId) {
        definition.id = param;
        m_listById[param] = m_listDefinitions.size() - 1;
        return;
    }
    if (id == Id::ListLevel) {
        if (definition.levelCount < 9)
            ++definition.levelCount;
        return;
    }
    if (definition.levelCount == 0)
        return;
    const auto index = static_cast<std::size_t>(definition.levelCount - 1);
    RtfListNumbering::Level &level = definition.levels[index];
    switch (id) {
    case Id::LevelNumberFormat:
        level.format = static_cast<NumberFormat>(std::clamp(param, 0, 255));
        break;
    case Id::LevelStart:
        level.start = std::clamp(param, 0, 32767);
        break;
    case Id::LevelLegal:
        level.legal = on;
        break;
    case Id::LevelNoRestart:
        level.noRestart = on;
        break;
    case Id::LevelFollow:
        level.follow = static_cast<RtfListNumbering::Follow>(std::clamp(param, 0, 2));
        break;
    case Id::Font:
        definition.fonts[index] = param;
        break;
    default:
        break;
    }
}

void Parser::listOverrideTableWord(Id id, int param)
{
    if (id == Id::ListId)
        m_overrideListId = param;
    else if (id == Id::ListOverrideNumber)
        m_listOverrides[param] = m_overrideListId;
}

void Parser::numberingWord(Id id, int param)
{
    using Kind = RtfGroupState::NumberingKind;
    RtfGroupState::Paragraph &p = state().paragraph;
    switch (id) {
    case Id::NumberingBullet:
        p.numbering = Kind::Bullet;
        break;
    case Id::NumberingBody:
    case Id::NumberingLevel:
        p.numbering = Kind::Number;
        break;
    case Id::NumberingContinue:
        p.numbering = Kind::None;
        break;
    case Id::NumberingDecimal:
        p.numberFormat = NumberFormat::Decimal;
        break;
    case Id::NumberingUpperRoman:
        p.numberFormat = NumberFormat::UpperRoman;
        break;
    case Id::NumberingLowerRoman:
        p.numberFormat = NumberFormat::LowerRoman;
        break;
    case Id::NumberingUpperLetter:
        p.numberFormat = NumberFormat::UpperLetter;
        break;
    case Id::NumberingLowerLetter:
        p.numberFormat = NumberFormat::LowerLetter;
        break;
    case Id::NumberingStart:
        p.numberStart = std::clamp(param, 0, 32767);
        break;
    default:
        break;
    }
}

void Parser::pictureWord(Id id, const Token &token)
{
    const int param = token.param;
    switch (id) {
    case Id::Png:
        m_picture.format = PictureFormat::Png;
        break;
    case Id::Jpeg:
        m_picture.format = PictureFormat::Jpeg;
        break;
    case Id::Dib:
        m_picture.format = PictureFormat::DeviceIndependentBitmap;
        break;
    case Id::OtherPicture:
        m_picture.format = PictureFormat::Unsupported;
        break;
    case Id::PictureWidth:
        m_picture.width = std::clamp(param, 0, kMaxTwips);
        break;
    case Id::PictureHeight:
        m_picture.height = std::clamp(param, 0, kMaxTwips);
        break;
    case Id::GoalWidth:
        m_picture.goalWidth = std::clamp(param, 0, kMaxTwips);
        break;
    case Id::GoalHeight:
        m_picture.goalHeight = std::clamp(param, 0, kMaxTwips);
        break;
    case Id::ScaleX:
        m_picture.scaleX = std::clamp(param, 1, 1000);
        break;
    case Id::ScaleY:
        m_picture.scaleY = std::clamp(param, 1, 1000);
        break;
    case Id::Binary:
        m_picture.bytes.append(m_tokens.takeBinary(token.hasParam ? param : 0));
        break;
    default:
        break;
    }
}

// A level text and the text around a \pn number hold only characters: the
// group's other words change nothing here.
void Parser::levelTextWord(Id id, const Token &token)
{
    switch (id) {
    case Id::Unicode:
    case Id::UnicodeSkip:
    case Id::Tab:
    case Id::EmDash:
    case Id::EnDash:
    case Id::Bullet:
    case Id::LeftQuote:
    case Id::RightQuote:
    case Id::LeftDoubleQuote:
    case Id::RightDoubleQuote:
    case Id::EmSpace:
    case Id::EnSpace:
    case Id::QuarterEmSpace:
    case Id::Binary:
        characterWord(id, token);
        break;
    default:
        break;
    }
}

void Parser::documentWord(Id id, int param)
{
    switch (id) {
    case Id::Ansi:
        m_ansiCodePage = 1252;
        break;
    case Id::Mac:
        m_ansiCodePage = CodePage::MacRoman;
        break;
    case Id::Pc:
        m_ansiCodePage = 437;
        break;
    case Id::Pca:
        m_ansiCodePage = 850;
        break;
    case Id::AnsiCodePage:
        if (param > 0)
            m_ansiCodePage = pageNumber(param);
        break;
    case Id::DefaultFont:
        m_defaultFont = param;
        break;
    case Id::DefaultTab:
        m_defaultTab = std::clamp(param, 60, kMaxTwips);
        return;
    default:
        return;
    }
    m_page = nullptr; // The text's code page may have changed.
}

void Parser::characterFormatWord(Id id, const Token &token)
{
    RtfGroupState::Character &c = state().character;
    const int param = token.param;
    const bool on = !token.hasParam || param != 0;
    switch (id) {
    case Id::Plain:
        c = RtfGroupState::Character();
        break;
    case Id::Bold:
        c.bold = on;
        break;
    case Id::Italic:
        c.italic = on;
        break;
    case Id::Underline:
        c.underline = on;
        break;
    case Id::UnderlineNone:
        c.underline = false;
        break;
    case Id::Strike:
        c.strike = on;
        break;
    case Id::Font:
        c.font = param;
        break;
    case Id::FontSize:
        c.halfPoints = token.hasParam && param > 0 ? std::min(param, 3276) : 24;
        break;
    case Id::Foreground:
        c.foreground = param;
        break;
    case Id::Background:
        c.background = param;
        break;
    case Id::Highlight:
        c.highlight = param;
        break;
    case Id::Super:
        c.vertical = on ? RtfGroupState::Vertical::Super : RtfGroupState::Vertical::Normal;
        break;
    case Id::Sub:
        c.vertical = on ? RtfGroupState::Vertical::Sub : RtfGroupState::Vertical::Normal;
        break;
    case Id::NoSuperSub:
        c.vertical = RtfGroupState::Vertical::Normal;
        break;
    case Id::Hidden:
        c.hidden = on;
        break;
    default:
        break;
    }
}

void Parser::paragraphWord(Id id, int param, bool on)
{
    RtfGroupState &s = state();
    RtfGroupState::Paragraph &p = s.paragraph;
    switch (id) {
    case Id::Pard:
        p = RtfGroupState::Paragraph();
        break;
    case Id::LeftAlign:
        p.alignment = RtfGroupState::Alignment::Left;
        break;
    case Id::Center:
        p.alignment = RtfGroupState::Alignment::Center;
        break;
    case Id::RightAlign:
        p.alignment = RtfGroupState::Alignment::Right;
        break;
    case Id::Justify:
        p.alignment = RtfGroupState::Alignment::Justify;
        break;
    case Id::LeftIndent:
        p.leftIndent = clampTwips(param);
        break;
    case Id::RightIndent:
        p.rightIndent = clampTwips(param);
        break;
    case Id::FirstIndent:
        p.firstIndent = clampTwips(param);
        break;
    case Id::SpaceBefore:
        p.spaceBefore = std::clamp(param, 0, kMaxTwips);
        break;
    case Id::SpaceAfter:
        p.spaceAfter = std::clamp(param, 0, kMaxTwips);
        break;
    case Id::LineSpacing:
        p.lineSpacing = clampTwips(param);
        break;
    case Id::LineMultiple:
        p.lineMultiple = on;
        break;
    case Id::PageBreakBefore:
        p.pageBreakBefore = on;
        break;
    case Id::InTable:
        p.inTable = true;
        p.tableDepth = std::max(p.tableDepth, 1);
        break;
    case Id::TableDepth:
        p.tableDepth = std::clamp(param, 0, RtfReader::MaxDepth);
        p.inTable = p.tableDepth > 0;
        break;
    case Id::ListOverrideNumber:
        p.listOverride = param;
        break;
    case Id::ListLevelNumber:
        p.listLevel = std::clamp(param, 0, 8);
        break;
    case Id::TabStop:
        if (p.tabs.size() < 64)
            p.tabs.append({std::clamp(param, 0, kMaxTwips), p.nextTab});
        p.nextTab = RtfGroupState::TabKind::Left;
        break;
    case Id::TabRight:
        p.nextTab = RtfGroupState::TabKind::Right;
        break;
    case Id::TabCenter:
        p.nextTab = RtfGroupState::TabKind::Center;
        break;
    case Id::TabDecimal:
        p.nextTab = RtfGroupState::TabKind::Decimal;
        break;
    case Id::Par:
        endParagraph(s, ParagraphEnd::Paragraph);
        break;
    case Id::Page:
        if (!m_content.paragraphIsEmpty() || m_runStart >= 0)
            endParagraph(s, ParagraphEnd::Paragraph);
        p.pageBreakBefore = true;
        break;
    case Id::Section:
        if (!m_content.paragraphIsEmpty() || m_runStart >= 0)
            endParagraph(s, ParagraphEnd::Paragraph);
        break;
    default:
        break;
    }
}

void Parser::tableWord(Id id, int param, bool on)
{
    RtfGroupState &s = state();
    switch (id) {
    case Id::RowDefaults:
        m_row = RtfContent::RowDefinition();
        m_nextCell = RtfContent::RowDefinition::CellDefinition();
        m_border = BorderTarget::None;
        break;
    case Id::RowHeader:
        m_row.header = on;
        break;
    case Id::CellBoundary:
        if (static_cast<int>(m_row.cells.size()) < RtfContent::MaxCellsPerRow) {
            m_nextCell.right = std::clamp(param, -RtfContent::MaxCellBoundary, RtfContent::MaxCellBoundary);
            m_row.cells.push_back(m_nextCell);
        }
        m_nextCell = RtfContent::RowDefinition::CellDefinition();
        m_border = BorderTarget::None;
        break;
    case Id::RowGap:
        m_row.cellGap = std::clamp(param, 0, kMaxTwips);
        break;
    case Id::RowLeft:
        m_row.left = clampTwips(param);
        break;
    case Id::RowLeftAligned:
        m_row.alignment = Qt::AlignLeft;
        break;
    case Id::RowCentered:
        m_row.alignment = Qt::AlignHCenter;
        break;
    case Id::RowRightAligned:
        m_row.alignment = Qt::AlignRight;
        break;
    case Id::CellBackground:
        if (!colorAt(param, &m_nextCell.background))
            m_nextCell.background = QColor();
        break;
    case Id::MergeFirst:
        m_nextCell.mergeDown = true;
        break;
    case Id::MergeNext:
        m_nextCell.mergedAbove = true;
        break;
    case Id::CellBorderTop:
        m_border = BorderTarget::CellTop;
        break;
    case Id::CellBorderLeft:
        m_border = BorderTarget::CellLeft;
        break;
    case Id::CellBorderBottom:
        m_border = BorderTarget::CellBottom;
        break;
    case Id::CellBorderRight:
        m_border = BorderTarget::CellRight;
        break;
    case Id::RowBorder:
        m_border = BorderTarget::Row;
        break;
    case Id::BorderStyle:
        if (m_border == BorderTarget::Row)
            m_row.borders = true;
        else if (int *width = cellBorderWidth(); width && *width == 0)
            *width = 15; // A line of its own width, until \brdrw gives one.
        break;
    case Id::BorderWidth:
        if (int *width = cellBorderWidth())
            *width = std::clamp(param, 1, 150);
        break;
    case Id::BorderNone:
        if (int *width = cellBorderWidth())
            *width = 0;
        m_border = BorderTarget::None;
        break;
    case Id::Cell:
        endParagraph(s, s.paragraph.tableDepth > 1 ? ParagraphEnd::Paragraph : ParagraphEnd::Cell);
        break;
    case Id::NestedCell:
        endParagraph(s, ParagraphEnd::Paragraph);
        break;
    case Id::Row:
        if (s.paragraph.tableDepth > 1)
            break;
        flushText();
        m_content.endRow(m_row);
        break;
    default:
        break;
    }
}

int *Parser::cellBorderWidth()
{
    // RtfContent keeps a cell's borders as top, left, bottom, right.
    std::array<int, 4> &borders = m_nextCell.borders;
    switch (m_border) {
    case BorderTarget::CellTop:
        return &borders[0];
    case BorderTarget::CellLeft:
        return &borders[1];
    case BorderTarget::CellBottom:
        return &borders[2];
    case BorderTarget::CellRight:
        return &borders[3];
    default:
        return nullptr;
    }
}

void Parser::characterWord(Id id, const Token &token)
{
    const int param = token.param;
    char16_t ch = 0;
    switch (id) {
    case Id::UnicodeSkip:
        state().unicodeSkip = std::clamp(param, 0, 16);
        return;
    case Id::Unicode: {
        const int code = param < 0 ? param + 65536 : param;
        if (code > 0 && code < 65536)
            appendChar(QChar(char16_t(code)));
        m_skip = state().unicodeSkip;
        return;
    }
    case Id::Binary:
        m_tokens.takeBinary(token.hasParam ? param : 0);
        return;
    case Id::Line:
        ch = QChar::LineSeparator;
        break;
    case Id::Tab:
        ch = '\t';
        break;
    case Id::EmDash:
        ch = 0x2014;
        break;
    case Id::EnDash:
        ch = 0x2013;
        break;
    case Id::Bullet:
        ch = kBullet;
        break;
    case Id::LeftQuote:
        ch = 0x2018;
        break;
    case Id::RightQuote:
        ch = 0x2019;
        break;
    case Id::LeftDoubleQuote:
        ch = 0x201C;
        break;
    case Id::RightDoubleQuote:
        ch = 0x201D;
        break;
    case Id::EmSpace:
        ch = 0x2003;
        break;
    case Id::EnSpace:
        ch = 0x2002;
        break;
    case Id::QuarterEmSpace:
        ch = 0x2005;
        break;
    case Id::ZeroWidthJoiner:
        ch = 0x200D;
        break;
    case Id::ZeroWidthNonJoiner:
        ch = 0x200C;
        break;
    case Id::LeftToRightMark:
        ch = 0x200E;
        break;
    case Id::RightToLeftMark:
        ch = 0x200F;
        break;
    default:
        return;
    }
    appendChar(QChar(ch));
}

void Parser::controlSymbol(char symbol)
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

bool Parser::skipped(unsigned char byte)
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

void Parser::text(std::string_view bytes)
{
    while (!bytes.empty() && (m_skip > 0 || m_skipTrail) && skipped(static_cast<unsigned char>(bytes.front())))
        bytes.remove_prefix(1);
    if (bytes.empty())
        return;
    m_starred = false;
    if (m_stack.size() <= 1)
        return; // Outside the document's group.
    RtfGroupState &s = state();
    switch (s.destination) {
    case Destination::FontTable:
        fontNameText(bytes);
        return;
    case Destination::ColorTable:
        colorTableText(bytes);
        return;
    case Destination::Picture:
        pictureText(bytes);
        return;
    case Destination::Text:
    case Destination::ListText:
    case Destination::LevelText:
    case Destination::NumberingText:
        break;
    default:
        return;
    }
    if (s.character.hidden && s.destination != Destination::LevelText)
        return;
    if (s.destination == Destination::LevelText && m_levelText.isEmpty() && m_pendingBytes.isEmpty()) {
        // The level text's length: a number, not a character.
        m_levelText.append(QChar(char16_t(static_cast<unsigned char>(bytes.front()))));
        bytes.remove_prefix(1);
        if (bytes.empty())
            return;
    }

    const CodePage &page = s.destination == Destination::LevelText ? this->page(m_ansiCodePage) : currentPage();
    if (!page.isSingleByte()) {
        if (!m_pendingBytes.isEmpty() && m_pendingPage != &page)
            flushBytes();
        m_pendingPage = &page;
        m_pendingBytes.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        return;
    }
    flushBytes();
    if (s.destination != Destination::Text) {
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

void Parser::fontNameText(std::string_view bytes)
{
    if (m_fontInTable < 0 && !m_fonts.count(m_fontInTable))
        m_fonts[m_fontInTable] = Font();
    for (const char byte : bytes) {
        Font &font = m_fonts[m_fontInTable];
        if (byte == ';')
            finishFontName();
        else if (!font.named)
            font.nameBytes.append(byte);
    }
}

void Parser::colorTableText(std::string_view bytes)
{
    for (const char byte : bytes) {
        if (byte == ';')
            addColor();
    }
}

// The picture's bytes in hexadecimal digits; anything else is no part of them.
void Parser::pictureText(std::string_view bytes)
{
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
}

void Parser::hexByte(unsigned char byte)
{
    if ((m_skip > 0 || m_skipTrail) && skipped(byte))
        return;
    const char c = static_cast<char>(byte);
    RtfGroupState &s = state();
    switch (s.destination) {
    case Destination::FontTable: {
        Font &font = m_fonts[m_fontInTable];
        if (!font.named)
            font.nameBytes.append(c);
        return;
    }
    case Destination::LevelText:
        if (byte < 0x20 || m_levelText.isEmpty()) {
            // The length of the level text and its placeholders: numbers.
            flushBytes();
            m_levelText.append(QChar(char16_t(byte)));
            return;
        }
        text(std::string_view(&c, 1));
        return;
    case Destination::Text:
    case Destination::ListText:
    case Destination::NumberingText:
        if (byte < 0x20 && byte != '\t')
            return; // Keep control bytes out of the text.
        text(std::string_view(&c, 1));
        return;
    default:
        return;
    }
}

void Parser::appendChar(QChar ch)
{
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
    case Destination::Text: {
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
    case Destination::ListText:
        if (s.character.hidden)
            return;
        if (m_listTextFormat < 0)
            m_listTextFormat = charFormatIndex(s.character);
        m_listText.append(ch);
        return;
    case Destination::LevelText:
        m_levelText.append(ch);
        return;
    case Destination::NumberingText:
        m_legacy.text.append(ch);
        return;
    default:
        return;
    }
}

void Parser::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString decoded = m_pendingPage->decode(m_pendingBytes);
    m_pendingBytes.clear();
    for (const QChar ch : decoded)
        appendChar(ch);
}

void Parser::openRun(int format)
{
    if (m_runStart >= 0 && format == m_runFormat)
        return;
    closeRun();
    m_runStart = static_cast<int>(m_content.text.size());
    m_runFormat = format;
}

void Parser::closeRun()
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

void Parser::flushText()
{
    flushBytes();
    closeRun();
}

void Parser::endParagraph(const RtfGroupState &s, ParagraphEnd end)
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
        } else
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

void Parser::finishPicture()
{
    PictureData picture = std::move(m_picture);
    m_picture = PictureData();
    if (picture.format == PictureFormat::Unsupported || picture.bytes.isEmpty() || state().character.hidden
        || state().destination != RtfGroupState::Destination::Text)
        return;
    const bool bitmap = picture.format == PictureFormat::DeviceIndependentBitmap;
    QByteArray bytes = bitmap ? bmpFromDib(picture.bytes) : picture.bytes;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, picture.format == PictureFormat::Png ? "png" : bitmap ? "bmp" : "jpeg");
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

void Parser::finishFontName()
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

void Parser::finishLevelText()
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

void Parser::addColor()
{
    m_colorTable.colors.emplace_back(m_colorTable.red, m_colorTable.green, m_colorTable.blue);
    m_colorTable.defined.push_back(m_colorTable.seen);
    m_colorTable.red = m_colorTable.green = m_colorTable.blue = 0;
    m_colorTable.seen = false;
}

int Parser::pageNumber(int number)
{
    if (CodePage::find(number))
        return number;
    if (!m_report.unsupportedCodePages.contains(number) && m_report.unsupportedCodePages.size() < kMaxReportedPages)
        m_report.unsupportedCodePages.append(number);
    return CodePage::fallbackFor(number);
}

const CodePage &Parser::page(int number)
{
    return CodePage::get(pageNumber(number));
}

const CodePage &Parser::pageOf(int fontNumber)
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

const CodePage &Parser::currentPage()
{
    const int font = state().character.font;
    if (!m_page || m_pageFont != font) {
        m_page = &pageOf(font);
        m_pageFont = font;
    }
    return *m_page;
}

bool Parser::colorAt(int index, QColor *color) const
{
    const auto entry = static_cast<std::size_t>(index);
    if (index < 0 || entry >= m_colorTable.colors.size() || !m_colorTable.defined[entry])
        return false;
    *color = m_colorTable.colors[entry];
    return true;
}

int Parser::charFormatIndex(const RtfGroupState::Character &given)
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

QTextCharFormat Parser::makeCharFormat(const RtfGroupState::Character &c) const
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

int Parser::blockFormatIndex(const RtfGroupState::Paragraph &paragraph, bool listed, int listIndent)
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

QTextBlockFormat Parser::makeBlockFormat(const RtfGroupState::Paragraph &p, bool listed, int listIndent) const
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
        std::stable_sort(tabs.begin(), tabs.end(),
                         [](const QTextOption::Tab &a, const QTextOption::Tab &b) { return a.position < b.position; });
        format.setTabPositions(tabs);
        format.setProperty(FormatKeys::TabsKey, FormatKeys::tabsKey(tabs));
    }
    return format;
}

int Parser::listTextIndent(const RtfGroupState::Paragraph &p, int markFormat, const RtfListNumbering::Item &item)
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
    if (item.follow == RtfListNumbering::Follow::Tab && roomBeforeText > (item.label.size() + 1) * mark.halfPoints * 12)
        return 0;
    auto metrics = m_metrics.find(markFormat);
    if (metrics == m_metrics.end())
        metrics = m_metrics.emplace(markFormat, QFontMetricsF(makeCharFormat(mark).font())).first;
    const double spacePx = metrics->second.horizontalAdvance(QLatin1Char(' '));
    const int end =
        start + static_cast<int>(std::ceil((metrics->second.horizontalAdvance(item.label) + spacePx) * kTwipsPerUnit));
    int text = end;
    if (item.follow == RtfListNumbering::Follow::Tab) {
        if (p.leftIndent >= end) {
            text = p.leftIndent;
        } else {
            text = (end / m_defaultTab + 1) * m_defaultTab;
            for (const auto &[twips, kind] : p.tabs) {
                if (twips >= end && twips < text)
                    text = twips;
            }
        }
    } else if (item.follow == RtfListNumbering::Follow::Space) {
        text = end + static_cast<int>(std::ceil(spacePx * kTwipsPerUnit));
    }
    return text - p.leftIndent;
}

bool Parser::isSymbolFont(int fontNumber) const
{
    const auto it = m_fonts.find(fontNumber);
    if (it == m_fonts.end())
        return false;
    const QString &name = it->second.name;
    return it->second.charset == 2 || name.startsWith(QLatin1String("Symbol"), Qt::CaseInsensitive)
           || name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)
           || name.startsWith(QLatin1String("Webdings"), Qt::CaseInsensitive);
}

const RtfListNumbering::Levels &Parser::levelsOf(ListDefinition &definition)
{
    if (definition.bulletsResolved)
        return definition.levels;
    definition.bulletsResolved = true;
    for (std::size_t k = 0; k < definition.levels.size(); ++k) {
        RtfListNumbering::Level &level = definition.levels[k];
        if (level.text.size() != 1 || level.text.at(0).unicode() < 9)
            continue;
        // A level text of one character and no number is a bullet.  One of
        // a symbol typeface, as its byte or as its private-use character:
        // the glyph is the typeface's, so it is shown as the bullet Qt draws
        // closest to it.
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
            ch = kBullet;
        level.text = QString(QChar(ch));
    }
    return definition.levels;
}

RtfListNumbering::Item Parser::listItem(const RtfGroupState::Paragraph &p)
{
    if (p.listOverride > 0) {
        m_legacy.group = 0;
        const auto over = m_listOverrides.find(p.listOverride);
        const auto list = over != m_listOverrides.end() ? m_listById.find(over->second) : m_listById.end();
        if (list == m_listById.end()) {
            static const RtfListNumbering::Levels bullets = bulletLevels();
            return m_numbering.add(p.listOverride, bullets, p.listLevel);
        }
        return m_numbering.add(p.listOverride, levelsOf(m_listDefinitions[list->second]), p.listLevel);
    }
    if (p.numbering == RtfGroupState::NumberingKind::None) {
        m_legacy.group = 0;
        return RtfListNumbering::Item();
    }
    // Numbering by \pn: one level, running on while the paragraphs before
    // had the same numbering.
    RtfListNumbering::Level level;
    if (p.numbering == RtfGroupState::NumberingKind::Bullet) {
        level.format = NumberFormat::Bullet;
        level.text = QString(QChar(kBullet));
    } else {
        level.format = p.numberFormat;
        level.start = p.numberStart;
        // As a level text, at most 255 characters.
        const QString after = p.numberAfter.left(127);
        level.text = p.numberBefore.left(254 - after.size()) + QChar(char16_t(0)) + after;
    }
    if (m_legacy.group == 0 || !(level == m_legacy.level)) {
        m_legacy.group = --m_legacy.nextGroup;
        m_legacy.level = level;
        m_legacy.levels = defaultLevels();
        m_legacy.levels[0] = level;
    }
    return m_numbering.add(m_legacy.group, m_legacy.levels, 0);
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
    Parser parser(data, options);
    parser.parse();

    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    // Without a page size the document's layout lays out nothing while the
    // content goes in; given back, it lays out the new content from its
    // start, in steps where a view shows it, the first page first.
    const QSizeF pageSize = document.pageSize();
    document.setPageSize(QSizeF(0, 0));
    document.clear();
    RtfDocumentAssembler::assemble(parser.content(), document);
    document.setPageSize(pageSize);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    if (report)
        *report = parser.report();
    return true;
}
