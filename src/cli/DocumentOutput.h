#pragma once

#include "model/Result.h"

#include <QString>

class QTextDocument;

// Writes a document where the tool was told to: ".pdf" as the report page
// with its logo, rule and title (the pages the editor's preview shows),
// anything else as the report editor saves it (".txt" plain text, else RTF).
class DocumentOutput
{
public:
    // A failure carries the message to print when the file cannot be written.
    static Result<> write(const QTextDocument &document, const QString &path, const QString &title);

    static bool isPdf(const QString &path);
};
