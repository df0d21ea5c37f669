#include "richtext/DocumentFile.h"

#include "richtext/PlainTextCodec.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

namespace {

QString fullPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

DocumentFile::Format DocumentFile::formatOf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0 ? Format::PlainText
                                                                                           : Format::Rtf;
}

DocumentFile::Result DocumentFile::load(const QString &path, QTextDocument &document)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString reason = QFileInfo(path).isDir() ? QStringLiteral("Is a directory") : file.errorString();
        return Result{false, cannotOpenText(path, reason)};
    }
    if (file.size() > MaxFileSize)
        return Result{false, loadFailedText()};
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Result{false, loadFailedText()};
    if (!read(data, formatOf(path), document))
        return Result{false, loadFailedText()};
    return Result{};
}

DocumentFile::Result DocumentFile::save(const QString &path, const QTextDocument &document)
{
    const QByteArray data = write(document, formatOf(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result{false, cannotCreateText(path, file.errorString())};
    if (file.write(data) != data.size() || !file.commit())
        return Result{false, saveFailedText()};
    return Result{};
}

bool DocumentFile::read(const QByteArray &data, Format format, QTextDocument &document)
{
    if (format == Format::PlainText)
        return PlainTextCodec::read(data, document) || RtfReader::read(data, document);
    return RtfReader::read(data, document) || PlainTextCodec::read(data, document);
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
