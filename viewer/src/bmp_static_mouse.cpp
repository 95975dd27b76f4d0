// CBmpStatic: the mouse handlers: pan, measurement clicks and the rubber band of an image view.
#include "bmp_static.h"

#include <algorithm>
#include <vector>

// A press inside the control: the bar's steps, then the picture's. The view keeps the mouse until the
// release, so a drag that leaves the control still ends here.
void CBmpStatic::OnLButtonDown(UINT, CPoint point)
{
    CRect client;
    GetClientRect(client);
    if (!client.PtInRect(point)) {
        Default();
        return;
    }
    BarButtonDown(point);
    if (m_pBmp != nullptr && m_nMeasureMode != 0)
        MeasureClick(point);
    if (m_pBmp != nullptr && m_bSelect && m_bStretch) {
        CropByRubberBand(point); // the band follows the mouse itself
        Default();
        return;
    }
    if (m_pBmp != nullptr && !m_bStretch) {
        m_bPanning = 1;
        m_ptLast = point;
    }
    SetCapture();
    Default();
}

// Pans by the mouse's displacement against it while the left button is held, bounded so that the
// client area stays filled; tells the parent the new origin (WM_IMAGE_PANNED, wParam -> {x, y}).
void CBmpStatic::OnMouseMove(UINT flags, CPoint point)
{
    const bool held = (flags & MK_LBUTTON) != 0;
    if (!held) {
        // A release this view did not see: nothing is dragged any more.
        m_bButtonDown = 0;
        m_bPanning = 0;
    }
    if (m_bButtonDown)
        BarMouseMove(point);
    if (m_pBmp == nullptr) {
        Default();
        return;
    }
    if (!m_bStretch && m_bPanning && m_nMeasureMode == 0) {
        CRect client;
        GetClientRect(client);
        m_nPanX += m_ptLast.x - point.x;
        m_nPanX = std::max(0, std::min(m_nPanX, PanLimit(client.Width(), static_cast<int>(GetBmpWidth()))));
        m_nPanY += m_ptLast.y - point.y;
        m_nPanY = std::max(0, std::min(m_nPanY, PanLimit(client.Height(), static_cast<int>(GetBmpHeight()))));
        int origin[2] = {m_nPanX, m_nPanY};
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_IMAGE_PANNED, reinterpret_cast<WPARAM>(origin), 0);
    }
    m_ptLast = point;
    Invalidate(TRUE);
    Default();
}

// Any release ends the pan and the bar drag; one inside the control also sets the bar's value.
void CBmpStatic::OnLButtonUp(UINT, CPoint point)
{
    CRect client;
    GetClientRect(client);
    BarButtonUp(point, client.PtInRect(point) != FALSE);
    m_bPanning = 0;
    if (GetCapture() == this)
        ReleaseCapture();
    Default();
}

void CBmpStatic::MeasureClick(CPoint point)
{
    POINT p = point;
    ClientToImage(&p);
    if (m_nClickCount == 0) {
        m_ptFirst = p;
        m_nClickCount = 1;
        return;
    }
    m_ptSecond = p;
    m_nClickCount = 0;
    switch (m_nMeasureMode) {
    case 1:
        AddLine(m_ptFirst.x, m_ptFirst.y, m_ptSecond.x, m_ptSecond.y);
        break;
    case 2:
        AddRect(m_ptFirst.x, m_ptFirst.y, m_ptSecond.x, m_ptSecond.y);
        break;
    case 3:
        AddCircle(m_ptFirst.x, m_ptFirst.y, Distance(m_ptFirst.x, m_ptFirst.y, m_ptSecond.x, m_ptSecond.y));
        break;
    case 4:
        AddEllipse(m_ptFirst.x, m_ptFirst.y, m_ptSecond.x, m_ptSecond.y);
        break;
    default:
        break;
    }
}

// Sends the parent WM_IMAGE_CROPPED with wParam pointing to a CropRecord whose pixels are valid during
// the message.
void CBmpStatic::CropByRubberBand(CPoint point)
{
    if (!m_tracker.TrackRubberBand(this, point, TRUE))
        return;
    CRect client;
    GetClientRect(client);
    CRect band = m_tracker.m_rect;
    band.NormalizeRect();
    band.right = std::min(band.right, client.right);
    band.bottom = std::min(band.bottom, client.bottom);
    m_rcSelectClient = client;
    m_ptLast = band.TopLeft();
    m_nSelectRight = band.right;
    m_nSelectBottom = band.bottom;
    _tagSHOWRECT part;
    ClientToImageRect(band.left, band.top, band.right, band.bottom, &part);
    const int bits = GetBitCount();
    if (part.width <= 0 || part.height <= 0)
        return;
    std::vector<BYTE> pixels(static_cast<size_t>(DibStride(part.width, static_cast<WORD>(bits))) *
                             static_cast<size_t>(part.height));
    if (!m_pBmp->SplitBmp(part.x, part.y, part.width, part.height, bits, pixels.data()))
        return;
    CropRecord record{pixels.data(), part.x, part.y, part.width, part.height, bits};
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_IMAGE_CROPPED, reinterpret_cast<WPARAM>(&record), 0);
}
