// CMensaro: adding, drawing, hit-testing, choosing, moving and clearing the shapes of the list.
#include <measure/mensaro.h>

#include "graphic_shapes.h"

#include <win32/debug_output.h>

#include <cstdio>
#include <new>

CMensaro::CMensaro()
    : m_pGraphic{}, m_nCount(0), m_nHover(-1), m_nSelect(-1), m_unit(KZ_UNIT_PIXEL),
      m_calibrationUnit(KZ_UNIT_PIXEL), m_dwCalibration(0) {}

CMensaro::CMensaro(const CMensaro& other)
    : m_pGraphic{}, m_nCount(0), m_nHover(other.m_nHover), m_nSelect(other.m_nSelect), m_unit(other.m_unit),
      m_calibrationUnit(other.m_calibrationUnit), m_dwCalibration(other.m_dwCalibration) {
    CopyShapes(other);
}

CMensaro& CMensaro::operator=(const CMensaro& other) {
    if (this == &other)
        return *this;
    ClearAllGraph();
    m_nHover = other.m_nHover;
    m_nSelect = other.m_nSelect;
    m_unit = other.m_unit;
    m_calibrationUnit = other.m_calibrationUnit;
    m_dwCalibration = other.m_dwCalibration;
    CopyShapes(other);
    return *this;
}

CMensaro::~CMensaro() {
    ClearAllGraph();
}

// Clones shape by shape; when memory runs out the copy ends with the shapes it has.
void CMensaro::CopyShapes(const CMensaro& other) {
    for (int i = 0; i < other.m_nCount && other.m_pGraphic[i]; ++i) {
        m_pGraphic[i] = other.m_pGraphic[i]->Clone();
        if (!m_pGraphic[i])
            break;
        m_nCount = i + 1;
    }
}

namespace {

// Stores a shape made by `make` in the next slot: 1, or 0 when the list is full or no memory is left.
template <class Make> int addShape(CGraphic* (&slots)[CMensaro::MaxGraphics], int& count, Make make) {
    if (count >= CMensaro::MaxGraphics)
        return 0;
    CGraphic* shape = make();
    if (!shape)
        return 0;
    slots[count++] = shape;
    return 1;
}

} // namespace

int CMensaro::AddKZLine(int x1, int y1, int x2, int y2) {
    return addShape(m_pGraphic, m_nCount, [&] { return new (std::nothrow) CGraphicLine(x1, y1, x2, y2); });
}

int CMensaro::AddKZRect(int x1, int y1, int x2, int y2) {
    return addShape(m_pGraphic, m_nCount, [&] { return new (std::nothrow) CGraphicRect(x1, y1, x2, y2); });
}

int CMensaro::AddCircle(int cx, int cy, int r) {
    return addShape(m_pGraphic, m_nCount, [&] { return new (std::nothrow) CGraphicCircle(cx, cy, r); });
}

int CMensaro::AddKZEllipse(int x1, int y1, int x2, int y2) {
    return addShape(m_pGraphic, m_nCount, [&] { return new (std::nothrow) CGraphicEllipse(x1, y1, x2, y2); });
}

// The hovered look wins over the chosen one.
void CMensaro::Draw(HDC dc) {
    for (int i = 0; i < m_nCount && m_pGraphic[i]; ++i) {
        if (i == m_nHover)
            m_pGraphic[i]->DrawInverted(dc);
        else if (i == m_nSelect)
            m_pGraphic[i]->DrawHighlight(dc);
        else
            m_pGraphic[i]->Draw(dc);
    }
}

int CMensaro::IsSelect(int x, int y) {
    for (int i = 0; i < m_nCount && m_pGraphic[i]; ++i) {
        if (m_pGraphic[i]->HitTest(x, y) != 1)
            continue;
        char text[256];
        std::snprintf(text, sizeof text, "CurrentSelect: %d Graphic Num: %d\n", i, m_nCount);
        OutputDebugString(text);
        m_nHover = i;
        return 1;
    }
    m_nHover = -1;
    return 0;
}

int CMensaro::SetSelect() {
    m_nSelect = m_nHover;
    return m_nSelect != -1 ? 1 : 0;
}

void CMensaro::Move(int dx, int dy) {
    if (m_nHover >= 0 && m_nHover < MaxGraphics && m_pGraphic[m_nHover])
        m_pGraphic[m_nHover]->Move(dx, dy);
}

void CMensaro::ClearAllGraph() {
    m_nCount = 0;
    for (CGraphic*& shape : m_pGraphic) {
        delete shape;
        shape = nullptr;
    }
    m_nHover = -1;
}

void CMensaro::SetUnit(KZUNIT unit) {
    m_unit = unit;
}

void CMensaro::SetCalibrationUnit(KZUNIT unit, ULONG value) {
    m_calibrationUnit = unit;
    m_dwCalibration = value;
}
