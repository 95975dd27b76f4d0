// CBmpButton: an owner-drawn push button painted from a three-frame bitmap strip, with hover light-up,
// a tool tip and auto-repeat while held.
#pragma once

#include "framework.h"

// The button posts WM_BUTTON_REPEAT to the main window every 50 ms while the left button holds it down,
// and WM_LBUTTONUP (0, 0) when it is released. GUI thread.
class CBmpButton : public CButton {
public:
    CBmpButton();
    ~CBmpButton() override;

    // Replaces the strip with bitmap resource `id`; TRUE also when the resource is missing (the button then
    // draws nothing). The new strip shows at the next paint.
    BOOL SetBitmap(UINT id);
    // Creates the tool tip on the first call, then only changes its text.
    void SetToolTipText(CString text);
    // Hands a mouse message to the tool tip once it exists.
    void RelayEvent(UINT message, WPARAM wParam, LPARAM lParam);

    void DrawItem(LPDRAWITEMSTRUCT item) override;

    CToolTipCtrl m_ToolTip;
    BOOL m_bHover;
    BOOL m_bTracking;
    HBITMAP m_hBitmap;

protected:
    afx_msg void OnMouseLeave();
    afx_msg void OnMouseHover(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnCaptureChanged(CWnd* wnd);

    DECLARE_MESSAGE_MAP()

private:
    void StopRepeat();
    void PostToMainWindow(UINT message);
};
