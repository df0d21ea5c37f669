#include "editor/RichEditControl.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

RichEditControl::RichEditControl(QWidget *parent) : QTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    // The margins beside the text are the page's colour.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void RichEditControl::setTextMargins(int left, int right)
{
    setViewportMargins(left, 0, right, 0);
}

QStringList RichEditControl::droppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

bool RichEditControl::canInsertFromMimeData(const QMimeData *source) const
{
    // Files are opened by the window, not pasted as their names.
    if (!droppedFiles(source).isEmpty())
        return false;
    return QTextEdit::canInsertFromMimeData(source);
}

void RichEditControl::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedFiles(event->mimeData()).isEmpty())
        QTextEdit::dragEnterEvent(event);
    else
        event->acceptProposedAction();
}

void RichEditControl::dragMoveEvent(QDragMoveEvent *event)
{
    if (droppedFiles(event->mimeData()).isEmpty())
        QTextEdit::dragMoveEvent(event);
    else
        event->acceptProposedAction();
}

void RichEditControl::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty()) {
        QTextEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    Q_EMIT filesDropped(files);
}
