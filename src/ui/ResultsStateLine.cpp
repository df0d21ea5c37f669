#include "ui/ResultsStateLine.h"

ResultsStateLine::ResultsStateLine(QWidget *parent) : QLabel(parent)
{
    showState(CalcSession::Tone::Neutral, QString());
}

void ResultsStateLine::showState(CalcSession::Tone tone, const QString &text)
{
    QColor background(236, 236, 236);
    QColor foreground(64, 64, 64);
    switch (tone) {
    case CalcSession::Tone::Holds:
        background = QColor(221, 242, 221);
        foreground = QColor(0, 90, 0);
        break;
    case CalcSession::Tone::Fails:
        background = QColor(250, 219, 216);
        foreground = QColor(150, 0, 0);
        break;
    case CalcSession::Tone::Outdated:
        background = QColor(255, 243, 205);
        foreground = QColor(120, 80, 0);
        break;
    case CalcSession::Tone::Neutral:
        break;
    }
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, foreground);
    setPalette(colours);
    setText(text);
}
