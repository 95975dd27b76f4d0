// Drawing the button strips: a rounded face per look with an icon or a short label.
#include "button_strips.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "resource.h"

namespace {

enum class Icon {
    Text,
    Plus,
    Minus,
    Close,
    Minimize,
    Full,
    Record,
    Recording,
    Play,
    Pause,
    Stop,
    Undo,
    Redo,
    Snap,
    Folder
};

struct StripSpec {
    int id;
    int width, height; // one frame
    Icon icon;
    const char* text; // label of Icon::Text
};

const StripSpec kStrips[] = {
    {IDB_PREVIEW_EDIT, 110, 60, Icon::Text, "EDIT"},
    {IDB_EDIT_PREVIEW, 110, 60, Icon::Text, "VIDEO"},
    {IDB_EXIT, 20, 20, Icon::Close, nullptr},
    {IDB_PLUS, 20, 20, Icon::Plus, nullptr},
    {IDB_MINUS, 20, 20, Icon::Minus, nullptr},
    {IDB_SETTING, 40, 40, Icon::Text, "Set"},
    {IDB_SNAP, 40, 40, Icon::Snap, nullptr},
    {IDB_RECORD, 40, 40, Icon::Record, nullptr},
    {IDB_RECORDING, 40, 40, Icon::Recording, nullptr},
    {IDB_FULLSCREEN, 20, 20, Icon::Full, nullptr},
    {IDB_EIGHT, 40, 40, Icon::Text, "Gray"},
    {IDB_EDGE, 40, 40, Icon::Text, "Edge"},
    {IDB_EMBOSS, 40, 40, Icon::Text, "Emb"},
    {IDB_NEGATIVE, 40, 40, Icon::Text, "Neg"},
    {IDB_THRESHOLD, 40, 40, Icon::Text, "Bin"},
    {IDB_UNDO, 25, 25, Icon::Undo, nullptr},
    {IDB_REDO, 25, 25, Icon::Redo, nullptr},
    {IDB_MINIMIZE, 20, 20, Icon::Minimize, nullptr},
    {IDB_TOOL, 40, 40, Icon::Text, "Tool"},
    {IDB_HIST_EQUALIZE, 50, 50, Icon::Text, "EHist"},
    {IDB_HIST_STRETCH, 50, 50, Icon::Text, "Hist"},
    {IDB_OPEN, 40, 40, Icon::Text, "Open"},
    {IDB_SAVE, 40, 40, Icon::Text, "Save"},
    {IDB_RESET, 40, 40, Icon::Text, "Reset"},
    {IDB_FIT, 40, 40, Icon::Text, "Fit"},
    {IDB_CLOSE_FILE, 30, 30, Icon::Close, nullptr},
    {IDB_LOAD_FILE, 30, 30, Icon::Folder, nullptr},
    {IDB_PAUSE, 30, 30, Icon::Pause, nullptr},
    {IDB_PLAY, 30, 30, Icon::Play, nullptr},
    {IDB_STOP, 30, 30, Icon::Stop, nullptr},
};

enum class Look { Normal, Hover, Pressed };

const QColor kIconInk(0x1C, 0x26, 0x34);

void drawFace(QPainter& p, const QRectF& r, Look look) {
    QLinearGradient face(r.topLeft(), r.bottomLeft());
    QColor edge;
    switch (look) {
    case Look::Normal:
        face.setColorAt(0, QColor(0xF7, 0xF9, 0xFB));
        face.setColorAt(1, QColor(0xC6, 0xCF, 0xDB));
        edge = QColor(0x5A, 0x68, 0x7C);
        break;
    case Look::Hover:
        face.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
        face.setColorAt(1, QColor(0xB9, 0xD7, 0xF7));
        edge = QColor(0x1F, 0x6F, 0xD6);
        break;
    case Look::Pressed:
        face.setColorAt(0, QColor(0x9C, 0xAB, 0xBF));
        face.setColorAt(1, QColor(0xC9, 0xD3, 0xDF));
        edge = QColor(0x2A, 0x35, 0x44);
        break;
    }
    const qreal radius = std::min(r.width(), r.height()) / 5.0;
    p.setPen(QPen(edge, look == Look::Hover ? 1.6 : 1.0));
    p.setBrush(face);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// A curved arrow over the top from the right to the left, its head pointing down (undo); mirrored for redo.
void drawArrow(QPainter& p, const QRectF& r, bool redo) {
    const qreal s = std::min(r.width(), r.height());
    const QPointF c = r.center() + QPointF(0, s * 0.08);
    const qreal radius = s * 0.26;
    p.save();
    if (redo) {
        p.translate(c.x() * 2, 0);
        p.scale(-1, 1);
    }
    QPainterPath arc;
    const QRectF circle(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
    arc.arcMoveTo(circle, -40);
    arc.arcTo(circle, -40, 210);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kIconInk, std::max(1.6, s / 11.0), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    const QPointF end(c.x() - radius, c.y() + radius * 0.05);
    QPainterPath head;
    head.moveTo(end + QPointF(0, radius * 0.75));
    head.lineTo(end + QPointF(-radius * 0.55, -radius * 0.05));
    head.lineTo(end + QPointF(radius * 0.55, -radius * 0.05));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kIconInk);
    p.drawPath(head);
    p.restore();
}

void drawIcon(QPainter& p, const QRectF& r, const StripSpec& strip) {
    const qreal s = std::min(r.width(), r.height());
    const QPointF c = r.center();
    const qreal line = std::max(1.6, s / 9.0);
    p.setPen(QPen(kIconInk, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal a = s * 0.27; // half extent of the simple glyphs
    switch (strip.icon) {
    case Icon::Plus:
        p.drawLine(QPointF(c.x() - a, c.y()), QPointF(c.x() + a, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - a), QPointF(c.x(), c.y() + a));
        break;
    case Icon::Minus:
        p.drawLine(QPointF(c.x() - a, c.y()), QPointF(c.x() + a, c.y()));
        break;
    case Icon::Close:
        p.setPen(QPen(QColor(0xB0, 0x1E, 0x1E), line, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() - a * 0.8, c.y() - a * 0.8), QPointF(c.x() + a * 0.8, c.y() + a * 0.8));
        p.drawLine(QPointF(c.x() + a * 0.8, c.y() - a * 0.8), QPointF(c.x() - a * 0.8, c.y() + a * 0.8));
        break;
    case Icon::Minimize:
        p.drawLine(QPointF(c.x() - a, c.y() + a * 0.7), QPointF(c.x() + a, c.y() + a * 0.7));
        break;
    case Icon::Full:
        p.setPen(QPen(kIconInk, std::max(1.2, line * 0.7)));
        p.drawRect(QRectF(c.x() - a, c.y() - a * 0.75, 2 * a, 1.5 * a));
        break;
    case Icon::Record:
        p.setPen(QPen(QColor(0x7A, 0x10, 0x10), 1));
        p.setBrush(QColor(0xD9, 0x25, 0x25));
        p.drawEllipse(c, s * 0.24, s * 0.24);
        break;
    case Icon::Recording:
        p.setPen(QPen(QColor(0x7A, 0x10, 0x10), 1));
        p.setBrush(QColor(0xD9, 0x25, 0x25));
        p.drawRect(QRectF(c.x() - s * 0.2, c.y() - s * 0.2, s * 0.4, s * 0.4));
        break;
    case Icon::Play: {
        QPainterPath tri;
        tri.moveTo(c.x() - a * 0.7, c.y() - a);
        tri.lineTo(c.x() + a, c.y());
        tri.lineTo(c.x() - a * 0.7, c.y() + a);
        tri.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1D, 0x7A, 0x2E));
        p.drawPath(tri);
        break;
    }
    case Icon::Pause:
        p.setPen(Qt::NoPen);
        p.setBrush(kIconInk);
        p.drawRect(QRectF(c.x() - a * 0.8, c.y() - a, a * 0.55, 2 * a));
        p.drawRect(QRectF(c.x() + a * 0.25, c.y() - a, a * 0.55, 2 * a));
        break;
    case Icon::Stop:
        p.setPen(Qt::NoPen);
        p.setBrush(kIconInk);
        p.drawRect(QRectF(c.x() - a * 0.8, c.y() - a * 0.8, 1.6 * a, 1.6 * a));
        break;
    case Icon::Undo:
    case Icon::Redo:
        drawArrow(p, r, strip.icon == Icon::Redo);
        break;
    case Icon::Snap:
        // A camera body with its lens and shutter button.
        p.setPen(QPen(kIconInk, 1.5));
        p.setBrush(QColor(0x3B, 0x4A, 0x5E));
        p.drawRoundedRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.16, s * 0.6, s * 0.4), 3, 3);
        p.drawRect(QRectF(c.x() - s * 0.1, c.y() - s * 0.25, s * 0.2, s * 0.09));
        p.setBrush(QColor(0xDD, 0xE8, 0xF5));
        p.drawEllipse(QPointF(c.x(), c.y() + s * 0.04), s * 0.12, s * 0.12);
        break;
    case Icon::Folder: {
        // A file folder with its tab at the top left.
        const QRectF body(c.x() - s * 0.3, c.y() - s * 0.14, s * 0.6, s * 0.4);
        QPainterPath folder;
        folder.moveTo(body.left(), body.top());
        folder.lineTo(body.left(), body.top() - s * 0.1);
        folder.lineTo(body.left() + s * 0.22, body.top() - s * 0.1);
        folder.lineTo(body.left() + s * 0.28, body.top());
        folder.closeSubpath();
        folder.addRect(body);
        p.setPen(QPen(QColor(0x7A, 0x55, 0x0E), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0xE8, 0xB0, 0x3A));
        p.drawPath(folder.simplified());
        break;
    }
    case Icon::Text: {
        QFont font("DejaVu Sans");
        font.setBold(true);
        font.setPixelSize(r.height() >= 60 ? 18 : r.width() >= 50 ? 12 : r.width() >= 40 ? 11 : 9);
        p.setFont(font);
        p.setPen(kIconInk);
        p.drawText(r, Qt::AlignCenter, QString::fromLatin1(strip.text));
        break;
    }
    }
}

QImage drawStrip(const StripSpec& strip) {
    QImage image(strip.width * 3, strip.height, QImage::Format_RGB32);
    // The corners outside the rounded face take the panel colour behind the buttons.
    image.fill(QColor(0xE6, 0xEB, 0xF2));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const Look looks[] = {Look::Normal, Look::Hover, Look::Pressed};
    for (int i = 0; i < 3; ++i) {
        const QRectF frame(strip.width * i, 0, strip.width, strip.height);
        drawFace(p, frame, looks[i]);
        // The pressed look moves its content down and right by one pixel.
        const QRectF content = looks[i] == Look::Pressed ? frame.translated(1, 1) : frame;
        drawIcon(p, content, strip);
    }
    return image;
}

} // namespace

std::vector<ButtonStrip> drawButtonStrips() {
    std::vector<ButtonStrip> strips;
    for (const StripSpec& strip : kStrips)
        strips.push_back({strip.id, drawStrip(strip)});
    return strips;
}
