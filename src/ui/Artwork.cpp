#include "ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor kHeaderBlue(0, 74, 128);

// The cross-section of a double-wall corrugated pipe: a smooth inner ring
// and a corrugated outer ring.
void drawPipeSection(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour, qreal width)
{
    p.setPen(QPen(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius * 0.78, radius * 0.78);
    QPainterPath outer;
    const int waves = 18;
    for (int i = 0; i <= 360; ++i) {
        const qreal a = i * 3.14159265358979323846 / 180.0;
        const qreal r = radius * (0.93 + 0.07 * std::cos(waves * a));
        const QPointF point(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            outer.moveTo(point);
        else
            outer.lineTo(point);
    }
    p.drawPath(outer);
}

// A side view of a corrugated pipe running across the picture.
void drawPipeRun(QPainter &p, const QRectF &band, const QColor &colour)
{
    p.setPen(QPen(colour, 1.2));
    const qreal pitch = band.height() * 0.45;
    for (qreal x = band.left(); x < band.right(); x += pitch) {
        p.drawLine(QPointF(x, band.top()), QPointF(x, band.bottom()));
        p.drawLine(QPointF(x + pitch * 0.6, band.top() + 2), QPointF(x + pitch * 0.6, band.bottom() - 2));
    }
    p.drawLine(band.topLeft(), band.topRight());
    p.drawLine(band.bottomLeft(), band.bottomRight());
}

} // namespace

QPixmap Artwork::headerStrip(const QSize &size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, size.width(), 0);
    fill.setColorAt(0.0, kHeaderBlue);
    fill.setColorAt(1.0, QColor(24, 120, 170));
    p.fillRect(pixmap.rect(), fill);
    const qreal h = size.height();
    drawPipeRun(p, QRectF(size.width() * 0.15, h * 0.3, size.width() * 0.62, h * 0.4), QColor(255, 255, 255, 70));
    drawPipeSection(p, QPointF(size.width() - h * 1.6, h / 2), h * 0.42, QColor(255, 255, 255, 150), 1.4);
    drawPipeSection(p, QPointF(size.width() - h * 0.6, h / 2), h * 0.3, QColor(255, 255, 255, 110), 1.2);
    return pixmap;
}

QPixmap Artwork::aboutBanner(const QSize &size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0.0, QColor(24, 120, 170));
    fill.setColorAt(1.0, kHeaderBlue);
    p.fillRect(pixmap.rect(), fill);
    const qreal h = size.height();
    drawPipeRun(p, QRectF(0, h * 0.74, size.width(), h * 0.12), QColor(255, 255, 255, 45));
    drawPipeSection(p, QPointF(size.width() - h * 0.62, h * 0.45), h * 0.36, QColor(255, 255, 255, 200), 2.0);

    QFont title(QStringLiteral("Tahoma"));
    title.setPixelSize(int(h * 0.2));
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(20, h * 0.12, size.width() - h * 1.3, h * 0.3), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Велтра-Норлекс"));
    QFont subtitle(QStringLiteral("Tahoma"));
    subtitle.setPixelSize(int(h * 0.1));
    p.setFont(subtitle);
    p.setPen(QColor(220, 235, 245));
    p.drawText(QRectF(20, h * 0.4, size.width() - h * 1.2, h * 0.3), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Гидравлический и статический расчёт подземных трубопроводов"));
    return pixmap;
}

QIcon Artwork::windowIcon()
{
    QIcon icon;
    for (int side : {16, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(kHeaderBlue);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(0, 0, side, side), side * 0.18, side * 0.18);
        drawPipeSection(p, QPointF(side / 2.0, side / 2.0), side * 0.4, Qt::white, std::max(1.0, side / 20.0));
        icon.addPixmap(pixmap);
    }
    return icon;
}
