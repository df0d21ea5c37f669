#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes JPEG pictures with libjpeg.
class JpegDecoder
{
public:
    // The picture, or a null image with the reason in `error`.
    static QImage decode(const QByteArray &jpeg, QString *error = nullptr);
};
