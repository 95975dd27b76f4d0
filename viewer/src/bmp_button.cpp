// CBmpButton: strip painting, hover tracking, tool tip and the held-button repeat timer.
#include "bmp_button.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatMs = 50;

LPARAM PackPoint(CPoint point) {
    return MAKELPARAM(point.x, point.y);
}

} // namespace

BEGIN_MESSAGE_MAP(CBmpButton, CButton)
ON_WM_MOUSELEAVE()
ON_WM_MOUSEHOVER()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_SETCURSOR()
ON_WM_TIMER()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CBmpButton::CBmpButton() : m_bHover(FALSE), m_bTracking(FALSE), m_hBitmap(nullptr) {}

CBmpButton::~CBmpButton() {
    if (m_hBitmap != nullptr) {
        ::DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
    }
}

BOOL CBmpButton::SetBitmap(UINT id) {
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = ::LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(static_cast<WORD>(id)));
    return TRUE;
}

void CBmpButton::SetToolTipText(CString text) {
    if (m_ToolTip.GetSafeHwnd() == nullptr) {
        if (m_ToolTip.Create(this, 0) && m_ToolTip.AddTool(this, text, nullptr, 0))
            m_ToolTip.Activate(TRUE);
        return;
    }
    m_ToolTip.UpdateTipText(text, this, 0);
}

void CBmpButton::RelayEvent(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_ToolTip.GetSafeHwnd() == nullptr)
        return;
    MSG msg{};
    msg.hwnd = m_hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = 0;
    msg.pt.x = LOWORD(lParam);
    msg.pt.y = HIWORD(lParam);
    m_ToolTip.RelayEvent(&msg);
}

// Paints frame 0 (normal), 1 (under the mouse) or 2 (pressed, which wins) of the strip over the whole item
// rectangle. A button without a strip paints nothing.
void CBmpButton::DrawItem(LPDRAWITEMSTRUCT item) {
    if (m_hBitmap == nullptr)
        return;
    BITMAP bm{};
    if (::GetObject(m_hBitmap, sizeof bm, &bm) == 0)
        return;
    CDC* dc = CDC::FromHandle(item->hDC);
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return;
    CBitmap* previous = memory.SelectObject(CBitmap::FromHandle(m_hBitmap));
    int x = 0;
    if (item->itemState & ODS_SELECTED)
        x = (2 * bm.bmWidth) / 3;
    else if (m_bHover)
        x = bm.bmWidth / 3;
    const CRect rect(item->rcItem);
    dc->StretchBlt(0, 0, rect.Width(), rect.Height(), &memory, x, 0, bm.bmWidth / 3, bm.bmHeight, SRCCOPY);
    memory.SelectObject(previous);
}

void CBmpButton::OnMouseLeave() {
    ::OutputDebugString("Leaving!");
    m_bTracking = FALSE;
    m_bHover = FALSE;
    Invalidate(TRUE);
}

void CBmpButton::OnMouseHover(UINT, CPoint) {
    ::OutputDebugString("Hovering!");
    m_bHover = TRUE;
    Invalidate(TRUE);
}

void CBmpButton::OnMouseMove(UINT flags, CPoint point) {
    RelayEvent(WM_MOUSEMOVE, flags, PackPoint(point));
    if (!m_bTracking) {
        TRACKMOUSEEVENT track{};
        track.cbSize = 16;
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = 1;
        m_bTracking = ::_TrackMouseEvent(&track);
    }
    Default();
}

void CBmpButton::OnLButtonDown(UINT flags, CPoint point) {
    RelayEvent(WM_LBUTTONDOWN, flags, PackPoint(point));
    SetTimer(kRepeatTimer, kRepeatMs);
    Default();
}

void CBmpButton::OnLButtonUp(UINT flags, CPoint point) {
    RelayEvent(WM_LBUTTONUP, flags, PackPoint(point));
    StopRepeat();
    PostToMainWindow(WM_LBUTTONUP);
    Default();
}

BOOL CBmpButton::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
    return TRUE;
}

// The repeat ends with the hold: a button that was hidden or disabled meanwhile stops instead of posting.
void CBmpButton::OnTimer(UINT_PTR) {
    if (!IsWindowVisible() || !IsWindowEnabled()) {
        StopRepeat();
        return;
    }
    PostToMainWindow(WM_BUTTON_REPEAT);
    Default();
}

// Losing the capture ends the hold like a release.
void CBmpButton::OnCaptureChanged(CWnd*) {
    StopRepeat();
    Default();
}

void CBmpButton::StopRepeat() {
    if (m_hWnd != nullptr)
        ::KillTimer(m_hWnd, kRepeatTimer);
}

void CBmpButton::PostToMainWindow(UINT message) {
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(message, 0, 0);
}
