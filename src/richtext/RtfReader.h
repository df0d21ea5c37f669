#pragma once

#include "richtext/RtfContent.h"
#include "richtext/RtfGroupState.h"
#include "richtext/RtfListNumbering.h"
#include "richtext/RtfTokenizer.h"

#include <QByteArray>
#include <QColor>
#include <QFontMetricsF>
#include <QList>
#include <QString>
#include <QTextBlockFormat>

#include <array>
#include <unordered_map>
#include <vector>

class CodePage;
class QTextDocument;

// Reads RTF into a QTextDocument.  Damaged files give what could be read:
// unknown control words are ignored, a truncated file ends where it ends,
// absurd numbers are held to sensible ranges, groups nested deeper than any
// writer nests them are skipped, and broken pictures are left out.
//
// The time is linear in the file: fonts, colours, paragraph formats and
// tab-stop sets are held in tables of the reader and go into the document
// as shared formats (see FormatKeys), lists are numbered as they come (see
// RtfListNumbering).
class RtfReader
{
public:
    struct Options
    {
        // Only what the plain text of the document shows: the text, lists,
        // tables and raised and lowered characters, without fonts, sizes,
        // colours, paragraph formats or pictures.  Much faster to build.
        bool textOnly = false;
    };

    // What the reading noticed that the caller may want to tell.
    struct Report
    {
        // Code pages named by the file that Qt cannot convert: their text
        // was read in the page CodePage::fallbackFor gives.
        QList<int> unsupportedCodePages;
    };

    // Replaces the document's content with the RTF in data.  Returns false,
    // leaving the document as it was, when data is not RTF at all.
    static bool read(const QByteArray &data, QTextDocument &document);
    static bool read(const QByteArray &data, QTextDocument &document, const Options &options, Report *report);

    // Whether data starts as an RTF file does ("{\rtf", after blanks).
    static bool isRtf(const QByteArray &data);

    // Groups nested deeper than this are skipped whole.
    static constexpr int MaxDepth = 256;

private:
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
        bool bulletsResolved = false; // Bullets of symbol fonts turned into Unicode ones.
    };

    struct PictureData
    {
        QByteArray bytes;
        int format = 0; // 1 PNG, 2 JPEG, 3 device-independent bitmap.
        int width = 0;  // \picw, \pich
        int height = 0;
        int goalWidth = 0; // Twips.
        int goalHeight = 0;
        int scaleX = 100;
        int scaleY = 100;
        int highNibble = -1;
    };

    RtfReader(const QByteArray &data, const Options &options);

    void parse();
    void groupOpen();
    void groupClose();
    void controlWord(const RtfTokenizer::Token &token);
    void listTableWord(int word, int param, bool on);
    void controlSymbol(char symbol);
    void text(std::string_view bytes);
    void hexByte(unsigned char byte);
    // Handles a word that starts a destination (a Word of the reader's
    // table); false for the others.
    bool destinationWord(int word);
    void skipDestination();
    // Whether the byte is one of those that \u asks to skip.
    bool skipped(unsigned char byte);

    void appendChar(QChar ch);
    // Text in the given format goes on the open run, or on a new one.
    void openRun(int format);
    void closeRun();
    void flushText();
    void flushBytes();
    enum class ParagraphEnd { Paragraph, Cell, Document };
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

    Options m_options;
    Report m_report;
    RtfTokenizer m_tokens;
    RtfContent m_content;
    std::vector<RtfGroupState> m_stack;
    bool m_starred = false;
    bool m_finished = false;
    long long m_skip = 0; // Characters still to skip after \u.
    bool m_skipTrail = false; // The trail byte of a skipped lead byte comes next.

    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;
    int m_defaultTab = 720; // \deftab, twips.
    std::unordered_map<int, Font> m_fonts;
    int m_fontInTable = -1;
    const CodePage *m_page = nullptr; // Of m_pageFont.
    int m_pageFont = 0;
    std::vector<QColor> m_colors;
    std::vector<bool> m_colorDefined;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSeen = false;

    std::vector<ListDefinition> m_listDefinitions;
    std::unordered_map<int, std::size_t> m_listById; // \listid -> definition
    std::unordered_map<int, int> m_listOverrides; // \ls -> \listid
    int m_overrideListId = 0;
    QString m_levelText;
    int m_levelFont = -2; // \f of the list level being read; -2 for none.
    RtfListNumbering m_numbering;
    int m_legacyGroup = 0; // The \pn list of the paragraphs just before; 0 for none.
    int m_nextLegacyGroup = 0; // \pn lists are numbered -1, -2...; \ls lists by \ls.
    RtfListNumbering::Level m_legacyLevel;
    RtfListNumbering::Levels m_legacyLevels;
    QString m_numberingText; // Of \pntxtb or \pntxta.
    bool m_numberingAfter = false; // \pntxta rather than \pntxtb.

    RtfContent::RowDefinition m_row;
    RtfContent::RowDefinition::CellDefinition m_nextCell;
    // The border that \brdrs, \brdrw and the like describe: a side of the
    // next cell (0 top, 1 left, 2 bottom, 3 right), the row (4) or none.
    int m_borderSide = -1;

    PictureData m_picture;

    QString m_listText;
    int m_listTextFormat = -1;

    int m_runStart = -1; // Where the open run starts in the content's text.
    int m_runFormat = -1;
    bool m_runSurrogate = false;
    QByteArray m_pendingBytes;
    const CodePage *m_pendingPage = nullptr;

    std::unordered_map<RtfGroupState::Character, int, RtfGroupState::CharacterHash> m_formatIndexes;
    std::vector<RtfGroupState::Character> m_formatCharacters;
    RtfGroupState::Character m_lastCharacter;
    int m_lastFormat = -1;

    struct BlockKey
    {
        RtfGroupState::Paragraph paragraph;
        bool listed = false;
        int listIndent = 0;
        bool operator==(const BlockKey &o) const;
    };
    struct BlockKeyHash
    {
        std::size_t operator()(const BlockKey &key) const;
    };
    std::unordered_map<BlockKey, int, BlockKeyHash> m_blockIndexes;
    std::unordered_map<int, QFontMetricsF> m_metrics; // Of the character formats list numbers are drawn in.
    BlockKey m_lastBlock;
    int m_lastBlockIndex = -1;
};
