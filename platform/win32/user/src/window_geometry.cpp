// Showing, enabling, placing and relating windows: ShowWindow, EnableWindow, SetWindowPos and friends.
#include <win32/user.h>

#include "focus_capture.h"
#include "painting.h"
#include "window.h"
#include "window_widget.h"

namespace platform::user {
namespace {

// The window rectangle in its parent's client coordinates (screen coordinates for a top-level window).
QRect placement(const Window& window) {
    return window.parent ? window.widget->geometry() : window.widget->frameGeometry();
}

// The part of the parent that a child no longer covers is painted again by the parent.
void exposeParent(const Window& window, const QRegion& uncovered) {
    if (WindowPtr parent = findWindow(window.parent))
        invalidate(*parent, uncovered, true, false);
}

void setTopmost(Window& window, bool on) {
    window.exStyle = on ? (window.exStyle | WS_EX_TOPMOST) : (window.exStyle & ~WS_EX_TOPMOST);
    const bool visible = window.widget->isVisible();
    window.widget->setWindowFlag(Qt::WindowStaysOnTopHint, on); // hides the window
    if (visible)
        window.widget->show();
}

void restack(Window& window, HWND after) {
    if (after == HWND_TOP) {
        window.widget->raise();
    } else if (after == HWND_BOTTOM) {
        window.widget->lower();
    } else if (after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        if (!window.parent)
            setTopmost(window, after == HWND_TOPMOST);
        window.widget->raise();
    } else if (WindowWidget* other = widgetOf(after);
               other && other->parentWidget() == window.widget->parentWidget()) {
        window.widget->stackUnder(other);
    }
}

BOOL mapPoint(HWND hwnd, LPPOINT point, bool toScreen) {
    WindowPtr window = checkedWindow(hwnd);
    if (!window || !point)
        return FALSE;
    const QPoint p(point->x, point->y);
    const QPoint mapped = toScreen ? window->widget->mapToGlobal(p) : window->widget->mapFromGlobal(p);
    *point = POINT{mapped.x(), mapped.y()};
    return TRUE;
}

} // namespace

} // namespace platform::user

using namespace platform::user;

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return FALSE;
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    WindowWidget* widget = window->widget;
    const bool topLevel = !window->parent;
    if (nCmdShow == SW_HIDE) {
        window->style &= ~WS_VISIBLE;
        window->update = QRegion();
        window->erasePending = false;
        if (focusInside(hWnd))
            passFocusFrom(hWnd);
        widget->hide();
        if (wasVisible)
            exposeParent(*window, widget->geometry());
        return wasVisible;
    }
    window->style |= WS_VISIBLE;
    switch (nCmdShow) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        window->style = (window->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        topLevel ? widget->showMinimized() : widget->show();
        break;
    case SW_SHOWMAXIMIZED:
        window->style = (window->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        topLevel ? widget->showMaximized() : widget->show();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        topLevel ? widget->showNormal() : widget->show();
        break;
    default:
        widget->show();
        break;
    }
    windowResized(hWnd);
    const bool activate =
        nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE && nCmdShow != SW_SHOWMINNOACTIVE;
    if (topLevel && activate)
        activateTopLevel(hWnd);
    if (!wasVisible)
        invalidate(*window, QRegion(widget->rect()), true, true);
    return wasVisible;
}

BOOL IsWindowVisible(HWND hWnd) {
    WindowPtr window = findWindow(hWnd);
    return window && isShown(*window) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return FALSE;
    const BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (wasDisabled == (bEnable ? TRUE : FALSE)) {
        window->style ^= WS_DISABLED;
        if (!bEnable && focusInside(hWnd))
            SetFocus(nullptr);
        SendMessage(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
    WindowPtr window = findWindow(hWnd);
    return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return FALSE;
    WindowWidget* widget = window->widget;
    const QRect before = placement(*window);
    const QPoint pos = (uFlags & SWP_NOMOVE) ? before.topLeft() : QPoint(X, Y);
    const QSize size = (uFlags & SWP_NOSIZE) ? before.size() : QSize(std::max(cx, 0), std::max(cy, 0));
    if (pos != before.topLeft() || size != before.size()) {
        if (window->parent) {
            widget->setGeometry(QRect(pos, size));
        } else {
            // A top-level window's size includes its frame.
            const QSize frame = widget->frameGeometry().size() - widget->size();
            widget->move(pos);
            widget->resize(size - frame);
        }
        windowResized(hWnd);
        if (pos != before.topLeft())
            SendMessage(hWnd, WM_MOVE, 0, MAKELPARAM(widget->x(), widget->y()));
        if (!(uFlags & SWP_NOREDRAW) && (window->style & WS_VISIBLE)) {
            exposeParent(*window, QRegion(before) - QRect(pos, size));
            invalidate(*window, QRegion(widget->rect()), true, false);
        }
    }
    if (!(uFlags & SWP_NOZORDER))
        restack(*window, hWndInsertAfter);
    if (uFlags & SWP_SHOWWINDOW)
        ShowWindow(hWnd, (uFlags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    else if (uFlags & SWP_HIDEWINDOW)
        ShowWindow(hWnd, SW_HIDE);
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window || !lpwndpl)
        return FALSE;
    const bool restored = !(window->style & (WS_MINIMIZE | WS_MAXIMIZE));
    const QRect normal = window->parent || restored ? placement(*window) : window->widget->normalGeometry();
    const UINT show = (window->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                      : (window->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                      : (window->style & WS_VISIBLE)  ? SW_SHOWNORMAL
                                                      : SW_HIDE;
    *lpwndpl = WINDOWPLACEMENT{
        sizeof(WINDOWPLACEMENT),
        0,
        show,
        POINT{-1, -1},
        POINT{-1, -1},
        RECT{normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()}};
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window || !lpRect)
        return FALSE;
    *lpRect = RECT{0, 0, window->widget->width(), window->widget->height()};
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window || !lpRect)
        return FALSE;
    QRect r = window->widget->frameGeometry();
    if (window->parent)
        r.moveTopLeft(window->widget->mapToGlobal(QPoint(0, 0)));
    *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    return mapPoint(hWnd, lpPoint, false);
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    return mapPoint(hWnd, lpPoint, true);
}

HWND GetParent(HWND hWnd) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return nullptr;
    if (window->parent)
        return window->parent;
    return (window->style & WS_POPUP) ? window->owner : nullptr;
}

// Only child windows move between parents; the widget keeps its place in the new parent's coordinates.
HWND SetParent(HWND hWndChild, HWND hWndNewParent) {
    WindowPtr window = checkedWindow(hWndChild);
    WindowPtr parent = checkedWindow(hWndNewParent);
    if (!window || !parent || !window->parent) {
        if (window && parent)
            SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HWND old = window->parent;
    if (WindowPtr previous = findWindow(old))
        std::erase(previous->children, hWndChild);
    window->parent = hWndNewParent;
    parent->children.push_back(hWndChild);
    const QRect geometry = window->widget->geometry();
    window->widget->setParent(parent->widget);
    window->widget->setGeometry(geometry);
    window->widget->setVisible((window->style & WS_VISIBLE) != 0);
    invalidate(*window, QRegion(window->widget->rect()), true, true);
    return old;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    WindowPtr window = checkedWindow(hDlg);
    if (!window)
        return nullptr;
    for (HWND child : window->children) {
        if (WindowPtr c = findWindow(child); c && c->id == nIDDlgItem)
            return child;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
    WindowPtr window = checkedWindow(hWnd);
    return window && window->parent ? static_cast<int>(window->id) : 0;
}
