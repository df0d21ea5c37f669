#include "richtext/RtfContent.h"

#include <algorithm>
#include <iterator>

RtfContent::RtfContent()
{
    charFormats.emplace_back();
    blockFormats.emplace_back();
}

void RtfContent::addRun(int start, int format)
{
    const int end = static_cast<int>(text.size());
    if (end <= start)
        return;
    if (!paragraphIsEmpty()) {
        Run &last = runs.back();
        if (last.format == format && last.image < 0 && last.start + last.length == start) {
            last.length = end - last.start;
            return;
        }
    }
    runs.push_back(Run{start, end - start, format, -1});
}

void RtfContent::addPicture(int picture, int format)
{
    runs.push_back(Run{static_cast<int>(text.size()), 0, format, picture});
}

void RtfContent::prependText(const QString &prefix, int format)
{
    if (prefix.isEmpty())
        return;
    const int start = static_cast<int>(text.size());
    text += prefix;
    runs.insert(runs.begin() + m_paragraph.firstRun, Run{start, static_cast<int>(prefix.size()), format, -1});
}

void RtfContent::startParagraph()
{
    m_paragraph = Paragraph();
    m_paragraph.firstRun = static_cast<int>(runs.size());
    m_paragraph.endRun = m_paragraph.firstRun;
}

void RtfContent::endParagraph(int block, int charFormat, int list, bool inTable)
{
    m_paragraph.endRun = static_cast<int>(runs.size());
    m_paragraph.block = block;
    m_paragraph.charFormat = charFormat;
    m_paragraph.list = list;
    if (inTable) {
        m_cellParagraphs.push_back(m_paragraph);
        m_cellStarted = true;
    } else {
        closeTable();
        blocks.push_back(Block{m_paragraph, nullptr});
    }
    startParagraph();
}

void RtfContent::endCell(int block, int charFormat, int list)
{
    endParagraph(block, charFormat, list, true);
    pushCell();
}

void RtfContent::pushCell()
{
    if (static_cast<int>(m_rowCells.size()) >= MaxCellsPerRow) {
        std::vector<Paragraph> &last = m_rowCells.back().paragraphs;
        std::move(m_cellParagraphs.begin(), m_cellParagraphs.end(), std::back_inserter(last));
    } else {
        Cell cell;
        cell.paragraphs = std::move(m_cellParagraphs);
        m_rowCells.push_back(std::move(cell));
    }
    m_cellParagraphs.clear();
    m_cellStarted = false;
}

void RtfContent::endRow(const RowDefinition &definition)
{
    if (m_cellStarted || !paragraphIsEmpty()) {
        // Text after the last \cell of the row: it still belongs to a cell.
        endCell(m_paragraph.block, m_paragraph.charFormat, -1);
    }
    closeRow(definition);
}

void RtfContent::closeRow(const RowDefinition &definition)
{
    if (m_rowCells.empty())
        return;
    if (!m_table) {
        m_table = std::make_unique<Table>();
        m_table->left = definition.left;
        m_table->cellGap = definition.cellGap;
        m_table->alignment = definition.alignment;
    }
    // Header rows: those marked at the start of the table.
    if (definition.header && m_table->headerRows == static_cast<int>(m_table->rows.size()))
        ++m_table->headerRows;
    m_table->borders = m_table->borders || definition.borders;

    // Boundaries: those defined, then an inch more for each cell past them.
    int previous = definition.left;
    for (std::size_t i = 0; i < m_rowCells.size(); ++i) {
        Cell &cell = m_rowCells[i];
        cell.left = previous;
        if (i < definition.cells.size()) {
            const RowDefinition::CellDefinition &def = definition.cells[i];
            cell.right = std::max(def.right, previous + 1);
            cell.mergeDown = def.mergeDown;
            cell.mergedAbove = def.mergedAbove;
            cell.borders = def.borders;
            cell.background = def.background;
        } else {
            cell.right = previous + 1440;
        }
        previous = cell.right;
    }
    m_table->rows.push_back(Row{std::move(m_rowCells), definition.header});
    m_rowCells.clear();
}

void RtfContent::finish(int block, int charFormat, int list, bool inTable)
{
    if (inTable && (hasOpenCell() || !paragraphIsEmpty())) {
        m_paragraph.block = block;
        m_paragraph.charFormat = charFormat;
        endRow(RowDefinition());
    }
    if (!paragraphIsEmpty() || (blocks.empty() && !m_table && !hasOpenCell()))
        endParagraph(block, charFormat, list, false);
    closeTable();
}

void RtfContent::closeTable()
{
    if (m_cellStarted || !m_cellParagraphs.empty())
        pushCell(); // A cell that was never ended: kept in its row.
    closeRow(RowDefinition());
    if (!m_table)
        return;
    Block block;
    block.table = std::move(m_table);
    blocks.push_back(std::move(block));
    m_table.reset();
}

bool RtfContent::hasOpenCell() const
{
    return m_cellStarted || !m_cellParagraphs.empty() || !m_rowCells.empty();
}
