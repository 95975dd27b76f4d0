// CreateWindowEx, DestroyWindow and IsWindow.
#include <algorithm>

#include <win32/user.h>

#include "focus_capture.h"
#include "gui_thread.h"
#include "input.h"
#include "message_queue.h"
#include "painting.h"
#include "standard_controls.h"
#include "timers.h"
#include "window.h"
#include "window_class.h"
#include "window_widget.h"

namespace platform::user {
namespace {

// Place and size of a top-level window made with CW_USEDEFAULT.
constexpr int kDefaultX = 100;
constexpr int kDefaultY = 100;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

Qt::WindowFlags topLevelFlags(DWORD style, DWORD exStyle) {
    Qt::WindowFlags flags = (exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    if ((style & WS_CAPTION) != WS_CAPTION)
        flags |= Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

// WM_DESTROY goes to a window before its children.
void sendDestroy(const WindowPtr& window) {
    window->destroying = true;
    SendMessage(window->hwnd, WM_DESTROY, 0, 0);
    for (HWND child : std::vector<HWND>(window->children)) {
        if (WindowPtr c = findWindow(child))
            sendDestroy(c);
    }
}

// WM_NCDESTROY goes to the children first; then the window's handle, timers and messages go away.
void freeWindow(const WindowPtr& window) {
    for (HWND child : std::vector<HWND>(window->children)) {
        if (WindowPtr c = findWindow(child))
            freeWindow(c);
    }
    SendMessage(window->hwnd, WM_NCDESTROY, 0, 0);
    killTimersOf(window->hwnd);
    forgetFocusAndCapture(window->hwnd);
    forgetInputOf(window->hwnd);
    removeWindow(window->hwnd);
    removeMessagesFor(window->hwnd);
    if (WindowPtr parent = findWindow(window->parent))
        std::erase(parent->children, window->hwnd);
    if (window->widget) {
        window->widget->hide();
        window->widget->deleteLater();
        window->widget = nullptr;
    }
}

} // namespace

} // namespace platform::user

using namespace platform::user;

HWND CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                    LPVOID lpParam) {
    if (!ensureApplication() || !onGuiThread()) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return nullptr;
    }
    registerStandardControls();
    auto cls = findClass(lpClassName);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    WindowPtr parent;
    if (hWndParent && !(parent = checkedWindow(hWndParent)))
        return nullptr;
    const bool child = (dwStyle & WS_CHILD) != 0;
    if (child && !parent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    if (X == CW_USEDEFAULT) {
        X = child ? 0 : kDefaultX;
        Y = child ? 0 : kDefaultY;
    }
    if (nWidth == CW_USEDEFAULT) {
        nWidth = child ? 0 : kDefaultWidth;
        nHeight = child ? 0 : kDefaultHeight;
    }
    nWidth = std::max(nWidth, 0);
    nHeight = std::max(nHeight, 0);

    WindowPtr window = addWindow();
    const HWND hwnd = window->hwnd;
    window->cls = cls;
    window->proc = cls->proc;
    window->style = dwStyle & ~WS_VISIBLE; // shown after WM_CREATE
    window->exStyle = dwExStyle;
    window->instance = hInstance;
    window->id = reinterpret_cast<LONG_PTR>(hMenu);
    if (child) {
        window->parent = parent->hwnd;
        parent->children.push_back(hwnd);
        window->widget = new WindowWidget(hwnd, parent->widget, Qt::Widget);
        window->widget->lower(); // a new child goes to the bottom of its siblings
        // Hidden until ShowWindow: Qt would otherwise show it along with its parent.
        window->widget->hide();
    } else {
        window->owner = parent ? topLevelOf(parent->hwnd) : nullptr;
        WindowWidget* ownerWidget = widgetOf(window->owner);
        window->widget = new WindowWidget(hwnd, ownerWidget, topLevelFlags(dwStyle, dwExStyle));
    }
    window->widget->setGeometry(X, Y, nWidth, nHeight);
    window->surface = makeSurface(hwnd, QSize(nWidth, nHeight));

    CREATESTRUCT cs{
        lpParam,      hInstance,   hMenu,    hWndParent, nHeight, nWidth, Y, X, static_cast<LONG>(dwStyle),
        lpWindowName, lpClassName, dwExStyle};
    if (!SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
        SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(nWidth, nHeight));
    SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(X, Y));
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL DestroyWindow(HWND hWnd) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return FALSE;
    if (!onGuiThread()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (window->destroying)
        return TRUE;
    for (HWND top : topLevelWindows()) {
        if (WindowPtr owned = findWindow(top); owned && owned->owner == hWnd)
            DestroyWindow(top);
    }
    if (window->style & WS_VISIBLE)
        ShowWindow(hWnd, SW_HIDE);
    sendDestroy(window);
    freeWindow(window);
    return TRUE;
}

BOOL IsWindow(HWND hWnd) {
    return findWindow(hWnd) ? TRUE : FALSE;
}
