// Media type helpers: freeing, copying and creating AM_MEDIA_TYPE values.
#include <cstring>

#include <dshow/media_type.h>

void FreeMediaType(AM_MEDIA_TYPE& type) {
    if (type.pbFormat)
        CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk)
        type.pUnk->Release();
    type.pUnk = nullptr;
}

void DeleteMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return;
    FreeMediaType(*type);
    CoTaskMemFree(type);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source) {
    if (!target || !source)
        return E_POINTER;
    *target = *source;
    if (source->cbFormat && source->pbFormat) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source->cbFormat));
        if (!target->pbFormat) {
            target->cbFormat = 0;
            target->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(target->pbFormat, source->pbFormat, source->cbFormat);
    } else {
        target->pbFormat = nullptr;
        target->cbFormat = 0;
    }
    if (target->pUnk)
        target->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source) {
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!type)
        return nullptr;
    if (FAILED(CopyMediaType(type, source))) {
        CoTaskMemFree(type);
        return nullptr;
    }
    return type;
}
