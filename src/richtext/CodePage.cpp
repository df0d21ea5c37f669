#include "richtext/CodePage.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The Unicode characters that the Symbol typeface draws for the bytes 0x20
// to 0xFF (0 where it draws nothing).  No converter knows this character set.
const char16_t kSymbolChars[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, // 0x20
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, // 0x30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, // 0x40
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, // 0x50
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, // 0x60
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, // 0x70
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0,
    0,      0,      0,      0,      0,      0,      0,      0, // 0x80
    0,      0,      0,      0,      0,      0,      0,      0,
    0,      0,      0,      0,      0,      0,      0,      0, // 0x90
    0,      0,      0,      0,      0,      0,      0,      0,
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, // 0xA0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, // 0xB0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, // 0xC0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, // 0xD0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, // 0xE0
    0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    0,      0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, // 0xF0
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0,
};

// The Macintosh pages ICU has no converter for under their own name, and
// the encodings they are built on.
QByteArray macConverterName(int number)
{
    switch (number) {
    case 10000:
        return "macintosh";
    case 10001: // Japanese: Shift-JIS.
        return "windows-932";
    case 10002: // Traditional Chinese: Big5.
        return "windows-950";
    case 10003: // Korean: KS X 1001 as EUC-KR.
        return "windows-949";
    case 10006:
        return "x-mac-greek";
    case 10007:
        return "x-mac-cyrillic";
    case 10008: // Simplified Chinese: GB 2312 as EUC-CN.
        return "windows-936";
    case 10029:
        return "x-mac-centraleurroman";
    case 10081:
        return "x-mac-turkish";
    default:
        return QByteArray();
    }
}

QByteArray converterName(int number)
{
    if (number >= 10000 && number < 10100)
        return macConverterName(number);
    switch (number) {
    case 20127:
        return "US-ASCII";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (number >= 28591 && number <= 28606)
        return "ISO-8859-" + QByteArray::number(number - 28590);
    if ((number >= 1250 && number <= 1258) || number == 874 || number == 932 || number == 936 || number == 949
        || number == 950)
        return "windows-" + QByteArray::number(number);
    // The DOS pages and the like, as ICU names them.
    if (number >= 100 && number < 10000)
        return "cp" + QByteArray::number(number);
    return QByteArray();
}

// The single bytes of the Macintosh Japanese page that Shift-JIS lacks.
QChar macJapaneseSingle(unsigned char byte)
{
    switch (byte) {
    case 0x80:
        return QLatin1Char('\\');
    case 0xA0:
        return QChar(0x00A0);
    case 0xFD:
        return QChar(0x00A9);
    case 0xFE:
        return QChar(0x2122);
    case 0xFF:
        return QChar(0x2026);
    default:
        return QChar();
    }
}

} // namespace

int CodePage::forCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return Symbol;
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 82:
        return 1361; // Johab: no converter.
    case 83:
        return 10005;
    case 84:
        return 10004;
    case 85:
        return 10006;
    case 86:
        return 10081;
    case 87:
        return 10021;
    case 88:
        return 10029;
    case 89:
        return 10007;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
    case 181:
        return 1255;
    case 178:
    case 179:
    case 180:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

int CodePage::charsetFor(int codePage)
{
    for (const int charset : {0,   2,   77,  78,  79,  80,  81,  83,  84,  85,  86,  87,  88,  89,  128,
                              129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238, 254, 255}) {
        if (forCharset(charset) == codePage)
            return charset;
    }
    return 0;
}

const CodePage *CodePage::find(int number)
{
    static QMutex mutex;
    static std::map<int, std::unique_ptr<CodePage>> pages;
    QMutexLocker lock(&mutex);
    const auto it = pages.find(number);
    if (it != pages.end())
        return it->second.get();
    std::unique_ptr<CodePage> page(new CodePage(number));
    if (number != Symbol && page->m_converterName.isEmpty())
        return nullptr; // Numbers that name nothing are not kept.
    return pages.emplace(number, std::move(page)).first->second.get();
}

