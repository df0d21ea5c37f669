#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// A Windows or Macintosh code page as RTF names it: by number (\ansicpg,
// \cpg, \mac) or through a font's character set (\fcharset).  Conversions
// go through Qt's converters (ICU), by the names ICU knows; single-byte
// pages are turned into a table once, so text decodes byte by byte without
// a converter call.  The symbol character set has no code page: its bytes
// are mapped to the Unicode characters the Symbol typeface draws.
class CodePage
{
public:
    // The pseudo code page of the symbol character set.
    static constexpr int Symbol = 42;
    // The code page used for a number that names nothing convertible.
    static constexpr int Fallback = 1252;
    static constexpr int MacRoman = 10000;

    // The code page of an RTF \fcharset value; 0 for the default character
    // set and for unknown values (the document's \ansicpg applies then).
    static int forCharset(int charset);
    // The \fcharset value that names a code page (0 when none does).
    static int charsetFor(int codePage);

    // The converter for a code page number, made once and kept; nullptr
    // when Qt cannot convert that page.
    static const CodePage *find(int number);
    // The page that stands in for one Qt cannot convert: Mac Roman for the
    // Macintosh pages (whose lower half and most letters it shares),
    // Windows-1252 for the others.
    static int fallbackFor(int number);
    // find(number), or the page standing in for it.
    static const CodePage &get(int number);

    int number() const { return m_number; }
    bool isSingleByte() const { return m_singleByte; }
    // Whether byte starts a character of two bytes in this page.
    bool isLeadByte(unsigned char byte) const;

    // One byte of a single-byte page (U+FFFD for an unmapped byte).
    QChar byteToChar(unsigned char byte) const { return m_toUnicode[byte]; }
    // Decodes a run of bytes (any page, multi-byte ones included).
    QString decode(const QByteArray &bytes) const;
    // The byte of a single-byte page for a character, or -1 when the page
    // has no such character.
    int charToByte(char16_t ch) const;

private:
    explicit CodePage(int number);

    int m_number;
    bool m_singleByte = true;
    // Lead bytes of a double-byte page: from 0x81 to m_leadEnd, and from
    // m_leadStart2 to m_leadEnd2 (Shift-JIS has two ranges).
    unsigned char m_leadEnd = 0;
    unsigned char m_leadStart2 = 0;
    unsigned char m_leadEnd2 = 0;
    QByteArray m_converterName;
    std::array<QChar, 256> m_toUnicode{};
    // Characters above U+007F that have a byte, sorted by character.
    std::array<char16_t, 128> m_highChars{};
    std::array<unsigned char, 128> m_highBytes{};
    int m_highCount = 0;
};
