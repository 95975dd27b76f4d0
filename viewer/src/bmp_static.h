// CBmpStatic: the program's static control, an image view holding one picture (zoom, pan, undo history)
// or a level bar of a camera parameter.
#pragma once

#include <bitmap/rastel.h>

#include "framework.h"

class CMensaro;

#define WM_IMAGE_CROPPED (WM_USER + 201)
#define WM_IMAGE_PANNED (WM_USER + 202)

// The record WM_IMAGE_CROPPED points to (wParam): the cut-out picture and where it was in the picture.
struct CropRecord {
    BYTE* pixels;
    int x, y, width, height, bits;
};

// A view owns every CRastel it holds. Everything runs on the GUI thread.
//
// Image view: the picture is centred when it is smaller than the client area at the zoom, cropped from
// the pan origin when larger, or stretched over the client area in Fit mode (zoom ignored). While the left
// button is held after a press on it (the view captures the mouse), dragging pans a picture that does not
// fit. History: entry 0 is the picture as loaded; each command pushes its result; 11 entries at most.
class CBmpStatic : public CStatic {
public:
    static constexpr int kHistorySize = 11;

    CBmpStatic();
    ~CBmpStatic() override;

    // Pictures. LoadFile reads a BMP file, LoadBuffer copies a DIB pixel buffer; both start with Clear and
    // return 1 when loaded, 0 otherwise (the view is then empty).
    int LoadFile(const char* path, int stretch, int select, int zoom);
    int LoadBuffer(BYTE* pixels, int width, int height, int bits, int stretch, int select, int zoom);
    // Drops the picture, the history and the measurement list.
    void Clear();
    // Fit mode on (1) or off (0); the pan origin returns to (0, 0).
    void SetStretch(int stretch);
    // Zoom 1 to 4 (anything else is 1) with the pan origin at (0, 0); nothing without a picture.
    void SetZoom(int zoom);
    // Repaints the parent under the control at once, then the control.
    void RedrawInParent();

    // The picture's getters; 0 or null without a picture.
    ULONG GetBmpWidth();
    ULONG GetBmpHeight();
    ULONG GetBmpSize();
    int GetBitCount();
    BYTE* GetBmpPixel();
    // CRastel::SaveBitmap's result; 0 without a picture.
    int SaveBitmap(const char* path);

    // Client point to picture point, in place (outside Fit mode).
    void ClientToImage(POINT* pt);
    // Client rectangle to bottom-up picture rectangle in Fit mode; always 1.
    int ClientToImageRect(int x1, int y1, int x2, int y2, _tagSHOWRECT* out);
    int Distance(int x1, int y1, int x2, int y2);
    static void __stdcall DrawCallback(void* user, HDC dc);
    void DrawMeasure(HDC dc);
    // Measurement shapes in picture coordinates: the list's result, 0 without picture or list.
    int AddLine(int x1, int y1, int x2, int y2);
    int AddRect(int x1, int y1, int x2, int y2);
    int AddEllipse(int x1, int y1, int x2, int y2);
    int AddCircle(int cx, int cy, int r);

    // History: PushSnapshot copies `source` in as the newest entry (always 1); Undo and Redo step through
    // the entries; RestoreOriginal goes back to the picture as first pushed; Snapshot pushes the shown
    // picture (1, or 0 without one).
    int PushSnapshot(CRastel* source);
    void Undo();
    void Redo();
    void RestoreOriginal();
    int Snapshot();

    // Picture commands: the CRastel command of the same name on the shown picture, a history entry
    // (commands that cannot fail always push, the others only when they changed the picture) and a
    // redraw. Each returns the CRastel result, 0 at once without a picture.
    int Threshold(BYTE level);
    int ConvertToBW();
    int Negative();
    int HistogramEqualize();
    int Sharpen();
    int Smooth();
    int Edge();
    int HistogramStretch(int inLow, int inHigh, int outLow, int outHigh);
    int Contrast(int brightness, int contrast);
    int Emboss();

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
    CRectTracker m_tracker;
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
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    // The two halves of a load: BeginLoad clears the view, takes the settings and makes m_pBmp; EndLoad
    // keeps the loaded picture at the view's zoom, or deletes it. EndLoad returns 1 loaded, 0 not.
    void BeginLoad(int stretch, int select, int zoom);
    int EndLoad(bool loaded);
    // Where the picture goes in a client area of W x H and the ShowBitmap source rectangle that fills it.
    void PictureLayout(int W, int H, _tagSHOWRECT& dst, _tagSHOWRECT& src) const;
    // The largest pan origin along one axis: picture size minus the picture pixels the client shows.
    int PanLimit(int client, int size) const;
    // Shows `source`'s picture (a history entry) in m_pBmp at the view's zoom.
    void ShowEntry(CRastel* source);
    // Picture commands: runs `command` with `args` on m_pBmp, pushes by `push`, redraws.
    enum class Push { Always, WhenDone };
    template <typename... Args> int RunCommand(Push push, int (CRastel::*command)(Args...), Args... args);
    // The level-bar value at client column x.
    int BarValue(int x) const;
    // The bar's part of each mouse handler.
    void BarButtonDown(CPoint point);
    void BarMouseMove(CPoint point);
    void BarButtonUp(CPoint point, bool inside);
    // A press in a measurement mode: collects the point and adds the shape on the second one.
    void MeasureClick(CPoint point);
    // A rubber band in Fit mode: the band's part of the picture goes to the parent.
    void CropByRubberBand(CPoint point);
    void PaintBar(CDC& dc, const CRect& client);
};
