// Message maps: CCmdTarget, the map records and the BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP macros.
#pragma once

#include <mfc/geometry.h>
#include <win32/user.h>

class CCmdTarget;
class CWnd;
class CDC;

#define afx_msg

// WM_CTLCOLOR stands for every WM_CTLCOLOR* message in a map; the handler gets the kind as nCtlColor.
#define WM_CTLCOLOR 0x0019
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

// A handler call with the message's arguments unpacked; returns the message's result.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam);

// One map line: a window message (nCode and nID 0), or WM_COMMAND with a notification code and a range
// of control ids.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Base of every class with a message map. GUI thread.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the first map line for WM_COMMAND (id, code), searching this class's map, then its bases'.
    // TRUE when one ran.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    // The first line for the message in the most derived map that has one; null when none has.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
};

#define DECLARE_MESSAGE_MAP()                                                                                \
public:                                                                                                      \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;                                                        \
                                                                                                             \
protected:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                          \
    {                                                                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    {0, 0, 0, 0, nullptr}                                                                                    \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]};             \
    return &messageMap;                                                                                      \
    }

// A line whose handler is `call`, an expression on `self` (ThisClass*), `message`, `wParam` and `lParam`.
#define ORV_MSG_ENTRY(msg, code, id, lastId, call)                                                           \
    {msg, code, id, lastId,                                                                                  \
     [](CCmdTarget* target, [[maybe_unused]] UINT message, [[maybe_unused]] WPARAM wParam,                   \
        [[maybe_unused]] LPARAM lParam) -> LRESULT {                                                         \
         [[maybe_unused]] auto* self = static_cast<ThisClass*>(target);                                      \
         return call;                                                                                        \
     }},
#define ORV_VOID(expr) ((expr), LRESULT(0))

// Commands and notifications: void handler().
#define ON_COMMAND(id, fn) ORV_MSG_ENTRY(WM_COMMAND, 0, id, id, ORV_VOID(self->fn()))
#define ON_CONTROL(code, id, fn) ORV_MSG_ENTRY(WM_COMMAND, code, id, id, ORV_VOID(self->fn()))
// A range of ids: void handler(UINT id).
#define ON_CONTROL_RANGE(code, id, lastId, fn)                                                               \
    ORV_MSG_ENTRY(WM_COMMAND, code, id, lastId, ORV_VOID(self->fn(LOWORD(wParam))))
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
// Any message: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(msg, fn) ORV_MSG_ENTRY(msg, 0, 0, 0, self->fn(wParam, lParam))

// Window messages with the framework's handler signatures.
#define ON_WM_PAINT() ORV_MSG_ENTRY(WM_PAINT, 0, 0, 0, ORV_VOID(self->OnPaint()))
#define ON_WM_ERASEBKGND()                                                                                   \
    ORV_MSG_ENTRY(WM_ERASEBKGND, 0, 0, 0, LRESULT(self->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)))))
#define ON_WM_CTLCOLOR()                                                                                     \
    ORV_MSG_ENTRY(WM_CTLCOLOR, 0, 0, 0,                                                                      \
                  reinterpret_cast<LRESULT>(self->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),   \
                                                             CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), \
                                                             message - WM_CTLCOLOREDIT + CTLCOLOR_EDIT)))
#define ON_WM_QUERYDRAGICON()                                                                                \
    ORV_MSG_ENTRY(WM_QUERYDRAGICON, 0, 0, 0, reinterpret_cast<LRESULT>(self->OnQueryDragIcon()))
#define ORV_MOUSE_ENTRY(msg, fn) ORV_MSG_ENTRY(msg, 0, 0, 0, ORV_VOID(self->fn(UINT(wParam), CPoint(lParam))))
#define ON_WM_LBUTTONDOWN() ORV_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() ORV_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_MOUSEMOVE() ORV_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSEHOVER() ORV_MOUSE_ENTRY(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE() ORV_MSG_ENTRY(WM_MOUSELEAVE, 0, 0, 0, ORV_VOID(self->OnMouseLeave()))
#define ON_WM_MOUSEWHEEL()                                                                                   \
    ORV_MSG_ENTRY(WM_MOUSEWHEEL, 0, 0, 0,                                                                    \
                  LRESULT(self->OnMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam), CPoint(lParam))))
#define ON_WM_SETCURSOR()                                                                                    \
    ORV_MSG_ENTRY(WM_SETCURSOR, 0, 0, 0,                                                                     \
                  LRESULT(self->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam),  \
                                            HIWORD(lParam))))
#define ON_WM_TIMER() ORV_MSG_ENTRY(WM_TIMER, 0, 0, 0, ORV_VOID(self->OnTimer(UINT_PTR(wParam))))
#define ON_WM_DESTROY() ORV_MSG_ENTRY(WM_DESTROY, 0, 0, 0, ORV_VOID(self->OnDestroy()))
#define ON_WM_CLOSE() ORV_MSG_ENTRY(WM_CLOSE, 0, 0, 0, ORV_VOID(self->OnClose()))
#define ON_WM_SHOWWINDOW()                                                                                   \
    ORV_MSG_ENTRY(WM_SHOWWINDOW, 0, 0, 0, ORV_VOID(self->OnShowWindow(BOOL(wParam), UINT(lParam))))
#define ON_WM_ENABLE() ORV_MSG_ENTRY(WM_ENABLE, 0, 0, 0, ORV_VOID(self->OnEnable(BOOL(wParam))))
#define ON_WM_CAPTURECHANGED()                                                                               \
    ORV_MSG_ENTRY(WM_CAPTURECHANGED, 0, 0, 0,                                                                \
                  ORV_VOID(self->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)))))
#define ORV_SCROLL_ENTRY(msg, fn)                                                                            \
    ORV_MSG_ENTRY(msg, 0, 0, 0,                                                                              \
                  ORV_VOID(self->fn(LOWORD(wParam), HIWORD(wParam),                                          \
                                    CWnd::FromHandle(reinterpret_cast<HWND>(lParam)))))
#define ON_WM_HSCROLL() ORV_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_DRAWITEM()                                                                                     \
    ORV_MSG_ENTRY(WM_DRAWITEM, 0, 0, 0,                                                                      \
                  ORV_VOID(self->OnDrawItem(int(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam))))
