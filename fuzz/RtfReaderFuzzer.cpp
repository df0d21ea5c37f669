// libFuzzer target: the RTF reader on arbitrary bytes, then the writer on
// what was read, and the reader again on what was written.
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    if (!RtfReader::read(bytes, document))
        return 0;
    const QByteArray written = RtfWriter::write(document);
    QTextDocument again;
    if (!RtfReader::read(written, again))
        std::abort(); // What the writer writes must read as RTF.
    return 0;
}
