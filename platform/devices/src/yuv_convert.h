// Conversion of rendered BGR frames into the YUV formats the capture pin offers (full-range BT.601).
#pragma once

#include <devices/video_format.h>

namespace platform::devices {

// Converts a 24-bit bottom-up BGR frame of format.width x format.height into `out` in format.pixels
// (frameBytes(format) bytes). RGB24 is copied. Pure; any thread.
void convertFrame(const BYTE* bgr, const VideoFormat& format, BYTE* out);

} // namespace platform::devices
