// Frame sizes of the rendered pixel formats.
#include <devices/video_format.h>

#include <win32/dib.h>

namespace platform::devices {

WORD bitsPerPixel(PixelFormat pixels)
{
    switch (pixels) {
    case PixelFormat::Rgb24:
        return 24;
    case PixelFormat::Yuy2:
    case PixelFormat::Uyvy:
        return 16;
    case PixelFormat::I420:
        return 12;
    }
    return 0;
}

DWORD frameBytes(const VideoFormat& format)
{
    if (format.width <= 0 || format.height <= 0)
        return 0;
    const DWORD pixels = DWORD(format.width) * DWORD(format.height);
    switch (format.pixels) {
    case PixelFormat::Rgb24:
        return DWORD(DibStride(format.width, 24)) * DWORD(format.height);
    case PixelFormat::Yuy2:
    case PixelFormat::Uyvy:
        return pixels * 2;
    case PixelFormat::I420:
        return pixels * 3 / 2;
    }
    return 0;
}

} // namespace platform::devices
