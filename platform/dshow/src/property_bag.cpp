// PropertyBag: reading and writing string and integer properties.
#include <new>

#include "property_bag.h"

namespace platform::dshow {
namespace {

// Copies a VT_EMPTY, VT_I4 or VT_BSTR value; E_INVALIDARG for other types, E_OUTOFMEMORY.
HRESULT copyVariant(VARIANT& target, const VARIANT& source) {
    VariantInit(&target);
    switch (source.vt) {
    case VT_EMPTY:
        return S_OK;
    case VT_I4:
        target.vt = VT_I4;
        target.lVal = source.lVal;
        return S_OK;
    case VT_BSTR:
        target.bstrVal = SysAllocStringLen(source.bstrVal, SysStringLen(source.bstrVal));
        if (!target.bstrVal)
            return E_OUTOFMEMORY;
        target.vt = VT_BSTR;
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

} // namespace

PropertyBag::~PropertyBag() {
    for (auto& [name, value] : values_)
        VariantClear(&value);
}

void PropertyBag::setString(const std::wstring& name, const std::wstring& value) {
    VARIANT v;
    VariantInit(&v);
    v.bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    if (!v.bstrVal)
        throw std::bad_alloc();
    v.vt = VT_BSTR;
    std::lock_guard guard(lock_);
    VARIANT& slot = values_[name];
    VariantClear(&slot);
    slot = v;
}

// A VT_EMPTY request gets the stored type; any other requested type must be the stored one.
HRESULT PropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value)
        return E_POINTER;
    std::lock_guard guard(lock_);
    auto it = values_.find(name);
    if (it == values_.end())
        return E_INVALIDARG;
    if (value->vt != VT_EMPTY && value->vt != it->second.vt)
        return DISP_E_TYPEMISMATCH;
    return copyVariant(*value, it->second);
}

HRESULT PropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value)
        return E_POINTER;
    try {
        VARIANT copy;
        HRESULT hr = copyVariant(copy, *value);
        if (FAILED(hr))
            return hr;
        std::lock_guard guard(lock_);
        VARIANT& slot = values_[name];
        VariantClear(&slot);
        slot = copy;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace platform::dshow
