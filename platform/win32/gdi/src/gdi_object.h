// The objects behind GDI handles: pens, brushes, fonts, bitmaps and device contexts.
#pragma once

#include <memory>
#include <vector>

#include <win32/dib.h>
#include <win32/gdi_dc.h>
#include <win32/gdi_objects.h>
#include <win32/types.h>
#include <win32/window_surface.h>

namespace platform::gdi {

enum class ObjectKind { Pen, Brush, Font, Bitmap, Dc };

// Base of every handle-table entry. `selections` counts the DCs the object is selected into; it and
// Bitmap::selectedIn are guarded by the handle table's mutex.
struct GdiObject {
    explicit GdiObject(ObjectKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    const ObjectKind kind;
    HGDIOBJ handle = nullptr;
    bool stock = false;
    int selections = 0;
};

struct Pen : GdiObject {
    Pen(int s, int w, COLORREF c) : GdiObject(ObjectKind::Pen), style(s), width(w), color(c & 0xFFFFFFu) {}
    const int style;
    const int width;
    const COLORREF color;
};

struct Brush : GdiObject {
    Brush(bool h, COLORREF c) : GdiObject(ObjectKind::Brush), hollow(h), color(c & 0xFFFFFFu) {}
    const bool hollow;
    const COLORREF color;
};

// The Qt font is made when text is drawn (font_map.h), where the Qt application exists.
struct Font : GdiObject {
    explicit Font(const LOGFONTA& l) : GdiObject(ObjectKind::Font), logFont(l) {}
    const LOGFONTA logFont;
};

// Pixels in DIB layout: rows padded to four bytes, top-down or bottom-up; 1 to 8 bits index `colors`.
// Device-dependent bitmaps are top-down, 32-bit colour or 1-bit with the colours black and white.
struct Bitmap : GdiObject {
    Bitmap() : GdiObject(ObjectKind::Bitmap) {}
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    LONG stride = 0;
    bool bottomUp = false;
    bool dibSection = false;
    std::vector<RGBQUAD> colors;
    std::vector<BYTE> pixels;
    HDC selectedIn = nullptr;
};

// Drawing state of a DC. A memory DC draws on `bitmap`; a window DC on `surface` within `surfaceClip`.
// The selected objects stay alive through these pointers even while another thread deletes handles.
struct DeviceContext : GdiObject {
    DeviceContext() : GdiObject(ObjectKind::Dc) {}
    std::shared_ptr<Pen> pen;
    std::shared_ptr<Brush> brush;
    std::shared_ptr<Font> font;
    std::shared_ptr<Bitmap> bitmap;
    WindowSurface* surface = nullptr;
    RECT surfaceClip{0, 0, 0, 0};
    RECT drawn{0, 0, 0, 0}; // union of what a window DC touched; empty when left >= right
    int bkMode = OPAQUE;
    COLORREF bkColor = 0xFFFFFFu;
    COLORREF textColor = 0;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    POINT position{0, 0};
};

} // namespace platform::gdi
