#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn rather than shipped: the decorative strip of
// the header, the banner of the about box and the window icon.
class Artwork
{
public:
    static QPixmap headerStrip(const QSize &size);
    static QPixmap aboutBanner(const QSize &size);
    static QIcon windowIcon();
};