int CodePage::fallbackFor(int number)
{
    if (number == 10017)
        return 10007; // Ukrainian: Cyrillic but for two letters.
    if (number >= 10000 && number < 10100)
        return MacRoman;
    return Fallback;
}

const CodePage &CodePage::get(int number)
{
    if (const CodePage *page = find(number))
        return *page;
    return *find(fallbackFor(number));
}

CodePage::CodePage(int number) : m_number(number)
{
    if (number == Symbol) {
        for (int byte = 0; byte < 256; ++byte) {
            const char16_t ch = byte < 0x20 ? char16_t(byte) : kSymbolChars[byte - 0x20];
            m_toUnicode[byte] = ch ? QChar(ch) : QChar(QChar::ReplacementCharacter);
        }
        return;
    }
    const QByteArray name = converterName(number);
    if (name.isEmpty() || !QStringDecoder(name.constData()).isValid())
        return;
    m_converterName = name;
    switch (number) {
    case 932:
    case 10001:
        m_leadEnd = 0x9F;
        m_leadStart2 = 0xE0;
        m_leadEnd2 = 0xFC;
        break;
    case 936:
    case 949:
    case 950:
    case 10002:
    case 10003:
    case 10008:
        m_leadEnd = 0xFE;
        break;
    default:
        break;
    }
    m_singleByte = m_leadEnd == 0 && number != 65001;
    if (!m_singleByte)
        return;

    QByteArray all(256, '\0');
    for (int byte = 0; byte < 256; ++byte)
        all[byte] = char(byte);
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    const QString chars = decoder.decode(all);
    std::vector<std::pair<char16_t, unsigned char>> high;
    for (int byte = 0; byte < 256; ++byte) {
        const QChar ch = chars.size() == 256 ? chars.at(byte) : QChar(QChar::ReplacementCharacter);
        m_toUnicode[byte] = ch;
        if (byte >= 0x80 && ch.unicode() >= 0x80 && ch != QChar::ReplacementCharacter)
            high.emplace_back(ch.unicode(), static_cast<unsigned char>(byte));
    }
    std::sort(high.begin(), high.end());
    for (const auto &[ch, byte] : high) {
        m_highChars[static_cast<std::size_t>(m_highCount)] = ch;
        m_highBytes[static_cast<std::size_t>(m_highCount)] = byte;
        ++m_highCount;
    }
}

bool CodePage::isLeadByte(unsigned char byte) const
{
    return (byte >= 0x81 && byte <= m_leadEnd) || (m_leadStart2 && byte >= m_leadStart2 && byte <= m_leadEnd2);
}

QString CodePage::decode(const QByteArray &bytes) const
{
    if (m_singleByte) {
        QString text(bytes.size(), Qt::Uninitialized);
        QChar *out = text.data();
        for (const char byte : bytes)
            *out++ = m_toUnicode[static_cast<unsigned char>(byte)];
        return text;
    }
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    const auto convert = [&](qsizetype end) {
        if (end <= start)
            return;
        QStringDecoder decoder(m_converterName.constData());
        QString part = decoder.decode(QByteArrayView(bytes.constData() + start, end - start));
        // ICU gives SUB for bytes the page does not map.
        part.replace(QChar(0x1A), QChar(QChar::ReplacementCharacter));
        text += part;
    };
    if (m_number == 10001) {
        // Macintosh Japanese: Shift-JIS with a few single bytes of its own.
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            if (isLeadByte(byte)) {
                ++i;
                continue;
            }
            const QChar own = macJapaneseSingle(byte);
            if (!own.isNull()) {
                convert(i);
                text += own;
                start = i + 1;
            }
        }
    }
    convert(bytes.size());
    return text;
}
int CodePage::charToByte(char16_t ch) const
{
    if (ch < 0x80)
        return m_toUnicode[ch].unicode() == ch ? int(ch) : -1;
    const auto end = m_highChars.begin() + m_highCount;
    const auto it = std::lower_bound(m_highChars.begin(), end, ch);
    if (it == end || *it != ch)
        return -1;
    return m_highBytes[static_cast<std::size_t>(it - m_highChars.begin())];
}
