#pragma once

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

#include <array>
#include <memory>
#include <vector>

// What the RTF reader has understood of a file, before it goes into a
// QTextDocument: paragraphs of formatted runs, tables whose rows only know
// their cell boundaries when the row ends, pictures and lists.  The text of
// all runs is kept in one buffer; formats are held once and named by index,
// so equal runs share one format.
class RtfContent
{
public:
    struct Run
    {
        int start = 0; // In text.
        int length = 0;
        int format = 0;
        int image = -1; // A picture instead of text.
    };

    struct Paragraph
    {
        int firstRun = 0; // runs[firstRun, endRun)
        int endRun = 0;
        int block = 0;      // In blockFormats.
        int charFormat = 0; // The format of the paragraph mark.
        int list = -1;
    };

    struct Cell
    {
        std::vector<Paragraph> paragraphs;
        int left = 0; // Boundaries in twips from the row's left edge.
        int right = 0;
        bool mergeDown = false;       // First of vertically merged cells.
        bool mergedAbove = false;     // Continues the cell above.
        std::array<int, 4> borders{}; // Top, left, bottom, right; twips, 0 for none.
        QColor background;            // Invalid for none.
    };

    struct Row
    {
        std::vector<Cell> cells;
        bool header = false; // \trhdr: repeated at the top of each page.
    };

    struct Table
    {
        std::vector<Row> rows;
        int left = 0;         // Twips.
        int cellGap = 108;    // Half the space between cells, twips.
        bool borders = false; // Around and between all cells.
        Qt::Alignment alignment = Qt::AlignLeft;
        int headerRows = 0; // Leading rows marked as headers.
    };

    struct Block
    {
        Paragraph paragraph;
        std::unique_ptr<Table> table; // A table instead of a paragraph.
    };

    struct Picture
    {
        QImage image;
        QSizeF size; // In document units; empty for the picture's own size.
    };

    // Cell boundaries and flags of the row being defined (\trowd ... \cellx).
    struct RowDefinition
    {
        struct CellDefinition
        {
            int right = 0;
            bool mergeDown = false;
            bool mergedAbove = false;
            std::array<int, 4> borders{};
            QColor background;
        };
        std::vector<CellDefinition> cells;
        int left = 0;
        int cellGap = 108;
        bool borders = false;
        bool header = false;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    // Most cells a row keeps; text of further cells joins the last one.
    static constexpr int MaxCellsPerRow = 63;
    // Farthest a cell boundary (\cellx, in twips) stands from the margin,
    // either way; the writer keeps its boundaries within it as well.
    static constexpr int MaxCellBoundary = 63360;

    RtfContent();

    // The characters from start to the end of text, for the open paragraph.
    void addRun(int start, int format);
    void addPicture(int picture, int format);
    // Puts text before everything else of the open paragraph.
    void prependText(const QString &text, int format);
    bool paragraphIsEmpty() const { return runs.size() == static_cast<std::size_t>(m_paragraph.firstRun); }

    // Closes the open paragraph: into the open table cell when inTable,
    // else after the last block (which closes an open table first).
    void endParagraph(int block, int charFormat, int list, bool inTable);
    // Closes the open paragraph and with it the cell.
    void endCell(int block, int charFormat, int list);
    // Closes the row with the given boundaries.
    void endRow(const RowDefinition &definition);
    // Ends the content: what was open is closed (the open paragraph into a
    // table cell when inTable); a last empty paragraph (the one after the
    // final paragraph mark) is dropped.
    void finish(int block, int charFormat, int list, bool inTable);

    QString text;
    std::vector<Run> runs;
    std::vector<QTextCharFormat> charFormats;
    std::vector<QTextBlockFormat> blockFormats;
    std::vector<QTextListFormat> lists;
    std::vector<Picture> pictures;
    std::vector<Block> blocks;

private:
    void startParagraph();
    void pushCell();
    void closeRow(const RowDefinition &definition);
    void closeTable();
    bool hasOpenCell() const;

    Paragraph m_paragraph;
    std::vector<Paragraph> m_cellParagraphs;
    std::vector<Cell> m_rowCells;
    std::unique_ptr<Table> m_table;
    bool m_cellStarted = false;
};
