// Control classes: CButton, CStatic, CEdit, CComboBox, CSliderCtrl and CToolTipCtrl over the standard controls.
#pragma once

#include <mfc/wnd.h>

// Each is bound to a control of its class (DDX_Control, SubclassDlgItem) or made by Create; every call is
// the control's message with its result. GUI thread.

class CButton : public CWnd {
public:
    // BM_GETSTATE: BST_CHECKED, BST_PUSHED, BST_FOCUS and the held-by-the-mouse bits; a pushed, focused
    // button held by the mouse that has the capture answers 108.
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL pushed) { SendMessage(BM_SETSTATE, pushed); }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    // Paints an owner-drawn button (BS_OWNERDRAW); called from the parent's WM_DRAWITEM.
    virtual void DrawItem(LPDRAWITEMSTRUCT item);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CStatic : public CWnd {
public:
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
};

class CEdit : public CWnd {};

class CComboBox : public CWnd {
public:
    int AddString(LPCTSTR text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    // The text of item `index`; empty (and CB_ERR returned) for no such item.
    int GetLBText(int index, CString& text) const;
};

class CSliderCtrl : public CWnd {
public:
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    // Both ends as full ints (TBM_SETRANGE would cut them to 16 bits).
    void SetRange(int min, int max, BOOL redraw = FALSE)
    {
        SetRangeMin(min, FALSE);
        SetRangeMax(max, redraw);
    }
    void SetRangeMin(int min, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMIN, static_cast<WPARAM>(redraw), min); }
    void SetRangeMax(int max, BOOL redraw = FALSE) { SendMessage(TBM_SETRANGEMAX, static_cast<WPARAM>(redraw), max); }
};

class CToolTipCtrl : public CWnd {
public:
    // Makes the tool-tip window owned by `parent`; FALSE when it cannot be made.
    BOOL Create(CWnd* parent, DWORD style = 0);
    // Adds `wnd` as tool `id` (with `rect` of it, or all of it) with the text; FALSE when refused.
    BOOL AddTool(CWnd* wnd, LPCTSTR text, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR id = 0);
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(activate)); }
    void RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
};
