// The "STATIC" class: text, bitmap or etched lines, transparent to the mouse unless SS_NOTIFY.
#include <win32/gdi.h>
#include <win32/user.h>

#include "standard_controls.h"
#include "window.h"

namespace platform::user {
namespace {

struct StaticState : ControlState {
    HBITMAP bitmap{};
};

StaticState& stateOf(Window& window) {
    if (!window.control)
        window.control = std::make_unique<StaticState>();
    return static_cast<StaticState&>(*window.control);
}

void drawBitmap(HDC dc, HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObject(bitmap, sizeof info, &info))
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void fill(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void fillEdges(HDC dc, const RECT& first, const RECT& second, COLORREF colour) {
    fill(dc, first, colour);
    fill(dc, second, colour);
}

constexpr COLORREF kShadow = RGB(160, 160, 160);
constexpr COLORREF kLight = RGB(255, 255, 255);

// Shadow on the top and left edges, light on the bottom and right ones.
void drawSunkenEdge(HDC dc, const RECT& c) {
    fillEdges(dc, {c.left, c.top, c.right, c.top + 1}, {c.left, c.top, c.left + 1, c.bottom}, kShadow);
    fillEdges(dc, {c.left, c.bottom - 1, c.right, c.bottom}, {c.right - 1, c.top, c.right, c.bottom}, kLight);
}

// An etched line: a shadow row (or column) at `at`, a light one just below (or right of) it.
void drawEtchedRow(HDC dc, const RECT& c, LONG at) {
    fill(dc, {c.left, at, c.right, at + 1}, kShadow);
    fill(dc, {c.left, at + 1, c.right, at + 2}, kLight);
}
void drawEtchedColumn(HDC dc, const RECT& c, LONG at) {
    fill(dc, {at, c.top, at + 1, c.bottom}, kShadow);
    fill(dc, {at + 1, c.top, at + 2, c.bottom}, kLight);
}

// The etched types draw only their lines; what lies inside a frame stays as it is.
void drawEtched(HDC dc, const RECT& c, LONG type) {
    if (type != SS_ETCHEDVERT)
        drawEtchedRow(dc, c, c.top);
    if (type != SS_ETCHEDHORZ)
        drawEtchedColumn(dc, c, c.left);
    if (type == SS_ETCHEDFRAME) {
        drawEtchedRow(dc, c, c.bottom - 2);
        drawEtchedColumn(dc, c, c.right - 2);
    }
}

bool isEtched(LONG type) { return type >= SS_ETCHEDHORZ && type <= SS_ETCHEDFRAME; }

void paint(Window& window, HDC dc, RECT client) {
    const LONG type = window.style & SS_TYPEMASK;
    if (isEtched(type)) {
        drawEtched(dc, client, type);
        return;
    }
    FillRect(dc, &client, controlBrush(window.hwnd, dc, WM_CTLCOLORSTATIC));
    if (type == SS_BITMAP) {
        drawBitmap(dc, stateOf(window).bitmap);
    } else if (type <= SS_RIGHT) {
        UINT format = (window.style & SS_CENTER) ? DT_CENTER : (window.style & SS_RIGHT) ? DT_RIGHT : DT_LEFT;
        if (window.style & SS_CENTERIMAGE)
            format |= DT_VCENTER | DT_SINGLELINE;
        if (window.style & SS_NOPREFIX)
            format |= DT_NOPREFIX;
        if (window.style & WS_DISABLED)
            SetTextColor(dc, RGB(109, 109, 109));
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = window.font ? SelectObject(dc, window.font) : nullptr;
        DrawText(dc, window.text.c_str(), -1, &client, format);
        if (old)
            SelectObject(dc, old);
    }
    if (window.style & SS_SUNKEN)
        drawSunkenEdge(dc, client);
}

} // namespace

LRESULT CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowPtr window = findWindow(hwnd);
    if (!window)
        return 0;
    if (LRESULT result; handleFontMessage(*window, message, wParam, lParam, &result))
        return result;
    switch (message) {
    case WM_NCHITTEST:
        return (window->style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_ERASEBKGND:
        return TRUE; // the background is painted with the text
    case WM_PAINT:
        paintControl(hwnd, [&](HDC dc, const RECT& client) { paint(*window, dc, client); });
        return 0;
    case WM_SETTEXT:
    case WM_ENABLE:
        return defaultAndRepaint(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (window->style & SS_NOTIFY)
            notifyParent(*window, message == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK);
        return 0;
    case STM_SETIMAGE: {
        if (wParam != IMAGE_BITMAP)
            return 0;
        StaticState& state = stateOf(*window);
        const HBITMAP old = state.bitmap;
        state.bitmap = reinterpret_cast<HBITMAP>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
        return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(stateOf(*window).bitmap) : 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace platform::user
