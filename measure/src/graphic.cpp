// CGraphic: pens and the three looks shared by every shape.
#include "graphic.h"

#include <win32/gdi.h>

void CGraphic::Stroke(HDC dc, int width, COLORREF colour) {
    HPEN pen = CreatePen(m_nPenStyle, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    Outline(dc);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void CGraphic::Draw(HDC dc) {
    Stroke(dc, m_nPenWidth, m_crColor);
}

void CGraphic::DrawInverted(HDC dc) {
    Stroke(dc, m_nPenWidth, ~m_crColor);
}

// The step is added to the whole 24-bit value, so a channel past 255 carries into the next.
void CGraphic::DrawHighlight(HDC dc) {
    m_crHighlight = (m_crHighlight & 0x00FFFFFF) + m_crHighlightStep;
    Stroke(dc, m_nHighlightWidth, m_crHighlight);
}
