#include "richtext/RtfDocumentAssembler.h"

#include "richtext/RtfContent.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

namespace {

// RTF measures in twips; a document measures in pixels of 96 per inch.
constexpr double kTwipsPerUnit = 15.0;

// Builds the document with as few operations as Qt allows: a block and its
// formats in one step, a run of text in one step, formats handed over as
// the shared objects the content holds, and nothing read back.
class Assembler
{
    // Where a cell of the content stands in the table: first column, span.
    struct Place
    {
        int column;
        int span;
    };
    using Places = std::vector<std::vector<Place>>;

    struct ListInProgress
    {
        QTextList *list = nullptr;
        // The block format of its items, with the list's object: made for
        // the last block format asked for.
        int block = -1;
        QTextBlockFormat itemFormat;
    };

public:
    Assembler(const RtfContent &content, QTextDocument &document)
        : m_content(content), m_document(document), m_lists(content.lists.size())
    {}

    void run()
    {
        QTextCursor cursor(&m_document);
        cursor.movePosition(QTextCursor::End);
        cursor.beginEditBlock();
        bool fresh = cursor.block().length() <= 1;
        for (const RtfContent::Block &block : m_content.blocks) {
            if (block.table) {
                writeTable(cursor, *block.table);
                fresh = true;
            } else {
                writeParagraph(cursor, block.paragraph, fresh);
                fresh = false;
            }
        }
        cursor.endEditBlock();
    }

private:
    // fresh: the cursor's block is empty and still unused.  The first block
    // of a table cell keeps the cell's format in its block character format
    // (its spans among others): there the paragraph mark's format is merged.
    void writeParagraph(QTextCursor &cursor, const RtfContent::Paragraph &paragraph, bool fresh, bool inCell = false)
    {
        const QTextCharFormat &markFormat = charFormat(paragraph.charFormat);
        ListInProgress *list = nullptr;
        if (paragraph.list >= 0 && static_cast<std::size_t>(paragraph.list) < m_lists.size())
            list = &m_lists[static_cast<std::size_t>(paragraph.list)];
        const QTextBlockFormat &block =
            list && list->list ? itemFormat(*list, paragraph.block) : blockFormat(paragraph.block);
        if (fresh) {
            cursor.setBlockFormat(block);
            if (inCell)
                cursor.mergeBlockCharFormat(markFormat);
            else
                cursor.setBlockCharFormat(markFormat);
        } else {
            cursor.insertBlock(block, markFormat);
        }
        if (list && !list->list)
            list->list = cursor.createList(m_content.lists[static_cast<std::size_t>(paragraph.list)]);

        const QChar *text = m_content.text.constData();
        for (int r = paragraph.firstRun; r < paragraph.endRun; ++r) {
            const RtfContent::Run &run = m_content.runs[static_cast<std::size_t>(r)];
            if (run.image >= 0)
                writePicture(cursor, run);
            else
                cursor.insertText(QString::fromRawData(text + run.start, run.length), charFormat(run.format));
        }
    }

    const QTextBlockFormat &itemFormat(ListInProgress &list, int block)
    {
        if (list.block != block) {
            list.block = block;
            list.itemFormat = blockFormat(block);
            list.itemFormat.setObjectIndex(list.list->objectIndex());
        }
        return list.itemFormat;
    }

    void writePicture(QTextCursor &cursor, const RtfContent::Run &run)
    {
        if (static_cast<std::size_t>(run.image) >= m_content.pictures.size())
            return;
        const RtfContent::Picture &picture = m_content.pictures[static_cast<std::size_t>(run.image)];
        const QString name = QStringLiteral("rtfpicture:%1").arg(run.image);
        m_document.addResource(QTextDocument::ImageResource, QUrl(name), picture.image);
        QTextImageFormat image;
        image.merge(charFormat(run.format));
        image.setName(name);
        const QSizeF size = picture.size.isEmpty() ? QSizeF(picture.image.size()) : picture.size;
        image.setWidth(size.width());
        image.setHeight(size.height());
        cursor.insertImage(image);
    }

