#include "editor/EditorIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

using Picture = EditorIcons::Picture;

const QColor kOutline(70, 70, 70);
const QColor kPaper(255, 255, 255);
const QColor kBlue(38, 96, 170);
const QColor kText(40, 40, 40);

// The freedesktop names of the pictures.
const char *themeName(Picture picture)
{
    switch (picture) {
    case Picture::New:
        return "document-new";
    case Picture::Open:
        return "document-open";
    case Picture::Save:
        return "document-save";
    case Picture::Print:
        return "document-print";
    case Picture::Preview:
        return "document-print-preview";
    case Picture::Pdf:
        return "application-pdf";
    case Picture::Undo:
        return "edit-undo";
    case Picture::Redo:
        return "edit-redo";
    case Picture::Cut:
        return "edit-cut";
    case Picture::Copy:
        return "edit-copy";
    case Picture::Paste:
        return "edit-paste";
    case Picture::Bold:
        return "format-text-bold";
    case Picture::Italic:
        return "format-text-italic";
    case Picture::Underline:
        return "format-text-underline";
    case Picture::AlignLeft:
        return "format-justify-left";
    case Picture::AlignCenter:
        return "format-justify-center";
    case Picture::AlignRight:
        return "format-justify-right";
    case Picture::Bullets:
        return "format-list-unordered";
    }
    return "";
}

// A sheet of paper with a folded corner.
void page(QPainter &p, const QRectF &r)
{
    const qreal fold = r.width() * 0.35;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                              QPointF(r.right(), r.top() + fold)}));
}

// Lines of text, each of the given width share, aligned as asked.
void textLines(QPainter &p, qreal top, const QList<qreal> &shares, Qt::Alignment alignment, qreal left = 1.5,
               qreal right = 14.5)
{
    p.setPen(QPen(kText, 1.4, Qt::SolidLine, Qt::FlatCap));
    qreal y = top;
    const qreal full = right - left;
    for (const qreal share : shares) {
        const qreal length = full * share;
        qreal x = left;
        if (alignment & Qt::AlignHCenter)
            x = left + (full - length) / 2;
        else if (alignment & Qt::AlignRight)
            x = right - length;
        p.drawLine(QPointF(x, y), QPointF(x + length, y));
        y += 3;
    }
}

void letter(QPainter &p, const QString &text, bool bold, bool italic, bool underline)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(13);
    font.setBold(bold);
    font.setItalic(italic);
    p.setFont(font);
    p.setPen(kText);
    p.drawText(QRectF(0, -1, 16, 15), Qt::AlignCenter, text);
    if (underline) {
        p.setPen(QPen(kBlue, 1.4));
        p.drawLine(QPointF(3, 14.5), QPointF(13, 14.5));
    }
}

void draw(QPainter &p, Picture picture)
{
    switch (picture) {
    case Picture::New:
        page(p, QRectF(3.5, 1.5, 9, 13));
        break;
    case Picture::Open: {
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(232, 190, 80));
        p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(13.5, 5),
                                 QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
        p.setBrush(QColor(250, 214, 110));
        p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
        break;
    }
    case Picture::Save:
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(200, 210, 225));
        p.drawRect(QRectF(4, 9.5, 8, 5));
        p.fillRect(QRectF(9, 2.5, 1.5, 3), kOutline);
        break;
    case Picture::Print:
        page(p, QRectF(4.5, 0.5, 7, 7));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(QRectF(0.5, 6.5, 15, 6), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 10.5, 9, 5));
        p.fillRect(QRectF(12, 8, 2, 1.5), QColor(60, 170, 60));
        break;
    case Picture::Preview:
        page(p, QRectF(1.5, 0.5, 10, 13));
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(QColor(210, 230, 250, 220));
        p.drawEllipse(QPointF(8.5, 8.5), 3.5, 3.5);
        p.setPen(QPen(kOutline, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11.2, 11.2), QPointF(14.5, 14.5));
        break;
    case Picture::Pdf: {
        page(p, QRectF(2.5, 0.5, 11, 15));
        p.fillRect(QRectF(0.5, 7, 13, 6), QColor(200, 40, 40));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(5);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0.5, 7, 13, 6), Qt::AlignCenter, QStringLiteral("PDF"));
        break;
    }
    case Picture::Undo:
    case Picture::Redo: {
        // Redo is the undo arrow turned the other way.
        if (picture == Picture::Redo) {
            p.translate(16, 0);
            p.scale(-1, 1);
        }
        QPainterPath arc;
        arc.moveTo(4, 6);
        arc.cubicTo(QPointF(9, 3), QPointF(15, 6), QPointF(12.5, 12.5));
        p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(1, 6.5), QPointF(6.5, 2), QPointF(7, 10)}));
        break;
    }
    case Picture::Cut:
        p.setPen(QPen(kOutline, 1.3));
        p.drawLine(QPointF(4, 1), QPointF(10.5, 10));
        p.drawLine(QPointF(12, 1), QPointF(5.5, 10));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(190, 40, 40), 1.6));
        p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
        break;
    case Picture::Copy:
        page(p, QRectF(1.5, 1.5, 8, 10));
        page(p, QRectF(6.5, 4.5, 8, 11));
        break;
    case Picture::Paste:
        p.setPen(QPen(kOutline, 1));
        p.setBrush(QColor(190, 140, 80));
        p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12.5), 1, 1);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4, 1, 5, 3));
        page(p, QRectF(7.5, 6.5, 7.5, 9));
        break;
    case Picture::Bold:
        letter(p, QStringLiteral("Ж"), true, false, false);
        break;
    case Picture::Italic:
        letter(p, QStringLiteral("К"), false, true, false);
        break;
    case Picture::Underline:
        letter(p, QStringLiteral("Ч"), false, false, true);
        break;
    case Picture::AlignLeft:
        textLines(p, 2.5, {1.0, 0.6, 1.0, 0.6, 0.8}, Qt::AlignLeft);
        break;
    case Picture::AlignCenter:
        textLines(p, 2.5, {1.0, 0.6, 1.0, 0.6, 0.8}, Qt::AlignHCenter);
        break;
    case Picture::AlignRight:
        textLines(p, 2.5, {1.0, 0.6, 1.0, 0.6, 0.8}, Qt::AlignRight);
        break;
    case Picture::Bullets:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(2.5, 3.5 + 4.5 * i), 1.6, 1.6);
        textLines(p, 3.5, {1.0}, Qt::AlignLeft, 6, 15);
        textLines(p, 8, {0.8}, Qt::AlignLeft, 6, 15);
        textLines(p, 12.5, {1.0}, Qt::AlignLeft, 6, 15);
        break;
    }
}

QPixmap render(Picture picture, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p, picture);
    return pixmap;
}

} // namespace

QIcon EditorIcons::drawn(Picture picture)
{
    QIcon icon;
    for (const int size : {16, 24, 32})
        icon.addPixmap(render(picture, size));
    return icon;
}

QIcon EditorIcons::icon(Picture picture)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName(picture)), drawn(picture));
}
