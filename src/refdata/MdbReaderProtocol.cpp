#include "refdata/MdbReaderProtocol.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace {

constexpr QDataStream::Version Version = QDataStream::Qt_6_4;

} // namespace

QByteArray MdbReaderProtocol::frame(const QByteArray &payload)
{
    QByteArray bytes(HeaderSize, '\0');
    qToBigEndian(quint32(payload.size()), bytes.data());
    return bytes + payload;
}

quint32 MdbReaderProtocol::payloadLength(const QByteArray &header)
{
    return qFromBigEndian<quint32>(header.constData());
}

QByteArray MdbReaderProtocol::request(Request kind, const QByteArray &data)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream.setVersion(Version);
    stream << qint8(kind) << data;
    return frame(payload);
}

QByteArray MdbReaderProtocol::result(const DbResult &result)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream.setVersion(Version);
    stream << true << result.columns << result.rows;
    return frame(payload);
}

QByteArray MdbReaderProtocol::error(Failure failure, const QString &message)
{
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream.setVersion(Version);
    stream << false << qint32(failure) << message;
    return frame(payload);
}

bool MdbReaderProtocol::parseRequest(const QByteArray &payload, Request *kind, QByteArray *data)
{
    QDataStream stream(payload);
    stream.setVersion(Version);
    qint8 code = 0;
    stream >> code >> *data;
    *kind = Request(code);
    return stream.status() == QDataStream::Ok && stream.atEnd() && (*kind == Request::Open || *kind == Request::Query);
}

MdbReaderProtocol::Response MdbReaderProtocol::parseResponse(const QByteArray &payload)
{
    QDataStream stream(payload);
    stream.setVersion(Version);
    Response response;
    bool ok = false;
    stream >> ok;
    if (ok) {
        stream >> response.result.columns >> response.result.rows;
        response.kind = Response::Kind::Result;
        for (const QVector<QVariant> &row : std::as_const(response.result.rows)) {
            if (row.size() != response.result.columns.size())
                response.kind = Response::Kind::Malformed;
        }
    } else {
        qint32 kind = -1;
        stream >> kind >> response.message;
        response.kind = Response::Kind::Error;
        response.failure = Failure(kind);
        if (kind != qint32(Failure::File) && kind != qint32(Failure::Statement))
            response.kind = Response::Kind::Malformed;
    }
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        response.kind = Response::Kind::Malformed;
    return response;
}
