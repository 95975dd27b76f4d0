// V4L2 capture devices as entries of the video input category.
#pragma once

#include <devices/v4l2_io.h>
#include <dshow/device_catalog.h>

#include <optional>
#include <string>
#include <vector>

namespace platform::devices {

// Every /dev/videoN that can capture, named by its card name. Any thread.
std::vector<dshow::DeviceEntry> v4l2Entries();
// The device at `path` under `friendlyName`, reached through `io`, or nothing when it cannot capture.
// Any thread.
std::optional<dshow::DeviceEntry> v4l2Entry(const std::string& path, const std::string& friendlyName,
                                            V4l2Io& io = systemV4l2Io());

} // namespace platform::devices
