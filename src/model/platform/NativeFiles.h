#pragma once

#include <QByteArray>
#include <QtGlobal>

class QFile;

// What the program asks of the operating system's files beyond reading and
// writing bytes: what a name given for saving reaches (links, devices, the
// process's own descriptors), a temporary file that takes over a former
// file's rights and owner, a folder's entries made durable, temporary files
// removed when a signal ends the program, and the standard streams.  Names
// are the file system's own bytes (FileNameBytes encodes them).  Functions
// that can fail return the system's error number (errno), or 0.
class NativeFiles
{
public:
    // The standard streams, as descriptors.
    static constexpr int StandardInput = 0;
    static constexpr int StandardOutput = 1;
    static constexpr int StandardError = 2;

    // A file that is there before a save: what its replacement takes over.
    struct FormerFile
    {
        quint32 permissions = 0;
        quint32 owner = 0;
        quint32 group = 0;
    };

    // What a name given for saving reaches.
    struct SaveTarget
    {
        enum class Kind {
            NewFile,     // nothing yet: `path` is where the file goes (a dangling link's target)
            RegularFile, // `path` is the file itself, links followed
            Folder,
            Device,         // a character device or a FIFO, written in place
            ThroughProcess, // a name through the process table (/dev/stdout, /proc/<pid>/fd/N)
            NotRegular,     // a socket, a block device
            Failed,         // `error` says why
        };
        Kind kind = Kind::Failed;
        QByteArray path;
        FormerFile former;      // RegularFile
        int ownDescriptor = -1; // ThroughProcess: this process's descriptor the name stands for
        int error = 0;          // Failed
    };

    static SaveTarget inspectSaveTarget(const QByteArray &name);
    // Whether the user may write the file itself (not only replace it).
    static int writeAccess(const QByteArray &path);

    // A device, FIFO or another process's file opened for writing in place
    // (another process's file is added to, never cut short); the descriptor,
    // or -1 with errno set.
    static int openInPlace(const QByteArray &path, bool append);
    // A new descriptor for writing on one of this process's own; -1 with
    // errno set (EBADF when it is open for reading only).
    static int duplicateForWriting(int descriptor);
    // Creates `name`, which must not exist, for writing: with the former
    // file's rights and owner where given, otherwise the usual rights less
    // the umask.  The file is removed should a signal end the program before
    // forgetTemporary(); `slot` receives what forgetTemporary() takes.  The
    // descriptor, or -1 with errno set (EEXIST when the name is taken).
    static int createTemporary(const QByteArray &name, const FormerFile *former, int *slot);
    static void forgetTemporary(int slot);
    // The folder's entries reach the disk; a folder that cannot be synced
    // is left as it is.
    static void syncFolder(const QByteArray &folder);

    static QByteArray folderOf(const QByteArray &path);
    static QByteArray baseNameOf(const QByteArray &path);

    // What a closed pipe does to a writer.
    enum class BrokenPipe {
        EndsProgram, // the system's default
        IsAnError,   // the write fails with EPIPE and the program goes on
    };
    // Writes all the bytes through FileSystemCalls; 0 or the errno.
    static int writeAll(int descriptor, const char *data, qint64 size, BrokenPipe brokenPipe);
    // Reads exactly `size` bytes; false at the end of the input or when it
    // breaks off.
    static bool readExactly(int descriptor, char *data, qint64 size);

    // A standard stream that was not open is opened on the null device, so
    // that no file opened later takes its place; true when it was closed.
    static bool occupyIfClosed(int descriptor);
    // Puts the null device in place of a descriptor that was closed.
    static void occupyWithNull(int descriptor);

    // What openForReading() returns for a name that is no regular file.
    static constexpr int NotRegularFile = -1;
    // Opens `file` for reading under `name` as the file system has it.
    // Only a regular file is read: returns 0, or the errno of the failure,
    // EISDIR for a folder (which the system itself would let be opened) and
    // NotRegularFile for a device, a FIFO or a socket, refused at once
    // without waiting for a FIFO's writer.
    static int openForReading(QFile &file, const QByteArray &name);
};
