// CBmpStatic: the level bar: its settings, painting and the bar's part of the mouse handlers.
#include "bmp_static.h"

#include "orvanel_dlg.h"

#include <algorithm>

namespace {

void PostLevelChanged()
{
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(WM_LEVEL_CHANGED, 0, 0);
}

BYTE Channel(COLORREF color, int shift) { return static_cast<BYTE>(color >> shift); }

} // namespace

void CBmpStatic::SetColors(COLORREF start, COLORREF end, COLORREF back)
{
    m_crStart = start;
    m_crEnd = end;
    m_crBack = back;
}

void CBmpStatic::SetRange(int min, int max)
{
    m_nMin = min;
    m_nMax = max;
}

void CBmpStatic::SetPos(int pos)
{
    m_nPos = pos;
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

// The bar is drawn off screen and copied in one block: white, with the bands when the value is in range;
// a bar without a range shows only its background.
void CBmpStatic::PaintBar(CDC& dc, const CRect& client)
{
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.Width(), client.Height());
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    CDC* target = CDC::FromHandle(memory);
    target->FillSolidRect(client, RGB(255, 255, 255));
    if (m_nMax <= m_nMin || (m_nMin <= m_nPos && m_nPos <= m_nMax))
        DrawBar(target, client);
    ::BitBlt(dc, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
}

// The background, then m_nPos - m_nMin + 1 bands from the left, each W / range wide, their colour running
// from m_crStart towards m_crEnd along the range. Bands past the right edge are not drawn.
void CBmpStatic::DrawBar(CDC* dc, CRect rect)
{
    dc->FillSolidRect(rect, m_crBack);
    const int range = m_nMax - m_nMin;
    if (range <= 0)
        return;
    const float band = static_cast<float>(rect.Width()) / static_cast<float>(range);
    float step[3];
    for (int c = 0; c < 3; ++c)
        step[c] = static_cast<float>(Channel(m_crEnd, 8 * c) - Channel(m_crStart, 8 * c)) / static_cast<float>(range);
    const int last = std::min(m_nPos - m_nMin, range);
    for (int i = 0; i <= last; ++i) {
        BYTE value[3];
        for (int c = 0; c < 3; ++c)
            value[c] = static_cast<BYTE>(static_cast<int>(static_cast<float>(Channel(m_crStart, 8 * c)) +
                                                          static_cast<float>(i) * step[c]) &
                                         0xFF);
        const COLORREF color = RGB(value[0], value[1], value[2]);
        HBRUSH brush = ::CreateSolidBrush(color);
        HPEN pen = ::CreatePen(PS_SOLID, 1, color);
        HGDIOBJ oldBrush = ::SelectObject(*dc, brush);
        HGDIOBJ oldPen = ::SelectObject(*dc, pen);
        ::Rectangle(*dc, static_cast<int>(static_cast<float>(i) * band), 0,
                    static_cast<int>(static_cast<float>(i + 1) * band), rect.Height());
        ::SelectObject(*dc, oldPen);
        ::SelectObject(*dc, oldBrush);
        ::DeleteObject(pen);
        ::DeleteObject(brush);
    }
}

// m_nMin at the left column, exactly m_nMax at the right one and linear between, truncated; a column
// outside the client area (the bar holds the mouse while the button is down) counts as the nearest edge.
// m_nMin for a bar without a range or without width.
int CBmpStatic::BarValue(int x) const
{
    CRect client;
    ::GetClientRect(m_hWnd, client);
    const int range = m_nMax - m_nMin;
    const int lastColumn = client.Width() - 1;
    if (range <= 0 || lastColumn <= 0)
        return m_nMin;
    const long long column = std::clamp(x, 0, lastColumn);
    return m_nMin + static_cast<int>(range * column / lastColumn);
}

void CBmpStatic::BarButtonDown(CPoint point)
{
    m_ptDown = point;
    m_bButtonDown = 1;
    m_nPos = BarValue(point.x);
    PostLevelChanged();
    Invalidate(TRUE);
}

void CBmpStatic::BarMouseMove(CPoint point)
{
    if (auto* dlg = dynamic_cast<COrvanelDlg*>(AfxGetMainWnd()))
        dlg->m_bDragging = 1;
    m_nPos = BarValue(point.x);
    PostLevelChanged();
    m_ptUp.x = point.x;
}

void CBmpStatic::BarButtonUp(CPoint point, bool inside)
{
    m_bButtonDown = 0;
    if (!inside)
        return;
    m_ptUp = point;
    m_nPos = BarValue(point.x);
    PostLevelChanged();
}
