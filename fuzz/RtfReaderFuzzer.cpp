// libFuzzer target: the RTF reader on arbitrary bytes, and what the reader
// promises of what it accepts: the writer's RTF of the document reads back
// as the same document (text, list numbers, tables and their cells), and
// reading only the text gives the same plain text.
#include "DocumentDigest.h"

#include "richtext/PlainTextCodec.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void differs(const char *what, const QString &before, const QString &after)
{
    std::fprintf(stderr, "%s differs.\n--- read:\n%s\n--- read again:\n%s\n", what, qPrintable(before),
                 qPrintable(after));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    if (!RtfReader::read(bytes, document))
        return 0;
    const QString digest = DocumentDigest::of(document);

    const QByteArray written = RtfWriter::write(document);
    QTextDocument again;
    if (!RtfReader::read(written, again))
        differs("What the writer writes must read as RTF: the document", digest, QString());
    const QString againDigest = DocumentDigest::of(again);
    if (againDigest != digest)
        differs("The document written and read back", digest, againDigest);

    RtfReader::Options textOnly;
    textOnly.textOnly = true;
    QTextDocument text;
    RtfReader::read(bytes, text, textOnly, nullptr);
    const QByteArray plain = PlainTextCodec::write(document);
    const QByteArray plainOfText = PlainTextCodec::write(text);
    if (plainOfText != plain)
        differs("The plain text of the text-only reading", QString::fromUtf8(plain), QString::fromUtf8(plainOfText));
    return 0;
}
