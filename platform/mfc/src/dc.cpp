// CDC ownership, selection with borrowed results, transfers and text; CPaintDC and CClientDC.
#include <mfc/dc.h>
#include <mfc/wnd.h>

#include <utility>

#include "temporaries.h"

CDC::~CDC()
{
    if (m_bOwned)
        DeleteDC();
}

CDC* CDC::FromHandle(HDC dc)
{
    if (!dc)
        return nullptr;
    return platform::mfc::dcTemporaries().find(dc, [dc] {
        auto made = std::make_unique<CDC>();
        made->m_hDC = dc;
        return made;
    });
}

BOOL CDC::Attach(HDC dc)
{
    if (m_hDC || !dc)
        return FALSE;
    m_hDC = dc;
    m_bOwned = false;
    return TRUE;
}

HDC CDC::Detach()
{
    m_bOwned = false;
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_hDC)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    m_bOwned = m_hDC != nullptr;
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC || !m_bOwned)
        return FALSE;
    const BOOL ok = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_bOwned = false;
    return ok;
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object ? object->m_hObject : nullptr));
}

CPen* CDC::SelectObject(CPen* pen)
{
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen ? pen->m_hObject : nullptr)));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush ? brush->m_hObject : nullptr)));
}

CFont* CDC::SelectObject(CFont* font)
{
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font ? font->m_hObject : nullptr)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap ? bitmap->m_hObject : nullptr)));
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc, srcWidth, srcHeight,
                        rop);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    const HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(m_hDC, rect, brush);
    ::DeleteObject(brush);
}

CSize CDC::GetTextExtent(const CString& text) const
{
    SIZE size{0, 0};
    ::GetTextExtentPoint32(m_hDC, text, text.GetLength(), &size);
    return CSize(size);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->GetSafeHwnd() : nullptr) { m_hDC = ::GetDC(m_hWnd); }

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}
