// PinBase: identity, connection state and type enumeration shared by input and output pins.
#include <new>

#include <dshow/filter_base.h>

#include "list_enumerator.h"
#include "name_field.h"

namespace platform::dshow {

PinBase::PinBase(FilterBase& filter, PIN_DIRECTION direction, std::wstring name, const GUID& category)
    : filter_(filter), direction_(direction), name_(std::move(name)), category_(category) {}

PinBase::~PinBase() { FreeMediaType(type_); }

ULONG PinBase::AddRef() { return filter_.AddRef(); }

ULONG PinBase::Release() { return filter_.Release(); }

HRESULT PinBase::getMediaType(int, AM_MEDIA_TYPE*) { return VFW_S_NO_MORE_ITEMS; }

HRESULT PinBase::attach(IPin* peer, const AM_MEDIA_TYPE& type) {
    AM_MEDIA_TYPE copy{};
    HRESULT hr = CopyMediaType(&copy, &type);
    if (FAILED(hr))
        return hr;
    FreeMediaType(type_);
    type_ = copy;
    connected_ = peer;
    hr = onConnected();
    if (FAILED(hr))
        detach();
    return hr;
}

void PinBase::detach() {
    if (!connected_)
        return;
    onDisconnected();
    connected_.reset();
    FreeMediaType(type_);
    type_ = AM_MEDIA_TYPE{};
}

HRESULT PinBase::Disconnect() {
    if (filter_.state() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (!connected_)
        return S_FALSE;
    detach();
    return S_OK;
}

HRESULT PinBase::ConnectedTo(IPin** pin) {
    if (!pin)
        return E_POINTER;
    *pin = nullptr;
    if (!connected_)
        return VFW_E_NOT_CONNECTED;
    return connected_.copyTo(pin);
}

HRESULT PinBase::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    if (!connected_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(type, &type_);
}

HRESULT PinBase::QueryPinInfo(PIN_INFO* info) {
    if (!info)
        return E_POINTER;
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = direction_;
    copyName(info->achName, name_);
    return S_OK;
}

HRESULT PinBase::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction)
        return E_POINTER;
    *direction = direction_;
    return S_OK;
}

HRESULT PinBase::QueryId(LPWSTR* id) {
    if (!id)
        return E_POINTER;
    *id = static_cast<LPWSTR>(CoTaskMemAlloc((name_.size() + 1) * sizeof(WCHAR)));
    if (!*id)
        return E_OUTOFMEMORY;
    name_.copy(*id, name_.size());
    (*id)[name_.size()] = 0;
    return S_OK;
}

HRESULT PinBase::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    return checkMediaType(*type) == S_OK ? S_OK : S_FALSE;
}

HRESULT PinBase::EnumMediaTypes(IEnumMediaTypes** types) {
    if (!types)
        return E_POINTER;
    *types = nullptr;
    try {
        std::vector<OwnedMediaType> list;
        for (int index = 0;; ++index) {
            OwnedMediaType type;
            if (getMediaType(index, &type.get()) != S_OK)
                break;
            list.push_back(std::move(type));
        }
        *types = new ListEnumerator<IEnumMediaTypes, AM_MEDIA_TYPE, OwnedMediaType>(std::move(list));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace platform::dshow
