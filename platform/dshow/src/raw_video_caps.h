// GStreamer caps for the uncompressed video types a capture pin delivers.
#pragma once

#include <string>

#include <dshow/media_type.h>

namespace platform::dshow {

struct RawVideoCaps {
    std::string caps; // "video/x-raw,format=...,width=...,height=...,framerate=..."
    bool bottomUp;    // RGB rows stored bottom row first, as in a DIB
    std::size_t frameBytes;
    LONG height;
};

// The caps of a VideoInfo type with an RGB (24, 32, 565, 555), YUY2, UYVY or I420 subtype and a sane size;
// false for anything else.
bool rawVideoCaps(const AM_MEDIA_TYPE& type, RawVideoCaps& out);

} // namespace platform::dshow
