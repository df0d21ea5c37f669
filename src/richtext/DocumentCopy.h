#pragma once

#include <memory>

class QTextDocument;

// Copies of documents with everything they show: text, formats and the
// pictures they keep by name.
class DocumentCopy
{
public:
    // A copy as QTextDocument::clone() makes it, made in one edit: clone()
    // types the text in and lays the copy out on the way, which a very long
    // paragraph makes slow and large.
    static std::unique_ptr<QTextDocument> of(const QTextDocument &source);

    // The pictures the text of `from` shows, added to the resources of `to`.
    static void copyPictures(const QTextDocument &from, QTextDocument &to);
};
