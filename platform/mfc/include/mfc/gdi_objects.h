// CGdiObject, CPen, CBrush, CFont and CBitmap: GDI objects owned by framework objects.
#pragma once

#include <win32/gdi.h>

// An object deletes the handle it holds when it is destroyed, unless it was detached; objects given out
// by FromHandle (and by CDC::SelectObject) only borrow their handle and live until the outermost message
// loop takes its next message. Any thread for the objects themselves; FromHandle on the GUI thread.
class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    static CGdiObject* FromHandle(HGDIOBJ handle);

    BOOL Attach(HGDIOBJ handle); // FALSE when this object holds one already or `handle` is null
    HGDIOBJ Detach();
    BOOL DeleteObject(); // deletes the handle now; FALSE when there is none or GDI refuses
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    int GetObject(int size, LPVOID buffer) const { return ::GetObject(m_hObject, size, buffer); }

    HGDIOBJ m_hObject = nullptr;

protected:
    bool m_bBorrowed = false; // a FromHandle wrapper: the handle is not deleted with the object
    template <typename T>
    static T* borrowed(HGDIOBJ handle);
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    static CPen* FromHandle(HPEN pen) { return borrowed<CPen>(pen); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    static CBrush* FromHandle(HBRUSH brush) { return borrowed<CBrush>(brush); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    static CFont* FromHandle(HFONT font) { return borrowed<CFont>(font); }
    BOOL CreateFontIndirect(const LOGFONT* font) { return Attach(::CreateFontIndirect(font)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName)
    {
        return Attach(::CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                   charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
    }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CDC;

class CBitmap : public CGdiObject {
public:
    static CBitmap* FromHandle(HBITMAP bitmap) { return borrowed<CBitmap>(bitmap); }
    // The program's bitmap resource `id` (registered with platform::gdi::registerResourceBitmap).
    BOOL LoadBitmap(UINT id);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* out) const { return GetObject(sizeof(BITMAP), out); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
