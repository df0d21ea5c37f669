#pragma once

#include <QString>

class QTextDocument;

// Writes a document where the tool was told to: ".pdf" as the report page
// with its logo, rule and title (the pages the editor's preview shows),
// anything else as the report editor saves it (".txt" plain text, else RTF).
class DocumentOutput
{
public:
    // False, with the message to print, when the file cannot be written.
    static bool write(const QTextDocument &document, const QString &path, const QString &title, QString *message);

    static bool isPdf(const QString &path);
};
