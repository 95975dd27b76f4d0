// Property pages of filters and the modal frame that shows them.
#pragma once

#include <dshow/com.h>

extern const IID IID_ISpecifyPropertyPages;
extern const IID IID_IPropertyPage;

// A counted array of GUIDs in task memory.
struct CAUUID {
    ULONG cElems;
    GUID* pElems;
};

// Pages and their frame: GUI thread.
struct ISpecifyPropertyPages : IUnknown {
    // The page classes of the object; pElems in task memory for the caller to free.
    virtual HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) = 0;
};

struct PROPPAGEINFO {
    ULONG cb;
    LPOLESTR pszTitle; // task memory
    SIZE size;         // of the page's window, in pixels
};

// One page of a property frame, created by its class id from the class table.
struct IPropertyPage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) = 0;
    // The objects the page edits; count 0 releases them.
    virtual HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) = 0;
    // Shows the page as a child of `parent` in `rect`; the frame's modal loop runs until it closes.
    virtual HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) = 0;
    virtual HRESULT STDMETHODCALLTYPE Deactivate() = 0;
    // Writes the page's values to its objects.
    virtual HRESULT STDMETHODCALLTYPE Apply() = 0;
};

// Shows the pages of classes `pages` for `objects` in a modal frame at (x, y) of `owner`'s client area (the
// screen without owner), one page below the other, with OK, Cancel and Apply; OK and Apply apply every
// page. Returns when the frame closes. REGDB_E_CLASSNOTREG (or the class's own failure) when a page cannot
// be made, E_INVALIDARG without objects or pages. GUI thread.
HRESULT OleCreatePropertyFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount,
                               IUnknown** objects, ULONG pageCount, const CLSID* pages, LCID locale,
                               DWORD reserved, LPVOID reservedPointer);

ORV_INTERFACE(ISpecifyPropertyPages, IUnknown);
ORV_INTERFACE(IPropertyPage, IUnknown);
