#pragma once

#include "richtext/EditorDocument.h"

#include <QWidget>

class QFrame;
class RulerMarker;

// The strip between the toolbars and the document: a white bar, ticks and
// three markers that show the indents of the paragraph at the caret.  The
// markers move with the mouse; what a released marker means for the
// paragraph is the editor window's business.
//
// Scale: 5/3 pixel per point, applied exactly and truncated toward zero.
// The document's text starts Gutter pixels inside its control.
class EditorRuler : public QWidget
{
    Q_OBJECT

public:
    explicit EditorRuler(QWidget *parent = nullptr);

    static constexpr int Height = 31;
    static constexpr int Gutter = 6;

    QFrame *scaleLine = nullptr;
    RulerMarker *firstIndentMarker = nullptr;
    RulerMarker *leftIndentMarker = nullptr;
    RulerMarker *rightIndentMarker = nullptr;

    // Places the markers for a paragraph's indents.
    void placeMarkers(const EditorDocument::Indents &indents);

    // The indents that the markers stand for where they are now.  The first
    // indent is never negative; left is counted from the given first indent.
    int firstIndentAtMarker() const;
    int leftIndentAtMarker(int first) const;
    int rightIndentAtMarker() const;

    // Half the width of the marker last grabbed.
    int grabOffset() const { return m_grab; }
    bool isDragging() const { return m_dragging; }

    // The marker handlers; x is the mouse position inside the marker.
    void grabMarker(RulerMarker *marker, int x);
    void dragMarker(RulerMarker *marker, int x);
    void releaseMarker(RulerMarker *marker);

    static int pixelsFromPoints(int points) { return points * 5 / 3; }
    static int pointsFromPixels(int pixels) { return pixels * 3 / 5; }

    // The ticks: 100 pairs of a tab and a bar.
    static QString ticks();

Q_SIGNALS:
    void firstIndentReleased();
    void leftIndentReleased();
    void rightIndentReleased();
    // The width changed: the right marker wants placing anew.
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void stretchScaleLine();
    void moveMarker(RulerMarker *marker, int left);

    QFont m_font;
    QString m_ticks;
    int m_grab = 0;
    bool m_dragging = false;
};
