// The four measurement shapes: line, rectangle, circle and ellipse.
#pragma once

#include "graphic.h"

class CGraphicLine : public CGraphicKind<CGraphicLine> {
public:
    CGraphicLine(int x1, int y1, int x2, int y2);
    // Also draws the fitted-line trace in magenta from x1 up to x2 - 1.
    void Draw(HDC dc) override;
    // Within 5 of the infinite line through the end points, whatever x; never for a vertical line.
    int HitTest(int x, int y) override;
    void Move(int dx, int dy) override;

private:
    void Outline(HDC dc) override;
    void Fit();

    int m_nX1, m_nY1, m_nX2, m_nY2;
    float m_fSlope = 0;
    float m_fIntercept = 0;
};

class CGraphicRect : public CGraphicKind<CGraphicRect> {
public:
    CGraphicRect(int x1, int y1, int x2, int y2);
    // Strictly within 5 of a side and strictly between the other two sides; corners do not hit.
    int HitTest(int x, int y) override;
    void Move(int dx, int dy) override;

private:
    void Outline(HDC dc) override;

    int m_nLeft, m_nTop, m_nRight, m_nBottom;
};

class CGraphicCircle : public CGraphicKind<CGraphicCircle> {
public:
    CGraphicCircle(int cx, int cy, int r);
    // (r - 5)^2 < squared distance from the centre < (r + 5)^2.
    int HitTest(int x, int y) override;
    void Move(int dx, int dy) override;

private:
    void Outline(HDC dc) override;

    int m_nCenterX, m_nCenterY, m_nRadius;
};

class CGraphicEllipse : public CGraphicKind<CGraphicEllipse> {
public:
    CGraphicEllipse(int x1, int y1, int x2, int y2);
    // The ellipse equation with integer quotients, on half axes shrunk and grown by 0 to 4.
    int HitTest(int x, int y) override;
    // Moves the rectangle and the centre; the half axes stay.
    void Move(int dx, int dy) override;

private:
    void Outline(HDC dc) override;

    int m_nLeft, m_nTop, m_nRight, m_nBottom;
    int m_nCenterX, m_nCenterY, m_nHalfWidth, m_nHalfHeight;
};
