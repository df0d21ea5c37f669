#include "richtext/DocumentFile.h"

#include "model/FileNameBytes.h"
#include "model/SafeFileWriter.h"
#include "richtext/CodePage.h"
#include "richtext/PlainTextCodec.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace {

QString fullPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The system's reason why a file could not be opened for reading.
QString openFailureReason(int failure)
{
    return failure == FileNameBytes::NotRegularFile ? SafeFileWriter::notRegularText() : qt_error_string(failure);
}

} // namespace

DocumentFile::Format DocumentFile::formatOf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0 ? Format::PlainText
                                                                                            : Format::Rtf;
}

Result<> DocumentFile::load(const QString &path, QTextDocument &document, Detail detail, QStringList *warnings)
{
    QFile file;
    if (const int failure = FileNameBytes::openForReading(file, path))
        return Result<>::failure(cannotOpenText(path, openFailureReason(failure)));
    if (file.size() > MaxFileSize)
        return Result<>::failure(loadFailedText());
    // Read in pieces: a device such as /dev/zero has no size and no end.
    QByteArray data;
    while (true) {
        const QByteArray piece = file.read(qint64(1) << 20);
        if (piece.isEmpty())
            break;
        data += piece;
        if (data.size() > MaxFileSize)
            return Result<>::failure(loadFailedText());
    }
    if (file.error() != QFileDevice::NoError)
        return Result<>::failure(loadFailedText());
    if (!read(data, formatOf(path), document, detail, warnings))
        return Result<>::failure(loadFailedText());
    return {};
}

Result<> DocumentFile::checkReadable(const QString &path)
{
    QFile file;
    if (const int failure = FileNameBytes::openForReading(file, path))
        return Result<>::failure(cannotOpenText(path, openFailureReason(failure)));
    return {};
}

Result<> DocumentFile::save(const QString &path, const QTextDocument &document)
{
    const QByteArray data = write(document, formatOf(path));
    return saveWith(path, [&data](QIODevice &file) { return file.write(data) == data.size(); });
}

Result<> DocumentFile::saveWith(const QString &path, const std::function<bool(QIODevice &)> &produce,
                                const QString &failing)
{
    SafeFileWriter file(path);
    if (!file.open())
        return Result<>::failure(cannotCreateText(path, file.reason()));
    const bool produced = produce(file);
    // A failed write of the file says more than a content that stopped.
    if (file.reason().isEmpty() && !produced) {
        file.close();
        return Result<>::failure(notWrittenText(path, failing, file.keptFormerFile()));
    }
    if (!produced || !file.commit())
        return Result<>::failure(notWrittenText(path, file.reason(), file.keptFormerFile()));
    return {};
}

bool DocumentFile::read(const QByteArray &data, Format format, QTextDocument &document)
{
    return read(data, format, document, Detail::Full, nullptr);
}

bool DocumentFile::read(const QByteArray &data, Format format, QTextDocument &document, Detail detail,
                        QStringList *warnings)
{
    RtfReader::Options options;
    options.textOnly = detail == Detail::Text;
    RtfReader::Report report;
    const auto readRtf = [&] {
        if (!RtfReader::read(data, document, options, &report))
            return false;
        for (const int page : std::as_const(report.unsupportedCodePages)) {
            if (warnings)
                warnings->append(unsupportedCodePageText(page, CodePage::fallbackFor(page)));
        }
        return true;
    };
    if (format == Format::PlainText)
        return PlainTextCodec::read(data, document) || readRtf();
    return readRtf() || PlainTextCodec::read(data, document);
}

QByteArray DocumentFile::write(const QTextDocument &document, Format format)
{
    return format == Format::PlainText ? PlainTextCodec::write(document) : RtfWriter::write(document);
}

QString DocumentFile::loadFailedText()
{
    return QStringLiteral("Failed to Load Stream");
}

QString DocumentFile::saveFailedText()
{
    return QStringLiteral("Failed to Save Stream");
}

QString DocumentFile::cannotOpenText(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath(path), reason);
}

QString DocumentFile::cannotCreateText(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot create file \"%1\". %2").arg(fullPath(path), reason);
}

QString DocumentFile::notWrittenText(const QString &path, const QString &reason, bool formerFileKept)
{
    const QString text = QStringLiteral("Файл \"%1\" не записан. %2").arg(fullPath(path), reason);
    return formerFileKept ? text + QStringLiteral(". Прежний файл сохранён без изменений") : text;
}

QString DocumentFile::unsupportedCodePageText(int codePage, int readAs)
{
    return QStringLiteral("Кодовая страница %1 не поддерживается: текст в ней прочитан в кодовой странице %2, "
                          "часть символов может быть искажена")
        .arg(codePage)
        .arg(readAs);
}
