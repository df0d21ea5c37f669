#include "richtext/RtfWriter.h"

#include "richtext/CodePage.h"
#include "richtext/FrameItems.h"
#include "richtext/RtfContent.h"
#include "richtext/RtfListPlan.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

// A document measures in pixels of 96 per inch; RTF in twips.
constexpr double kTwipsPerUnit = 15.0;
// The indent of the text of a list item beyond its marker, in twips.
constexpr int kListHanging = 360;
// Characters per line of picture data.
constexpr int kHexLine = 128;

int twips(double units)
{
    return static_cast<int>(std::lround(units * kTwipsPerUnit));
}

// The character properties the writer sets, by font and colour numbers.
struct CharProps
{
    int font = 0;
    int halfPoints = 24;
    int foreground = 0; // 0: automatic.
    int background = 0; // 0: none.
    int vertical = 0;   // 1 super, 2 sub.
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
};

class Writer
{
public:
    explicit Writer(const QTextDocument &document)
        : m_document(document), m_codePage(CodePage::get(1251)), m_lists(document)
    {}

    QByteArray run()
    {
        m_fonts.append(defaultFamily());
        m_fontIndexes.insert(m_fonts.first(), 0);

        // Fonts and colours are numbered as the body is written; their
        // tables go before it.

        QByteArray body;
        std::swap(m_out, body);
        writeFrame(m_document.rootFrame(), false);
        std::swap(m_out, body);

        m_out.reserve(body.size() + 1024);
        m_out += "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\\uc1\n";
        m_out += "{\\fonttbl\n";
        for (int i = 0; i < m_fonts.size(); ++i) {
            m_out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset204";
            m_afterWord = true;
            writeText(m_fonts[i]);
            m_out += ";}\n";
        }
        m_out += "}\n{\\colortbl;";
        for (const QColor &colour : m_colors) {
            m_out += "\\red" + QByteArray::number(colour.red()) + "\\green" + QByteArray::number(colour.green())
                     + "\\blue" + QByteArray::number(colour.blue()) + ';';
        }
        m_out += "}\n";
        writeListTables();
        m_out += "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\\viewkind4\n";
        m_out += body;
        m_out += "}\n";
        return m_out;
    }

private:
    QString defaultFamily() const
    {
        const QString family = m_document.defaultFont().family();
        return family.isEmpty() ? QStringLiteral("Arial") : family;
    }

    void word(const char *name)
    {
        m_out += '\\';
        m_out += name;
        m_afterWord = true;
    }

    void word(const char *name, int value)
    {
        m_out += '\\';
        m_out += name;
        m_out += QByteArray::number(value);
        m_afterWord = true;
    }

    void newline()
    {
        m_out += '\n';
        m_afterWord = false;
    }

    void writeFrame(QTextFrame *frame, bool inTable)
    {
        for (const FrameItems::Item &item : FrameItems::of(frame->begin())) {
            if (item.frame) {
                if (auto *table = qobject_cast<QTextTable *>(item.frame); table && !inTable)
                    writeTable(table);
                else
                    writeFrame(item.frame, inTable); // Tables in tables: their paragraphs.
            } else {
                writeParagraph(item.block, inTable, false);
            }
        }
    }

    void writeParagraph(const QTextBlock &block, bool inTable, bool endsCell)
    {
        const QTextBlockFormat format = block.blockFormat();
        word("pard");
        if (inTable)
            word("intbl");
        const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignHCenter)
            word("qc");
        else if (alignment & Qt::AlignJustify)
            word("qj");
        else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
            word("qr");

