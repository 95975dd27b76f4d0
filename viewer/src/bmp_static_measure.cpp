// CBmpStatic: client-to-picture conversions and the measurement overlay's hooks.
#include "bmp_static.h"

#include <measure/mensaro.h>

#include <cmath>

// Client point to picture point: the centring offset of a small picture taken off, the zoom divided out
// and the pan origin added.
void CBmpStatic::ClientToImage(POINT* pt)
{
    if (m_pBmp == nullptr || pt == nullptr)
        return;
    CRect client;
    GetClientRect(client);
    _tagSHOWRECT dst, src;
    PictureLayout(client.Width(), client.Height(), dst, src);
    pt->x = (pt->x - dst.x) / m_nZoom + m_nPanX;
    pt->y = (pt->y - dst.y) / m_nZoom + m_nPanY;
}

// In Fit mode: the client rectangle between the two corners as a picture rectangle whose y is the row of
// its lower edge in the bottom-up picture (the form CRastel::SplitBmp takes).
int CBmpStatic::ClientToImageRect(int x1, int y1, int x2, int y2, _tagSHOWRECT* out)
{
    CRect client;
    GetClientRect(client);
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    const float w = static_cast<float>(GetBmpWidth()), h = static_cast<float>(GetBmpHeight());
    const float sx = client.Width() > 0 ? w / static_cast<float>(client.Width()) : 0.0f;
    const float sy = client.Height() > 0 ? h / static_cast<float>(client.Height()) : 0.0f;
    out->x = static_cast<LONG>(static_cast<float>(left) * sx);
    out->y = static_cast<LONG>(h - static_cast<float>(bottom) * sy);
    out->width = static_cast<LONG>(static_cast<float>(right - left) * sx);
    out->height = static_cast<LONG>(static_cast<float>(bottom - top) * sy);
    return 1;
}

int CBmpStatic::Distance(int x1, int y1, int x2, int y2)
{
    const double dx = x1 - x2, dy = y1 - y2;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}

void __stdcall CBmpStatic::DrawCallback(void* user, HDC dc) { static_cast<CBmpStatic*>(user)->DrawMeasure(dc); }

void CBmpStatic::DrawMeasure(HDC dc)
{
    if (m_pMeasure != nullptr)
        m_pMeasure->Draw(dc);
}

namespace {

// Redraws the view when the shape was added.
int Added(CBmpStatic& view, int result)
{
    if (result == 1)
        view.RedrawInParent();
    return result;
}

} // namespace

int CBmpStatic::AddLine(int x1, int y1, int x2, int y2)
{
    return m_pBmp && m_pMeasure ? Added(*this, m_pMeasure->AddKZLine(x1, y1, x2, y2)) : 0;
}

int CBmpStatic::AddRect(int x1, int y1, int x2, int y2)
{
    return m_pBmp && m_pMeasure ? Added(*this, m_pMeasure->AddKZRect(x1, y1, x2, y2)) : 0;
}

int CBmpStatic::AddEllipse(int x1, int y1, int x2, int y2)
{
    return m_pBmp && m_pMeasure ? Added(*this, m_pMeasure->AddKZEllipse(x1, y1, x2, y2)) : 0;
}

int CBmpStatic::AddCircle(int cx, int cy, int r)
{
    return m_pBmp && m_pMeasure ? Added(*this, m_pMeasure->AddCircle(cx, cy, r)) : 0;
}
