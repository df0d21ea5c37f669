// pipecalc-mdb-reader: the program's reader of Microsoft Access files.  It
// answers the requests that come on its standard input (MdbReaderProtocol frames: open
// a file, run a statement) on its standard output, one answer per request,
// and ends when its input ends.  The program starts it with limits on memory
// and time and takes anything else (a crash, silence, a malformed answer)
// for a damaged file.

#include "mdbreader/AccessFile.h"
#include "model/FileNameBytes.h"
#include "model/platform/NativeFiles.h"
#include "refdata/MdbReaderProtocol.h"

namespace {

enum Status { Done = 0, BadRequest = 2, CannotAnswer = 3 };

Result<DbResult> run(AccessFile &file, MdbReaderProtocol::Request kind, const QByteArray &data)
{
    if (kind == MdbReaderProtocol::Request::Open) {
        const Result<> opened = file.open(FileNameBytes::decode(data));
        if (!opened)
            return opened;
        return DbResult();
    }
    return file.execute(QString::fromUtf8(data));
}

QByteArray answer(AccessFile &file, MdbReaderProtocol::Request kind, const QByteArray &data)
{
    const Result<DbResult> result = run(file, kind, data);
    if (result)
        return MdbReaderProtocol::result(*result);
    // A failure that closed the file is the file's.
    return MdbReaderProtocol::error(
        file.isOpen() ? MdbReaderProtocol::Failure::Statement : MdbReaderProtocol::Failure::File, result.message());
}

} // namespace

int main()
{
    AccessFile file;
    QByteArray header(MdbReaderProtocol::HeaderSize, '\0');
    while (NativeFiles::readExactly(NativeFiles::StandardInput, header.data(), header.size())) {
        const quint32 length = MdbReaderProtocol::payloadLength(header);
        if (length > MdbReaderProtocol::MaxFrame)
            return BadRequest;
        QByteArray payload(qsizetype(length), Qt::Uninitialized);
        MdbReaderProtocol::Request kind;
        QByteArray data;
        if (!NativeFiles::readExactly(NativeFiles::StandardInput, payload.data(), payload.size())
            || !MdbReaderProtocol::parseRequest(payload, &kind, &data))
            return BadRequest;
        const QByteArray reply = answer(file, kind, data);
        if (NativeFiles::writeAll(NativeFiles::StandardOutput, reply.constData(), reply.size(),
                                  NativeFiles::BrokenPipe::EndsProgram)
            != 0)
            return CannotAnswer;
    }
    return Done;
}
