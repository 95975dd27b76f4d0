// Mapping VideoInfo media types to GStreamer raw video caps.
#include "raw_video_caps.h"

#include <cstdlib>

namespace platform::dshow {
namespace {

struct RawFormat {
    const GUID* subtype;
    const char* name;
    WORD bits;
    bool rgb;
};

const RawFormat kFormats[] = {
    {&MEDIASUBTYPE_RGB24, "BGR", 24, true},    {&MEDIASUBTYPE_RGB32, "BGRx", 32, true},
    {&MEDIASUBTYPE_RGB565, "RGB16", 16, true}, {&MEDIASUBTYPE_RGB555, "RGB15", 16, true},
    {&MEDIASUBTYPE_YUY2, "YUY2", 16, false},   {&MEDIASUBTYPE_UYVY, "UYVY", 16, false},
    {&MEDIASUBTYPE_I420, "I420", 12, false},
};

constexpr LONG kSizeLimit = 16384;
constexpr REFERENCE_TIME kDefaultFrameTime = 333333;

} // namespace

bool rawVideoCaps(const AM_MEDIA_TYPE& type, RawVideoCaps& out) {
    if (type.majortype != MEDIATYPE_Video || type.formattype != FORMAT_VideoInfo || !type.pbFormat ||
        type.cbFormat < sizeof(VIDEOINFOHEADER))
        return false;
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    const RawFormat* format = nullptr;
    for (const RawFormat& candidate : kFormats)
        if (*candidate.subtype == type.subtype)
            format = &candidate;
    const LONG width = info->bmiHeader.biWidth;
    const LONG height = std::labs(info->bmiHeader.biHeight);
    if (!format || width <= 0 || height <= 0 || width > kSizeLimit || height > kSizeLimit)
        return false;
    // Packed YUV needs an even width; I420 rows without padding need a width GStreamer does not pad.
    const bool planar = type.subtype == MEDIASUBTYPE_I420;
    if (!format->rgb && (width % 2 != 0 || (planar && (width % 8 != 0 || height % 2 != 0))))
        return false;
    const REFERENCE_TIME frameTime = info->AvgTimePerFrame > 0 ? info->AvgTimePerFrame : kDefaultFrameTime;
    out.caps = std::string("video/x-raw,format=") + format->name + ",width=" + std::to_string(width) +
               ",height=" + std::to_string(height) + ",framerate=10000000/" + std::to_string(frameTime);
    out.bottomUp = format->rgb && info->bmiHeader.biHeight > 0;
    out.height = height;
    out.frameBytes = planar ? static_cast<std::size_t>(width) * height * 3 / 2
                            : static_cast<std::size_t>(DibStride(width, format->bits)) * height;
    return true;
}

} // namespace platform::dshow
