// Window procedures: the default procedure, CallWindowProc and the window longs used for subclassing.
#include "window_proc.h"

#include <cstring>

#include <win32/gdi.h>
#include <win32/user.h>

#include "standard_controls.h"
#include "text_codec.h"
#include "window_class.h"
#include "window_widget.h"

namespace platform::user {

LRESULT callWindowProc(const WindowPtr& window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = window->proc;
    return proc ? proc(window->hwnd, message, wParam, lParam) : 0;
}

namespace {

LRESULT copyText(const Window& window, WPARAM capacity, LPARAM buffer) {
    auto* out = reinterpret_cast<char*>(buffer);
    if (!out || capacity == 0)
        return 0;
    const size_t n = std::min<size_t>(window.text.size(), capacity - 1);
    std::memcpy(out, window.text.data(), n);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
}

LRESULT eraseBackground(const Window& window, HDC dc) {
    if (!window.cls->background)
        return 0;
    RECT client;
    GetClientRect(window.hwnd, &client);
    return FillRect(dc, &client, window.cls->background) ? 1 : 0;
}

// A child asks its parent first; the parent's TRUE ends the search.
LRESULT setCursor(const Window& window, WPARAM wParam, LPARAM lParam) {
    if (window.parent && SendMessage(window.parent, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    if (LOWORD(lParam) == HTCLIENT && window.cls->cursor) {
        SetCursor(window.cls->cursor);
        return TRUE;
    }
    return FALSE;
}

} // namespace

} // namespace platform::user

using namespace platform::user;

LRESULT DefWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return 0;
    switch (Msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
            window->text = cs->lpszName;
        return TRUE;
    }
    case WM_SETTEXT:
        window->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        if (!window->parent && window->widget)
            window->widget->setWindowTitle(toQString(window->text.c_str()));
        return TRUE;
    case WM_GETTEXT:
        return copyText(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return eraseBackground(*window, reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes the top-level window, as its system menu's Close does.
        if (wParam == VK_F4 && (lParam & (1 << 29)))
            SendMessage(topLevelOf(hWnd), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessage(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_SETCURSOR:
        return setCursor(*window, wParam, lParam);
    case WM_MOUSEWHEEL:
        return window->parent ? SendMessage(window->parent, Msg, wParam, lParam) : 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(defaultControlBrush(reinterpret_cast<HDC>(wParam), Msg));
    default:
        return 0;
    }
}

LRESULT CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return 0;
    switch (nIndex) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window->proc);
    case GWLP_USERDATA:
        return window->userData;
    case GWL_STYLE:
        return static_cast<LONG>(window->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(window->exStyle);
    case GWLP_ID:
        return window->id;
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(window->parent ? window->parent : window->owner);
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

// Style bits are the window's state: WS_VISIBLE shows or hides the widget without painting, WS_DISABLED
// stops input, SS_NOTIFY changes hit testing.
LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    WindowPtr window = checkedWindow(hWnd);
    if (!window)
        return 0;
    const LONG_PTR old = GetWindowLongPtr(hWnd, nIndex);
    switch (nIndex) {
    case GWLP_WNDPROC:
        window->proc = reinterpret_cast<WNDPROC>(dwNewLong);
        break;
    case GWLP_USERDATA:
        window->userData = dwNewLong;
        break;
    case GWL_STYLE:
        window->style = static_cast<DWORD>(dwNewLong);
        if (window->widget && window->widget->isHidden() == ((window->style & WS_VISIBLE) != 0))
            window->widget->setVisible((window->style & WS_VISIBLE) != 0);
        break;
    case GWL_EXSTYLE:
        window->exStyle = static_cast<DWORD>(dwNewLong);
        break;
    case GWLP_ID:
        window->id = dwNewLong;
        break;
    case GWLP_HINSTANCE:
        window->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
        break;
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return old;
}

LONG GetWindowLong(HWND hWnd, int nIndex) {
    return static_cast<LONG>(GetWindowLongPtr(hWnd, nIndex));
}

LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong) {
    return static_cast<LONG>(SetWindowLongPtr(hWnd, nIndex, dwNewLong));
}
