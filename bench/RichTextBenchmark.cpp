// Reading and writing speed of the RTF reader and writer on a large
// generated document: formatted Cyrillic paragraphs in Windows-1251 and
// tables.  Prints MB/s; not a test.
//   bench_richtext [megabytes]
#include "richtext/CodePage.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>

namespace {

QByteArray cp1251Escaped(const char *utf8)
{
    const CodePage &page = CodePage::get(1251);
    QByteArray out;
    for (const QChar ch : QString::fromUtf8(utf8)) {
        const int byte = page.charToByte(ch.unicode());
        if (byte < 0x80)
            out += char(byte);
        else
            out += "\\'" + QByteArray::number(byte, 16);
    }
    return out;
}

QByteArray generate(qsizetype bytes)
{
    const QByteArray words[] = {
        cp1251Escaped("Гидравлический расчёт самотечного трубопровода"),
        cp1251Escaped("диаметр трубы"),
        cp1251Escaped("коэффициент гидравлического трения"),
        cp1251Escaped("скорость потока при частичном наполнении"),
        cp1251Escaped("кольцевая жёсткость и овальность"),
    };
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}"
                     "{\\f1\\froman\\fcharset204 Times New Roman;}}\n{\\colortbl ;\\red255\\green0\\blue0;"
                     "\\red0\\green0\\blue128;}\n\\viewkind4\\uc1\n";
    rtf.reserve(bytes + 4096);
    int n = 0;
    while (rtf.size() < bytes) {
        ++n;
        if (n % 20 == 0) {
            for (int r = 0; r < 5; ++r) {
                rtf += "\\trowd\\trgaph108\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\cellx3000\\clbrdrt\\brdrs\\cellx6000"
                       "\\cellx9000\n";
                for (int c = 0; c < 3; ++c)
                    rtf += "\\pard\\intbl\\qc\\f0\\fs20 " + words[(r + c) % 5] + " " + QByteArray::number(n * r + c)
                           + "\\cell\n";
                rtf += "\\row\n";
            }
            continue;
        }
        rtf += "\\pard\\qj\\li" + QByteArray::number(n % 3 * 360) + "\\fi360\\sa120\\f1\\fs24 ";
        for (int w = 0; w < 6; ++w) {
            const QByteArray &word = words[(n + w) % 5];
            switch ((n + w) % 4) {
            case 0:
                rtf += "{\\b " + word + "} ";
                break;
            case 1:
                rtf += "{\\i\\cf2 " + word + "} ";
                break;
            default:
                rtf += word + ", ";
                break;
            }
        }
        rtf += QByteArray::number(n) + ".\\par\n";
    }
    return rtf + "}";
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const double megabytes = argc > 1 ? std::max(1.0, QByteArray(argv[1]).toDouble()) : 8.0;
    const QByteArray rtf = generate(static_cast<qsizetype>(megabytes * 1024 * 1024));
    const double size = rtf.size() / (1024.0 * 1024.0);

    double bestRead = 1e9;
    double bestWrite = 1e9;
    qsizetype written = 0;
    int blocks = 0;
    for (int round = 0; round < 3; ++round) {
        QTextDocument document;
        QElapsedTimer timer;
        timer.start();
        RtfReader::read(rtf, document);
        bestRead = std::min(bestRead, timer.nsecsElapsed() / 1e9);
        blocks = document.blockCount();

        timer.restart();
        const QByteArray out = RtfWriter::write(document);
        bestWrite = std::min(bestWrite, timer.nsecsElapsed() / 1e9);
        written = out.size();
    }
    std::printf("document: %.2f MB of RTF, %d paragraphs\n", size, blocks);
    std::printf("read:  %.3f s, %.1f MB/s\n", bestRead, size / bestRead);
    std::printf("write: %.3f s, %.1f MB/s of input (%.2f MB written, %.1f MB/s of output)\n", bestWrite,
                size / bestWrite, written / (1024.0 * 1024.0), written / (1024.0 * 1024.0) / bestWrite);
    return 0;
}
