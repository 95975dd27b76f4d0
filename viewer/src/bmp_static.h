// CBmpStatic: the program's static control, an image view holding one picture (zoom, pan, undo history)
// or a level bar of a camera parameter.
#pragma once

#include <bitmap/rastel.h>

#include "framework.h"

class CMensaro;

#define WM_IMAGE_CROPPED (WM_USER + 201)
#define WM_IMAGE_PANNED (WM_USER + 202)

// A view owns every CRastel it holds. GUI thread.
class CBmpStatic : public CStatic {
public:
    static constexpr int kHistorySize = 11;

    CBmpStatic();
    ~CBmpStatic() override;

    // Pictures. LoadFile reads a BMP file, LoadBuffer copies a DIB pixel buffer; both return 1 when loaded,
    // 0 otherwise, and always start with Clear.
    int LoadFile(const char* path, int stretch, int select, int zoom);
    int LoadBuffer(BYTE* pixels, int width, int height, int bits, int stretch, int select, int zoom);
    void Clear();
    void SetStretch(int stretch);
    void SetZoom(int zoom);
    // Repaints the parent under the control at once, then the control.
    void RedrawInParent();

    ULONG GetBmpWidth();
    ULONG GetBmpHeight();
    ULONG GetBmpSize();
    int GetBitCount();
    BYTE* GetBmpPixel();
    int SaveBitmap(const char* path);

    void ClientToImage(POINT* pt);
    int ClientToImageRect(int x1, int y1, int x2, int y2, _tagSHOWRECT* out);
    int Distance(int x1, int y1, int x2, int y2);
    static void __stdcall DrawCallback(void* user, HDC dc);
    void DrawMeasure(HDC dc);
    int AddLine(int x1, int y1, int x2, int y2);
    int AddRect(int x1, int y1, int x2, int y2);
    int AddEllipse(int x1, int y1, int x2, int y2);
    int AddCircle(int cx, int cy, int r);

    // Level bar.
    void SetColors(COLORREF start, COLORREF end, COLORREF back);
    void SetRange(int min, int max);
    void SetPos(int pos);
    void DrawBar(CDC* dc, CRect rect);

    int m_nHistoryCount;
    int m_nHistoryIndex;
    int m_nClickCount;
    POINT m_ptFirst;
    POINT m_ptSecond;
    int m_nMeasureMode;
    CMensaro* m_pMeasure;
    CRastel* m_pBmp;
    CRastel* m_pOriginal;
    CRastel* m_pHistory[kHistorySize];
    int m_bLoaded;
    RECT m_rcSelectClient;
    int m_bStretch;
    int m_nPanX;
    int m_nPanY;
    int m_bPanning;
    POINT m_ptLast;
    int m_nSelectRight;
    int m_nSelectBottom;
    int m_bSelect;
    int m_nZoom;
    COLORREF m_crStart;
    COLORREF m_crEnd;
    COLORREF m_crBack;
    int m_nMin;
    int m_nMax;
    CPoint m_ptDown;
    CPoint m_ptUp;
    int m_bButtonDown;
    int m_nPos;
    int m_bBar;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);

    DECLARE_MESSAGE_MAP()
};
