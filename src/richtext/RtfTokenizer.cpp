#include "richtext/RtfTokenizer.h"

#include <climits>

namespace {

// Control words are letters; longer names than this are cut (RTF allows 32).
constexpr qsizetype kMaxWordLength = 32;

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfTokenizer::RtfTokenizer(const QByteArray &data) : m_data(data.constData()), m_size(data.size()) {}

RtfTokenizer::Token RtfTokenizer::next()
{
    Token token;
    while (m_pos < m_size) {
        const char c = m_data[m_pos];
        if (c == '\r' || c == '\n') {
            ++m_pos;
            continue;
        }
        if (c == '{') {
            ++m_pos;
            token.type = Type::GroupOpen;
            return token;
        }
        if (c == '}') {
            ++m_pos;
            token.type = Type::GroupClose;
            return token;
        }
        if (c != '\\') {
            const qsizetype start = m_pos;
            while (m_pos < m_size) {
                const char t = m_data[m_pos];
                if (t == '\\' || t == '{' || t == '}' || t == '\r' || t == '\n')
                    break;
                ++m_pos;
            }
            token.type = Type::Text;
            token.text = std::string_view(m_data + start, static_cast<std::size_t>(m_pos - start));
            return token;
        }

        // A backslash.
        ++m_pos;
        if (m_pos >= m_size)
            break;
        const char s = m_data[m_pos];
        if (!isLetter(s)) {
            ++m_pos;
            if (s == '\'') {
                const int high = m_pos < m_size ? hexValue(m_data[m_pos]) : -1;
                const int low = m_pos + 1 < m_size ? hexValue(m_data[m_pos + 1]) : -1;
                if (high < 0)
                    continue; // A broken escape: dropped, what follows is text.
                if (low < 0) {
                    ++m_pos; // Half an escape.
                    continue;
                }
                m_pos += 2;
                token.type = Type::HexByte;
                token.param = high * 16 + low;
                return token;
            }
            if (s == '\r' || s == '\n') {
                // A backslash before a line end is a paragraph mark.
                token.type = Type::ControlWord;
                token.word = "par";
                return token;
            }
            token.type = Type::ControlSymbol;
            token.symbol = s;
            return token;
        }

        const qsizetype start = m_pos;
        while (m_pos < m_size && isLetter(m_data[m_pos]))
            ++m_pos;
        const qsizetype length = m_pos - start < kMaxWordLength ? m_pos - start : kMaxWordLength;
        token.type = Type::ControlWord;
        token.word = std::string_view(m_data + start, static_cast<std::size_t>(length));

        bool negative = false;
        if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        if (m_pos < m_size && isDigit(m_data[m_pos])) {
            long long value = 0;
            while (m_pos < m_size && isDigit(m_data[m_pos])) {
                if (value <= INT_MAX)
                    value = value * 10 + (m_data[m_pos] - '0');
                ++m_pos;
            }
            if (value > INT_MAX)
                value = INT_MAX;
            token.hasParam = true;
            token.param = static_cast<int>(negative ? -value : value);
        }
        if (m_pos < m_size && m_data[m_pos] == ' ')
            ++m_pos;
        return token;
    }
    token.type = Type::End;
    return token;
}

std::string_view RtfTokenizer::takeBinary(long long count)
{
    const qsizetype left = m_size - m_pos;
    const qsizetype taken = count <= 0 ? 0 : (count < left ? static_cast<qsizetype>(count) : left);
    const std::string_view bytes(m_data + m_pos, static_cast<std::size_t>(taken));
    m_pos += taken;
    return bytes;
}

bool RtfTokenizer::skipGroup()
{
    int depth = 1;
    while (true) {
        const Token token = next();
        switch (token.type) {
        case Type::End:
            return false;
        case Type::GroupOpen:
            ++depth;
            break;
        case Type::GroupClose:
            if (--depth == 0)
                return true;
            break;
        case Type::ControlWord:
            if (token.word == "bin" && token.hasParam)
                takeBinary(token.param);
            break;
        default:
            break;
        }
    }
}