        double left = format.leftMargin() + format.indent() * m_document.indentWidth();
        QTextList *list = block.textList();
        const RtfListPlan::Entry entry = list ? m_lists.entryOf(list) : RtfListPlan::Entry();
        if (entry.list > 0) {
            left += list->format().indent() * m_document.indentWidth();
            const int leftTwips = twips(left);
            const int hanging = std::min(kListHanging, std::max(0, leftTwips));
            word("ls", entry.list);
            word("ilvl", entry.level);
            word("fi", -hanging);
            word("li", leftTwips);
            writeListMarker(block, list);
        } else {
            if (format.textIndent() != 0)
                word("fi", twips(format.textIndent()));
            if (left != 0)
                word("li", twips(left));
        }
        if (format.rightMargin() != 0)
            word("ri", twips(format.rightMargin()));
        if (format.topMargin() != 0)
            word("sb", twips(format.topMargin()));
        if (format.bottomMargin() != 0)
            word("sa", twips(format.bottomMargin()));
        switch (format.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            word("sl", static_cast<int>(std::lround(format.lineHeight() * 240.0 / 100.0)));
            word("slmult", 1);
            break;
        case QTextBlockFormat::FixedHeight:
            word("sl", -twips(format.lineHeight()));
            word("slmult", 0);
            break;
        case QTextBlockFormat::MinimumHeight:
            word("sl", twips(format.lineHeight()));
            word("slmult", 0);
            break;
        default:
            break;
        }
        if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            word("pagebb");
        for (const QTextOption::Tab &tab : format.tabPositions()) {
            if (tab.type == QTextOption::RightTab)
                word("tqr");
            else if (tab.type == QTextOption::CenterTab)
                word("tqc");
            else if (tab.type == QTextOption::DelimiterTab)
                word("tqdec");
            word("tx", twips(tab.position));
        }

