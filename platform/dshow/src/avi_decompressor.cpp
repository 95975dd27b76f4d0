// The AVI Decompressor: YUY2, UYVY and I420 video to bottom-up RGB24.
#include <cstring>

#include <dshow/com_object.h>
#include <dshow/renderers.h>

#include "builtin_classes.h"
#include "transform_filter.h"
#include "yuv_to_rgb.h"

namespace platform::dshow {
namespace {

// The video header of a VideoInfo type, or null when the type has none.
const VIDEOINFOHEADER* videoInfo(const AM_MEDIA_TYPE& type) {
    if (type.formattype != FORMAT_VideoInfo || !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
        return nullptr;
    return reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
}

// The layout of a supported input type, false for anything else (odd or empty sizes too).
bool inputLayout(const AM_MEDIA_TYPE& type, YuvLayout& layout) {
    const VIDEOINFOHEADER* info = videoInfo(type);
    if (type.majortype != MEDIATYPE_Video || !info)
        return false;
    if (type.subtype == MEDIASUBTYPE_YUY2)
        layout = YuvLayout::Yuy2;
    else if (type.subtype == MEDIASUBTYPE_UYVY)
        layout = YuvLayout::Uyvy;
    else if (type.subtype == MEDIASUBTYPE_I420)
        layout = YuvLayout::I420;
    else
        return false;
    LONG width = info->bmiHeader.biWidth;
    LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    constexpr LONG kLimit = 16384;
    return width > 0 && height > 0 && width <= kLimit && height <= kLimit && width % 2 == 0 &&
           (layout != YuvLayout::I420 || height % 2 == 0);
}

class AviDecompressor final : public TransformFilter {
public:
    AviDecompressor() : TransformFilter(CLSID_AVIDec) {}

    HRESULT checkInputType(const AM_MEDIA_TYPE& type) override {
        YuvLayout layout;
        return inputLayout(type, layout) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

    // One output type: RGB24 of the input's size, bottom-up, with the input's frame rate.
    HRESULT getOutputType(int index, AM_MEDIA_TYPE* type) override {
        if (index > 0)
            return VFW_S_NO_MORE_ITEMS;
        const VIDEOINFOHEADER* in = videoInfo(input().connectionType());
        auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
        if (!info)
            return E_OUTOFMEMORY;
        *info = VIDEOINFOHEADER{};
        info->AvgTimePerFrame = in->AvgTimePerFrame;
        BITMAPINFOHEADER& header = info->bmiHeader;
        header.biSize = sizeof(BITMAPINFOHEADER);
        header.biWidth = in->bmiHeader.biWidth;
        header.biHeight = in->bmiHeader.biHeight < 0 ? -in->bmiHeader.biHeight : in->bmiHeader.biHeight;
        header.biPlanes = 1;
        header.biBitCount = 24;
        header.biCompression = BI_RGB;
        header.biSizeImage = static_cast<DWORD>(DibStride(header.biWidth, 24)) * header.biHeight;
        info->rcSource = RECT{0, 0, header.biWidth, header.biHeight};
        info->rcTarget = info->rcSource;
        *type = AM_MEDIA_TYPE{};
        type->majortype = MEDIATYPE_Video;
        type->subtype = MEDIASUBTYPE_RGB24;
        type->bFixedSizeSamples = TRUE;
        type->lSampleSize = header.biSizeImage;
        type->formattype = FORMAT_VideoInfo;
        type->cbFormat = sizeof(VIDEOINFOHEADER);
        type->pbFormat = reinterpret_cast<BYTE*>(info);
        return S_OK;
    }

    // A sample shorter than a whole frame is refused with E_INVALIDARG.
    HRESULT transform(IMediaSample* sample) override {
        const AM_MEDIA_TYPE& type = input().connectionType();
        YuvLayout layout;
        if (!inputLayout(type, layout))
            return VFW_E_NOT_CONNECTED;
        const BITMAPINFOHEADER& header = videoInfo(type)->bmiHeader;
        LONG width = header.biWidth;
        LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        BYTE* in = nullptr;
        sample->GetPointer(&in);
        if (static_cast<std::size_t>(sample->GetActualDataLength()) < yuvFrameBytes(layout, width, height))
            return E_INVALIDARG;
        std::size_t outBytes = static_cast<std::size_t>(DibStride(width, 24)) * height;
        ComPtr<MediaSample> out;
        HRESULT hr = output().getSample(outBytes, out);
        if (FAILED(hr))
            return hr;
        convertYuvToRgb24(layout, in, width, height, out->data());
        REFERENCE_TIME start = 0, end = 0;
        if (SUCCEEDED(sample->GetTime(&start, &end)))
            out->SetTime(&start, &end);
        out->SetSyncPoint(TRUE);
        return output().deliver(out.get());
    }
};

} // namespace

HRESULT createAviDecompressor(REFIID riid, void** object) { return createObject<AviDecompressor>(riid, object); }

} // namespace platform::dshow
