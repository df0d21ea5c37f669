#pragma once

#include <QFrame>
#include <QString>

// A one-line label that never widens its window: a text longer than the
// room it has ends in "…", and the whole text is in its tooltip.
class ElidedLabel : public QFrame
{
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    const QString &text() const { return m_text; }
    void setText(const QString &text);
    // The text as it is drawn now.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
