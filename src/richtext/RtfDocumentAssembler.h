#pragma once

class QTextDocument;
class RtfContent;

// Puts what the RTF reader understood into a QTextDocument, appending at its
// end: paragraphs with their block and character formats, lists, tables
// with their column widths and merged cells, and pictures as resources.
class RtfDocumentAssembler
{
public:
    static void assemble(const RtfContent &content, QTextDocument &document);
};
