// CWnd: a framework object bound to a window, its message dispatch and the window operations.
#pragma once

#include <mfc/cstring.h>
#include <mfc/dc.h>
#include <mfc/message_map.h>

class CDataExchange;
typedef CWnd CScrollBar; // scroll sources are passed as the window object that sent them

// A CWnd is bound to at most one window. Binding (Attach, SubclassWindow, SubclassDlgItem, DDX_Control,
// creation by the framework) makes it the window's permanent object: FromHandle then gives it, and once
// subclassed its WindowProc receives the window's messages through its message map, the rest going to the
// window's previous procedure (Default). The binding ends with the window (WM_NCDESTROY) or Detach; a
// destroyed CWnd destroys a window that it still holds. Windows without a permanent object get borrowed
// wrappers from FromHandle that live until the outermost loop takes its next message.
// Everything here runs on the GUI thread, except PostMessage (any thread).
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    static CWnd* FromHandle(HWND hwnd);          // null for null
    static CWnd* FromHandlePermanent(HWND hwnd); // null when no object is bound

    BOOL Attach(HWND hwnd); // binds without subclassing; FALSE when bound already or the window is not live
    HWND Detach();
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    virtual BOOL DestroyWindow();

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // The current message through the window's previous procedure, with its own arguments.
    LRESULT Default();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the message map; TRUE with *result when a line (or the framework's own handling) took it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A parent's WM_DRAWITEM for this control; TRUE when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called for each retrieved message of this window or its children before it is dispatched, innermost
    // window first; TRUE swallows the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    virtual void WinHelp(DWORD_PTR data, UINT command = 0);

    // Dialog data exchange: UpdateData(TRUE) reads the controls into the members, FALSE shows them.
    virtual void DoDataExchange(CDataExchange* dx);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Relations and children.
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int id, LPCTSTR text) { ::SetWindowText(::GetDlgItem(m_hWnd, id), text); }
    int GetDlgItemText(int id, CString& text) const;
    static CWnd* GetFocus();
    CWnd* SetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // Geometry, visibility and state.
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags);
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE)); }
    // Removes and adds style bits; TRUE when the style changed. Flags other than 0 also call SetWindowPos
    // with SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE and them.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    HICON SetIcon(HICON icon, BOOL big);
    HICON GetIcon(BOOL big) const;

    // Text.
    void SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }
    int GetWindowText(LPTSTR text, int max) const { return ::GetWindowText(m_hWnd, text, max); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }

    // Painting and timers.
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    CDC* GetDC(); // released (and deleted) by ReleaseDC
    int ReleaseDC(CDC* dc);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr)
    {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    HWND m_hWnd = nullptr;

protected:
    // Default handlers: each passes the current message to Default.
    afx_msg void OnPaint() { Default(); }
    afx_msg BOOL OnEraseBkgnd(CDC*) { return BOOL(Default()); }
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
    afx_msg HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    afx_msg void OnLButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnLButtonUp(UINT, CPoint) { Default(); }
    afx_msg void OnMouseMove(UINT, CPoint) { Default(); }
    afx_msg void OnMouseHover(UINT, CPoint) { Default(); }
    afx_msg void OnMouseLeave() { Default(); }
    afx_msg BOOL OnMouseWheel(UINT, short, CPoint) { return BOOL(Default()); }
    afx_msg BOOL OnSetCursor(CWnd*, UINT, UINT) { return BOOL(Default()); }
    afx_msg void OnTimer(UINT_PTR) { Default(); }
    afx_msg void OnDestroy() { Default(); }
    afx_msg void OnClose() { Default(); }
    afx_msg void OnShowWindow(BOOL, UINT) { Default(); }
    afx_msg void OnEnable(BOOL) { Default(); }
    afx_msg void OnCaptureChanged(CWnd*) { Default(); }
    afx_msg void OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
    // Hands an owner-drawn item to the control's object (OnChildNotify), else to Default.
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);

    WNDPROC m_pfnSuper = nullptr; // the window's procedure before it was subclassed

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    void bind(HWND hwnd);
    bool m_bBorrowed = false; // a FromHandle wrapper: never destroys its window
};

// The window procedure of every subclassed window: hands the message to its object's WindowProc.
LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
