// CGraphicLine: a segment with its fitted line, hit-tested against the whole line.
#include "graphic_shapes.h"

#include <win32/gdi.h>

#include <limits>

CGraphicLine::CGraphicLine(int x1, int y1, int x2, int y2)
    : CGraphicKind(8), m_nX1(x1), m_nY1(y1), m_nX2(x2), m_nY2(y2) {
    Fit();
}

// Slope and intercept from the end points; the intercept uses the slope before its rounding to float.
// A vertical line has no finite slope: both become NaN, which no comparison accepts.
void CGraphicLine::Fit() {
    if (m_nX1 == m_nX2) {
        m_fSlope = m_fIntercept = std::numeric_limits<float>::quiet_NaN();
        return;
    }
    const double slope = static_cast<double>(m_nY2 - m_nY1) / static_cast<double>(m_nX2 - m_nX1);
    m_fSlope = static_cast<float>(slope);
    m_fIntercept = static_cast<float>(m_nY1 - slope * m_nX1);
}

void CGraphicLine::Outline(HDC dc) {
    MoveToEx(dc, m_nX1, m_nY1, nullptr);
    LineTo(dc, m_nX2, m_nY2);
}

void CGraphicLine::Draw(HDC dc) {
    CGraphic::Draw(dc);
    HPEN pen = CreatePen(m_nPenStyle, m_nPenWidth, 0x00FF00FF);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, m_nX1, m_nY1, nullptr);
    for (int x = m_nX1; x < m_nX2; ++x)
        LineTo(dc, x, static_cast<int>(x * m_fSlope + m_fIntercept));
    SelectObject(dc, old);
    DeleteObject(pen);
}

int CGraphicLine::HitTest(int x, int y) {
    const float v = x * m_fSlope + m_fIntercept;
    return v - Tolerance <= y && y <= v + Tolerance ? 1 : 0;
}

void CGraphicLine::Move(int dx, int dy) {
    m_nX1 += dx;
    m_nX2 += dx;
    m_nY1 += dy;
    m_nY2 += dy;
    Fit();
}
