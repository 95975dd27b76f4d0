// CBmpStatic: construction, loading a picture, clearing, stretch and zoom, redrawing and the picture paint.
#include "bmp_static.h"

#include <measure/mensaro.h>

#include <algorithm>

namespace {

// The zoom factors a picture takes; anything else is 1.
int ValidZoom(int zoom) {
    return zoom >= 1 && zoom <= 4 ? zoom : 1;
}

} // namespace

BEGIN_MESSAGE_MAP(CBmpStatic, CStatic)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CBmpStatic::CBmpStatic()
    : m_nHistoryCount(0), m_nHistoryIndex(0), m_nClickCount(0), m_ptFirst{0, 0}, m_ptSecond{0, 0},
      m_nMeasureMode(0), m_pMeasure(nullptr), m_pBmp(nullptr), m_pOriginal(nullptr), m_pHistory{},
      m_bLoaded(0), m_rcSelectClient{0, 0, 0, 0}, m_bStretch(0), m_nPanX(0), m_nPanY(0),
      m_bPanning(0), m_ptLast{0, 0}, m_nSelectRight(0), m_nSelectBottom(0), m_bSelect(0),
      m_tracker(CRect(0, 0, 100, 100), CRectTracker::dottedLine | CRectTracker::resizeInside), m_nZoom(1),
      m_crStart(0), m_crEnd(0), m_crBack(0), m_nMin(0), m_nMax(0), m_bButtonDown(0), m_nPos(0), m_bBar(0) {}

CBmpStatic::~CBmpStatic() {
    delete m_pMeasure;
    delete m_pBmp;
    for (CRastel*& entry : m_pHistory)
        delete entry;
    delete m_pOriginal;
}

// Replaces the picture with the BMP file at `path`; the view is empty when it cannot be read.
int CBmpStatic::LoadFile(const char* path, int stretch, int select, int zoom) {
    BeginLoad(stretch, select, zoom);
    if (!m_pBmp->ReadBitmap(path))
        return EndLoad(false);
    EndLoad(true);
    m_pBmp->SetDrawCallBack(this, DrawCallback);
    return 1;
}

// Replaces the picture with a copy of a DIB pixel buffer, which stays the caller's; the view is empty
// when the buffer is refused (see CRastel::ReadBitmap).
int CBmpStatic::LoadBuffer(BYTE* pixels, int width, int height, int bits, int stretch, int select, int zoom) {
    BeginLoad(stretch, select, zoom);
    return EndLoad(m_pBmp->ReadBitmap(pixels, width, height, bits) != 0);
}

void CBmpStatic::BeginLoad(int stretch, int select, int zoom) {
    Clear();
    m_bStretch = stretch;
    m_bSelect = select;
    m_nZoom = ValidZoom(zoom);
    m_bPanning = 0;
    m_pBmp = new CRastel;
}

int CBmpStatic::EndLoad(bool loaded) {
    if (!loaded) {
        delete m_pBmp;
        m_pBmp = nullptr;
        return 0;
    }
    m_pBmp->SetZoomFactor(m_nZoom);
    m_bLoaded = 1;
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    return 1;
}

void CBmpStatic::Clear() {
    delete m_pMeasure;
    m_pMeasure = nullptr;
    delete m_pBmp;
    m_pBmp = nullptr;
    delete m_pOriginal;
    m_pOriginal = nullptr;
    for (CRastel*& entry : m_pHistory) {
        delete entry;
        entry = nullptr;
    }
    m_bStretch = 0;
    m_bSelect = 0;
    m_nZoom = 1;
    m_bLoaded = 0;
    m_nPanX = 0;
    m_nPanY = 0;
    m_bPanning = 0;
    m_nHistoryCount = 0;
    m_nHistoryIndex = 0;
    RedrawInParent();
}

void CBmpStatic::SetStretch(int stretch) {
    if (stretch == m_bStretch)
        return;
    m_bStretch = stretch;
    m_nPanX = 0;
    m_nPanY = 0;
    RedrawInParent();
}

void CBmpStatic::SetZoom(int zoom) {
    if (m_pBmp == nullptr)
        return;
    m_nPanX = 0;
    m_nPanY = 0;
    m_nZoom = ValidZoom(zoom);
    m_pBmp->SetZoomFactor(m_nZoom);
    RedrawInParent();
}

void CBmpStatic::RedrawInParent() {
    if (m_hWnd == nullptr)
        return;
    CWnd* parent = GetParent();
    if (parent == nullptr)
        return;
    CRect rect;
    GetWindowRect(rect);
    parent->ScreenToClient(rect);
    parent->InvalidateRect(rect, TRUE);
    parent->UpdateWindow();
    // Updating the parent does not paint its children: the control follows at once.
    Invalidate(TRUE);
    UpdateWindow();
}

ULONG CBmpStatic::GetBmpWidth() {
    return m_pBmp ? m_pBmp->GetBmpWidth() : 0;
}
ULONG CBmpStatic::GetBmpHeight() {
    return m_pBmp ? m_pBmp->GetBmpHeight() : 0;
}
ULONG CBmpStatic::GetBmpSize() {
    return m_pBmp ? m_pBmp->GetBmpSize() : 0;
}
int CBmpStatic::GetBitCount() {
    return m_pBmp ? m_pBmp->GetBitCount() : 0;
}
BYTE* CBmpStatic::GetBmpPixel() {
    return m_pBmp ? m_pBmp->GetBmpPixel() : nullptr;
}

int CBmpStatic::SaveBitmap(const char* path) {
    return m_pBmp ? m_pBmp->SaveBitmap(path) : 0;
}

int CBmpStatic::PanLimit(int client, int size) const {
    const int shown = std::min(client, m_nZoom * size) / m_nZoom;
    return size - shown;
}

// The ShowBitmap rectangles at the picture's zoom factor 1, the view doing the zoom itself: a source of
// picture pixels stretched over its zoomed size. Fit mode: the whole picture over the whole client area,
// whatever the zoom. Otherwise along each axis the picture takes e = min(client, zoom x size) pixels,
// centred, and shows e / zoom picture pixels from the pan origin.
void CBmpStatic::PictureLayout(int W, int H, _tagSHOWRECT& dst, _tagSHOWRECT& src) const {
    const int w = static_cast<int>(m_pBmp->GetBmpWidth());
    const int h = static_cast<int>(m_pBmp->GetBmpHeight());
    if (m_bStretch) {
        dst = {0, 0, W, H};
        src = {0, 0, w, h};
        return;
    }
    const int ex = std::min(W, m_nZoom * w);
    const int ey = std::min(H, m_nZoom * h);
    dst = {(W - ex) / 2, (H - ey) / 2, ex, ey};
    src = {m_nPanX, m_nPanY, ex / m_nZoom, ey / m_nZoom};
}

// The level bar, or the picture; nothing else of the client area is painted. ShowBitmap takes no more
// than the picture's own size as its source whatever the zoom factor, so a picture whose zoomed size
// exceeds it could not be shown whole at its factor: the picture is drawn at factor 1 from the zoomed
// layout, and keeps the view's factor otherwise.
void CBmpStatic::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(client);
    if (m_bBar)
        PaintBar(dc, client);
    if (!m_bLoaded || m_pBmp == nullptr)
        return;
    _tagSHOWRECT dst, src;
    PictureLayout(client.Width(), client.Height(), dst, src);
    m_pBmp->SetZoomFactor(1);
    m_pBmp->ShowBitmap(dc, &dst, &src);
    m_pBmp->SetZoomFactor(m_nZoom);
}

BOOL CBmpStatic::OnEraseBkgnd(CDC*) {
    return TRUE;
}
