// Opening a DC's pixels for drawing: bitmaps, window surfaces and their locks.
#include "canvas.h"

#include <algorithm>

#include "rop.h"

namespace platform::gdi {
namespace {

PixelView surfaceView(WindowSurface& surface) {
    PixelView view;
    QImage& image = surface.image;
    if (image.isNull() || image.format() != QImage::Format_RGB32)
        return view;
    view.bits = image.bits();
    view.width = image.width();
    view.height = image.height();
    view.stride = static_cast<LONG>(image.bytesPerLine());
    view.bitsPerPixel = 32;
    return view;
}

PixelView openView(DeviceContext& dc) {
    if (dc.surface)
        return surfaceView(*dc.surface);
    return viewOf(*dc.bitmap);
}

} // namespace

bool rectEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT intersectRect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

RECT unionRect(const RECT& a, const RECT& b) {
    if (rectEmpty(a))
        return b;
    if (rectEmpty(b))
        return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

Canvas::Canvas(DeviceContext& dc, DeviceContext* source) : dc_(dc) {
    std::mutex* own = dc.surface ? &dc.surface->lock : nullptr;
    std::mutex* other = source && source->surface ? &source->surface->lock : nullptr;
    if (own && other && own != other) {
        std::lock(*own, *other);
        lock_ = std::unique_lock(*own, std::adopt_lock);
        sourceLock_ = std::unique_lock(*other, std::adopt_lock);
    } else {
        if (own)
            lock_ = std::unique_lock(*own);
        else if (other)
            sourceLock_ = std::unique_lock(*other);
    }
    view_ = openView(dc);
    if (source)
        source_ = openView(*source);
    clip_ = RECT{0, 0, view_.width, view_.height};
    if (dc.surface)
        clip_ = intersectRect(clip_, dc.surfaceClip);
    opaque_ = dc.surface ? 0xFF000000u : 0u;
}

Canvas::~Canvas() {
    if (dc_.surface)
        dc_.drawn = unionRect(dc_.drawn, touched_);
}

uint32_t Canvas::value(COLORREF color) const {
    return pixelValue(view_, color) | (view_.bitsPerPixel == 32 ? opaque_ : 0u);
}

void Canvas::touch(const RECT& r) { touched_ = unionRect(touched_, r); }

void Canvas::span(int y, int x0, int x1, uint32_t value, int rop2) {
    if (y < clip_.top || y >= clip_.bottom)
        return;
    x0 = std::max(x0, static_cast<int>(clip_.left));
    x1 = std::min(x1, static_cast<int>(clip_.right));
    if (x0 >= x1)
        return;
    BYTE* row = view_.row(y);
    const int bits = view_.bitsPerPixel;
    const uint32_t mask = view_.valueMask();
    if (rop2 == R2_COPYPEN && bits == 32) {
        std::fill(reinterpret_cast<uint32_t*>(row) + x0, reinterpret_cast<uint32_t*>(row) + x1, value);
    } else if (rop2 == R2_COPYPEN) {
        for (int x = x0; x < x1; ++x)
            writePixel(row, x, bits, value);
    } else {
        const uint32_t extra = bits == 32 ? opaque_ : 0u;
        for (int x = x0; x < x1; ++x)
            writePixel(row, x, bits, (applyRop2(rop2, value, readPixel(row, x, bits)) & mask) | extra);
    }
    touch(RECT{x0, y, x1, y + 1});
}

} // namespace platform::gdi
