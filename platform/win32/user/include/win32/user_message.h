// Window messages: message numbers, the MSG record, sending, posting, retrieving and window timers.
#pragma once

#include <win32/types.h>

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETCURSOR 0x0020
#define WM_DRAWITEM 0x002B
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_QUERYDRAGICON 0x0037
#define WM_NOTIFY 0x004E
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCHITTEST 0x0084
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define SC_CLOSE 0xF060 // WM_SYSCOMMAND
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEWHEEL 0x020A
#define WM_MOUSEFIRST WM_MOUSEMOVE
#define WM_MOUSELAST WM_MOUSEWHEEL
#define WM_KEYFIRST WM_KEYDOWN
#define WM_KEYLAST 0x0109
#define WM_CAPTURECHANGED 0x0215
#define WM_MOUSEHOVER 0x02A1
#define WM_MOUSELEAVE 0x02A3
#define WM_USER 0x0400
#define WM_APP 0x8000

// WM_SIZE kinds.
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// PeekMessage removal flags.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// Shortest timer period; shorter requests are raised to it.
#define USER_TIMER_MINIMUM 0x0000000A

// One queued message. lPrivate carries the platform's own tag of an input message (0 for posted ones).
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
    DWORD lPrivate;
};
typedef MSG* LPMSG;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

// Calls the window procedure and returns its result. On the GUI thread the call is direct; from another
// thread the message waits in the GUI thread's sent queue and the caller blocks until the GUI thread has
// handled it at its next message retrieval or event processing. A caller that the GUI thread is itself
// waiting for must post instead. A stale window gives 0 with ERROR_INVALID_WINDOW_HANDLE. Any thread.
LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
#define SendMessageA SendMessage

// Appends the message to the GUI thread's queue (order kept) and returns at once. A null window posts a
// message with no window, from the GUI thread only. A stale window: FALSE, ERROR_INVALID_WINDOW_HANDLE.
// Any thread.
BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
#define PostMessageA PostMessage

// The GUI thread is the thread that first creates a window, retrieves messages or posts a message
// without a window; it holds the Qt
// application, its windows and the one message queue.

// Waits for the next message of the GUI thread's queue (sent messages are served meanwhile). Returns
// nonzero for a message, 0 for WM_QUIT, -1 off the GUI thread (ERROR_INVALID_THREAD_ID). A window filter
// takes that window's messages only ((HWND)-1: messages without a window); a message range filters by
// number (both 0: every message); WM_QUIT passes every filter. GUI thread.
BOOL GetMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
#define GetMessageA GetMessage
// Like GetMessage without waiting; TRUE when a message was found, removed only with PM_REMOVE. GUI thread.
BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
#define PeekMessageA PeekMessage
// Posts WM_CHAR (WM_SYSCHAR) for a key-down message from the keyboard that types an ASCII character (Enter,
// Esc, Backspace and Tab included); TRUE when it posted. Other characters reach edit controls as Qt text.
// GUI thread.
BOOL TranslateMessage(const MSG* lpMsg);
// Hands the message to its window's procedure (or a WM_TIMER to its TIMERPROC); the procedure's result.
// GUI thread.
LRESULT DispatchMessage(const MSG* lpMsg);
#define DispatchMessageA DispatchMessage
// Makes the queue report WM_QUIT with this exit code once no other posted or input message waits. Any thread.
void PostQuitMessage(int nExitCode);

// Starts (or restarts) timer nIDEvent of the window: WM_TIMER every uElapse ms of the platform clock, at
// most one waiting at a time, generated when the queue has nothing else. With a TIMERPROC, dispatching the
// message calls it. A null window makes a new timer with its own id. Returns the id, 0 on failure. GUI
// thread.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
// Stops the timer; FALSE (ERROR_INVALID_PARAMETER) when there is none. GUI thread.
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);
