// COrvanelDlg: painting the background, headings, labels, version text and thumbnail marker; control colours.
#include <algorithm>

#include "layout.h"
#include "orvanel_dlg.h"

namespace {

const char kVersion[] = "Ver 1.01.0606";

void DrawLabel(CDC& dc, const CString& text, const layout::Label& label, UINT format) {
    CRect rect(label.left, label.top, label.right, label.bottom);
    dc.DrawText(text, rect, format);
}

// The background over the part of the client area being repainted only, for a background of the client's
// own size: the transparent blit builds bitmaps of the size it draws, and most repaints (a thumbnail, a
// label, the status line) cover a small part of the window.
void BlendUpdatedPart(CPaintDC& dc, CDC& background, const CRect& client) {
    const RECT& paint = dc.m_ps.rcPaint;
    const CRect area(std::max(client.left, paint.left), std::max(client.top, paint.top),
                     std::min(client.right, paint.right), std::min(client.bottom, paint.bottom));
    if (area.IsRectEmpty())
        return;
    DrawTransparent(&dc, area.left, area.top, area.Width(), area.Height(), &background, area.left, area.top,
                    area.Width(), area.Height(), RGB(0, 0, 0));
}

} // namespace

void MakeLabelFont(CFont& font, int height) {
    font.CreateFont(height, 0, 0, 0, 1000, 0, 0, 0, 0, 0, 0, 0, 0x20, "黑体");
}

// Paints the mode's background (copied whole, or with its black parts left to the live picture), then
// the texts of the mode and, in Preview mode, the marker over the last filled thumbnail. The fonts and the
// brush live only for this paint.
void COrvanelDlg::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(client);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.SetBkMode(TRANSPARENT);

    CBitmap* oldBitmap = memory.SelectObject(m_nMode == 0 ? &m_bmpMain : &m_bmpImage);
    if (m_nMode == 1 || (m_nResolution == 0 && m_bPreview == 1))
        dc.StretchBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, m_nBkWidth, m_nBkHeight, SRCCOPY);
    else if (m_nBkWidth == client.Width() && m_nBkHeight == client.Height())
        BlendUpdatedPart(dc, memory, client);
    else
        DrawTransparent(&dc, 0, 0, client.Width(), client.Height(), &memory, 0, 0, m_nBkWidth, m_nBkHeight,
                        RGB(0, 0, 0));

    CFont small;
    CFont large;
    MakeLabelFont(small, layout::kLabelFontHeight);
    MakeLabelFont(large, layout::kHeadingFontHeight);
    CFont* oldFont = dc.SelectObject(&small);
    CBrush marker;
    const UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (m_nMode == 0) {
        dc.SelectObject(&large);
        DrawLabel(dc, m_strCaption[layout::kHeading.caption], layout::kHeading, centred);
        dc.SelectObject(&small);
        DrawLabel(dc, kVersion, layout::kHeading, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
        for (const layout::Label& label : layout::kPreviewLabels)
            DrawLabel(dc, m_strCaption[label.caption], label, centred);
        if (m_nThumbCount != 0) {
            const int n = m_nThumbCount;
            const POINT corners[3] = {{110 * n - 20, 670}, {110 * n - 10, 670}, {110 * n - 15, 680}};
            marker.CreateSolidBrush(RGB(0, 255, 0));
            CBrush* previous = dc.SelectObject(&marker);
            dc.Polygon(corners, 3);
            dc.SelectObject(previous);
        }
    } else {
        dc.SelectObject(&large);
        DrawLabel(dc, m_strCaption[layout::kEditHeading.caption], layout::kEditHeading, centred);
        dc.SelectObject(&small);
        for (const layout::Label& label : layout::kEditLabels)
            DrawLabel(dc, m_strCaption[label.caption], label, centred);
    }

    dc.SelectObject(oldFont);
    dc.SelectObject(oldBrush);
    memory.SelectObject(oldBitmap);
}

BOOL COrvanelDlg::OnEraseBkgnd(CDC*) {
    return TRUE;
}

// The status line draws on a transparent background with no brush; the position slider keeps the dialog's
// brush on a transparent background; every other control gets no brush.
HBRUSH COrvanelDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    HBRUSH brush = CDialog::OnCtlColor(dc, wnd, ctlColor);
    const int id = wnd != nullptr ? wnd->GetDlgCtrlID() : 0;
    if (id == IDC_STATIC_STATUS) {
        dc->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    if (id == IDC_SLIDER_POSITION) {
        dc->SetBkMode(TRANSPARENT);
        return brush;
    }
    return nullptr;
}