        bool first = true;
        CharProps current;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat charFormat = fragment.charFormat();
            // A picture keeps the properties of the text around it.
            if (!charFormat.isImageFormat() || first) {
                writeCharProps(propsOf(charFormat), current, first);
                first = false;
            }
            if (charFormat.isImageFormat()) {
                const QTextImageFormat image = charFormat.toImageFormat();
                for (qsizetype i = 0; i < fragment.length(); ++i)
                    writePicture(image);
            } else {
                writeText(fragment.text());
            }
        }
        if (first)
            writeCharProps(propsOf(block.charFormat()), current, true);
        word(endsCell ? "cell" : "par");
        newline();
    }

    // The number or bullet as text, for readers that know no lists.
    void writeListMarker(const QTextBlock &block, QTextList *list)
    {
        const QTextListFormat::Style style = list->format().style();
        const bool bullet = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
                            || style == QTextListFormat::ListSquare;
        m_out += '{';
        word("listtext");
        word("f", propsOf(block.charFormat()).font);
        writeText(bullet ? QString(RtfListNumbering::bulletChar(style)) : list->itemText(block));
        word("tab");
        m_out += '}';
        m_afterWord = false;
    }

    void writeListTables()
    {
        const std::vector<RtfListPlan::List> &lists = m_lists.lists();
        if (lists.empty())
            return;
        m_out += "{\\*\\listtable\n";
        for (std::size_t n = 1; n <= lists.size(); ++n) {
            const RtfListPlan::List &list = lists[n - 1];
            m_out += '{';
            word("list");
            word("listtemplateid", static_cast<int>(n));
            if (list.levelCount == 1)
                word("listsimple", 1);
            newline();
            for (int k = 0; k < list.levelCount; ++k)
                writeListLevel(list.levels[static_cast<std::size_t>(k)], k);
            word("listid", static_cast<int>(n));
            m_out += "}\n";
        }
        m_out += "}\n{\\*\\listoverridetable\n";
        for (std::size_t n = 1; n <= lists.size(); ++n) {
            m_out += '{';
            word("listoverride");
            word("listid", static_cast<int>(n));
            word("listoverridecount", 0);
            word("ls", static_cast<int>(n));
            m_out += "}\n";
        }
        m_out += "}\n";
        m_afterWord = false;
    }

    void writeListLevel(const RtfListNumbering::Level &level, int k)
    {
        m_out += '{';
        word("listlevel");
        word("levelnfc", static_cast<int>(level.format));
        word("levelnfcn", static_cast<int>(level.format));
        word("leveljc", 0);
        word("leveljcn", 0);
        word("levelfollow", static_cast<int>(level.follow));
        word("levelstartat", level.start);
        if (level.legal)
            word("levellegal", 1);
        if (level.noRestart)
            word("levelnorestart", 1);
        // The level text: its length, then its characters, the placeholders
        // as the numbers 0 to 8; \levelnumbers: where the placeholders stand.
        QByteArray numbers;
        m_out += "{\\leveltext";
        writeByte(static_cast<int>(std::min<qsizetype>(level.text.size(), 255)));
        for (qsizetype i = 0; i < level.text.size() && i < 255; ++i) {
            const QChar ch = level.text.at(i);
            if (ch.unicode() < 9) {
                writeByte(ch.unicode());
                numbers += "\\'" + QByteArray::number(static_cast<int>(i) + 1, 16).rightJustified(2, '0');
            } else if (ch == QLatin1Char(';')) {
                writeByte(';');
            } else if (ch == QChar::LineSeparator) {
                // One character of the level text, not a line break.
                word("u", ch.unicode());
                m_out += '?';
                m_afterWord = false;
            } else {
                writeText(QString(ch));
            }
        }
        m_out += ";}{\\levelnumbers" + numbers + ";}";
        m_afterWord = false;
        word("fi", -kListHanging);
        word("li", kListHanging * (k + 1));
        m_out += "}\n";
        m_afterWord = false;
    }

    void writeByte(int byte)
    {
        static const char hex[] = "0123456789abcdef";
        m_out += "\\'";
        m_out += hex[(byte >> 4) & 15];
        m_out += hex[byte & 15];
        m_afterWord = false;
    }

    CharProps propsOf(const QTextCharFormat &format)
    {
        CharProps props;
        QString family;
        if (format.hasProperty(QTextFormat::FontFamilies)) {
            const QStringList families = format.fontFamilies().toStringList();
            if (!families.isEmpty())
                family = families.first();
        }
        if (family.isEmpty() && format.hasProperty(QTextFormat::FontFamily))
            family = format.stringProperty(QTextFormat::FontFamily);
        props.font = family.isEmpty() ? 0 : fontIndex(family);

        double points = 0;
        if (format.hasProperty(QTextFormat::FontPointSize))
            points = format.fontPointSize();
        else if (format.hasProperty(QTextFormat::FontPixelSize))
            points = format.intProperty(QTextFormat::FontPixelSize) * 72.0 / 96.0;
        else
            points = m_document.defaultFont().pointSizeF();
        if (points <= 0)
            points = 12;
        props.halfPoints = std::clamp(static_cast<int>(std::lround(points * 2)), 2, 3276);

        props.bold = format.fontWeight() >= QFont::DemiBold;
        props.italic = format.fontItalic();
        props.underline = format.fontUnderline();
        props.strike = format.fontStrikeOut();
        if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
            props.foreground = colorIndex(format.foreground().color());
        if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
            props.background = colorIndex(format.background().color());
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            props.vertical = 1;
        else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            props.vertical = 2;
        return props;
    }

    // Writes what changes from current to props; the first run of a
    // paragraph starts from \plain, so that every line stands alone.
    void writeCharProps(const CharProps &props, CharProps &current, bool first)
    {
        if (first) {
            word("plain");
            current = CharProps();
            current.font = -1;
            current.halfPoints = -1;
        }
        if (props.font != current.font)
            word("f", props.font);
        if (props.halfPoints != current.halfPoints)
            word("fs", props.halfPoints);
        if (props.bold != current.bold)
            props.bold ? word("b") : word("b", 0);
        if (props.italic != current.italic)
            props.italic ? word("i") : word("i", 0);
        if (props.underline != current.underline)
            props.underline ? word("ul") : word("ulnone");
        if (props.strike != current.strike)
            props.strike ? word("strike") : word("strike", 0);
        if (props.foreground != current.foreground)
            word("cf", props.foreground);
        if (props.background != current.background)
            word("chcbpat", props.background);
        if (props.vertical != current.vertical)
            word(props.vertical == 1 ? "super" : props.vertical == 2 ? "sub" : "nosupersub");
        current = props;
    }

    void writeText(const QString &text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t ch = text.at(i).unicode();
            if (ch >= 0x20 && ch < 0x80) {
                if (ch == '\\' || ch == '{' || ch == '}') {
                    m_out += '\\';
                    m_out += char(ch);
                    m_afterWord = false;
                    continue;
                }
                if (m_afterWord) {
                    m_out += ' ';
                    m_afterWord = false;
                }
                m_out += char(ch);
                continue;
            }
            switch (ch) {
            case '\t':
                word("tab");
                continue;
            case 0x2028:
            case 0x2029:
                word("line");
                continue;
            case 0x00A0:
                m_out += "\\~";
                m_afterWord = false;
                continue;
            case 0x00AD:
                m_out += "\\-";
                m_afterWord = false;
                continue;
            case 0x2011:
                m_out += "\\_";
                m_afterWord = false;
                continue;
            case 0xFFFC:
            case 0xFDD0:
            case 0xFDD1:
                continue;
            default:
                break;
            }
            if (ch < 0x20)
                continue;
            const int byte = m_codePage.charToByte(ch);
            if (byte >= 0) {
                writeByte(byte);
            } else {
                word("u", ch > 32767 ? int(ch) - 65536 : int(ch));
                m_out += '?';
                m_afterWord = false;
            }
        }
    }

    void writePicture(const QTextImageFormat &format)
    {
        const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
        QImage image;
        if (resource.userType() == QMetaType::QImage)
            image = resource.value<QImage>();
        else if (resource.userType() == QMetaType::QPixmap)
            image = resource.value<QPixmap>().toImage();
        else if (resource.userType() == QMetaType::QByteArray)
            image.loadFromData(resource.toByteArray());
        if (image.isNull())
            return; // Nothing to show: nothing to write.

        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return;
        const double width = format.width() > 0 ? format.width() : image.width();
        const double height = format.height() > 0 ? format.height() : image.height();

        m_out += '{';
        word("pict");
        word("pngblip");
        word("picw", image.width());
        word("pich", image.height());
        word("picwgoal", twips(width));
        word("pichgoal", twips(height));
        const QByteArray hex = png.toHex();
        for (qsizetype i = 0; i < hex.size(); i += kHexLine) {
            m_out += '\n';
            m_out += hex.mid(i, kHexLine);
        }
        m_out += "}";
        m_afterWord = false;
    }

    void writeTable(QTextTable *table)
    {
        const QTextTableFormat format = table->format();
        const int columns = table->columns();
        const std::vector<int> widths =
            columnWidths(format, columns, RtfContent::MaxCellBoundary - std::max(0, twips(format.leftMargin())));
        const double tableBorder =
            format.borderStyle() != QTextFrameFormat::BorderStyle_None ? std::max(0.0, format.border()) : 0.0;
        const int gap = twips(format.cellPadding());

        const int headerRows = std::clamp(format.headerRowCount(), 0, table->rows());
        for (int r = 0; r < table->rows(); ++r) {
            word("trowd");
            if (r < headerRows)
                word("trhdr");
            word("trgaph", gap);
            word("trleft", twips(format.leftMargin()));
            if (format.alignment() & Qt::AlignHCenter)
                word("trqc");
            else if (format.alignment() & Qt::AlignRight)
                word("trqr");
            struct Entry
            {
                QTextTableCell cell;
                bool covered;
            };
            std::vector<Entry> entries;
            int right = twips(format.leftMargin());
            for (int c = 0; c < columns;) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (!cell.isValid()) {
                    ++c;
                    continue;
                }
                const int end = std::min(columns, cell.column() + cell.columnSpan());
                for (int k = c; k < end; ++k)
                    right += widths[static_cast<std::size_t>(k)];
                const bool covered = cell.row() < r;
                if (covered)
                    word("clvmrg");
                else if (cell.rowSpan() > 1)
                    word("clvmgf");
                const QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
                writeCellBorders(cellFormat, tableBorder);
                if (cellFormat.hasProperty(QTextFormat::BackgroundBrush)
                    && cellFormat.background().style() != Qt::NoBrush)
                    word("clcbpat", colorIndex(cellFormat.background().color()));
                word("cellx", right);
                entries.push_back(Entry{cell, covered});
                c = std::max(end, c + 1);
            }
            newline();
            for (const Entry &entry : entries) {
                if (entry.covered) {
                    word("pard");
                    word("intbl");
                    word("cell");
                    newline();
                    continue;
                }
                writeCell(entry.cell);
            }
            word("row");
            newline();
        }
    }

    // A cell's own border where it has one, else the table's.
    void writeCellBorders(const QTextTableCellFormat &format, double tableBorder)
    {
        const struct
        {
            const char *name;
            QTextFormat::Property width;
            QTextFormat::Property style;
        } sides[] = {
            {"clbrdrt", QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle},
            {"clbrdrl", QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderStyle},
            {"clbrdrb", QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle},
            {"clbrdrr", QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderStyle},
        };
        for (const auto &side : sides) {
            double width = format.hasProperty(side.width) ? format.doubleProperty(side.width) : tableBorder;
            if (format.hasProperty(side.style)
                && format.intProperty(side.style) == int(QTextFrameFormat::BorderStyle_None))
                width = 0;
            if (width <= 0)
                continue;
            word(side.name);
            word("brdrs");
            word("brdrw", std::clamp(twips(width), 1, 75));
        }
    }

    void writeCell(const QTextTableCell &cell)
    {
        std::vector<QTextBlock> blocks;
        collectBlocks(cell.begin(), blocks);
        for (std::size_t i = 0; i < blocks.size(); ++i)
            writeParagraph(blocks[i], true, i + 1 == blocks.size());
        if (blocks.empty()) {
            word("pard");
            word("intbl");
            word("cell");
            newline();
        }
    }

    // The paragraphs from it on, those of tables inside included.
    static void collectBlocks(QTextFrame::iterator it, std::vector<QTextBlock> &blocks)
    {
        for (const FrameItems::Item &item : FrameItems::of(it)) {
            if (item.frame)
                collectBlocks(item.frame->begin(), blocks);
            else
                blocks.push_back(item.block);
        }
    }

    // Every column at least a twip wide, so that each boundary stands apart,
    // and all of them together no wider than room, so that they read back
    // where they were written.
    static std::vector<int> columnWidths(const QTextTableFormat &format, int columns, int room)
    {
        const QList<QTextLength> constraints = format.columnWidthConstraints();
        std::vector<int> widths(static_cast<std::size_t>(columns), 0);
        int fixed = 0;
        int variable = 0;
        for (int c = 0; c < columns; ++c) {
            const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
            int &width = widths[static_cast<std::size_t>(c)];
            if (length.type() == QTextLength::FixedLength)
                width = twips(length.rawValue());
            else if (length.type() == QTextLength::PercentageLength)
                width = static_cast<int>(std::lround(length.rawValue() * RtfWriter::TextWidthTwips / 100.0));
            else
                ++variable;
            fixed += width;
        }
        const int share = variable > 0 ? std::max(360, (RtfWriter::TextWidthTwips - fixed) / variable) : 0;
        for (int &width : widths) {
            if (width <= 0)
                width = share > 0 ? share : 360;
        }
        long long total = std::accumulate(widths.begin(), widths.end(), 0LL);
        if (total > room) {
            for (int &width : widths)
                width = std::max(1, static_cast<int>(static_cast<long long>(width) * room / total));
            total = std::accumulate(widths.begin(), widths.end(), 0LL);
            while (total > room) {
                int &widest = *std::max_element(widths.begin(), widths.end());
                if (widest <= 1)
                    break;
                --widest;
                --total;
            }
        }
        return widths;
    }

    int fontIndex(const QString &family)
    {
        const auto it = m_fontIndexes.constFind(family);
        if (it != m_fontIndexes.constEnd())
            return it.value();
        m_fonts.append(family);
        const int index = static_cast<int>(m_fonts.size()) - 1;
        m_fontIndexes.insert(family, index);
        return index;
    }

    int colorIndex(const QColor &colour)
    {
        const QRgb rgb = colour.rgb();
        const auto it = m_colorIndexes.constFind(rgb);
        if (it != m_colorIndexes.constEnd())
            return it.value();
        m_colors.append(colour);
        const int index = static_cast<int>(m_colors.size()); // Entry 0 is "automatic".
        m_colorIndexes.insert(rgb, index);
        return index;
    }

    const QTextDocument &m_document;
    const CodePage &m_codePage;
    const RtfListPlan m_lists;
    QByteArray m_out;
    bool m_afterWord = false;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndexes;
    QList<QColor> m_colors;
    QHash<QRgb, int> m_colorIndexes;
};

} // namespace

QByteArray RtfWriter::write(const QTextDocument &document)
{
    return Writer(document).run();
}
