// The meeting point of windows and GDI: a window's backing image and the device contexts drawn on it.
// Platform-internal (Qt types); system code never includes it.
#pragma once

#include <QImage>
#include <functional>
#include <mutex>

#include <win32/types.h>

namespace platform::gdi {

// The backing image of one window, owned by the window (user side). Painting shows `image`.
struct WindowSurface {
    std::mutex lock;    // guards image: every GDI call through a window DC holds it while it draws
    QImage image;       // QImage::Format_RGB32, the window's client size; resized by the window's owner
    // Called after drawing with the touched client rectangle; any thread, never blocks (schedules a repaint).
    std::function<void(const RECT&)> onDrawn;
};

// A DC that draws on `surface` (GetDC, BeginPaint): coordinates are client coordinates, `clip` (client
// coordinates) bounds all drawing. Any thread; the window keeps the surface alive until the DC is released.
HDC CreateWindowSurfaceDC(WindowSurface* surface, const RECT& clip);

// Ends such a DC (ReleaseDC, EndPaint); reports what it drew through onDrawn. Returns FALSE for a DC that is
// not a window DC.
BOOL ReleaseWindowSurfaceDC(HDC dc);

} // namespace platform::gdi
