// CGraphicRect: an axis-aligned rectangle outline.
#include "graphic_shapes.h"

#include <win32/gdi.h>

#include <algorithm>

CGraphicRect::CGraphicRect(int x1, int y1, int x2, int y2)
    : CGraphicKind(0x101), m_nLeft(std::min(x1, x2)), m_nTop(std::min(y1, y2)), m_nRight(std::max(x1, x2)),
      m_nBottom(std::max(y1, y2)) {}

void CGraphicRect::Outline(HDC dc) {
    MoveToEx(dc, m_nLeft, m_nTop, nullptr);
    LineTo(dc, m_nRight, m_nTop);
    LineTo(dc, m_nRight, m_nBottom);
    LineTo(dc, m_nLeft, m_nBottom);
    LineTo(dc, m_nLeft, m_nTop);
}

int CGraphicRect::HitTest(int x, int y) {
    auto near = [](int value, int side) { return side - Tolerance < value && value < side + Tolerance; };
    const bool onSide = (near(x, m_nLeft) || near(x, m_nRight)) && m_nTop < y && y < m_nBottom;
    const bool onTopOrBottom = (near(y, m_nTop) || near(y, m_nBottom)) && m_nLeft < x && x < m_nRight;
    return onSide || onTopOrBottom ? 1 : 0;
}

void CGraphicRect::Move(int dx, int dy) {
    m_nLeft += dx;
    m_nRight += dx;
    m_nTop += dy;
    m_nBottom += dy;
}
