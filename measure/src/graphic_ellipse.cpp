// CGraphicEllipse: the ellipse inscribed in a rectangle.
#include "graphic_shapes.h"

#include <win32/gdi.h>

#include <algorithm>
#include <cstdint>

CGraphicEllipse::CGraphicEllipse(int x1, int y1, int x2, int y2)
    : CGraphicKind(0x10101), m_nLeft(std::min(x1, x2)), m_nTop(std::min(y1, y2)), m_nRight(std::max(x1, x2)),
      m_nBottom(std::max(y1, y2)) {
    m_nHalfWidth = (m_nRight - m_nLeft) / 2;
    m_nHalfHeight = (m_nBottom - m_nTop) / 2;
    m_nCenterX = m_nLeft + m_nHalfWidth;
    m_nCenterY = m_nTop + m_nHalfHeight;
}

void CGraphicEllipse::Outline(HDC dc) {
    MoveToEx(dc, m_nLeft, m_nTop, nullptr);
    Arc(dc, m_nLeft, m_nTop, m_nRight, m_nBottom, 0, 0, 0, 0);
}

namespace {

// Y^2 / b^2 + X^2 / a^2 == 1 with truncating integer quotients; false when a half axis is 0, where the
// equation has no value (half axes of 4 or less reach 0 while the test shrinks them).
bool onEllipse(int64_t x, int64_t y, int64_t a, int64_t b) {
    if (a == 0 || b == 0)
        return false;
    return y * y / (b * b) + x * x / (a * a) == 1;
}

} // namespace

int CGraphicEllipse::HitTest(int x, int y) {
    const int64_t dx = x - static_cast<int64_t>(m_nCenterX), dy = y - static_cast<int64_t>(m_nCenterY);
    for (int64_t i = 0; i < Tolerance; ++i) {
        if (onEllipse(dx, dy, m_nHalfWidth - i, m_nHalfHeight - i) ||
            onEllipse(dx, dy, m_nHalfWidth + i, m_nHalfHeight + i))
            return 1;
    }
    return 0;
}

void CGraphicEllipse::Move(int dx, int dy) {
    m_nLeft += dx;
    m_nRight += dx;
    m_nTop += dy;
    m_nBottom += dy;
    m_nCenterX += dx;
    m_nCenterY += dy;
}
