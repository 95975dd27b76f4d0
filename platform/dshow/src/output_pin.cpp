// OutputPin: making connections and delivering samples.
#include <new>
#include <vector>

#include <dshow/filter_base.h>

#include "owned_media_type.h"

namespace platform::dshow {
namespace {

// The preferred types of a pin, each copied.
std::vector<OwnedMediaType> preferredTypes(IPin* pin) {
    std::vector<OwnedMediaType> types;
    ComPtr<IEnumMediaTypes> list;
    if (FAILED(pin->EnumMediaTypes(list.put())) || !list)
        return types;
    AM_MEDIA_TYPE* type = nullptr;
    while (list->Next(1, &type, nullptr) == S_OK) {
        types.emplace_back(*type);
        DeleteMediaType(type);
    }
    return types;
}

} // namespace

OutputPin::OutputPin(FilterBase& filter, std::wstring name, const GUID& category)
    : PinBase(filter, PINDIR_OUTPUT, std::move(name), category) {}

HRESULT OutputPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }

HRESULT OutputPin::tryConnect(IPin* receiver, const AM_MEDIA_TYPE& type) {
    if (checkMediaType(type) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    HRESULT hr = receiver->ReceiveConnection(this, &type);
    if (FAILED(hr))
        return hr;
    hr = attach(receiver, type);
    if (FAILED(hr))
        receiver->Disconnect();
    return hr;
}

// Candidates: the full type as given; else the receiver's preferred types, then this pin's, that match it.
HRESULT OutputPin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type) {
    if (!receiver)
        return E_POINTER;
    if (isConnected())
        return VFW_E_ALREADY_CONNECTED;
    if (filter().state() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    PIN_DIRECTION direction;
    if (FAILED(receiver->QueryDirection(&direction)) || direction != PINDIR_INPUT)
        return VFW_E_INVALID_DIRECTION;
    auto* input = dynamic_cast<InputPin*>(receiver);
    if (!input)
        return VFW_E_NO_TRANSPORT;
    if (input->isConnected())
        return VFW_E_ALREADY_CONNECTED;
    if (type && isFullType(*type))
        return tryConnect(receiver, *type);
    try {
        AM_MEDIA_TYPE anything{};
        const AM_MEDIA_TYPE& pattern = type ? *type : anything;
        for (IPin* source : {receiver, static_cast<IPin*>(this)})
            for (const OwnedMediaType& candidate : preferredTypes(source))
                if (matchesPartialType(candidate.get(), pattern) && SUCCEEDED(tryConnect(receiver, candidate.get())))
                    return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPin::onConnected() {
    receiver_ = dynamic_cast<InputPin*>(connectedPin());
    return S_OK;
}

void OutputPin::onDisconnected() {
    receiver_ = nullptr;
    for (auto& spare : spares_)
        spare.reset();
}

HRESULT OutputPin::getSample(std::size_t size, ComPtr<MediaSample>& sample) {
    // Only this pin holds a spare when a reference taken and dropped leaves one.
    auto free = [](ComPtr<MediaSample>& spare) { return spare && (spare->AddRef(), spare->Release() == 1); };
    ComPtr<MediaSample>* chosen = nullptr;
    for (auto& spare : spares_)
        if (free(spare) && spare->capacity() >= size) {
            chosen = &spare;
            break;
        }
    if (!chosen) {
        // A new sample takes an empty or free slot, else the first: whoever holds that one keeps it.
        chosen = &spares_[0];
        for (auto& spare : spares_)
            if (!spare || free(spare)) {
                chosen = &spare;
                break;
            }
        chosen->reset();
        try {
            *chosen = ComPtr<MediaSample>::adopt(new MediaSample(size));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    (*chosen)->SetActualDataLength(static_cast<LONG>(size));
    sample = *chosen;
    return S_OK;
}

HRESULT OutputPin::deliver(IMediaSample* sample) {
    if (!sample)
        return E_POINTER;
    InputPin* receiver = receiver_;
    if (!receiver)
        return VFW_E_NOT_CONNECTED;
    if (receiver->filter().state() == State_Stopped)
        return VFW_E_WRONG_STATE;
    return receiver->receive(sample);
}

} // namespace platform::dshow
