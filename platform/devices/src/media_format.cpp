// Media types and stream capabilities of the capture pin.
#include "media_format.h"

#include <win32/dib.h>

#include <cstring>

namespace platform::devices {
namespace {

struct SubtypeRow {
    PixelFormat pixels;
    const GUID* subtype;
};

const SubtypeRow kSubtypes[] = {
    {PixelFormat::Rgb24, &MEDIASUBTYPE_RGB24},
    {PixelFormat::Yuy2, &MEDIASUBTYPE_YUY2},
    {PixelFormat::I420, &MEDIASUBTYPE_I420},
    {PixelFormat::Uyvy, &MEDIASUBTYPE_UYVY},
};

const GUID& subtypeOf(PixelFormat pixels)
{
    for (const SubtypeRow& row : kSubtypes)
        if (row.pixels == pixels)
            return *row.subtype;
    return GUID_NULL;
}

REFERENCE_TIME frameInterval(double fps) { return static_cast<REFERENCE_TIME>(10'000'000.0 / fps + 0.5); }

} // namespace

std::optional<VideoFormat> formatOfMediaType(const AM_MEDIA_TYPE& type)
{
    if (!(type.majortype == MEDIATYPE_Video) || !(type.formattype == FORMAT_VideoInfo) || !type.pbFormat ||
        type.cbFormat < sizeof(VIDEOINFOHEADER))
        return std::nullopt;
    VIDEOINFOHEADER info;
    std::memcpy(&info, type.pbFormat, sizeof info);
    for (const SubtypeRow& row : kSubtypes) {
        if (!(type.subtype == *row.subtype))
            continue;
        const BITMAPINFOHEADER& h = info.bmiHeader;
        if (h.biBitCount != bitsPerPixel(row.pixels) || h.biWidth <= 0 || h.biHeight <= 0)
            return std::nullopt;
        return VideoFormat{row.pixels, h.biWidth, h.biHeight};
    }
    return std::nullopt;
}

HRESULT fillMediaType(const VideoFormat& format, double fps, AM_MEDIA_TYPE& type)
{
    type = AM_MEDIA_TYPE{};
    auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!info)
        return E_OUTOFMEMORY;
    *info = VIDEOINFOHEADER{};
    const DWORD bytes = frameBytes(format);
    info->rcSource = {0, 0, format.width, format.height};
    info->rcTarget = info->rcSource;
    info->AvgTimePerFrame = frameInterval(fps);
    info->dwBitRate = static_cast<DWORD>(bytes * 8.0 * fps);
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = format.width;
    h.biHeight = format.height;
    h.biPlanes = 1;
    h.biBitCount = bitsPerPixel(format.pixels);
    h.biCompression = format.pixels == PixelFormat::Rgb24 ? BI_RGB : subtypeOf(format.pixels).Data1;
    h.biSizeImage = bytes;

    type.majortype = MEDIATYPE_Video;
    type.subtype = subtypeOf(format.pixels);
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = bytes;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(VIDEOINFOHEADER);
    type.pbFormat = reinterpret_cast<BYTE*>(info);
    return S_OK;
}

AM_MEDIA_TYPE* newMediaType(const VideoFormat& format, double fps)
{
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!type)
        return nullptr;
    if (FAILED(fillMediaType(format, fps, *type))) {
        CoTaskMemFree(type);
        return nullptr;
    }
    return type;
}

VIDEO_STREAM_CONFIG_CAPS capabilityOf(const VideoFormat& format, double fps)
{
    VIDEO_STREAM_CONFIG_CAPS caps{};
    caps.guid = FORMAT_VideoInfo;
    const SIZE size{format.width, format.height};
    caps.InputSize = caps.MinCroppingSize = caps.MaxCroppingSize = size;
    caps.MinOutputSize = caps.MaxOutputSize = size;
    caps.CropGranularityX = caps.CropGranularityY = caps.CropAlignX = caps.CropAlignY = 1;
    caps.OutputGranularityX = caps.OutputGranularityY = 1;
    caps.MinFrameInterval = caps.MaxFrameInterval = frameInterval(fps);
    const LONG bits = static_cast<LONG>(frameBytes(format) * 8.0 * fps);
    caps.MinBitsPerSecond = caps.MaxBitsPerSecond = bits;
    return caps;
}

} // namespace platform::devices
