#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// File names as the file system has them: bytes, usually UTF-8 but not
// always.  decode() turns every byte that is not part of valid UTF-8 into a
// code point of its own (U+DC80 to U+DCFF, which UTF-8 text never yields)
// and encode() turns those back, so a name given on the command line reaches
// the file system byte for byte.
class FileNameBytes
{
public:
    static QString decode(const QByteArray &name);
    static QByteArray encode(const QString &name);
    // Opens `file` for reading under `name` as the file system has it.
    // Returns 0, or the errno of the failure: EISDIR for a folder, which
    // the system itself would let be opened.
    static int openForReading(QFile &file, const QString &name);
};