    void writeTable(QTextCursor &cursor, const RtfContent::Table &table)
    {
        // Columns: every boundary of every row, so that cells of rows with
        // other divisions span the columns they cover.
        std::set<int> boundarySet;
        std::size_t mostCells = 0;
        for (const RtfContent::Row &row : table.rows) {
            mostCells = std::max(mostCells, row.cells.size());
            for (const RtfContent::Cell &cell : row.cells) {
                boundarySet.insert(cell.left);
                boundarySet.insert(cell.right);
            }
        }
        std::vector<int> boundaries(boundarySet.begin(), boundarySet.end());
        const bool byBoundaries =
            boundaries.size() >= 2 && boundaries.size() <= static_cast<std::size_t>(RtfContent::MaxCellsPerRow) + 1;
        const int columns = byBoundaries ? static_cast<int>(boundaries.size()) - 1 : static_cast<int>(mostCells);
        const int rows = static_cast<int>(table.rows.size());
        if (rows == 0 || columns == 0)
            return;

        auto columnOf = [&](int boundary) {
            return static_cast<int>(std::lower_bound(boundaries.begin(), boundaries.end(), boundary)
                                    - boundaries.begin());
        };

        QTextTableFormat tableFormat;
        QVector<QTextLength> widths;
        for (int c = 0; c < columns; ++c) {
            const double twips =
                byBoundaries ? boundaries[static_cast<std::size_t>(c) + 1] - boundaries[static_cast<std::size_t>(c)]
                             : 1440.0;
            widths.append(QTextLength(QTextLength::FixedLength, twips / kTwipsPerUnit));
        }
        tableFormat.setColumnWidthConstraints(widths);
        tableFormat.setCellSpacing(0);
        tableFormat.setCellPadding(std::clamp(table.cellGap, 0, 720) / kTwipsPerUnit);
        tableFormat.setBorderCollapse(true);
        if (table.headerRows > 0)
            tableFormat.setHeaderRowCount(std::min(table.headerRows, rows));
        tableFormat.setBorder(table.borders ? 1 : 0);
        tableFormat.setBorderStyle(table.borders ? QTextFrameFormat::BorderStyle_Solid
                                                 : QTextFrameFormat::BorderStyle_None);
        if (table.left > 0)
            tableFormat.setLeftMargin(table.left / kTwipsPerUnit);
        if (table.alignment != Qt::AlignLeft)
            tableFormat.setAlignment(table.alignment);

        QTextTable *textTable = cursor.insertTable(rows, columns, tableFormat);

        Places places(table.rows.size());
        for (int r = 0; r < rows; ++r) {
            const RtfContent::Row &row = table.rows[static_cast<std::size_t>(r)];
            int next = 0;
            for (const RtfContent::Cell &cell : row.cells) {
                int first = byBoundaries ? columnOf(cell.left) : next;
                int last = byBoundaries ? columnOf(cell.right) : next + 1;
                first = std::clamp(first, next, columns - 1);
                last = std::clamp(last, first + 1, columns);
                places[static_cast<std::size_t>(r)].push_back(Place{first, last - first});
                next = std::min(last, columns - 1);
            }
        }
        for (int r = 0; r < rows; ++r) {
            const RtfContent::Row &row = table.rows[static_cast<std::size_t>(r)];
            for (std::size_t i = 0; i < row.cells.size(); ++i) {
                const Place place = places[static_cast<std::size_t>(r)][i];
                int down = 1;
                if (row.cells[i].mergeDown) {
                    while (r + down < rows && continuesAbove(table, places, r + down, place))
                        ++down;
                }
                if (place.span > 1 || down > 1)
                    textTable->mergeCells(r, place.column, down, place.span);
            }
        }

        for (int r = 0; r < rows; ++r) {
            const RtfContent::Row &row = table.rows[static_cast<std::size_t>(r)];
            for (std::size_t i = 0; i < row.cells.size(); ++i) {
                if (!row.cells[i].mergedAbove)
                    setCellFormat(textTable->cellAt(r, places[static_cast<std::size_t>(r)][i].column), row.cells[i]);
            }
        }

        std::set<std::pair<int, int>> used;
        for (int r = 0; r < rows; ++r) {
            const RtfContent::Row &row = table.rows[static_cast<std::size_t>(r)];
            for (std::size_t i = 0; i < row.cells.size(); ++i) {
                const QTextTableCell cell = textTable->cellAt(r, places[static_cast<std::size_t>(r)][i].column);
                if (!cell.isValid())
                    continue;
                QTextCursor cellCursor = cell.lastCursorPosition();
                bool fresh = used.insert({cell.row(), cell.column()}).second;
                for (const RtfContent::Paragraph &paragraph : row.cells[i].paragraphs) {
                    if (row.cells[i].mergedAbove && paragraph.firstRun == paragraph.endRun)
                        continue; // The empty cell under a merged one.
                    writeParagraph(cellCursor, paragraph, fresh, true);
                    fresh = false;
                }
            }
        }
        cursor = textTable->lastCursorPosition();
        cursor.movePosition(QTextCursor::NextBlock);
    }

    // The borders a cell draws itself (the table draws none of its own) and
    // its shading.
    static void setCellFormat(QTextTableCell cell, const RtfContent::Cell &content)
    {
        const std::array<int, 4> &borders = content.borders;
        if (!cell.isValid() || (borders == std::array<int, 4>{} && !content.background.isValid()))
            return;
        // The cell keeps its spans whatever format it is given.
        QTextTableCellFormat format;
        if (content.background.isValid())
            format.setBackground(content.background);
        if (borders == std::array<int, 4>{}) {
            cell.setFormat(format);
            return;
        }
        const auto style = [](int twips) {
            return twips > 0 ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None;
        };
        const auto width = [](int twips) { return twips > 0 ? std::max(1.0, twips / kTwipsPerUnit) : 0.0; };
        format.setTopBorder(width(borders[0]));
        format.setTopBorderStyle(style(borders[0]));
        format.setLeftBorder(width(borders[1]));
        format.setLeftBorderStyle(style(borders[1]));
        format.setBottomBorder(width(borders[2]));
        format.setBottomBorderStyle(style(borders[2]));
        format.setRightBorder(width(borders[3]));
        format.setRightBorderStyle(style(borders[3]));
        format.setBorderBrush(Qt::black);
        cell.setFormat(format);
    }

    static bool continuesAbove(const RtfContent::Table &table, const Places &places, int r, const Place &place)
    {
        const RtfContent::Row &row = table.rows[static_cast<std::size_t>(r)];
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            const auto &other = places[static_cast<std::size_t>(r)][i];
            if (other.column == place.column)
                return row.cells[i].mergedAbove && other.span == place.span;
        }
        return false;
    }

    const QTextCharFormat &charFormat(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= m_content.charFormats.size())
            return m_content.charFormats.front();
        return m_content.charFormats[static_cast<std::size_t>(index)];
    }

    const QTextBlockFormat &blockFormat(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= m_content.blockFormats.size())
            return m_content.blockFormats.front();
        return m_content.blockFormats[static_cast<std::size_t>(index)];
    }

    const RtfContent &m_content;
    QTextDocument &m_document;
    std::vector<ListInProgress> m_lists;
};

} // namespace

void RtfDocumentAssembler::assemble(const RtfContent &content, QTextDocument &document)
{
    Assembler(content, document).run();
}
