// Translation between the device's video formats and media types, and the capture capabilities list.
#pragma once

#include <devices/video_format.h>
#include <dshow/capture.h>
#include <dshow/media_type.h>

#include <optional>
#include <vector>

namespace platform::devices {

// The device format a media type asks for: video, FORMAT_VideoInfo with a full VIDEOINFOHEADER, one of
// the four subtypes with its bit count, a positive size. Nothing for any other type. Any thread.
std::optional<VideoFormat> formatOfMediaType(const AM_MEDIA_TYPE& type);

// Fills `type` for `format` at `fps`, the format block in task memory. E_OUTOFMEMORY. Any thread.
HRESULT fillMediaType(const VideoFormat& format, double fps, AM_MEDIA_TYPE& type);
// The same as a new media type in task memory (for DeleteMediaType), or null. Any thread.
AM_MEDIA_TYPE* newMediaType(const VideoFormat& format, double fps);

// The capability block of `format`: its size as the only size, the frame interval of `fps`.
VIDEO_STREAM_CONFIG_CAPS capabilityOf(const VideoFormat& format, double fps);

} // namespace platform::devices
