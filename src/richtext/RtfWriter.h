#pragma once

#include <QByteArray>

class QTextDocument;

// Writes a QTextDocument as RTF in Windows-1251 (\ansicpg1251), with a font
// and a colour table, character formats, paragraph alignment, indents and
// spacing in twips, lists (a \listtable, see RtfListPlan), tables with their
// header rows, and PNG pictures.  Characters outside Windows-1251 go as
// \uN?.  One paragraph per line, so that the file can be edited by hand.
// What the reader reads, written and read again, reads the same.
class RtfWriter
{
public:
    static QByteArray write(const QTextDocument &document);

    // The width of the text on the page the writer declares (A4, margins of
    // 2 cm), in twips: the measure of tables whose columns have no fixed
    // width.
    static constexpr int TextWidthTwips = 9638;
};
