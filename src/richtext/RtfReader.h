#pragma once

#include <QByteArray>
#include <QList>

class QTextDocument;

// Reads RTF into a QTextDocument.  Damaged files give what could be read:
// unknown control words are ignored, a truncated file ends where it ends,
// absurd numbers are held to sensible ranges, groups nested deeper than any
// writer nests them are skipped, and broken pictures are left out.
//
// The time is linear in the file: fonts, colours, paragraph formats and
// tab-stop sets are held in tables of the reader and go into the document
// as shared formats (see FormatKeys), lists are numbered as they come (see
// RtfListNumbering).  The parsing itself is private to RtfReader.cpp: one
// handler for the control words of each destination and of each kind of
// property, over the state an RtfGroupState holds per group.
class RtfReader
{
public:
    struct Options
    {
        // Only what the plain text of the document shows: the text, lists,
        // tables and raised and lowered characters, without fonts, sizes,
        // colours, paragraph formats or pictures.  Much faster to build.
        bool textOnly = false;
    };

    // What the reading noticed that the caller may want to tell.
    struct Report
    {
        // Code pages named by the file that Qt cannot convert: their text
        // was read in the page CodePage::fallbackFor gives.
        QList<int> unsupportedCodePages;
    };

    // Replaces the document's content with the RTF in data.  Returns false,
    // leaving the document as it was, when data is not RTF at all.
    static bool read(const QByteArray &data, QTextDocument &document);
    static bool read(const QByteArray &data, QTextDocument &document, const Options &options, Report *report);

    // Whether data starts as an RTF file does ("{\rtf", after blanks).
    static bool isRtf(const QByteArray &data);

    // Groups nested deeper than this are skipped whole.
    static constexpr int MaxDepth = 256;
};
