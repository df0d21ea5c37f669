#include "editor/RulerMarker.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace {

constexpr int kWidth = 13;

int heightOf(RulerMarker::Shape shape)
{
    switch (shape) {
    case RulerMarker::Shape::PointingDown:
        return 11;
    case RulerMarker::Shape::PointingUpOnBox:
        return 17;
    case RulerMarker::Shape::PointingUp:
        return 10;
    }
    return 10;
}

} // namespace

RulerMarker::RulerMarker(Shape shape, QWidget *parent) : QWidget(parent), m_shape(shape)
{
    setFixedSize(kWidth, heightOf(shape));
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::SizeHorCursor);
}

QPixmap RulerMarker::picture(Shape shape)
{
    QPixmap pixmap(kWidth, heightOf(shape));
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QColor outline(64, 64, 64);
    const QColor fill(214, 214, 214);
    p.setPen(outline);
    p.setBrush(fill);
    // Pixel outlines: a pen of width 1 on whole coordinates, no smoothing.
    switch (shape) {
    case Shape::PointingDown:
        p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(12, 0), QPoint(12, 5), QPoint(6, 10), QPoint(0, 5)}));
        break;
    case Shape::PointingUpOnBox:
        p.drawPolygon(QPolygon({QPoint(6, 0), QPoint(12, 6), QPoint(12, 10), QPoint(0, 10), QPoint(0, 6)}));
        p.drawRect(0, 11, 12, 5);
        break;
    case Shape::PointingUp:
        p.drawPolygon(QPolygon({QPoint(6, 0), QPoint(12, 6), QPoint(12, 9), QPoint(0, 9), QPoint(0, 6)}));
        break;
    }
    return pixmap;
}

void RulerMarker::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, picture(m_shape));
}

void RulerMarker::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed(int(event->position().x()));
}

void RulerMarker::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT moved(int(event->position().x()));
}

void RulerMarker::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT released();
}
