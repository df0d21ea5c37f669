#pragma once

#include "refdata/DbConnection.h"

#include <QByteArray>

#include <memory>

class QProcess;

// The Microsoft Access backend (Jet 3 and Jet 4 ".mdb" files).  The file is
// read by the reader process pipecalc-mdb-reader (mdbtools' libmdb, which
// opens it read-only), one process for each opening of the connection.  The
// process runs under limits on memory and on processor and wall-clock time:
// a damaged file that would make libmdb take memory without end, crash or
// loop ends the connection with the failure of a damaged database within
// seconds, and the program carries on.
class MdbConnection : public DbConnection
{
public:
    struct Limits
    {
        qint64 memoryBytes = qint64(256) * 1024 * 1024; // address space of the reader
        int processorSeconds = 10;
        int wallSeconds = 10; // for each request: the opening, each statement
    };

    MdbConnection();
    ~MdbConnection() override;

    QString providerName() const override;
    Result<DbResult> execute(const QString &sql) override;

    // The reader program: pipecalc-mdb-reader beside the program (or among
    // the installed helper programs) unless another one was set.
    static QString readerProgram();
    // For tests: another reader program (empty for the usual one), and
    // other limits.
    static void setReaderProgram(const QString &path);
    static void setLimits(const Limits &limits);
    static Limits limits();

protected:
    Result<> openFile(const QString &path) override;
    void closeFile() override;

private:
    // Sends a request and waits for its answer.  A failure that is the
    // file's (the reader found it damaged, or failed itself) ends the reader.
    Result<DbResult> ask(const QByteArray &request);
    Result<QByteArray> readFrame();
    // Ends the reader; the failure of a damaged file.
    Result<DbResult> failDamaged(const QString &detail);
    // The same for a reader that ended without its answer.
    Result<DbResult> failEnded();
    void stopReader();

    std::unique_ptr<QProcess> m_reader;
    QString m_path;
};
