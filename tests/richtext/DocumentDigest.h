#pragma once

#include <QString>

class QTextDocument;

// What a reader of a document sees, as text to compare: every paragraph
// with its list marker, every table with its size, header rows, cells,
// spans and their paragraphs.  Documents that read the same have the same
// digest.
class DocumentDigest
{
public:
    static QString of(const QTextDocument &document);
};
