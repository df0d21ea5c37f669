// pipecalc-mdb-reader: the program's reader of Microsoft Access files.  It
// answers the requests that come on its standard input (MdbWire frames: open
// a file, run a statement) on its standard output, one answer per request,
// and ends when its input ends.  The program starts it with limits on memory
// and time and takes anything else (a crash, silence, a malformed answer)
// for a damaged file.

#include "mdbreader/AccessFile.h"
#include "model/FileNameBytes.h"
#include "model/platform/NativeFiles.h"
#include "refdata/DatabaseError.h"
#include "refdata/MdbWire.h"

namespace {

enum Status { Done = 0, BadRequest = 2, CannotAnswer = 3 };

QByteArray answer(AccessFile &file, MdbWire::Request kind, const QByteArray &data)
{
    try {
        if (kind == MdbWire::Request::Open) {
            file.open(FileNameBytes::decode(data));
            return MdbWire::result(DbResult());
        }
        return MdbWire::result(file.execute(QString::fromUtf8(data)));
    } catch (const DatabaseError &error) {
        return MdbWire::error(error);
    }
}

} // namespace

int main()
{
    AccessFile file;
    QByteArray header(MdbWire::HeaderSize, '\0');
    while (NativeFiles::readExactly(NativeFiles::StandardInput, header.data(), header.size())) {
        const quint32 length = MdbWire::payloadLength(header);
        if (length > MdbWire::MaxFrame)
            return BadRequest;
        QByteArray payload(qsizetype(length), Qt::Uninitialized);
        MdbWire::Request kind;
        QByteArray data;
        if (!NativeFiles::readExactly(NativeFiles::StandardInput, payload.data(), payload.size())
            || !MdbWire::parseRequest(payload, &kind, &data))
            return BadRequest;
        const QByteArray reply = answer(file, kind, data);
        if (NativeFiles::writeAll(NativeFiles::StandardOutput, reply.constData(), reply.size(),
                                  NativeFiles::BrokenPipe::EndsProgram)
            != 0)
            return CannotAnswer;
    }
    return Done;
}
