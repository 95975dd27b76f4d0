// Walking filters and pins through their COM interfaces.
#include "graph_walk.h"

namespace platform::dshow {

ComPtr<IBaseFilter> filterOf(IPin* pin) {
    PIN_INFO info{};
    if (!pin || FAILED(pin->QueryPinInfo(&info)))
        return nullptr;
    return ComPtr<IBaseFilter>::adopt(info.pFilter);
}

std::vector<ComPtr<IPin>> pinsOf(IBaseFilter* filter) {
    std::vector<ComPtr<IPin>> pins;
    ComPtr<IEnumPins> list;
    if (!filter || FAILED(filter->EnumPins(list.put())) || !list)
        return pins;
    IPin* pin = nullptr;
    while (list->Next(1, &pin, nullptr) == S_OK)
        pins.push_back(ComPtr<IPin>::adopt(pin));
    return pins;
}

ComPtr<IPin> peerOf(IPin* pin) {
    ComPtr<IPin> peer;
    if (pin)
        pin->ConnectedTo(peer.put());
    return peer;
}

PIN_DIRECTION directionOf(IPin* pin) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    pin->QueryDirection(&direction);
    return direction;
}

ComPtr<IPin> freePin(IBaseFilter* filter, PIN_DIRECTION direction) {
    for (auto& pin : pinsOf(filter))
        if (directionOf(pin.get()) == direction && !peerOf(pin.get()))
            return pin;
    return nullptr;
}

std::vector<ComPtr<IBaseFilter>> downstreamOf(IBaseFilter* filter) {
    std::vector<ComPtr<IBaseFilter>> filters;
    for (auto& pin : pinsOf(filter))
        if (directionOf(pin.get()) == PINDIR_OUTPUT)
            if (auto peer = peerOf(pin.get()))
                if (auto next = filterOf(peer.get()))
                    filters.push_back(next);
    return filters;
}

} // namespace platform::dshow

#include <dshow/filter_base.h>

namespace platform::dshow {

GUID pinCategory(IPin* pin) {
    auto* ours = dynamic_cast<PinBase*>(pin);
    return ours ? ours->category() : GUID_NULL;
}

bool pinCarries(IPin* pin, const GUID* majorType) {
    if (!majorType || *majorType == GUID_NULL)
        return true;
    AM_MEDIA_TYPE connected{};
    if (SUCCEEDED(pin->ConnectionMediaType(&connected))) {
        bool match = connected.majortype == *majorType;
        FreeMediaType(connected);
        return match;
    }
    ComPtr<IEnumMediaTypes> list;
    if (FAILED(pin->EnumMediaTypes(list.put())) || !list)
        return true;
    bool offered = false;
    bool any = false;
    AM_MEDIA_TYPE* type = nullptr;
    while (list->Next(1, &type, nullptr) == S_OK) {
        any = true;
        offered = offered || type->majortype == *majorType;
        DeleteMediaType(type);
    }
    return offered || !any;
}

} // namespace platform::dshow
