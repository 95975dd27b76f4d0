// Drawing main.bmp and image.bmp from the window's fixed layout.
#include "backgrounds.h"

#include <QLinearGradient>
#include <QPainter>

#include "layout.h"

namespace {

// Pure black is the transparent colour of the preview background; every other dark line avoids it.
const QColor kInk(0x22, 0x2A, 0x36);
const QColor kPanel(0xE6, 0xEB, 0xF2);
const QColor kPanelEdge(0x7B, 0x8A, 0x9F);
const QColor kWell(0x8A, 0x98, 0xAC);

QRect placeOf(int id) {
    for (const layout::Place& p : layout::kControls)
        if (p.id == id)
            return QRect(p.x, p.y, p.width, p.height);
    return QRect();
}

// Window base, title band, the picture frame and the right-hand panel shared by both modes.
void drawFrame(QPainter& p) {
    QLinearGradient base(0, 0, 0, layout::kWindowHeight);
    base.setColorAt(0, QColor(0xC4, 0xCF, 0xDD));
    base.setColorAt(1, QColor(0xA9, 0xB7, 0xC9));
    p.fillRect(0, 0, layout::kWindowWidth, layout::kWindowHeight, base);

    QLinearGradient band(0, 0, 0, 50);
    band.setColorAt(0, QColor(0xDA, 0xE3, 0xEE));
    band.setColorAt(1, QColor(0xA4, 0xB5, 0xCB));
    p.fillRect(0, 0, layout::kWindowWidth, 50, band);
    p.fillRect(0, 50, layout::kWindowWidth, 2, kPanelEdge);

    // Outer edge of the borderless window.
    p.setPen(QPen(QColor(0x4A, 0x58, 0x6C), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(1, 1, layout::kWindowWidth - 2, layout::kWindowHeight - 2);

    // Frame around the picture area.
    p.setPen(QPen(kInk, 3));
    p.drawRect(QRectF(46.5, 56.5, 757, 607));

    // Right-hand panel.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kPanelEdge, 1.5));
    p.setBrush(kPanel);
    p.drawRoundedRect(QRectF(815.5, 60.5, 196, 601), 8, 8);
    // Plate behind the Preview/Edit button.
    p.drawRoundedRect(QRectF(815.5, 666.5, 196, 79), 6, 6);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void drawWell(QPainter& p, const QRect& r, const QColor& fill) {
    p.setPen(QPen(kWell, 1));
    p.setBrush(fill);
    p.drawRect(r.adjusted(-2, -2, 1, 1));
}

void drawSeparator(QPainter& p, int y) {
    p.fillRect(825, y, 177, 1, kPanelEdge);
    p.fillRect(825, y + 1, 177, 1, QColor(0xFA, 0xFB, 0xFD));
}

// Thumbnail strip under the picture area and the status line.
void drawThumbStrip(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kPanelEdge, 1.5));
    p.setBrush(kPanel);
    p.drawRoundedRect(QRectF(45.5, 666.5, 765, 79), 6, 6);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < layout::kThumbCount; ++i) {
        const QRect slot(layout::kThumbLeft + layout::kThumbStep * i, layout::kThumbTop, layout::kThumbWidth,
                         layout::kThumbHeight);
        drawWell(p, slot, QColor(0x3A, 0x44, 0x52));
    }
}

void drawStatusLine(QPainter& p) {
    const QRect status = placeOf(IDC_STATIC_STATUS);
    p.fillRect(status.adjusted(-3, -1, 3, 1), QColor(0xD7, 0xDE, 0xE8));
}

} // namespace

QImage drawPreviewBackground() {
    QImage image(layout::kWindowWidth, layout::kWindowHeight, QImage::Format_RGB32);
    QPainter p(&image);
    drawFrame(p);
    p.fillRect(placeOf(IDC_STATIC_VIDEO), Qt::black);

    drawSeparator(p, 105);
    drawSeparator(p, 535);
    drawSeparator(p, 600);
    for (int id : {IDC_STATIC_RESOLUTION, IDC_BAR_BRIGHT, IDC_BAR_CONTRAST, IDC_BAR_SATURATION, IDC_BAR_SHARP,
                   IDC_BAR_GAMMA, IDC_BAR_EXPOSURE})
        drawWell(p, placeOf(id), QColor(0xC1, 0xC1, 0xC1));
    for (int id : {IDC_STATIC_BRIGHT_VALUE, IDC_STATIC_CONTRAST_VALUE, IDC_STATIC_SATURATION_VALUE,
                   IDC_STATIC_SHARP_VALUE, IDC_STATIC_GAMMA_VALUE, IDC_STATIC_EXPOSURE_VALUE})
        p.fillRect(placeOf(id), QColor(0xF7, 0xF9, 0xFC));

    drawThumbStrip(p);
    drawStatusLine(p);
    return image;
}

QImage drawEditBackground() {
    QImage image(layout::kWindowWidth, layout::kWindowHeight, QImage::Format_RGB32);
    QPainter p(&image);
    drawFrame(p);
    p.fillRect(placeOf(IDC_STATIC_EDIT_VIEW), QColor(0x1E, 0x23, 0x2A));

    drawSeparator(p, 150);
    drawSeparator(p, 375);
    drawSeparator(p, 455);
    drawSeparator(p, 600);
    p.fillRect(QRect(45, 667, 766, 78), QColor(0xD3, 0xDA, 0xE4));
    drawStatusLine(p);
    return image;
}
