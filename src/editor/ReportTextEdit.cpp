#include "editor/ReportTextEdit.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

ReportTextEdit::ReportTextEdit(QWidget *parent) : QTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    // The margins beside the text are the page's colour.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void ReportTextEdit::setTextMargins(int left, int right)
{
    setViewportMargins(left, 0, right, 0);
}

QStringList ReportTextEdit::droppedFiles(const QMimeData *data)
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

bool ReportTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    // Files are opened by the window, not pasted as their names.
    if (!droppedFiles(source).isEmpty())
        return false;
    return QTextEdit::canInsertFromMimeData(source);
}

void ReportTextEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedFiles(event->mimeData()).isEmpty())
        QTextEdit::dragEnterEvent(event);
    else
        event->acceptProposedAction();
}

void ReportTextEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (droppedFiles(event->mimeData()).isEmpty())
        QTextEdit::dragMoveEvent(event);
    else
        event->acceptProposedAction();
}

void ReportTextEdit::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty()) {
        QTextEdit::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    Q_EMIT filesDropped(files);
}
