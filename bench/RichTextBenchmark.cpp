// Speed of the RTF reader and writer; prints times, not a test.
//   bench_richtext                    the long report (8 MB) read and written,
//                                     and the hostile inputs read
//   bench_richtext generate FILE [MB] writes the long report to FILE
//                                     (for bench/convert_vs_unrtf.sh)
#include "BenchDocuments.h"

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

double secondsToRead(const QByteArray &rtf, int *blocks = nullptr)
{
    QTextDocument document;
    QElapsedTimer timer;
    timer.start();
    RtfReader::read(rtf, document);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (blocks)
        *blocks = document.blockCount();
    return seconds;
}

int generate(const char *path, double megabytes)
{
    int paragraphs = 0;
    const QByteArray rtf =
        BenchDocuments::wordProcessorReport(static_cast<qsizetype>(megabytes * kMegabyte), &paragraphs);
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    std::printf("%s: %.2f MB, %d paragraphs\n", path, rtf.size() / kMegabyte, paragraphs);
    return 0;
}

void longReport(double megabytes)
{
    int paragraphs = 0;
    const QByteArray rtf =
        BenchDocuments::wordProcessorReport(static_cast<qsizetype>(megabytes * kMegabyte), &paragraphs);
    const double size = rtf.size() / kMegabyte;
    double bestRead = 1e9;
    double bestWrite = 1e9;
    qsizetype written = 0;
    for (int round = 0; round < 3; ++round) {
        QTextDocument document;
        QElapsedTimer timer;
        timer.start();
        RtfReader::read(rtf, document);
        bestRead = std::min(bestRead, timer.nsecsElapsed() / 1e9);
        timer.restart();
        const QByteArray out = RtfWriter::write(document);
        bestWrite = std::min(bestWrite, timer.nsecsElapsed() / 1e9);
        written = out.size();
    }
    std::printf("long report: %.2f MB of RTF, %d paragraphs\n", size, paragraphs);
    std::printf("  read:  %.3f s, %.1f MB/s\n", bestRead, size / bestRead);
    std::printf("  write: %.3f s (%.2f MB written)\n", bestWrite, written / kMegabyte);
}

void hostile(const char *what, const QByteArray &rtf)
{
    const double seconds = secondsToRead(rtf);
    QTextDocument document;
    RtfReader::read(rtf, document);
    QElapsedTimer timer;
    timer.start();
    const QByteArray written = RtfWriter::write(document);
    const double writing = timer.nsecsElapsed() / 1e9;
    std::printf("%s (%.2f MB): read in %.3f s (target 2 s)%s, written in %.3f s (%.2f MB)\n", what,
                rtf.size() / kMegabyte, seconds, seconds <= 2.0 ? "" : "  OVER TARGET", writing,
                written.size() / kMegabyte);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "generate")
        return generate(argv[2], argc > 3 ? std::max(0.1, QByteArray(argv[3]).toDouble()) : 8.0);
    if (argc > 1) {
        std::fprintf(stderr, "usage: bench_richtext [generate FILE [MB]]\n");
        return 2;
    }
    longReport(8.0);
    hostile("80 000 distinct fonts", BenchDocuments::distinctFonts(80000));
    hostile("40 000 paragraphs with distinct tab stops", BenchDocuments::distinctTabStops(40000));
    hostile("80 000 distinct colours", BenchDocuments::distinctColours(80000));
    hostile("40 000 styles", BenchDocuments::distinctStyles(40000));
    hostile("40 000 lists", BenchDocuments::distinctLists(40000));
    return 0;
}
