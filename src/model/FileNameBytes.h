#pragma once

#include "model/platform/NativeFiles.h"

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
    // What openForReading() returns for a name that is no regular file.
    static constexpr int NotRegularFile = NativeFiles::NotRegularFile;

    // Opens `file` for reading under `name` as the file system has it.
    // Only a regular file is read: returns 0, or the errno of the failure,
    // EISDIR for a folder (which the system itself would let be opened) and
    // NotRegularFile for a device, a FIFO or a socket, refused at once
    // without waiting for a FIFO's writer.
    static int openForReading(QFile &file, const QString &name);
};
