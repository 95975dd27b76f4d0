// BSTR strings and VARIANT values.
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include <dshow/oleauto.h>

namespace {
constexpr std::size_t kPrefix = sizeof(OLECHAR); // keeps the characters aligned; the length sits at its end
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > (0x7FFFFFFFu - kPrefix) / sizeof(OLECHAR) - 1)
        return nullptr;
    auto* block = static_cast<BYTE*>(std::malloc(kPrefix + (length + 1) * sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    DWORD bytes = length * sizeof(OLECHAR);
    std::memcpy(block + kPrefix - sizeof(DWORD), &bytes, sizeof bytes);
    auto* chars = reinterpret_cast<OLECHAR*>(block + kPrefix);
    if (text)
        std::wmemcpy(chars, text, length);
    else
        std::wmemset(chars, 0, length);
    chars[length] = 0;
    return chars;
}

BSTR SysAllocString(const OLECHAR* text) {
    return text ? SysAllocStringLen(text, static_cast<UINT>(std::wcslen(text))) : nullptr;
}

void SysFreeString(BSTR text) {
    if (text)
        std::free(reinterpret_cast<BYTE*>(text) - kPrefix);
}

UINT SysStringLen(BSTR text) {
    if (!text)
        return 0;
    DWORD bytes;
    std::memcpy(&bytes, reinterpret_cast<BYTE*>(text) - sizeof(DWORD), sizeof bytes);
    return bytes / sizeof(OLECHAR);
}

void VariantInit(VARIANT* value) {
    if (value) {
        std::memset(value, 0, sizeof *value);
        value->vt = VT_EMPTY;
    }
}

HRESULT VariantClear(VARIANT* value) {
    if (!value)
        return E_INVALIDARG;
    switch (value->vt) {
    case VT_BSTR:
        SysFreeString(value->bstrVal);
        break;
    case VT_EMPTY:
    case VT_I4:
        break;
    default:
        return E_INVALIDARG;
    }
    VariantInit(value);
    return S_OK;
}
