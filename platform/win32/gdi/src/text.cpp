// TextOut, DrawText and GetTextExtentPoint32, with glyphs rasterised by Qt.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#include "canvas.h"
#include "font_map.h"
#include "handle_table.h"
#include "text_codec.h"

#include <win32/gdi_text.h>

using namespace platform::gdi;

namespace {

// The DC's font as Qt draws it, and the height of its text lines.
struct TextFont {
    QFont font;
    int lineHeight = 0;
};

// The DC and its font; false when the DC is stale or there is no Qt application to draw text with.
bool openText(HDC hdc, std::shared_ptr<DeviceContext>* dc, TextFont* font) {
    *dc = findDc(hdc);
    if (!*dc)
        return false;
    if (!QGuiApplication::instance()) {
        SetLastError(ERROR_NOT_READY);
        return false;
    }
    font->font = qtFont((*dc)->font->logFont);
    font->lineHeight = cellHeight((*dc)->font->logFont, QFontMetrics(font->font));
    return true;
}

// One line with its cell's top-left corner at (x, y): the cell filled in the background colour when the
// mode is opaque, then the glyph pixels in the text colour.
void drawLine(Canvas& canvas, const TextFont& font, const QString& text, int x, int y) {
    const QFontMetrics metrics(font.font);
    const int width = metrics.horizontalAdvance(text), height = font.lineHeight;
    if (width <= 0 || height <= 0)
        return;
    DeviceContext& dc = canvas.dc();
    if (dc.bkMode == OPAQUE) {
        const uint32_t back = canvas.value(dc.bkColor);
        for (int row = y; row < y + height; ++row)
            canvas.span(row, x, x + width, back, R2_COPYPEN);
    }
    // Glyphs may overhang their advance (italics): render with a margin.
    const int margin = height / 2;
    QImage glyphs(width + 2 * margin, height, QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter painter(&glyphs);
        painter.setFont(font.font);
        painter.setPen(Qt::white);
        painter.drawText(margin, metrics.ascent(), text);
    }
    const uint32_t ink = canvas.value(dc.textColor);
    for (int row = 0; row < glyphs.height(); ++row) {
        const auto* pixels = reinterpret_cast<const QRgb*>(glyphs.constScanLine(row));
        for (int column = 0; column < glyphs.width(); ++column)
            if (qAlpha(pixels[column]) >= 128)
                canvas.plot(x - margin + column, y + row, ink, R2_COPYPEN);
    }
}

// Drops mnemonic markers: "&x" shows x, "&&" shows "&".
QString withoutPrefixes(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        else if (text[i] == u'&')
            continue;
        out.append(text[i]);
    }
    return out;
}

} // namespace

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
    std::shared_ptr<DeviceContext> dc;
    TextFont font;
    if (!openText(hdc, &dc, &font))
        return FALSE;
    if (!text && count != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Canvas canvas(*dc);
    drawLine(canvas, font, decodeText(text, count), x, y);
    return TRUE;
}

int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
    std::shared_ptr<DeviceContext> dc;
    TextFont font;
    if (!openText(hdc, &dc, &font))
        return 0;
    if (!text || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    QString all = decodeText(text, count);
    if (!(format & DT_NOPREFIX))
        all = withoutPrefixes(all);
    const QStringList lines = (format & DT_SINGLELINE) ? QStringList{all} : all.split(QRegularExpression("\r?\n"));
    const QFontMetrics metrics(font.font);
    const int lineHeight = font.lineHeight;
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int height = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    int top = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_BOTTOM)
            top = rect->bottom - height;
        else if (format & DT_VCENTER)
            top = rect->top + (rect->bottom - rect->top - height) / 2;
    }
    Canvas canvas(*dc);
    if (!(format & DT_NOCLIP))
        canvas.restrict(*rect);
    for (int i = 0; i < lines.size(); ++i) {
        const int width = metrics.horizontalAdvance(lines[i]);
        int left = rect->left;
        if (format & DT_RIGHT)
            left = rect->right - width;
        else if (format & DT_CENTER)
            left = rect->left + (rect->right - rect->left - width) / 2;
        drawLine(canvas, font, lines[i], left, top + i * lineHeight);
    }
    // With vertical alignment the result reaches from the rectangle's top to the text's bottom.
    return (format & DT_SINGLELINE) && (format & (DT_BOTTOM | DT_VCENTER)) ? top - rect->top + height : height;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
    std::shared_ptr<DeviceContext> dc;
    TextFont font;
    if (!openText(hdc, &dc, &font))
        return FALSE;
    if ((!text && count != 0) || !size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    size->cx = QFontMetrics(font.font).horizontalAdvance(decodeText(text, count));
    size->cy = font.lineHeight;
    return TRUE;
}
