// Walking filters and pins through their COM interfaces.
#pragma once

#include <vector>

#include <dshow/com_ptr.h>
#include <dshow/filters.h>

namespace platform::dshow {

// The filter that owns `pin`.
ComPtr<IBaseFilter> filterOf(IPin* pin);
// The pins of `filter` in enumeration order. Throws std::bad_alloc.
std::vector<ComPtr<IPin>> pinsOf(IBaseFilter* filter);
// The pin connected to `pin`, or null.
ComPtr<IPin> peerOf(IPin* pin);
PIN_DIRECTION directionOf(IPin* pin);
// The first unconnected pin of `filter` in `direction`, or null.
ComPtr<IPin> freePin(IBaseFilter* filter, PIN_DIRECTION direction);
// The filters connected to the output pins of `filter`. Throws std::bad_alloc.
std::vector<ComPtr<IBaseFilter>> downstreamOf(IBaseFilter* filter);

} // namespace platform::dshow

namespace platform::dshow {

// The pin category of a pin of this layer, GUID_NULL for others.
GUID pinCategory(IPin* pin);
// Whether the pin carries (connected) or offers (its preferred types; a pin with none offers anything)
// the major type; a null type matches every pin.
bool pinCarries(IPin* pin, const GUID* majorType);

} // namespace platform::dshow
