#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Documents in files, the format chosen by the file's extension without
// regard to case: "txt" is plain text, anything else (or nothing) is RTF.
// Reading falls back to the other format when the first does not fit.
class DocumentFile
{
public:
    enum class Format { Rtf, PlainText };

    // What a load or a save came to: the message to show when it failed.
    struct Result
    {
        bool ok = true;
        QString message;
    };

    // Larger files are not read: no report comes near this.
    static constexpr qint64 MaxFileSize = qint64(256) * 1024 * 1024;

    static Format formatOf(const QString &path);

    // Replaces the document's content with the file's.  On failure the
    // document is as it was.
    static Result load(const QString &path, QTextDocument &document);
    // Writes the document through a temporary file that replaces the file
    // only when everything was written, so a failed save leaves the former
    // file whole.
    static Result save(const QString &path, const QTextDocument &document);

    // The content of a file of the given format: RTF then plain text, or
    // plain text then RTF.  False, with the document as it was, when
    // neither fits.
    static bool read(const QByteArray &data, Format format, QTextDocument &document);
    static QByteArray write(const QTextDocument &document, Format format);

    // Messages.
    static QString loadFailedText();
    static QString saveFailedText();
    static QString cannotOpenText(const QString &path, const QString &reason);
    static QString cannotCreateText(const QString &path, const QString &reason);
};
