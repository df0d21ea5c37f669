// pipecalc-mdb-reader: the program's reader of Microsoft Access files.  It
// answers the requests that come on its standard input (MdbWire frames: open
// a file, run a statement) on its standard output, one answer per request,
// and ends when its input ends.  The program starts it with limits on memory
// and time and takes anything else (a crash, silence, a malformed answer)
// for a damaged file.

#include "mdbreader/AccessFile.h"
#include "model/FileNameBytes.h"
#include "refdata/DatabaseError.h"
#include "refdata/MdbWire.h"

#include <cerrno>

#include <unistd.h>

namespace {

enum Status { Done = 0, BadRequest = 2, CannotAnswer = 3 };

// False at the end of the input (or when it breaks off).
bool readExactly(char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t got = ::read(STDIN_FILENO, data, size_t(size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= got;
    }
    return true;
}

bool writeAll(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(STDOUT_FILENO, data, size_t(left));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        left -= put;
    }
    return true;
}

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
    while (readExactly(header.data(), header.size())) {
        const quint32 length = MdbWire::payloadLength(header);
        if (length > MdbWire::MaxFrame)
            return BadRequest;
        QByteArray payload(qsizetype(length), Qt::Uninitialized);
        MdbWire::Request kind;
        QByteArray data;
        if (!readExactly(payload.data(), payload.size()) || !MdbWire::parseRequest(payload, &kind, &data))
            return BadRequest;
        if (!writeAll(answer(file, kind, data)))
            return CannotAnswer;
    }
    return Done;
}
