#pragma once

#include <QByteArray>

#include <string_view>

// Splits RTF bytes into groups, control words, control symbols, escaped
// bytes and runs of text.  Carriage returns and line feeds between tokens
// are dropped, as RTF wants.  Never reads past the end: a truncated file
// simply ends.
class RtfTokenizer
{
public:
    enum class Type {
        GroupOpen,
        GroupClose,
        ControlWord,   // word, hasParam, param
        ControlSymbol, // symbol
        HexByte,       // param: the byte of \'hh
        Text,          // text: a run of plain bytes
        End,
    };

    struct Token
    {
        Type type = Type::End;
        std::string_view word;
        std::string_view text;
        bool hasParam = false;
        int param = 0;
        char symbol = 0;
    };

    explicit RtfTokenizer(const QByteArray &data);

    Token next();

    // Takes up to count raw bytes after \binN (fewer when the data ends).
    std::string_view takeBinary(long long count);
    // Skips what is left of the current group, its closing brace included.
    // Returns false when the data ends first.
    bool skipGroup();

    // How far the reading has got, in bytes.
    qsizetype position() const { return m_pos; }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};
