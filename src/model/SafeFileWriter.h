#pragma once

#include "model/Result.h"
#include "model/platform/NativeFiles.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Saves a file all or nothing.  What is written goes to a temporary file in
// the target's folder; commit() checks the last write, makes the file
// durable and only then renames it over the target, so that any failure
// (a full disk, a broken medium, no rights) leaves the former file byte for
// byte and is reported with a Russian reason.  A name that is a link to a
// file saves that file and keeps the link.
//
// A character device or a FIFO that the user named (/dev/null, a pipe) is
// written in place and never replaced, and so is whatever a name through
// /proc reaches: /dev/stdout, /dev/fd/N and /proc/self/fd/N are written
// through the descriptor itself, whatever it is open on ("-o /dev/stdout
// >> log" adds to the log).  Other things that are no regular file
// (folders, sockets, block devices) are refused.  So is a file the user may
// not write (no write permission), as the shell's ">" refuses it, although
// its folder would let it be replaced.
//
// An interrupt, terminate or hang-up signal that ends the program during a
// save removes the temporary file first.
//
// Every write to the disk goes through FileSystemCalls, and every other
// call to the system through NativeFiles.
class SafeFileWriter : public QIODevice
{
public:
    enum class Devices {
        WriteInPlace, // a device or FIFO the user named receives the bytes
        Refuse,       // only regular files (for files the program keeps itself)
    };

    explicit SafeFileWriter(const QString &path, Devices devices = Devices::WriteInPlace);
    ~SafeFileWriter() override;

    // Opens for writing (the mode must be WriteOnly).  False, with the
    // reason, when the file cannot be created.
    bool open(OpenMode mode = WriteOnly) override;
    // Puts what was written in place.  False, with the reason, when any
    // write, the flush, the sync or the rename failed.
    bool commit();
    // Without commit() nothing of what was written is kept.
    void close() override;

    bool isSequential() const override { return true; }

    const QString &fileName() const { return m_path; }
    // Why the last open or commit failed: a Russian sentence without a full
    // stop, such as "На диске недостаточно места"; empty after success.
    const QString &reason() const { return m_reason; }
    // Whether the failure came before anything could be written: the file
    // could not be created.
    bool failedToCreate() const { return m_createFailed; }
    // Whether a file that was there before is there still, as it was: true
    // after a failed save of a regular file.
    bool keptFormerFile() const { return m_formerFile && !m_inPlace; }

    // Writes the bytes as the whole content of the file; a failure carries
    // the reason when they could not be written.
    static Result<> writeFile(const QString &path, const QByteArray &bytes, Devices devices = Devices::WriteInPlace);

    // The Russian text of a system error number.
    static QString reasonText(int errorNumber);
    // "Это не обычный файл".
    static QString notRegularText();

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool openTarget();
    bool openThroughProcess(const QByteArray &named, int ownDescriptor);
    bool createTemporary();
    bool flushBuffer();
    bool failCreate(const QString &reason);
    bool failWrite(int errorNumber);
    void discard();

    QString m_path;
    Devices m_devices;
    QByteArray m_target;    // the file that receives the content
    QByteArray m_temporary; // the file written first; empty when in place
    int m_pendingSlot = -1; // where the signal handler finds the temporary file
    int m_fd = -1;
    QByteArray m_buffer;
    bool m_inPlace = false;
    bool m_formerFile = false;
    NativeFiles::FormerFile m_former;
    bool m_failed = false;
    bool m_createFailed = false;
    QString m_reason;
};
