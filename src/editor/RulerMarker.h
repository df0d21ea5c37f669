#pragma once

#include <QWidget>

// One of the ruler's three indent markers: a small picture that the user
// drags along the ruler.  It hands its mouse events to the ruler.
class RulerMarker : public QWidget
{
    Q_OBJECT

public:
    enum class Shape {
        PointingDown,    // the first line's indent, above the bar
        PointingUpOnBox, // the following lines' indent, below the bar
        PointingUp,      // the right indent, below the bar
    };

    RulerMarker(Shape shape, QWidget *parent);

    Shape shape() const { return m_shape; }
    // The marker's picture, transparent around the shape.
    static QPixmap picture(Shape shape);

Q_SIGNALS:
    // x: the mouse position inside the marker.
    void pressed(int x);
    void moved(int x);
    void released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Shape m_shape;
};
