#pragma once

#include "refdata/DbResult.h"

#include <QByteArray>
#include <QString>

// What the program and its Access reader process say to each other over the
// reader's standard input and output.  Each message is a frame: its length
// as four bytes, most significant first, then that many bytes of payload.
// The program asks to open a file (its name as the file system's bytes) or
// to run a statement (UTF-8); the reader answers each request with a result
// or with the failure it met and whose it is.
class MdbReaderProtocol
{
public:
    enum class Request : qint8 { Open = 1, Query = 2 };

    // Whose a failure is: the file's (it cannot be opened, or is damaged,
    // and nothing more can be read from it) or the one statement's.
    enum class Failure : qint32 { File = 0, Statement = 1 };

    struct Response
    {
        enum class Kind { Result, Error, Malformed };
        Kind kind = Kind::Malformed;
        DbResult result;
        Failure failure = Failure::File;
        QString message;
    };

    // No answer about a reference table comes near this; a larger frame is
    // taken for a damaged reader.
    static constexpr quint32 MaxFrame = 64 * 1024 * 1024;
    static constexpr int HeaderSize = 4;

    // Frames.
    static QByteArray request(Request kind, const QByteArray &data);
    static QByteArray result(const DbResult &result);
    static QByteArray error(Failure failure, const QString &message);

    // The payload length that a frame header gives.
    static quint32 payloadLength(const QByteArray &header);

    // Payloads.  False for a payload that is no request.
    static bool parseRequest(const QByteArray &payload, Request *kind, QByteArray *data);
    static Response parseResponse(const QByteArray &payload);

private:
    static QByteArray frame(const QByteArray &payload);
};
