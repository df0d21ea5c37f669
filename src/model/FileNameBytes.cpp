#include "model/FileNameBytes.h"

#include "model/platform/NativeFiles.h"

namespace {

constexpr char16_t EscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at `at`, or 0.
int validSequence(const QByteArray &bytes, int at)
{
    const auto byte = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (next < min || next > max)
            return 0;
    }
    return length;
}

} // namespace

QString FileNameBytes::decode(const QByteArray &name)
{
    QString result;
    int run = 0; // start of the valid text not yet decoded
    int at = 0;
    while (at < name.size()) {
        const int length = validSequence(name, at);
        if (length > 0) {
            at += length;
            continue;
        }
        result += QString::fromUtf8(name.constData() + run, at - run);
        result += QChar(char16_t(EscapeBase + static_cast<unsigned char>(name[at])));
        run = ++at;
    }
    result += QString::fromUtf8(name.constData() + run, name.size() - run);
    return result;
}

QByteArray FileNameBytes::encode(const QString &name)
{
    QByteArray result;
    int run = 0;
    for (int i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool paired = i > 0 && name[i - 1].isHighSurrogate();
        if (c < EscapeBase + 0x80 || c > EscapeBase + 0xFF || paired)
            continue;
        result += name.mid(run, i - run).toUtf8();
        result += char(c - EscapeBase);
        run = i + 1;
    }
    result += name.mid(run).toUtf8();
    return result;
}

int FileNameBytes::openForReading(QFile &file, const QString &name)
{
    return NativeFiles::openForReading(file, encode(name));
}
