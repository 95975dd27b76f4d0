// InputPin: accepting connections.
#include <dshow/filter_base.h>

namespace platform::dshow {

InputPin::InputPin(FilterBase& filter, std::wstring name)
    : PinBase(filter, PINDIR_INPUT, std::move(name), GUID_NULL) {}

HRESULT InputPin::Connect(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }

HRESULT InputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type)
        return E_POINTER;
    if (isConnected())
        return VFW_E_ALREADY_CONNECTED;
    if (filter().state() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (!dynamic_cast<OutputPin*>(connector))
        return VFW_E_NO_TRANSPORT;
    if (checkMediaType(*type) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return attach(connector, *type);
}

} // namespace platform::dshow
