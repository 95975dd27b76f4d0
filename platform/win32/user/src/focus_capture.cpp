// SetFocus, GetFocus, SetCapture, ReleaseCapture and GetCapture.
#include "focus_capture.h"

#include <win32/user.h>

#include "window.h"
#include "window_widget.h"

namespace platform::user {
namespace {

HWND focusWindow{};
HWND captureWindow{};

} // namespace

HWND moveFocus(HWND hwnd) {
    const HWND old = focusWindow;
    if (old == hwnd)
        return old;
    focusWindow = hwnd;
    if (WindowPtr top = findWindow(topLevelOf(hwnd)))
        top->lastFocus = hwnd;
    if (old && IsWindow(old))
        SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && focusWindow == hwnd)
        SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

namespace {

bool inside(HWND hwnd, HWND ancestor) {
    for (WindowPtr w = findWindow(hwnd); w; w = findWindow(w->parent)) {
        if (w->hwnd == ancestor)
            return true;
    }
    return false;
}

} // namespace

bool focusInside(HWND hwnd) {
    return inside(focusWindow, hwnd);
}

namespace {

bool canTakeFocus(HWND hwnd) {
    return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd);
}

} // namespace

void activateTopLevel(HWND top) {
    WindowPtr window = findWindow(top);
    if (!window || !window->widget)
        return;
    window->widget->activateWindow();
    if (focusInside(top))
        return;
    const HWND last = window->lastFocus;
    SetFocus(last && inside(last, top) && canTakeFocus(last) ? last : top);
}

void passFocusFrom(HWND hidden) {
    WindowPtr window = findWindow(hidden);
    if (!window)
        return;
    if (window->parent) {
        SetFocus(canTakeFocus(window->parent) ? window->parent : nullptr);
        return;
    }
    if (window->owner && canTakeFocus(window->owner)) {
        activateTopLevel(window->owner);
        return;
    }
    // Without an owner that can take it, the newest other top-level window that can is activated.
    const std::vector<HWND> tops = topLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        if (*it != hidden && canTakeFocus(*it)) {
            activateTopLevel(*it);
            return;
        }
    }
    SetFocus(nullptr);
}

void forgetFocusAndCapture(HWND hwnd) {
    if (focusWindow == hwnd)
        focusWindow = nullptr;
    if (captureWindow == hwnd)
        captureWindow = nullptr;
}

} // namespace platform::user

using namespace platform::user;

HWND SetFocus(HWND hWnd) {
    if (hWnd) {
        WindowPtr window = checkedWindow(hWnd);
        if (!window)
            return nullptr;
        if (window->widget)
            window->widget->setFocus(Qt::OtherFocusReason); // reaches an inner Qt control through its proxy
    }
    return moveFocus(hWnd);
}

HWND GetFocus() {
    return focusWindow;
}

HWND SetCapture(HWND hWnd) {
    if (!checkedWindow(hWnd))
        return nullptr;
    const HWND old = captureWindow;
    captureWindow = hWnd;
    if (old && old != hWnd)
        SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return old;
}

BOOL ReleaseCapture() {
    const HWND old = captureWindow;
    captureWindow = nullptr;
    if (old)
        SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return captureWindow;
}
