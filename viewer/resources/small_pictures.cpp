// Drawing the small pictures: resolution plates (a dark gradient with the capture size), the icon and
// the drag cursor.
#include "small_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTransform>

QImage drawResolutionPicture(const QString& text) {
    QImage image(100, 20, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient face(0, 0, 0, 20);
    face.setColorAt(0, QColor(0x3F, 0x5A, 0x7E));
    face.setColorAt(1, QColor(0x22, 0x34, 0x4E));
    p.fillRect(image.rect(), face);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(0xF2, 0xF6, 0xFB));
    p.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

QImage drawProgramIcon() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(0x2F, 0x4A, 0x6E));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0xE8, 0xEE, 0xF6), 2));
    p.setBrush(QColor(0x15, 0x22, 0x33));
    p.drawEllipse(QPointF(16, 16), 11, 11);
    p.setBrush(QColor(0x5C, 0x9D, 0xE0));
    p.drawEllipse(QPointF(16, 16), 5, 5);
    return image;
}

QImage drawDragCursor() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // The outline of the arrow pointing up, up to the corner it shares with the next arm; turned four
    // times it goes round the whole figure.
    const QPolygonF upArm({{14, 8}, {10, 8}, {16, 2}, {22, 8}, {18, 8}, {18, 14}});
    QPolygonF outline;
    for (int quarter = 0; quarter < 4; ++quarter)
        outline += QTransform().translate(16, 16).rotate(90 * quarter).translate(-16, -16).map(upArm);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    return image;
}
