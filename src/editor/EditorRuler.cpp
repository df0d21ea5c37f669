#include "editor/EditorRuler.h"

#include "editor/RulerMarker.h"

#include <QFrame>
#include <QPainter>
#include <QTextOption>

EditorRuler::EditorRuler(QWidget *parent) : QWidget(parent), m_ticks(ticks())
{
    setFixedHeight(Height);
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setPixelSize(12);

    scaleLine = new QFrame(this);
    scaleLine->setFrameStyle(QFrame::Box | QFrame::Plain);
    scaleLine->setLineWidth(1);
    scaleLine->setAutoFillBackground(true);
    QPalette white = scaleLine->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, QColor(128, 128, 128));
    scaleLine->setPalette(white);
    scaleLine->setGeometry(0, 9, width(), 6);

    firstIndentMarker = new RulerMarker(RulerMarker::Shape::PointingDown, this);
    leftIndentMarker = new RulerMarker(RulerMarker::Shape::PointingUpOnBox, this);
    rightIndentMarker = new RulerMarker(RulerMarker::Shape::PointingUp, this);
    firstIndentMarker->move(0, 1);
    leftIndentMarker->move(0, 15);
    rightIndentMarker->move(0, 15);
    for (RulerMarker *marker : {firstIndentMarker, leftIndentMarker, rightIndentMarker}) {
        connect(marker, &RulerMarker::pressed, this, [this, marker](int x) { grabMarker(marker, x); });
        connect(marker, &RulerMarker::moved, this, [this, marker](int x) { dragMarker(marker, x); });
        connect(marker, &RulerMarker::released, this, [this, marker] { releaseMarker(marker); });
        marker->raise();
    }
}

QString EditorRuler::ticks()
{
    return QStringLiteral("\t|").repeated(100);
}

void EditorRuler::placeMarkers(const EditorDocument::Indents &indents)
{
    moveMarker(firstIndentMarker, pixelsFromPoints(indents.first) - 4 + Gutter);
    moveMarker(leftIndentMarker, pixelsFromPoints(indents.left + indents.first) - 4 + Gutter);
    // The gutter goes onto the right indent in points before scaling.
    moveMarker(rightIndentMarker, width() - Gutter - pixelsFromPoints(indents.right + Gutter));
}

int EditorRuler::firstIndentAtMarker() const
{
    const int first = pointsFromPixels(firstIndentMarker->x() + m_grab - Gutter);
    return first < 0 ? 0 : first;
}

int EditorRuler::leftIndentAtMarker(int first) const
{
    return pointsFromPixels(leftIndentMarker->x() + m_grab - Gutter) - first;
}

int EditorRuler::rightIndentAtMarker() const
{
    return pointsFromPixels(width() - rightIndentMarker->x() + m_grab - 2) - 12;
}

void EditorRuler::grabMarker(RulerMarker *marker, int x)
{
    m_grab = marker->width() / 2;
    moveMarker(marker, marker->x() + x - m_grab);
    m_dragging = true;
}

void EditorRuler::dragMarker(RulerMarker *marker, int x)
{
    if (!m_dragging)
        return;
    const int left = marker->x() + x - m_grab;
    moveMarker(marker, left > 0 ? left : 0);
}

void EditorRuler::releaseMarker(RulerMarker *marker)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (marker == firstIndentMarker)
        Q_EMIT firstIndentReleased();
    else if (marker == leftIndentMarker)
        Q_EMIT leftIndentReleased();
    else
        Q_EMIT rightIndentReleased();
}

void EditorRuler::moveMarker(RulerMarker *marker, int left)
{
    marker->move(left, marker->y());
}

void EditorRuler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // The ticks: a bar at every tab stop of the ruler's font.
    p.setFont(m_font);
    p.setPen(Qt::black);
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(8 * p.fontMetrics().averageCharWidth());
    p.drawText(QRectF(rect()), m_ticks, option);
    // An etched line along the bottom edge.
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, height() - 2, width() - 1, height() - 2);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
}

void EditorRuler::resizeEvent(QResizeEvent *)
{
    stretchScaleLine();
    Q_EMIT resized();
}

void EditorRuler::stretchScaleLine()
{
    scaleLine->setGeometry(scaleLine->x(), scaleLine->y(), width() - 2 * scaleLine->x(), scaleLine->height());
}
