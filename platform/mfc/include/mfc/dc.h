// CDC, CPaintDC and CClientDC: device contexts with the drawing calls of the GDI layer.
#pragma once

#include <mfc/cstring.h>
#include <mfc/gdi_objects.h>
#include <mfc/geometry.h>
#include <win32/user_paint.h>

class CWnd;

// A CDC made by CreateCompatibleDC deletes its DC when destroyed; one that was attached detaches only.
// Each call is the GDI function of the same name on m_hDC with its result. Any thread that uses the DC,
// except FromHandle and SelectObject, whose borrowed wrappers belong to the GUI thread.
class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    static CDC* FromHandle(HDC dc); // a borrowed wrapper (see CGdiObject)

    BOOL Attach(HDC dc);
    HDC Detach();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();

    // Selection returns a borrowed wrapper of the object replaced (null on failure).
    CGdiObject* SelectObject(CGdiObject* object);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectStockObject(int index);

    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    int SetROP2(int rop) { return ::SetROP2(m_hDC, rop); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }

    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL Arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2)
    {
        return ::Arc(m_hDC, l, t, r, b, x1, y1, x2, y2);
    }
    void FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, brush ? HBRUSH(*brush) : nullptr); }
    void FrameRect(LPCRECT rect, CBrush* brush) { ::FrameRect(m_hDC, rect, brush ? HBRUSH(*brush) : nullptr); }
    void FillSolidRect(LPCRECT rect, COLORREF color);

    BOOL TextOut(int x, int y, const CString& text) { return ::TextOut(m_hDC, x, y, text, text.GetLength()); }
    int DrawText(const CString& text, LPRECT rect, UINT format)
    {
        return ::DrawText(m_hDC, text, text.GetLength(), rect, format);
    }
    int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format)
    {
        return ::DrawText(m_hDC, text, count, rect, format);
    }
    CSize GetTextExtent(const CString& text) const;

    HDC m_hDC = nullptr;

protected:
    bool m_bOwned = false; // made by CreateCompatibleDC: deleted with the object
};

// BeginPaint on construction, EndPaint on destruction. GUI thread.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

// GetDC on construction, ReleaseDC on destruction. GUI thread.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};
