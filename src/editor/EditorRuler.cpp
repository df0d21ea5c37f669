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

    RulerLine = new QFrame(this);
    RulerLine->setFrameStyle(QFrame::Box | QFrame::Plain);
    RulerLine->setLineWidth(1);
    RulerLine->setAutoFillBackground(true);
    QPalette white = RulerLine->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, QColor(128, 128, 128));
    RulerLine->setPalette(white);
    RulerLine->setGeometry(0, 9, width(), 6);

    FirstInd = new RulerMarker(RulerMarker::Shape::PointingDown, this);
    LeftInd = new RulerMarker(RulerMarker::Shape::PointingUpOnBox, this);
    RightInd = new RulerMarker(RulerMarker::Shape::PointingUp, this);
    FirstInd->move(0, 1);
    LeftInd->move(0, 15);
    RightInd->move(0, 15);
    for (RulerMarker *marker : {FirstInd, LeftInd, RightInd}) {
        connect(marker, &RulerMarker::pressed, this, [this, marker](int x) { RulerItemMouseDown(marker, x); });
        connect(marker, &RulerMarker::moved, this, [this, marker](int x) { RulerItemMouseMove(marker, x); });
        connect(marker, &RulerMarker::released, this, [this, marker] { RulerItemMouseUp(marker); });
        marker->raise();
    }
}

QString EditorRuler::ticks()
{
    return QStringLiteral("\t|").repeated(100);
}

void EditorRuler::placeMarkers(const EditorDocument::Indents &indents)
{
    moveMarker(FirstInd, pixelsFromPoints(indents.first) - 4 + Gutter);
    moveMarker(LeftInd, pixelsFromPoints(indents.left + indents.first) - 4 + Gutter);
    // The gutter goes onto the right indent in points before scaling.
    moveMarker(RightInd, width() - Gutter - pixelsFromPoints(indents.right + Gutter));
}

int EditorRuler::firstIndentAtMarker() const
{
    const int first = pointsFromPixels(FirstInd->x() + m_grab - Gutter);
    return first < 0 ? 0 : first;
}

int EditorRuler::leftIndentAtMarker(int first) const
{
    return pointsFromPixels(LeftInd->x() + m_grab - Gutter) - first;
}

int EditorRuler::rightIndentAtMarker() const
{
    return pointsFromPixels(width() - RightInd->x() + m_grab - 2) - 12;
}

void EditorRuler::RulerItemMouseDown(RulerMarker *marker, int x)
{
    m_grab = marker->width() / 2;
    moveMarker(marker, marker->x() + x - m_grab);
    m_dragging = true;
}

void EditorRuler::RulerItemMouseMove(RulerMarker *marker, int x)
{
    if (!m_dragging)
        return;
    const int left = marker->x() + x - m_grab;
    moveMarker(marker, left > 0 ? left : 0);
}

void EditorRuler::RulerItemMouseUp(RulerMarker *marker)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    if (marker == FirstInd)
        Q_EMIT firstIndentReleased();
    else if (marker == LeftInd)
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
    RulerResize();
    Q_EMIT resized();
}

void EditorRuler::RulerResize()
{
    RulerLine->setGeometry(RulerLine->x(), RulerLine->y(), width() - 2 * RulerLine->x(), RulerLine->height());
}
