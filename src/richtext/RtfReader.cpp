#include "richtext/RtfReader.h"

#include "richtext/CodePage.h"
#include "richtext/RtfDocumentAssembler.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>

#include <algorithm>
#include <cstring>

namespace {

// RTF measures in twips; a document measures in pixels of 96 per inch.
constexpr double kTwipsPerUnit = 15.0;
// Lengths beyond 22 inches are taken as 22 inches.
constexpr int kMaxTwips = 31680;

int clampTwips(int value)
{
    return std::clamp(value, -kMaxTwips, kMaxTwips);
}

enum class Word {
    Unknown,
    // Destinations.
    Rtf, FontTable, ColorTable, StyleSheet, Info, Picture, ShapePicture, NonShapePicture, HeaderFooter,
    Footnote, FieldInstruction, FieldResult, Field, ListTable, ListOverrideTable, List, ListLevel,
    ListOverride, SkippedInList, NumberingText, ListText, Numbering, NumberingTextBefore, UnicodePair,
    UnicodeAlternative, NestedTableProperties, NoNestedTables, SkippedDestination, ObjectData, Result,
    // Document.
    Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, FontCharset, FontCodePage, UnicodeSkip, Unicode,
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
    CellBorder, RowBorder, BorderStyle, BorderWidth, BorderNone,
    // Pictures.
    Png, Jpeg, Dib, OtherPicture, PictureWidth, PictureHeight, GoalWidth, GoalHeight, ScaleX, ScaleY,
    // Lists.
    ListId, LevelNumberFormat, NumberingBullet, NumberingBody, NumberingLevel, NumberingContinue,
    NumberingDecimal, NumberingUpperLetter, NumberingLowerLetter, NumberingUpperRoman, NumberingLowerRoman,
    // Colours.
    Red, Green, Blue,
    // Characters by name.
    EmDash, EnDash, Bullet, LeftQuote, RightQuote, LeftDoubleQuote, RightDoubleQuote, EmSpace, EnSpace,
    QuarterEmSpace, ZeroWidthJoiner, ZeroWidthNonJoiner, LeftToRightMark, RightToLeftMark,
};

const std::unordered_map<std::string_view, Word> &words()
{
    static const std::unordered_map<std::string_view, Word> table = {
        {"rtf", Word::Rtf}, {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable},
        {"stylesheet", Word::StyleSheet}, {"info", Word::Info}, {"pict", Word::Picture},
        {"shppict", Word::ShapePicture}, {"nonshppict", Word::NonShapePicture},
        {"header", Word::HeaderFooter}, {"headerl", Word::HeaderFooter}, {"headerr", Word::HeaderFooter},
        {"headerf", Word::HeaderFooter}, {"footer", Word::HeaderFooter}, {"footerl", Word::HeaderFooter},
        {"footerr", Word::HeaderFooter}, {"footerf", Word::HeaderFooter}, {"footnote", Word::Footnote},
        {"annotation", Word::Footnote}, {"fldinst", Word::FieldInstruction}, {"fldrslt", Word::FieldResult},
        {"field", Word::Field}, {"listtable", Word::ListTable}, {"listoverridetable", Word::ListOverrideTable},
        {"list", Word::List}, {"listlevel", Word::ListLevel}, {"listoverride", Word::ListOverride},
        {"leveltext", Word::SkippedInList}, {"levelnumbers", Word::SkippedInList},
        {"listname", Word::SkippedInList}, {"pntext", Word::NumberingText}, {"listtext", Word::ListText},
        {"pn", Word::Numbering}, {"pntxtb", Word::NumberingTextBefore}, {"pntxta", Word::NumberingTextBefore},
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
        {"ansicpg", Word::AnsiCodePage}, {"deff", Word::DefaultFont}, {"fcharset", Word::FontCharset},
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
        {"trgaph", Word::RowGap}, {"trleft", Word::RowLeft}, {"clvmgf", Word::MergeFirst},
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
    const auto &table = words();
    const auto it = table.find(name);
    return it == table.end() ? Word::Unknown : it->second;
}

QTextListFormat::Style listStyle(int numberFormat)
{
    switch (numberFormat) {
    case 0:
        return QTextListFormat::ListDecimal;
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListDisc;
    }
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
    if (!isRtf(data))
        return false;
    RtfReader reader(data);
    reader.parse();

    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    RtfDocumentAssembler::assemble(reader.m_content, document);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    return true;
}

RtfReader::RtfReader(const QByteArray &data) : m_tokens(data)
{
    m_stack.emplace_back();
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
}

void RtfReader::groupOpen()
{
    m_skip = 0;
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
    case RtfGroupState::Destination::Picture:
        if (outer.destination != RtfGroupState::Destination::Picture)
            finishPicture();
        break;
    case RtfGroupState::Destination::FontTable:
        finishFontName();
        break;
    case RtfGroupState::Destination::Numbering:
        if (outer.destination != RtfGroupState::Destination::Numbering) {
            outer.paragraph.numbering = closed.paragraph.numbering;
            outer.paragraph.numberStyle = closed.paragraph.numberStyle;
        }
        break;
    default:
        break;
    }
}

void RtfReader::skipDestination()
{
    m_starred = false;
    m_tokens.skipGroup();
    groupClose();
}

bool RtfReader::destinationWord(std::string_view word)
{
    using Dest = RtfGroupState::Destination;
    RtfGroupState &s = state();
    switch (wordOf(word)) {
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
    case Word::NumberingTextBefore:
        if (s.destination == Dest::Numbering) {
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
    if (m_skip > 0) {
        --m_skip;
        if (token.word == "bin")
            m_tokens.takeBinary(token.hasParam ? token.param : 0);
        return;
    }
    if (m_starred) {
        m_starred = false;
        if (!destinationWord(token.word))
            skipDestination();
        return;
    }
    if (destinationWord(token.word))
        return;

    RtfGroupState &s = state();
    RtfGroupState::Character &c = s.character;
    RtfGroupState::Paragraph &p = s.paragraph;
    const int param = token.param;
    const bool on = !token.hasParam || param != 0;
    const Word word = wordOf(token.word);

    if (s.destination == Dest::FontTable) {
        switch (word) {
        case Word::Font:
            finishFontName();
            m_fontInTable = param;
            m_fonts[param] = Font();
            return;
        case Word::FontCharset:
            m_fonts[m_fontInTable].charset = param;
            return;
        case Word::FontCodePage:
            m_fonts[m_fontInTable].codePage = CodePage::get(param).number();
            return;
        default:
            return;
        }
    }
    if (s.destination == Dest::ColorTable) {
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
    if (s.destination == Dest::ListTable) {
        if (word == Word::List) {
            m_listDefinitions.emplace_back();
        } else if (word == Word::ListLevel && !m_listDefinitions.empty()) {
            if (m_listDefinitions.back().levels.size() < 9)
                m_listDefinitions.back().levels.emplace_back();
        } else if (word == Word::LevelNumberFormat && !m_listDefinitions.empty()
                   && !m_listDefinitions.back().levels.empty()) {
            m_listDefinitions.back().levels.back().numberFormat = param;
        } else if (word == Word::ListId && !m_listDefinitions.empty()) {
            m_listDefinitions.back().id = param;
        }
        return;
    }
    if (s.destination == Dest::ListOverrideTable) {
        if (word == Word::ListId)
            m_overrideListId = param;
        else if (word == Word::ListOverrideNumber)
            m_listOverrides[param] = m_overrideListId;
        return;
    }
    if (s.destination == Dest::Numbering) {
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
        default:
            return;
        }
    }
    if (s.destination == Dest::Picture) {
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
    }

    switch (word) {
    // Document.
    case Word::Ansi:
        m_ansiCodePage = 1252;
        break;
    case Word::Mac:
        m_ansiCodePage = 10000;
        break;
    case Word::Pc:
        m_ansiCodePage = 437;
        break;
    case Word::Pca:
        m_ansiCodePage = 850;
        break;
    case Word::AnsiCodePage:
        flushBytes();
        m_ansiCodePage = CodePage::get(param).number();
        break;
    case Word::DefaultFont:
        m_defaultFont = param;
        break;
    case Word::UnicodeSkip:
        s.unicodeSkip = std::clamp(param, 0, 16);
        break;
    case Word::Unicode: {
        flushBytes();
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
        flushBytes();
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
            p.tabs.emplace_back(std::clamp(param, 0, kMaxTwips), p.nextTab);
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
        if (!m_content.paragraphIsEmpty() || !m_pendingText.isEmpty())
            endParagraph(s, ParagraphEnd::Paragraph);
        p.pageBreakBefore = true;
        break;
    case Word::Section:
        if (!m_content.paragraphIsEmpty() || !m_pendingText.isEmpty())
            endParagraph(s, ParagraphEnd::Paragraph);
        break;

    // Tables.
    case Word::RowDefaults:
        m_row = RtfContent::RowDefinition();
        m_nextCell = RtfContent::RowDefinition::CellDefinition();
        m_borderSide = -1;
        break;
    case Word::CellBoundary:
        if (static_cast<int>(m_row.cells.size()) < RtfContent::MaxCellsPerRow) {
            m_nextCell.right = std::clamp(param, -2 * kMaxTwips, 2 * kMaxTwips);
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

void RtfReader::controlSymbol(char symbol)
{
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
    case '\\':
    case '{':
    case '}':
        text(std::string_view(&symbol, 1));
        return;
    case '\t':
        appendChar(QLatin1Char('\t'));
        return;
    default:
        return; // \| \: and the like: nothing to show.
    }
}

void RtfReader::text(std::string_view bytes)
{
    using Dest = RtfGroupState::Destination;
    if (m_skip > 0) {
        const long long skipped = std::min<long long>(m_skip, static_cast<long long>(bytes.size()));
        m_skip -= skipped;
        bytes.remove_prefix(static_cast<std::size_t>(skipped));
        if (bytes.empty())
            return;
    }
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
        break;
    default:
        return;
    }
    if (s.character.hidden)
        return;

    const CodePage &page = CodePage::get(codePageOf(s.character.font));
    if (!page.isSingleByte()) {
        if (!m_pendingBytes.isEmpty() && m_pendingBytesPage != page.number())
            flushBytes();
        m_pendingBytesPage = page.number();
        m_pendingBytes.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
        return;
    }
    flushBytes();
    if (s.destination == Dest::ListText) {
        for (const char byte : bytes)
            appendChar(page.byteToChar(static_cast<unsigned char>(byte)));
        return;
    }
    const int format = charFormatIndex(s.character);
    if (format != m_pendingFormat) {
        flushText();
        m_pendingFormat = format;
    }
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x20 && b != '\t')
            continue;
        m_pendingText.append(page.byteToChar(b));
    }
}

void RtfReader::hexByte(unsigned char byte)
{
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    const char c = static_cast<char>(byte);
    RtfGroupState &s = state();
    if (s.destination == RtfGroupState::Destination::FontTable) {
        Font &font = m_fonts[m_fontInTable];
        if (!font.named)
            font.nameBytes.append(c);
        return;
    }
    if (s.destination == RtfGroupState::Destination::Text || s.destination == RtfGroupState::Destination::ListText) {
        if (byte < 0x20 && byte != '\t')
            return; // Keep control bytes out of the text.
        text(std::string_view(&c, 1));
    }
}

void RtfReader::appendChar(QChar ch)
{
    RtfGroupState &s = state();
    if (s.character.hidden)
        return;
    if (s.destination == RtfGroupState::Destination::ListText) {
        if (m_listTextFormat < 0)
            m_listTextFormat = charFormatIndex(s.character);
        m_listText.append(ch);
        return;
    }
    if (s.destination != RtfGroupState::Destination::Text)
        return;
    flushBytes();
    const int format = charFormatIndex(s.character);
    if (format != m_pendingFormat) {
        flushText();
        m_pendingFormat = format;
    }
    if (ch.isSurrogate())
        m_pendingSurrogate = true;
    m_pendingText.append(ch);
}

void RtfReader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString decoded = CodePage::get(m_pendingBytesPage).decode(m_pendingBytes);
    m_pendingBytes.clear();
    for (const QChar ch : decoded) {
        if (ch.unicode() >= 0x20 || ch == QLatin1Char('\t'))
            appendChar(ch);
    }
}

void RtfReader::flushText()
{
    flushBytes();
    if (m_pendingText.isEmpty())
        return;
    if (m_pendingSurrogate) {
        // Halves of surrogate pairs that lost their partner are replaced.
        for (qsizetype i = 0; i < m_pendingText.size(); ++i) {
            const QChar ch = m_pendingText.at(i);
            if (ch.isHighSurrogate() && i + 1 < m_pendingText.size() && m_pendingText.at(i + 1).isLowSurrogate())
                ++i;
            else if (ch.isSurrogate())
                m_pendingText[i] = QChar::ReplacementCharacter;
        }
        m_pendingSurrogate = false;
    }
    m_content.addText(m_pendingText, m_pendingFormat);
    m_pendingText.clear();
}

void RtfReader::endParagraph(const RtfGroupState &s, ParagraphEnd end)
{
    flushText();
    const int list = listIndex(s.paragraph);
    // The number or bullet as text is kept only when no list stands for it.
    if (list < 0 && !m_listText.isEmpty())
        m_content.prependText(m_listText, m_listTextFormat);
    m_listText.clear();
    m_listTextFormat = -1;
    const QTextBlockFormat block = blockFormat(s.paragraph);
    const int mark = charFormatIndex(s.character);
    switch (end) {
    case ParagraphEnd::Paragraph:
        m_content.endParagraph(block, mark, list, s.paragraph.inTable);
        break;
    case ParagraphEnd::Cell:
        m_content.endCell(block, mark, list);
        break;
    case ParagraphEnd::Document:
        m_content.finish(block, mark, list, s.paragraph.inTable);
        break;
    }
    state().paragraph.pageBreakBefore = false;
}

void RtfReader::finishPicture()
{
    PictureData picture = std::move(m_picture);
    m_picture = PictureData();
    if (picture.format == 0 || picture.bytes.isEmpty() || state().character.hidden)
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
    int page = font.codePage;
    if (page == 0)
        page = CodePage::forCharset(font.charset);
    if (page == 0 || page == CodePage::Symbol)
        page = m_ansiCodePage;
    font.name = CodePage::get(page).decode(font.nameBytes).trimmed();
    font.nameBytes.clear();
}

void RtfReader::addColor()
{
    m_colors.emplace_back(m_red, m_green, m_blue);
    m_colorDefined.push_back(m_colorSeen);
    m_red = m_green = m_blue = 0;
    m_colorSeen = false;
}

int RtfReader::codePageOf(int fontNumber) const
{
    const auto it = m_fonts.find(fontNumber < 0 ? m_defaultFont : fontNumber);
    if (it != m_fonts.end()) {
        if (it->second.codePage > 0)
            return it->second.codePage;
        const int page = CodePage::forCharset(it->second.charset);
        if (page > 0)
            return page;
    }
    return m_ansiCodePage;
}

int RtfReader::charFormatIndex(const RtfGroupState::Character &character)
{
    if (m_lastFormat >= 0 && character == m_lastCharacter)
        return m_lastFormat;
    auto it = m_formatIndexes.find(character);
    if (it == m_formatIndexes.end()) {
        m_formatCharacters.push_back(character);
        it = m_formatIndexes.emplace(character, static_cast<int>(m_formatCharacters.size())).first;
    }
    m_lastCharacter = character;
    m_lastFormat = it->second;
    return m_lastFormat;
}

QTextCharFormat RtfReader::makeCharFormat(const RtfGroupState::Character &c) const
{
    QTextCharFormat format;
    const auto font = m_fonts.find(c.font < 0 ? m_defaultFont : c.font);
    if (font != m_fonts.end() && !font->second.name.isEmpty())
        format.setFontFamilies(QStringList{font->second.name});
    format.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold)
        format.setFontWeight(QFont::Bold);
    if (c.italic)
        format.setFontItalic(true);
    if (c.underline)
        format.setFontUnderline(true);
    if (c.strike)
        format.setFontStrikeOut(true);
    auto colour = [this](int index, QColor *out) {
        if (index < 0 || static_cast<std::size_t>(index) >= m_colors.size() || !m_colorDefined[static_cast<std::size_t>(index)])
            return false;
        *out = m_colors[static_cast<std::size_t>(index)];
        return true;
    };
    QColor value;
    if (colour(c.foreground, &value))
        format.setForeground(value);
    if (colour(c.highlight, &value) || colour(c.background, &value))
        format.setBackground(value);
    if (c.vertical == RtfGroupState::Vertical::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.vertical == RtfGroupState::Vertical::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return format;
}

QTextBlockFormat RtfReader::blockFormat(const RtfGroupState::Paragraph &p) const
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
    const bool listed = p.listOverride > 0 || p.numbering != RtfGroupState::NumberingKind::None;
    if (p.leftIndent != 0)
        format.setLeftMargin(p.leftIndent / kTwipsPerUnit);
    if (p.rightIndent != 0)
        format.setRightMargin(p.rightIndent / kTwipsPerUnit);
    // A list item's marker stands in its hanging indent, left of the text.
    if (p.firstIndent != 0 && !listed)
        format.setTextIndent(p.firstIndent / kTwipsPerUnit);
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
    if (!p.tabs.empty()) {
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
        std::sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab &a, const QTextOption::Tab &b) {
            return a.position < b.position;
        });
        format.setTabPositions(tabs);
    }
    return format;
}

