#include "editor/StepArrows.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QToolButton *arrowButton(Qt::ArrowType arrow, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedWidth(16);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button->setIconSize(QSize(7, 7));
    return button;
}

} // namespace

StepArrows::StepArrows(QLineEdit *buddy, int minimum, int maximum, QWidget *parent)
    : QWidget(parent), m_buddy(buddy), m_up(arrowButton(Qt::UpArrow, this)), m_down(arrowButton(Qt::DownArrow, this)),
      m_minimum(minimum), m_maximum(maximum), m_position(minimum)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_up);
    column->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
}

void StepArrows::setPosition(int position)
{
    m_position = std::clamp(position, m_minimum, m_maximum);
    m_buddy->setText(QString::number(m_position));
}

void StepArrows::step(int direction)
{
    // The number in the box counts, so that a size typed there steps on.
    bool ok = false;
    const int typed = m_buddy->text().trimmed().toInt(&ok);
    setPosition((ok ? typed : m_position) + direction);
    Q_EMIT stepped(m_position);
}
