#include "refdata/MdbConnection.h"

#include "model/FileNameBytes.h"
#include "model/ResourceLocator.h"
#include "model/platform/ProcessLimits.h"
#include "refdata/DatabaseMessages.h"
#include "refdata/MdbReaderProtocol.h"

#include <QDeadlineTimer>
#include <QProcess>

namespace {

QString otherReaderProgram;
MdbConnection::Limits readerLimits;

} // namespace

MdbConnection::MdbConnection() = default;

MdbConnection::~MdbConnection()
{
    stopReader();
}

QString MdbConnection::providerName() const
{
    return QStringLiteral("mdbtools");
}

QString MdbConnection::readerProgram()
{
    if (!otherReaderProgram.isEmpty())
        return otherReaderProgram;
    return ResourceLocator::forApplication().helperExecutable(QStringLiteral("pipecalc-mdb-reader"));
}

void MdbConnection::setReaderProgram(const QString &path)
{
    otherReaderProgram = path;
}

void MdbConnection::setLimits(const Limits &limits)
{
    readerLimits = limits;
}

MdbConnection::Limits MdbConnection::limits()
{
    return readerLimits;
}

Result<> MdbConnection::openFile(const QString &path)
{
    stopReader();
    m_path = path;
    const Limits limits = readerLimits;
    const QString program = readerProgram();
    auto reader = std::make_unique<QProcess>();
    reader->setProgram(program);
    // libmdb's remarks about the pages it cannot read are no message for the user.
    reader->setStandardErrorFile(QProcess::nullDevice());
    ProcessLimits{limits.memoryBytes, limits.processorSeconds}.applyTo(*reader);
    reader->start(QIODevice::ReadWrite);
    if (!reader->waitForStarted(limits.wallSeconds * 1000)) {
        return Result<>::failure(QStringLiteral("Не могу открыть справочную базу данных Microsoft Access %1: "
                                                "не запускается программа чтения %2")
                                     .arg(path, program));
    }
    m_reader = std::move(reader);
    const Result<DbResult> opened =
        ask(MdbReaderProtocol::request(MdbReaderProtocol::Request::Open, FileNameBytes::encode(path)));
    if (!opened)
        stopReader();
    return opened.status();
}

void MdbConnection::closeFile()
{
    stopReader();
}

Result<DbResult> MdbConnection::execute(const QString &sql)
{
    if (!m_reader)
        return failQuery(sql, QStringLiteral("нет подключения к базе данных"));
    const Result<DbResult> result = ask(MdbReaderProtocol::request(MdbReaderProtocol::Request::Query, sql.toUtf8()));
    // Without its reader the file cannot be read any more.
    if (!result && !m_reader)
        return failFile(result.message());
    return result;
}

Result<DbResult> MdbConnection::ask(const QByteArray &request)
{
    if (m_reader->write(request) != request.size())
        return failDamaged(QStringLiteral("программа чтения не принимает запросы"));
    const Result<QByteArray> frame = readFrame();
    if (!frame)
        return frame.status();
    MdbReaderProtocol::Response response = MdbReaderProtocol::parseResponse(*frame);
    switch (response.kind) {
    case MdbReaderProtocol::Response::Kind::Result:
        return std::move(response.result);
    case MdbReaderProtocol::Response::Kind::Error:
        if (response.failure == MdbReaderProtocol::Failure::File)
            stopReader();
        return Result<DbResult>::failure(response.message);
    case MdbReaderProtocol::Response::Kind::Malformed:
        break;
    }
    return failDamaged(QStringLiteral("ответ программы чтения не распознан"));
}

Result<QByteArray> MdbConnection::readFrame()
{
    const int seconds = readerLimits.wallSeconds;
    const QDeadlineTimer deadline(qint64(seconds) * 1000);
    qint64 needed = MdbReaderProtocol::HeaderSize;
    bool haveHeader = false;
    while (true) {
        if (m_reader->bytesAvailable() >= needed) {
            if (haveHeader)
                return m_reader->read(needed);
            const quint32 length = MdbReaderProtocol::payloadLength(m_reader->read(MdbReaderProtocol::HeaderSize));
            if (length > MdbReaderProtocol::MaxFrame)
                return failDamaged(QStringLiteral("ответ программы чтения слишком велик")).status();
            needed = length;
            haveHeader = true;
            continue;
        }
        if (m_reader->state() == QProcess::NotRunning)
            return failEnded().status();
        if (deadline.hasExpired())
            return failDamaged(QStringLiteral("чтение не закончилось за %1 с").arg(seconds)).status();
        // Each wait takes what is left of the one limit, never the whole of
        // it again.
        const auto remaining = [&deadline] { return int(std::max<qint64>(deadline.remainingTime(), 0)); };
        if (m_reader->bytesToWrite() > 0)
            m_reader->waitForBytesWritten(remaining());
        else if (!m_reader->waitForReadyRead(remaining()) && m_reader->state() != QProcess::NotRunning)
            m_reader->waitForFinished(remaining()); // its output ended: so does the reader, or its time
    }
}

Result<DbResult> MdbConnection::failEnded()
{
    if (ProcessLimits::endedForProcessorTime(*m_reader))
        return failDamaged(
            QStringLiteral("чтение заняло больше %1 с времени процессора").arg(readerLimits.processorSeconds));
    if (m_reader->exitStatus() == QProcess::CrashExit)
        return failDamaged(QStringLiteral("чтение прервано: файл испорчен или ему не хватило памяти"));
    return failDamaged(QStringLiteral("программа чтения завершилась, не ответив"));
}

Result<DbResult> MdbConnection::failDamaged(const QString &detail)
{
    // A reader that failed once is not waited for.
    if (m_reader && m_reader->state() != QProcess::NotRunning) {
        m_reader->kill();
        m_reader->waitForFinished(1000);
    }
    stopReader();
    return Result<DbResult>::failure(DatabaseMessages::damagedAccessFile(m_path, detail));
}

void MdbConnection::stopReader()
{
    if (!m_reader)
        return;
    if (m_reader->state() != QProcess::NotRunning) {
        // The reader ends when its input does; one that does not is ended.
        m_reader->closeWriteChannel();
        if (!m_reader->waitForFinished(1000)) {
            m_reader->kill();
            m_reader->waitForFinished(1000);
        }
    }
    m_reader.reset();
}
