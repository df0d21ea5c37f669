#include "BenchDocuments.h"

#include <QString>
#include <QStringList>
#include <QStringEncoder>

#include <cstdint>
#include <vector>

namespace {

// A small deterministic generator, so that every run reads the same bytes.
class Sequence
{
public:
    unsigned next(unsigned bound)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(m_state >> 33) % bound;
    }

private:
    std::uint64_t m_state = 0x5eed;
};

// A word in Windows-1251 as RTF writers escape it: \'hh for every byte
// above 0x7F.
QByteArray escaped(const QString &word)
{
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(word);
    static const char hex[] = "0123456789abcdef";
    QByteArray out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

std::vector<QByteArray> vocabulary()
{
    const QStringList words =
        QStringLiteral("труба грунт расчёт нагрузка давление диаметр стенка кольцо жёсткость модуль упругости "
                       "коэффициент запаса глубина засыпки уровень воды трение скорость расход уклон наполнение "
                       "овальность деформация прочность материал полиэтилен стеклопластик транспорт колесо ось "
                       "траншея песок глина суглинок плотность вес объём площадь сечение радиус момент инерции "
                       "условие выполнено проверка результат значение принято по таблице согласно норме для и на в с")
            .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<QByteArray> out;
    for (const QString &word : words)
        out.push_back(escaped(word));
    return out;
}

const char kHeader[] = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
                       "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}{\\f1\\froman\\fcharset204 Times New Roman;}}\n"
                       "{\\colortbl ;\\red192\\green0\\blue0;\\red0\\green0\\blue128;}\n"
                       "\\viewkind4\\uc1\\pard\\plain\\f0\\fs20\n";

} // namespace

QByteArray BenchDocuments::wordProcessorReport(qsizetype bytes, int *paragraphs)
{
    const std::vector<QByteArray> words = vocabulary();
    const auto count = static_cast<unsigned>(words.size());
    Sequence random;
    QByteArray rtf(kHeader);
    rtf.reserve(bytes + 4096);
    int written = 0;
    while (rtf.size() < bytes) {
        ++written;
        rtf += "\\pard\\plain\\sa120\\f0\\fs20 ";
        const unsigned wordCount = 10 + random.next(5);
        for (unsigned w = 0; w < wordCount; ++w) {
            const QByteArray &word = words[random.next(count)];
            switch (random.next(6)) {
            case 0:
                rtf += "{\\b " + word + "}";
                break;
            case 1:
                rtf += "{\\i " + word + "}";
                break;
            case 2:
                rtf += "{\\ul " + word + "}";
                break;
            case 3:
                rtf += "{\\cf1 " + word + "}";
                break;
            case 4:
                rtf += "{\\f1\\fs24 " + word + "}";
                break;
            default:
                rtf += word;
                break;
            }
            rtf += w + 1 < wordCount ? " " : ".";
        }
        rtf += "\\par\n";
        if (written % 20 == 0) {
            rtf += "\\trowd\\trgaph108\\trleft0\\clbrdrt\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\cellx3000"
                   "\\clbrdrt\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\cellx6000"
                   "\\clbrdrt\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\cellx9000\n";
            for (int c = 0; c < 3; ++c) {
                rtf += "\\pard\\intbl\\plain\\f0\\fs20 {\\b " + words[random.next(count)] + "} "
                       + QByteArray::number(written * 3 + c) + "\\cell\n";
            }
            rtf += "\\row\n";
        }
    }
    rtf += "\\pard\\par\n}\n";
    if (paragraphs)
        *paragraphs = written;
    return rtf;
}

QByteArray BenchDocuments::distinctFonts(int count)
{
    QByteArray table = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl";
    QByteArray body;
    for (int i = 0; i < count; ++i) {
        const QByteArray number = QByteArray::number(i);
        table += "{\\f" + number + " F" + QByteArray::number(i, 36) + ";}";
        body += "\\f" + number + " x";
        if (i % 64 == 63)
            body += "\\par\n";
    }
    return table + "}\n" + body + "}\n";
}

QByteArray BenchDocuments::distinctTabStops(int count)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    for (int i = 0; i < count; ++i) {
        rtf += "\\pard\\tx" + QByteArray::number(100 + i % 5000) + "\\tqr\\tx" + QByteArray::number(6000 + i / 5000)
               + " a\\tab b\\tab c\\par\n";
    }
    return rtf + "}\n";
}

QByteArray BenchDocuments::distinctColours(int count)
{
    QByteArray table = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;";
    QByteArray body;
    for (int i = 0; i < count; ++i) {
        table += "\\red" + QByteArray::number(i % 256) + "\\green" + QByteArray::number(i / 256 % 256) + "\\blue"
                 + QByteArray::number(i / 65536) + ';';
        body += "{\\cf" + QByteArray::number(i + 1) + " x}";
        if (i % 64 == 63)
            body += "\\par\n";
    }
    return table + "}\n" + body + "}\n";
}

QByteArray BenchDocuments::distinctStyles(int count)
{
    QByteArray sheet = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\stylesheet";
    QByteArray body;
    for (int i = 0; i < count; ++i) {
        const QByteArray number = QByteArray::number(i);
        sheet += "{\\s" + number + "\\li" + number + " Style " + number + ";}";
        body += "\\pard\\s" + number + "\\li" + number + " x\\par\n";
    }
    return sheet + "}\n" + body + "}\n";
}

QByteArray BenchDocuments::distinctLists(int count)
{
    QByteArray lists = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\*\\listtable";
    QByteArray overrides = "{\\*\\listoverridetable";
    QByteArray body;
    for (int i = 1; i <= count; ++i) {
        const QByteArray number = QByteArray::number(i);
        lists += "{\\list{\\listlevel\\levelnfc" + QByteArray::number(i % 5) + "{\\leveltext\\'02\\'00.;}}\\listid"
                 + number + '}';
        overrides += "{\\listoverride\\listid" + number + "\\ls" + number + '}';
        body += "\\pard\\ls" + number + " x\\par\n";
    }
    return lists + "}" + overrides + "}\n" + body + "}\n";
}
