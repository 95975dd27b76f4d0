// CGdiObject ownership and borrowed wrappers, and the CBitmap loaders.
#include <mfc/dc.h>
#include <mfc/gdi_objects.h>


#include "temporaries.h"

CGdiObject::~CGdiObject()
{
    if (!m_bBorrowed)
        DeleteObject();
}

template <typename T>
T* CGdiObject::borrowed(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    auto* object = platform::mfc::gdiTemporaries().find({handle, std::type_index(typeid(T))}, [handle] {
        auto made = std::make_unique<T>();
        made->m_hObject = handle;
        made->m_bBorrowed = true;
        return made;
    });
    return static_cast<T*>(object);
}

template CGdiObject* CGdiObject::borrowed<CGdiObject>(HGDIOBJ);
template CPen* CGdiObject::borrowed<CPen>(HGDIOBJ);
template CBrush* CGdiObject::borrowed<CBrush>(HGDIOBJ);
template CFont* CGdiObject::borrowed<CFont>(HGDIOBJ);
template CBitmap* CGdiObject::borrowed<CBitmap>(HGDIOBJ);

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) { return borrowed<CGdiObject>(handle); }

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (m_hObject || !handle)
        return FALSE;
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

BOOL CGdiObject::DeleteObject()
{
    // A handle that GDI refuses to delete (still selected somewhere) stays with the object.
    if (!m_hObject || !::DeleteObject(m_hObject))
        return FALSE;
    m_hObject = nullptr;
    return TRUE;
}

BOOL CBitmap::LoadBitmap(UINT id)
{
    return Attach(::LoadBitmap(nullptr, MAKEINTRESOURCE(id)));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc ? dc->GetSafeHdc() : nullptr, width, height));
}
