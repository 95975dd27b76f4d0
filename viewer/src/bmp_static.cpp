// CBmpStatic: construction, loading a picture, clearing, stretch and zoom, redrawing and the picture paint.
#include "bmp_static.h"

BEGIN_MESSAGE_MAP(CBmpStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CBmpStatic::CBmpStatic()
    : m_nHistoryCount(0), m_nHistoryIndex(0), m_nClickCount(0), m_ptFirst{0, 0}, m_ptSecond{0, 0},
      m_nMeasureMode(0), m_pMeasure(nullptr), m_pBmp(nullptr), m_pOriginal(nullptr), m_pHistory{}, m_bLoaded(0),
      m_rcSelectClient{0, 0, 0, 0}, m_bStretch(0), m_nPanX(0), m_nPanY(0), m_bPanning(0), m_ptLast{0, 0},
      m_nSelectRight(0), m_nSelectBottom(0), m_bSelect(0), m_nZoom(1), m_crStart(0), m_crEnd(0), m_crBack(0),
      m_nMin(0), m_nMax(0), m_bButtonDown(0), m_nPos(0), m_bBar(0)
{
}

CBmpStatic::~CBmpStatic()
{
    delete m_pBmp;
    for (CRastel*& entry : m_pHistory) {
        delete entry;
        entry = nullptr;
    }
    delete m_pOriginal;
}

// Replaces the picture with the BMP file at `path`; the view is empty when it cannot be read.
int CBmpStatic::LoadFile(const char* path, int stretch, int select, int zoom)
{
    Clear();
    m_bStretch = stretch;
    m_bSelect = select;
    m_nZoom = zoom;
    m_bPanning = 0;
    m_pBmp = new CRastel;
    if (!m_pBmp->ReadBitmap(path)) {
        delete m_pBmp;
        m_pBmp = nullptr;
        return 0;
    }
    m_pBmp->SetZoomFactor(m_nZoom);
    m_bLoaded = 1;
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    m_pBmp->SetDrawCallBack(this, DrawCallback);
    return 1;
}

void CBmpStatic::Clear()
{
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

void CBmpStatic::SetStretch(int stretch)
{
    if (stretch == m_bStretch)
        return;
    m_bStretch = stretch;
    m_nPanX = 0;
    m_nPanY = 0;
    RedrawInParent();
}

void CBmpStatic::RedrawInParent()
{
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
}

void __stdcall CBmpStatic::DrawCallback(void* user, HDC dc) { static_cast<CBmpStatic*>(user)->DrawMeasure(dc); }

// Nothing is measured yet: the overlay stays empty.
void CBmpStatic::DrawMeasure(HDC) {}

void CBmpStatic::SetColors(COLORREF start, COLORREF end, COLORREF back)
{
    m_crStart = start;
    m_crEnd = end;
    m_crBack = back;
}

void CBmpStatic::SetRange(int min, int max)
{
    m_nMin = min;
    m_nMax = max;
}

void CBmpStatic::SetPos(int pos)
{
    m_nPos = pos;
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

// Draws the picture centred (or cropped from the pan origin) or stretched over the client area.
void CBmpStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(client);
    if (!m_bLoaded || m_pBmp == nullptr)
        return;
    const int w = static_cast<int>(m_pBmp->GetBmpWidth());
    const int h = static_cast<int>(m_pBmp->GetBmpHeight());
    _tagSHOWRECT dst{0, 0, client.Width(), client.Height()};
    _tagSHOWRECT src{m_nPanX, m_nPanY, w, h};
    if (!m_bStretch) {
        if (client.Width() > w) {
            dst.width = w;
            dst.x = (client.Width() - w) / 2;
        } else {
            src.width = client.Width();
        }
        if (client.Height() > h) {
            dst.height = h;
            dst.y = (client.Height() - h) / 2;
        } else {
            src.height = client.Height();
        }
    }
    m_pBmp->ShowBitmap(dc, &dst, &src);
}

BOOL CBmpStatic::OnEraseBkgnd(CDC*) { return TRUE; }
