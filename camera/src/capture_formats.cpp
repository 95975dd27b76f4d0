// The nine capture formats: RGB rows without a decoder, YUV rows through the AVI Decompressor.
#include "capture_formats.h"

#include <cstdint>

#include "frame_pipeline.h"

namespace korvib {
namespace {

// {E436EB8E-524F-11CE-9F53-0020AF0BA770}
const GUID kRow0Subtype = {0xE436EB8E, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

const CaptureFormat kCaptureFormats[kCaptureFormatCount] = {
    {&kRow0Subtype, 0, false},          {&MEDIASUBTYPE_RGB8, 8, false},   {&MEDIASUBTYPE_RGB565, 16, false},
    {&MEDIASUBTYPE_RGB555, 16, false},  {&MEDIASUBTYPE_RGB24, 24, false}, {&MEDIASUBTYPE_RGB32, 32, false},
    {&MEDIASUBTYPE_YUY2, 16, true},     {&MEDIASUBTYPE_I420, 12, true},        {&MEDIASUBTYPE_UYVY, 16, true},
};

} // namespace

const CaptureFormat* FindCaptureFormat(int index) {
    if (index < 0 || index >= kCaptureFormatCount) {
        return nullptr;
    }
    return &kCaptureFormats[index];
}

bool FitsFrameCopyBuffers(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    return static_cast<int64_t>(height) * DibStride(width, 24) <= static_cast<int64_t>(kFrameCopyBytes);
}

void PatchVideoFormat(AM_MEDIA_TYPE& type, const CaptureFormat& row, int width, int height) {
    if (type.pbFormat == nullptr || type.cbFormat < sizeof(VIDEOINFOHEADER)) {
        return;
    }
    auto* video = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
    const DWORD imageSize = static_cast<DWORD>(height * (((width * row.bits) + 31) / 32) * 4);
    type.subtype = *row.subtype;
    video->bmiHeader.biBitCount = row.bits;
    video->bmiHeader.biCompression = row.subtype->Data1;
    video->bmiHeader.biWidth = width;
    video->bmiHeader.biHeight = height;
    video->bmiHeader.biSizeImage = imageSize;
    type.lSampleSize = imageSize;
}

} // namespace korvib
