#include "ui/ElidedLabel.h"

#include <QFontMetrics>
#include <QPainter>

ElidedLabel::ElidedLabel(QWidget *parent) : QFrame(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void ElidedLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setToolTip(text);
    update();
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(m_text, Qt::ElideRight, contentsRect().width());
}

QSize ElidedLabel::sizeHint() const
{
    const QMargins margins = contentsMargins();
    return QSize(fontMetrics().horizontalAdvance(m_text) + margins.left() + margins.right(),
                 fontMetrics().height() + margins.top() + margins.bottom());
}

QSize ElidedLabel::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void ElidedLabel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}
