#pragma once

#include "refdata/DatabaseError.h"
#include "refdata/DbResult.h"

#include <QByteArray>
#include <QString>

// What the program and its Access reader process say to each other over the
// reader's standard input and output.  Each message is a frame: its length
// as four bytes, most significant first, then that many bytes of payload.
// The program asks to open a file (its name as the file system's bytes) or
// to run a statement (UTF-8); the reader answers each request with a result
// or with the database error it met.
class MdbWire
{
public:
    enum class Request : qint8 { Open = 1, Query = 2 };

    struct Response
    {
        enum class Kind { Result, Error, Malformed };
        Kind kind = Kind::Malformed;
        DbResult result;
        DatabaseError::Kind errorKind = DatabaseError::Kind::Connection;
        QString message;
    };

    // No answer about a reference table comes near this; a larger frame is
    // taken for a damaged reader.
    static constexpr quint32 MaxFrame = 64 * 1024 * 1024;
    static constexpr int HeaderSize = 4;

    // Frames.
    static QByteArray request(Request kind, const QByteArray &data);
    static QByteArray result(const DbResult &result);
    static QByteArray error(const DatabaseError &error);

    // The payload length that a frame header gives.
    static quint32 payloadLength(const QByteArray &header);

    // Payloads.  False for a payload that is no request.
    static bool parseRequest(const QByteArray &payload, Request *kind, QByteArray *data);
    static Response parseResponse(const QByteArray &payload);

private:
    static QByteArray frame(const QByteArray &payload);
};
