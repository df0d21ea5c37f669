#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QTextDocument;

// Plain-text files.  Reading takes UTF-8 when the file starts with the UTF-8
// byte-order mark or is valid UTF-8 with bytes above 0x7F, otherwise
// Windows-1251; a file with NUL bytes is not text.  Writing uses
// Windows-1251 when every character has a byte there, otherwise UTF-8 with
// a byte-order mark, so that no character is lost.  Lines end in CR LF.
class PlainTextCodec
{
public:
    // The text of a file with its line ends turned into '\n'; nothing when
    // the bytes are not text.
    static std::optional<QString> decode(const QByteArray &data);
    // The bytes of a file for text whose lines end in '\n'.
    static QByteArray encode(const QString &text);

    // The document's text: a line per paragraph, list items with their
    // marker, the cells of a table row separated by tabs.  Raised and
    // lowered text keeps reading as such: in Unicode superscript or
    // subscript characters where each character has one ("0.8⁴",
    // "H₂O"), otherwise after "^" or "_" ("10^x,y").
    static QString documentText(const QTextDocument &document);

    // Replaces the document's content with the text, in the document's
    // default format.  Returns false, leaving the document as it was, when
    // the bytes are not text.
    static bool read(const QByteArray &data, QTextDocument &document);
    static QByteArray write(const QTextDocument &document);
};
