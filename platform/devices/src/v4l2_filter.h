// A capture filter on a V4L2 camera: capture and preview pins in the formats the device offers.
#pragma once

#include <devices/v4l2_io.h>
#include <dshow/com.h>

#include <string>

namespace platform::devices {

// Binds a new capture filter on the V4L2 device at `path`, reached through `io`, and queries it for `riid`.
// Graph thread.
HRESULT bindV4l2Filter(const std::string& path, V4l2Io& io, REFIID riid, void** object);

} // namespace platform::devices
