#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Up and down arrows beside a text box that holds a whole number: a click
// reads the number in the box, steps it within the range, writes it back and
// tells of the new number.
class StepArrows : public QWidget
{
    Q_OBJECT

public:
    StepArrows(QLineEdit *buddy, int minimum, int maximum, QWidget *parent = nullptr);

    int position() const { return m_position; }
    void setPosition(int position);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

    // One step up (+1) or down (-1).
    void step(int direction);

Q_SIGNALS:
    // A step wrote this number into the box.
    void stepped(int position);

private:
    QLineEdit *m_buddy;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_minimum;
    int m_maximum;
    int m_position;
};
