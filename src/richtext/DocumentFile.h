#pragma once

#include "model/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;
class QTextDocument;

// Documents in files, the format chosen by the file's extension without
// regard to case: "txt" is plain text, anything else (or nothing) is RTF.
// Reading falls back to the other format when the first does not fit.
// Loads and saves fail with the message to show.
class DocumentFile
{
public:
    enum class Format { Rtf, PlainText };
    // How much of an RTF file a load builds: everything, or only what its
    // plain text shows (for a conversion to text; much faster).
    enum class Detail { Full, Text };

    // Larger files (and endless devices) are not read: no report comes
    // near this.
    static constexpr qint64 MaxFileSize = qint64(256) * 1024 * 1024;

    static Format formatOf(const QString &path);

    // Replaces the document's content with the file's.  On failure the
    // document is as it was.
    // warnings, when given, receives what a successful load found worth
    // telling (in Russian): code pages read in a stand-in page.
    static Result<> load(const QString &path, QTextDocument &document, Detail detail = Detail::Full,
                         QStringList *warnings = nullptr);
    // Whether the file can be opened for reading (a regular file that is
    // there and readable), with the message load() would give otherwise.
    static Result<> checkReadable(const QString &path);
    // Writes the document all or nothing (SafeFileWriter): a failed save
    // leaves the former file byte for byte.
    static Result<> save(const QString &path, const QTextDocument &document);
    // The same for any content: `produce` writes it into the device and
    // says whether it could make all of it; failing says why it could not.
    static Result<> saveWith(const QString &path, const std::function<bool(QIODevice &)> &produce,
                             const QString &failing = saveFailedText());

    // The content of a file of the given format: RTF then plain text, or
    // plain text then RTF.  False, with the document as it was, when
    // neither fits.
    static bool read(const QByteArray &data, Format format, QTextDocument &document);
    static bool read(const QByteArray &data, Format format, QTextDocument &document, Detail detail,
                     QStringList *warnings);
    static QByteArray write(const QTextDocument &document, Format format);

    // Messages.
    static QString loadFailedText();
    static QString saveFailedText();
    static QString cannotOpenText(const QString &path, const QString &reason);
    static QString cannotCreateText(const QString &path, const QString &reason);
    // A file that was created but could not be written to its end; the
    // former file, when there was one, is still there as it was.
    static QString notWrittenText(const QString &path, const QString &reason, bool formerFileKept);
    static QString unsupportedCodePageText(int codePage, int readAs);
};
