// CGraphicCircle: a circle outline around its centre.
#include "graphic_shapes.h"

#include <win32/gdi.h>

#include <cstdint>

CGraphicCircle::CGraphicCircle(int cx, int cy, int r)
    : CGraphicKind(0x10101), m_nCenterX(cx), m_nCenterY(cy), m_nRadius(r) {}

// Equal start and end points draw the whole circle.
void CGraphicCircle::Outline(HDC dc) {
    Arc(dc, m_nCenterX - m_nRadius, m_nCenterY - m_nRadius, m_nCenterX + m_nRadius, m_nCenterY + m_nRadius, 0,
        0, 0, 0);
}

// Squares in 64 bits, so that far points cannot overflow.
int CGraphicCircle::HitTest(int x, int y) {
    const int64_t dx = x - static_cast<int64_t>(m_nCenterX), dy = y - static_cast<int64_t>(m_nCenterY);
    const int64_t d = dx * dx + dy * dy;
    const int64_t inner = m_nRadius - static_cast<int64_t>(Tolerance),
                  outer = m_nRadius + static_cast<int64_t>(Tolerance);
    return inner * inner < d && d < outer * outer ? 1 : 0;
}

void CGraphicCircle::Move(int dx, int dy) {
    m_nCenterX += dx;
    m_nCenterY += dy;
}
