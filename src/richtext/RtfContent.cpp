#include "richtext/RtfContent.h"

#include <algorithm>
#include <iterator>

RtfContent::RtfContent()
{
    charFormats.emplace_back();
}

void RtfContent::addText(const QString &text, int format)
{
    if (text.isEmpty())
        return;
    std::vector<Run> &runs = m_paragraph.runs;
    if (!runs.empty() && runs.back().format == format && runs.back().image < 0)
        runs.back().text += text;
    else
        runs.push_back(Run{text, format, -1});
}

void RtfContent::addPicture(int picture, int format)
{
    m_paragraph.runs.push_back(Run{QString(), format, picture});
}

void RtfContent::prependText(const QString &text, int format)
{
    if (!text.isEmpty())
        m_paragraph.runs.insert(m_paragraph.runs.begin(), Run{text, format, -1});
}

void RtfContent::endParagraph(const QTextBlockFormat &block, int charFormat, int list, bool inTable)
{
    m_paragraph.block = block;
    m_paragraph.charFormat = charFormat;
    m_paragraph.list = list;
    if (inTable) {
        m_cellParagraphs.push_back(std::move(m_paragraph));
        m_cellStarted = true;
    } else {
        closeTable();
        blocks.push_back(Block{std::move(m_paragraph), nullptr});
    }
    m_paragraph = Paragraph();
}

void RtfContent::endCell(const QTextBlockFormat &block, int charFormat, int list)
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
    if (m_cellStarted || !m_paragraph.runs.empty()) {
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
    }
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
        } else {
            cell.right = previous + 1440;
        }
        previous = cell.right;
    }
    m_table->rows.push_back(Row{std::move(m_rowCells)});
    m_rowCells.clear();
}

void RtfContent::finish(const QTextBlockFormat &block, int charFormat, int list, bool inTable)
{
    if (inTable && (hasOpenCell() || !m_paragraph.runs.empty())) {
        m_paragraph.block = block;
        m_paragraph.charFormat = charFormat;
        endRow(RowDefinition());
    }
    if (!m_paragraph.runs.empty() || (blocks.empty() && !m_table && !hasOpenCell()))
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
