// CRectTracker: the rubber band's own message loop and its inverted outline.
#include <mfc/rect_tracker.h>

#include <algorithm>

#include <mfc/dc.h>
#include <mfc/wnd.h>

namespace {

// Inverts the band's outline; drawing it twice restores the window.
void invertBand(CWnd* wnd, CRect band)
{
    band.NormalizeRect();
    CClientDC dc(wnd);
    CPen pen(PS_DOT, 1, RGB(0, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    const int oldRop = dc.SetROP2(R2_NOT);
    dc.Rectangle(band.left, band.top, band.right + 1, band.bottom + 1);
    dc.SetROP2(oldRop);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

} // namespace

BOOL CRectTracker::TrackRubberBand(CWnd* wnd, CPoint start, BOOL allowInvert)
{
    if (!wnd || !::IsWindow(wnd->GetSafeHwnd()))
        return FALSE;
    const HWND hwnd = wnd->GetSafeHwnd();
    m_rect.SetRect(start.x, start.y, start.x, start.y);
    ::SetCapture(hwnd);
    bool accepted = false;
    bool drawn = false;
    for (bool done = false; !done;) {
        MSG msg;
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (::GetCapture() != hwnd)
            break;
        switch (msg.message) {
        case WM_MOUSEMOVE:
            if (drawn)
                invertBand(wnd, m_rect);
            m_rect.right = allowInvert ? GET_X_LPARAM(msg.lParam) : std::max<LONG>(GET_X_LPARAM(msg.lParam), start.x);
            m_rect.bottom = allowInvert ? GET_Y_LPARAM(msg.lParam) : std::max<LONG>(GET_Y_LPARAM(msg.lParam), start.y);
            invertBand(wnd, m_rect);
            drawn = true;
            break;
        case WM_LBUTTONUP:
            accepted = true;
            done = true;
            break;
        case WM_KEYDOWN:
            done = msg.wParam == VK_ESCAPE;
            break;
        default:
            ::DispatchMessage(&msg);
        }
    }
    if (drawn && ::IsWindow(hwnd))
        invertBand(wnd, m_rect);
    if (::GetCapture() == hwnd)
        ::ReleaseCapture();
    m_rect.NormalizeRect();
    return accepted && !m_rect.IsRectEmpty();
}