int RtfReader::listIndex(const RtfGroupState::Paragraph &p)
{
    int numberFormat = -1;
    long long key = 0;
    if (p.listOverride > 0) {
        numberFormat = 23;
        const auto over = m_listOverrides.find(p.listOverride);
        if (over != m_listOverrides.end()) {
            for (const ListDefinition &definition : m_listDefinitions) {
                if (definition.id == over->second && static_cast<std::size_t>(p.listLevel) < definition.levels.size())
                    numberFormat = definition.levels[static_cast<std::size_t>(p.listLevel)].numberFormat;
            }
        }
        if (numberFormat == 255)
            return -1; // A level without a number or bullet.
        key = static_cast<long long>(p.listOverride) * 16 + p.listLevel;
    } else if (p.numbering != RtfGroupState::NumberingKind::None) {
        numberFormat = p.numbering == RtfGroupState::NumberingKind::Bullet ? 23 : p.numberStyle;
        // Numbering by \pn runs on while the paragraphs before had it too.
        const bool continues = m_previousHadLegacyList && m_legacyList >= 0
                               && m_content.lists[static_cast<std::size_t>(m_legacyList)].style() == listStyle(numberFormat);
        if (!continues) {
            QTextListFormat format;
            format.setStyle(listStyle(numberFormat));
            format.setIndent(0);
            m_content.lists.push_back(format);
            m_legacyList = static_cast<int>(m_content.lists.size()) - 1;
        }
        m_previousHadLegacyList = true;
        return m_legacyList;
    } else {
        m_previousHadLegacyList = false;
        return -1;
    }
    m_previousHadLegacyList = false;
    const auto it = m_listIndexes.find(key);
    if (it != m_listIndexes.end())
        return it->second;
    QTextListFormat format;
    format.setStyle(listStyle(numberFormat));
    format.setIndent(0);
    m_content.lists.push_back(format);
    const int index = static_cast<int>(m_content.lists.size()) - 1;
    m_listIndexes.emplace(key, index);
    return index;
}
