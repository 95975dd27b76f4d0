// Windows: classes, creation and destruction, window procedures, styles, geometry, text, focus and capture.
#pragma once

#include <win32/user_message.h>

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_CHILDWINDOW WS_CHILD
#define WS_OVERLAPPEDWINDOW                                                                                  \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)

#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_STATICEDGE 0x00020000L

// Class styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_PARENTDC 0x0080
#define CS_GLOBALCLASS 0x4000

#define CW_USEDEFAULT (static_cast<int>(0x80000000u))

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9

// SetWindowPos flags and z-order places.
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define HWND_TOP (reinterpret_cast<HWND>(static_cast<intptr_t>(0)))
#define HWND_BOTTOM (reinterpret_cast<HWND>(static_cast<intptr_t>(1)))
#define HWND_TOPMOST (reinterpret_cast<HWND>(static_cast<intptr_t>(-1)))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(static_cast<intptr_t>(-2)))

// GetWindowLongPtr / SetWindowLongPtr indexes.
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
#define GWL_WNDPROC GWLP_WNDPROC
#define GWL_ID GWLP_ID
#define GWL_USERDATA GWLP_USERDATA

// Hit-test codes (WM_NCHITTEST, WM_SETCURSOR).
#define HTERROR (-2)
#define HTTRANSPARENT (-1)
#define HTNOWHERE 0
#define HTCLIENT 1

// Window-manager error codes.
#define ERROR_TLW_WITH_WSCHILD 1406L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_INVALID_INDEX 1413L
#define ERROR_CONTROL_ID_NOT_FOUND 1421L
#define ERROR_INVALID_THREAD_ID 1444L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#define IS_INTRESOURCE(r) ((reinterpret_cast<ULONG_PTR>(r) >> 16) == 0)
#endif

typedef WORD ATOM;

struct WNDCLASS {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};
typedef WNDCLASS WNDCLASSA;

struct WNDCLASSEX {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};
typedef WNDCLASSEX WNDCLASSEXA;

// lParam of WM_NCCREATE and WM_CREATE.
struct CREATESTRUCT {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

// Classes. A name may be an atom (MAKEINTRESOURCE of the result). Names compare without case. The
// standard control classes are always registered. FALSE/0 with ERROR_CLASS_ALREADY_EXISTS for a taken
// name. GUI thread.
ATOM RegisterClass(const WNDCLASS* lpWndClass);
ATOM RegisterClassEx(const WNDCLASSEX* lpWndClass);
#define RegisterClassA RegisterClass
#define RegisterClassExA RegisterClassEx

// Creates a window as a Qt widget: WM_NCCREATE, then WM_CREATE (a result of -1, or FALSE from
// WM_NCCREATE, destroys it and gives NULL), then WM_SIZE and WM_MOVE; WS_VISIBLE shows it. For a child
// hMenu is its control id. NULL with the last error on failure. GUI thread.
HWND CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                    LPVOID lpParam);
#define CreateWindowExA CreateWindowEx
#define CreateWindow(cls, name, style, x, y, w, h, parent, menu, inst, param)                                \
    CreateWindowEx(0, cls, name, style, x, y, w, h, parent, menu, inst, param)
// Destroys owned windows, then the window: WM_DESTROY to it and then its children (parent first),
// WM_NCDESTROY to the children and then to it; its timers and queued messages go with it. GUI thread.
BOOL DestroyWindow(HWND hWnd);
// TRUE for a live window handle (any thread).
BOOL IsWindow(HWND hWnd);

// The window procedure of the class the window was created with, for messages a procedure does not handle.
LRESULT DefWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
#define DefWindowProcA DefWindowProc
// Calls a procedure taken from GetWindowLongPtr(GWLP_WNDPROC) (subclassing). GUI thread.
LRESULT CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
#define CallWindowProcA CallWindowProc
// GWLP_WNDPROC, GWLP_USERDATA, GWL_STYLE, GWL_EXSTYLE, GWLP_ID, GWLP_HINSTANCE, GWLP_HWNDPARENT. Set
// returns the old value. 0 with ERROR_INVALID_WINDOW_HANDLE or ERROR_INVALID_INDEX. GUI thread.
LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
LONG GetWindowLong(HWND hWnd, int nIndex);
LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong);
#define GetWindowLongPtrA GetWindowLongPtr
#define SetWindowLongPtrA SetWindowLongPtr
#define GetWindowLongA GetWindowLong
#define SetWindowLongA SetWindowLong

// Showing, enabling, placing. GUI thread.
BOOL ShowWindow(HWND hWnd, int nCmdShow);   // TRUE when the window was visible before
BOOL IsWindowVisible(HWND hWnd);            // the window and all its parents are visible
BOOL EnableWindow(HWND hWnd, BOOL bEnable); // TRUE when the window was disabled before; sends WM_ENABLE
BOOL IsWindowEnabled(HWND hWnd);
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect); // (0, 0, width, height) of the client area
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect); // the whole window in screen coordinates
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);

// Relations. GetParent gives the parent of a child window and the owner of a WS_POPUP window. GUI thread.
HWND GetParent(HWND hWnd);
// Moves a child window under another parent window (both live); the previous parent, NULL on failure.
HWND SetParent(HWND hWndChild, HWND hWndNewParent);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem); // first child with that id
int GetDlgCtrlID(HWND hWnd);

// Text through WM_SETTEXT / WM_GETTEXT. Texts may be UTF-8 or code page 936; they are kept as given and
// converted only where Qt shows them. GetWindowText copies at most nMaxCount - 1 bytes and a NUL and
// returns the bytes copied. GUI thread.
BOOL SetWindowText(HWND hWnd, LPCSTR lpString);
int GetWindowText(HWND hWnd, LPSTR lpString, int nMaxCount);
int GetWindowTextLength(HWND hWnd);
#define SetWindowTextA SetWindowText
#define GetWindowTextA GetWindowText
#define GetWindowTextLengthA GetWindowTextLength

// Keyboard focus: WM_KILLFOCUS to the old window, WM_SETFOCUS to the new one. Returns the previous focus
// window. SetFocus(NULL) leaves no window with the focus. GUI thread.
HWND SetFocus(HWND hWnd);
HWND GetFocus();
// Mouse capture: every mouse message goes to the capture window, in its client coordinates. The window
// losing it gets WM_CAPTURECHANGED (lParam the new capture window). GUI thread.
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetCapture();
