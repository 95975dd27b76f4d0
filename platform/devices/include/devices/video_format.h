// Pixel formats and frame sizes the simulated camera renders, and the bytes one frame takes.
#pragma once

#include <win32/types.h>

namespace platform::devices {

// RGB24: bottom-up BGR rows padded to 4 bytes. YUY2/UYVY: packed 4:2:2, top-down.
// I420: planar 4:2:0 (Y, then U, then V), top-down.
enum class PixelFormat { Rgb24, Yuy2, Uyvy, I420 };

struct VideoFormat {
    PixelFormat pixels = PixelFormat::Rgb24;
    LONG width = 1280;
    LONG height = 1024;
    bool operator==(const VideoFormat&) const = default;
};

// Bytes of one frame of `format` (0 for a non-positive size). Any thread.
DWORD frameBytes(const VideoFormat& format);

// Bits per pixel as a video header states them: 24, 16, 16, 12. Any thread.
WORD bitsPerPixel(PixelFormat pixels);

} // namespace platform::devices
