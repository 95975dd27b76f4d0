// CMensaro: the measurement overlay's list of line, rectangle, circle and ellipse shapes.
#pragma once

#include <win32/types.h>

class CGraphic;

// Measurement units; stored by the list and not used by it.
enum KZUNIT {
    KZ_UNIT_PIXEL = 0,
    KZ_UNIT_MICROMETRE,
    KZ_UNIT_MILLIMETRE,
};

// Up to 1024 shapes in the order they were added, with the shape under the last tested point (hover)
// and the chosen one (select). The list owns its shapes: copies copy them, the destructor and
// ClearAllGraph delete them. One thread at a time uses an object: the one that owns the DC it draws on.
class CMensaro {
public:
    static constexpr int MaxGraphics = 1024;

    CMensaro();
    CMensaro(const CMensaro& other);
    CMensaro& operator=(const CMensaro& other);
    virtual ~CMensaro();

    // Append a shape; 1 when added, 0 when the list is full (or no memory is left).
    int AddKZLine(int x1, int y1, int x2, int y2);
    int AddKZRect(int x1, int y1, int x2, int y2);
    int AddCircle(int cx, int cy, int r);
    int AddKZEllipse(int x1, int y1, int x2, int y2);

    // Draws every shape: the hovered one inverted, else the chosen one highlighted, else normally.
    void Draw(HDC dc);
    // Hit test in shape order; the first hit becomes the hovered shape (1), else none is (0). Writes
    // "CurrentSelect: <index> Graphic Num: <count>" to the debugger output on a hit.
    int IsSelect(int x, int y);
    // The hovered shape becomes the chosen one; 1 when there was one, 0 (and no choice) otherwise.
    int SetSelect();
    // Moves the hovered shape, if any.
    void Move(int dx, int dy);
    // Deletes every shape and clears the hover; the choice keeps its index.
    void ClearAllGraph();
    void SetUnit(KZUNIT unit);
    void SetCalibrationUnit(KZUNIT unit, ULONG value);

private:
    // Copies the shapes of `other` into the empty slots of this list.
    void CopyShapes(const CMensaro& other);

    CGraphic* m_pGraphic[MaxGraphics];
    int m_nCount;
    int m_nHover;
    int m_nSelect;
    KZUNIT m_unit;
    KZUNIT m_calibrationUnit;
    DWORD m_dwCalibration;
};
