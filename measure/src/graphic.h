// CGraphic: the shape base of the measurement list, with its pens and its three looks.
#pragma once

#include <win32/types.h>

#include <new>

// A shape drawn on a DC in three looks (normal, inverted, highlighted), hit-tested against its outline
// with a tolerance of 5 units, and moved by an offset. Used by the thread of its CMensaro.
class CGraphic {
public:
    static constexpr int Tolerance = 5;

    // Draws with the highlight pen after advancing the highlight colour by the kind's step.
    virtual void DrawHighlight(HDC dc);
    // 1 when (x, y) lies on the outline within the tolerance, else 0.
    virtual int HitTest(int x, int y) = 0;
    virtual ~CGraphic() = default;
    // Draws with the normal pen.
    virtual void Draw(HDC dc);
    // Draws with the bitwise complement of the normal colour.
    virtual void DrawInverted(HDC dc);
    virtual void Move(int dx, int dy) = 0;
    // A new copy of this shape; null when no memory is left.
    virtual CGraphic* Clone() const = 0;

protected:
    // `highlightStep` is what each highlighted draw adds to the highlight colour.
    explicit CGraphic(COLORREF highlightStep) : m_crHighlightStep(highlightStep) {}
    CGraphic(const CGraphic&) = default;
    CGraphic& operator=(const CGraphic&) = default;

    // Draws the outline with a pen of the shape's style, `width` and `colour`, then puts the DC's pen back.
    void Stroke(HDC dc, int width, COLORREF colour);

    int m_nPenStyle = 0; // PS_SOLID
    int m_nPenWidth = 2;
    COLORREF m_crColor = 0x000000FF;
    int m_nHighlightWidth = 4;
    COLORREF m_crHighlight = 0;

private:
    // The outline's drawing calls, the same in all three looks.
    virtual void Outline(HDC dc) = 0;

    COLORREF m_crHighlightStep;
};

// The copy operation of every kind of shape.
template <class Kind> class CGraphicKind : public CGraphic {
public:
    CGraphic* Clone() const override { return new (std::nothrow) Kind(static_cast<const Kind&>(*this)); }

protected:
    using CGraphic::CGraphic;
};
