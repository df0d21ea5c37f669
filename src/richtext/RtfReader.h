#pragma once

#include "richtext/RtfContent.h"
#include "richtext/RtfGroupState.h"
#include "richtext/RtfTokenizer.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextBlockFormat>

#include <unordered_map>
#include <vector>

class QTextDocument;

// Reads RTF into a QTextDocument.  Damaged files give what could be read:
// unknown control words are ignored, a truncated file ends where it ends,
// absurd numbers are held to sensible ranges, groups nested deeper than any
// writer nests them are skipped, and broken pictures are left out.
class RtfReader
{
public:
    // Replaces the document's content with the RTF in data.  Returns false,
    // leaving the document as it was, when data is not RTF at all.
    static bool read(const QByteArray &data, QTextDocument &document);

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

    struct ListLevel
    {
        int numberFormat = 0; // \levelnfc
    };

    struct ListDefinition
    {
        int id = 0;
        std::vector<ListLevel> levels;
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

    explicit RtfReader(const QByteArray &data);

    void parse();
    void groupOpen();
    void groupClose();
    void controlWord(const RtfTokenizer::Token &token);
    void controlSymbol(char symbol);
    void text(std::string_view bytes);
    void hexByte(unsigned char byte);
    bool destinationWord(std::string_view word);
    void skipDestination();

    void appendChar(QChar ch);
    void flushText();
    void flushBytes();
    enum class ParagraphEnd { Paragraph, Cell, Document };
    // Closes the open paragraph with the properties of s.
    void endParagraph(const RtfGroupState &s, ParagraphEnd end);
    void finishPicture();
    void finishFontName();
    void addColor();

    int codePageOf(int font) const;
    int charFormatIndex(const RtfGroupState::Character &character);
    QTextBlockFormat blockFormat(const RtfGroupState::Paragraph &paragraph) const;
    int listIndex(const RtfGroupState::Paragraph &paragraph);
    QTextCharFormat makeCharFormat(const RtfGroupState::Character &character) const;

    RtfGroupState &state() { return m_stack.back(); }

    RtfTokenizer m_tokens;
    RtfContent m_content;
    std::vector<RtfGroupState> m_stack;
    bool m_starred = false;
    bool m_finished = false;
    long long m_skip = 0; // Characters still to skip after \u.

    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;
    std::unordered_map<int, Font> m_fonts;
    int m_fontInTable = -1;
    std::vector<QColor> m_colors;
    std::vector<bool> m_colorDefined;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSeen = false;

    std::vector<ListDefinition> m_listDefinitions;
    std::unordered_map<int, int> m_listOverrides; // \ls -> \listid
    int m_overrideListId = 0;
    std::unordered_map<long long, int> m_listIndexes; // \ls and level -> list
    int m_legacyList = -1; // The \pn list of the paragraphs just before.
    bool m_previousHadLegacyList = false;

    RtfContent::RowDefinition m_row;
    RtfContent::RowDefinition::CellDefinition m_nextCell;
    // The border that \brdrs, \brdrw and the like describe: a side of the
    // next cell (0 top, 1 left, 2 bottom, 3 right), the row (4) or none.
    int m_borderSide = -1;

    PictureData m_picture;

    QString m_listText;
    int m_listTextFormat = -1;

    QString m_pendingText;
    int m_pendingFormat = -1;
    bool m_pendingSurrogate = false;
    QByteArray m_pendingBytes;
    int m_pendingBytesPage = 0;

    std::unordered_map<RtfGroupState::Character, int, RtfGroupState::CharacterHash> m_formatIndexes;
    std::vector<RtfGroupState::Character> m_formatCharacters;
    RtfGroupState::Character m_lastCharacter;
    int m_lastFormat = -1;
};
