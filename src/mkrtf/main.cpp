// Builds the report templates laid out beside the program.  The template
// sources are RTF written with plain UTF-8 letters, so that they can be read
// and edited by hand; this tool turns every character beyond ASCII into a
// Unicode escape ("\u1048?"), which every RTF reader understands, and refuses
// a source whose braces do not balance.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include <cstdio>

namespace {

int fail(const char *what, const char *path)
{
    std::fprintf(stderr, "pipecalc-mkrtf: %s: %s\n", path, what);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: pipecalc-mkrtf SOURCE.rtf OUTPUT.rtf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly))
        return fail("cannot read", argv[1]);
    const QByteArray bytes = in.readAll();

    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return fail("not valid UTF-8", argv[1]);

    QByteArray out;
    out.reserve(bytes.size() * 2);
    int depth = 0;
    bool escaped = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            const char ch = char(u);
            if (!escaped && ch == '{')
                ++depth;
            else if (!escaped && ch == '}' && --depth < 0)
                return fail("a closing brace without its opening one", argv[1]);
            escaped = !escaped && ch == '\\';
            out += ch;
            continue;
        }
        escaped = false;
        // RTF takes the code as a signed 16-bit number; characters beyond
        // the basic plane come as their two surrogates.
        out += "\\u" + QByteArray::number(int(qint16(u))) + '?';
    }
    if (depth != 0)
        return fail("unbalanced braces", argv[1]);

    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size())
        return fail("cannot write", argv[2]);
    return 0;
}
