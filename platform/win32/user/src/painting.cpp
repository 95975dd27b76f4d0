// InvalidateRect, ValidateRect, UpdateWindow, BeginPaint/EndPaint and window DCs on the backing images.
#include "painting.h"

#include <QPainter>
#include <mutex>
#include <unordered_map>

#include <win32/user.h>

#include "gui_thread.h"
#include "message_queue.h"
#include "window_class.h"
#include "window_widget.h"

namespace platform::user {
namespace {

QRect toQRect(const RECT& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

RECT toRect(const QRect& r) {
    return r.isEmpty() ? RECT{0, 0, 0, 0} : RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

QRect clientRect(const Window& window) {
    std::lock_guard guard(window.surface->lock);
    return QRect(QPoint(0, 0), window.surface->image.size());
}

// Window DCs not yet released; each keeps its image alive, also past the window.
struct OpenDC {
    HWND hwnd;
    std::shared_ptr<gdi::WindowSurface> surface;
};
std::mutex openLock; // guards openDCs
std::unordered_map<HDC, OpenDC> openDCs;

HDC openDC(const Window& window, const QRect& clip) {
    HDC dc = gdi::CreateWindowSurfaceDC(window.surface.get(), toRect(clip));
    if (dc) {
        std::lock_guard guard(openLock);
        openDCs[dc] = OpenDC{window.hwnd, window.surface};
    }
    return dc;
}

BOOL closeDC(HWND hwnd, HDC dc) {
    std::shared_ptr<gdi::WindowSurface> keep;
    {
        std::lock_guard guard(openLock);
        auto it = openDCs.find(dc);
        if (it == openDCs.end() || it->second.hwnd != hwnd)
            return FALSE;
        keep = std::move(it->second.surface);
        openDCs.erase(it);
    }
    return gdi::ReleaseWindowSurfaceDC(dc);
}

// Without WS_CLIPCHILDREN the parent paints under its children first: the child starts from those pixels,
// so what the child leaves unpainted shows the parent, as on a shared screen.
void copyParentPixels(const Window& window, const QRect& area) {
    WindowPtr parent = findWindow(window.parent);
    if (!parent || (parent->style & WS_CLIPCHILDREN) || !window.widget || area.isEmpty())
        return;
    const QPoint origin = window.widget->pos();
    {
        std::lock_guard parentGuard(parent->surface->lock);
        std::lock_guard guard(window.surface->lock);
        QPainter painter(&window.surface->image);
        painter.drawImage(area.topLeft(), parent->surface->image, area.translated(origin));
    }
    // The whole area is shown again, not only what the child then draws over it.
    postRepaint(window.hwnd, area);
}

bool paintDue(const Window& window, HWND filter, MSG* out) {
    if (!window.update.isEmpty() && windowMatches(window.hwnd, filter)) {
        *out = MSG{window.hwnd, WM_PAINT, 0, 0, messageTime(), {}, 0};
        return true;
    }
    for (HWND child : window.children) {
        WindowPtr c = findWindow(child);
        if (c && paintDue(*c, filter, out))
            return true;
    }
    return false;
}

} // namespace

void invalidate(Window& window, const QRegion& region, bool erase, bool allChildren) {
    const QRegion area = region & clientRect(window);
    if (area.isEmpty() || !isShown(window))
        return;
    window.update += area;
    window.erasePending = window.erasePending || erase;
    wakeGuiThread();
    if ((window.style & WS_CLIPCHILDREN) && !allChildren)
        return;
    for (HWND child : window.children) {
        WindowPtr c = findWindow(child);
        if (c && c->widget)
            invalidate(*c, area.translated(-c->widget->pos()), erase, allChildren);
    }
}

bool findPaintMessage(MSG* out, HWND filter, UINT min, UINT max) {
    if (!numberMatches(WM_PAINT, min, max))
        return false;
    for (HWND top : topLevelWindows()) {
        WindowPtr window = findWindow(top);
        if (window && paintDue(*window, filter, out))
            return true;
    }
    return false;
}

std::shared_ptr<gdi::WindowSurface> makeSurface(HWND hwnd, QSize size) {
    auto surface = std::make_shared<gdi::WindowSurface>();
    surface->image = QImage(size, QImage::Format_RGB32);
    surface->image.fill(Qt::white);
    surface->onDrawn = [hwnd](const RECT& r) { postRepaint(hwnd, toQRect(r)); };
    return surface;
}

void windowResized(HWND hwnd) {
    WindowPtr window = findWindow(hwnd);
    if (!window || !window->widget)
        return;
    const QSize size = window->widget->size();
    QRegion exposed;
    {
        std::lock_guard guard(window->surface->lock);
        QImage& image = window->surface->image;
        if (image.size() == size)
            return;
        QImage next(size, QImage::Format_RGB32);
        next.fill(Qt::white);
        QPainter(&next).drawImage(0, 0, image);
        exposed = QRegion(QRect(QPoint(0, 0), size)) - QRect(QPoint(0, 0), image.size());
        image.swap(next);
    }
    window->update &= QRect(QPoint(0, 0), size);
    const bool redrawAll = (window->cls->style & (CS_HREDRAW | CS_VREDRAW)) != 0;
    invalidate(*window, redrawAll ? QRegion(QRect(QPoint(0, 0), size)) : exposed, true, false);
    const WPARAM kind = (window->style & WS_MAXIMIZE)   ? SIZE_MAXIMIZED
                        : (window->style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                        : SIZE_RESTORED;
    SendMessage(hwnd, WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
}

} // namespace platform::user

using namespace platform::user;

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    if (!hWnd) {
        for (HWND top : topLevelWindows())
            InvalidateRect(top, nullptr, bErase);
        return TRUE;
    }
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return FALSE;
    invalidate(*window, lpRect ? QRegion(toQRect(*lpRect)) : QRegion(clientRect(*window)), bErase != FALSE,
               false);
    return TRUE;
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return FALSE;
    if (lpRect)
        window->update -= toQRect(*lpRect);
    else
        window->update = QRegion();
    if (window->update.isEmpty())
        window->erasePending = false;
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return FALSE;
    if (!window->update.isEmpty())
        SendMessage(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window || !lpPaint)
        return nullptr;
    const QRect area = window->update.boundingRect();
    const bool erase = window->erasePending;
    window->update = QRegion();
    window->erasePending = false;
    if (!window->drawnOutsidePaint.exchange(false))
        copyParentPixels(*window, area);
    HDC dc = openDC(*window, area);
    *lpPaint = PAINTSTRUCT{dc, FALSE, toRect(area), FALSE, FALSE, {}};
    if (dc && erase)
        lpPaint->fErase = SendMessage(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    return lpPaint ? closeDC(hWnd, lpPaint->hdc) : FALSE;
}

HDC GetDC(HWND hWnd) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return nullptr;
    window->drawnOutsidePaint = true;
    return openDC(*window, clientRect(*window));
}

HDC GetWindowDC(HWND hWnd) {
    return GetDC(hWnd);
}

int ReleaseDC(HWND hWnd, HDC hDC) {
    return closeDC(hWnd, hDC) ? 1 : 0;
}
