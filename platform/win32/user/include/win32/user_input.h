// Keyboard and mouse input: virtual keys, mouse flags, mouse tracking, cursors and screen metrics.
#pragma once

#include <win32/user_window.h>

// Virtual-key codes; letters and digits are their upper-case ASCII codes.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B

// Mouse-message key flags (wParam).
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
#define WHEEL_DELTA 120
#define GET_WHEEL_DELTA_WPARAM(w) (static_cast<short>(HIWORD(w)))

// Hover and leave tracking.
#define TME_HOVER 0x00000001
#define TME_LEAVE 0x00000002
#define TME_CANCEL 0x80000000
#define HOVER_DEFAULT 0xFFFFFFFF

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
typedef TRACKMOUSEEVENT* LPTRACKMOUSEEVENT;

// Arms (or with TME_CANCEL disarms) WM_MOUSEHOVER after the mouse rests dwHoverTime ms (HOVER_DEFAULT:
// 400) on the window, and WM_MOUSELEAVE when it leaves the client area (also onto a child window). Each
// fires once and must be armed again. cbSize is sizeof(TRACKMOUSEEVENT) or the 16 bytes of the 32-bit
// record. FALSE for a stale window or a wrong size. GUI thread.
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack);
BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack);

// Standard cursors (LoadCursor with a null instance).
#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)

// A standard cursor for a null instance, else the cursor resource registered with
// platform::user::registerResourceCursor. NULL with ERROR_RESOURCE_NAME_NOT_FOUND for an unknown one,
// ERROR_FILE_NOT_FOUND when its image cannot be read. The handle stays valid. GUI thread.
HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName);
#define LoadCursorA LoadCursor
// Shows the cursor over the window the mouse is on; returns the previous cursor. GUI thread.
HCURSOR SetCursor(HCURSOR hCursor);
// The mouse position in screen coordinates. GUI thread.
BOOL GetCursorPos(LPPOINT lpPoint);

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
// The screen size (from the screen-size seam when a test set it); 0 for other indexes. GUI thread.
int GetSystemMetrics(int nIndex);

namespace platform::user {

// Makes the image file at `path` (UTF-8; any format Qt reads, such as BMP or PNG) the cursor resource `id`
// of the program, with its hot spot at (hotX, hotY). A later registration of the id replaces it. Program
// start-up; GUI thread.
void registerResourceCursor(int id, const char* path, int hotX, int hotY);

} // namespace platform::user
