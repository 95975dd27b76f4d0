// Painting windows: invalid regions, WM_PAINT, BeginPaint/EndPaint and window device contexts.
#pragma once

#include <win32/user_window.h>

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase; // TRUE when the background still needs erasing (WM_ERASEBKGND returned 0)
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

// Adds the rectangle (NULL: the client area) to the update region of a visible window; children are
// included unless the window has WS_CLIPCHILDREN. WM_PAINT follows when the queue has nothing else. GUI
// thread.
BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL ValidateRect(HWND hWnd, const RECT* lpRect);
// Sends WM_PAINT at once when the update region is not empty (children are not painted). GUI thread.
BOOL UpdateWindow(HWND hWnd);

// Starts painting: the DC is clipped to the update region's bounds, WM_ERASEBKGND is sent first when an
// erase is pending, and the update region is validated. GUI thread.
HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);

// A DC on the window's backing image, clipped to the client area. From a thread other than the GUI thread
// (a streaming thread drawing frames) drawing locks the image and ReleaseDC schedules a repaint; neither
// waits for the GUI thread. A window without a non-client area gives the same DC for GetWindowDC. Any
// thread; the DC is released on the thread that took it.
HDC GetDC(HWND hWnd);
HDC GetWindowDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC); // 1 when released, 0 for a DC that is not this window's
