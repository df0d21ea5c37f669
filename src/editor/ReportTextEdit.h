#pragma once

#include <QStringList>
#include <QTextEdit>

// The editor window's document control: a text edit whose text keeps off
// its left and right edges, and which hands dropped files to its window
// rather than pasting their names.
class ReportTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit ReportTextEdit(QWidget *parent = nullptr);

    // Keeps the text the given pixels off the control's left and right edges.
    void setTextMargins(int left, int right);
    QMargins textMargins() const { return viewportMargins(); }

    // The local files a drag carries, in order; empty for any other drag.
    static QStringList droppedFiles(const QMimeData *data);

Q_SIGNALS:
    void filesDropped(const QStringList &files);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
