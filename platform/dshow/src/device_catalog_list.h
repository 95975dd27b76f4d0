// Private query of the device catalog.
#pragma once

#include <dshow/device_catalog.h>

namespace platform::dshow {

// The devices of a category now, providers in registration order. Throws std::bad_alloc. Any thread.
std::vector<DeviceEntry> listDevices(const GUID& category);

} // namespace platform::dshow
