// KZ_DeviceCompressor's work: the capture source's own compression settings, read or written.
#include "camera_device.h"

#include "com_release.h"

namespace korvib {
namespace {

// The first pin of `source` offering IAMVideoCompression (one reference), or null.
IAMVideoCompression* FindCompressionPin(IBaseFilter* source) {
    IEnumPins* pins = nullptr;
    if (FAILED(source->EnumPins(&pins)) || pins == nullptr) {
        return nullptr;
    }
    IAMVideoCompression* compression = nullptr;
    IPin* pin = nullptr;
    while (compression == nullptr && pins->Next(1, &pin, nullptr) == S_OK) {
        pin->QueryInterface(IID_IAMVideoCompression, reinterpret_cast<void**>(&compression));
        pin->Release();
    }
    pins->Release();
    return compression;
}

// One setting: write it, or read it with the driver's default when the read fails.
template <typename Value>
void ExchangeSetting(bool set, Value* value, Value defaultValue,
                     HRESULT (STDMETHODCALLTYPE IAMVideoCompression::*put)(Value),
                     HRESULT (STDMETHODCALLTYPE IAMVideoCompression::*get)(Value*),
                     IAMVideoCompression* compression) {
    if (set) {
        (compression->*put)(*value);
    } else if (FAILED((compression->*get)(value))) {
        *value = defaultValue;
    }
}

} // namespace

// KZ_ERR_FAILED without a source filter; KZ_OK otherwise, also when the source has no compression
// settings or their description cannot be read (nothing is then read or written). Values of settings the
// driver lacks stay as the caller gave them. Caller's thread.
int CameraDevice::DeviceCompressor(LONG* keyFrameRate, LONG* pFramesPerKeyFrame, double* quality, int set) {
    if (source_ == nullptr) {
        return KZ_ERR_FAILED;
    }
    IAMVideoCompression* compression = FindCompressionPin(source_);
    if (compression == nullptr) {
        return KZ_OK;
    }
    LONG defaultKeyFrameRate = 0;
    LONG defaultPFrames = 0;
    double defaultQuality = 0.0;
    LONG capabilities = 0;
    if (SUCCEEDED(compression->GetInfo(nullptr, nullptr, nullptr, nullptr, &defaultKeyFrameRate,
                                       &defaultPFrames, &defaultQuality, &capabilities))) {
        const bool write = set != 0;
        if ((capabilities & CompressionCaps_CanKeyFrame) != 0) {
            ExchangeSetting(write, keyFrameRate, defaultKeyFrameRate, &IAMVideoCompression::put_KeyFrameRate,
                            &IAMVideoCompression::get_KeyFrameRate, compression);
        }
        if ((capabilities & CompressionCaps_CanBFrame) != 0) {
            ExchangeSetting(write, pFramesPerKeyFrame, defaultPFrames,
                            &IAMVideoCompression::put_PFramesPerKeyFrame,
                            &IAMVideoCompression::get_PFramesPerKeyFrame, compression);
        }
        if ((capabilities & CompressionCaps_CanQuality) != 0) {
            ExchangeSetting(write, quality, defaultQuality, &IAMVideoCompression::put_Quality,
                            &IAMVideoCompression::get_Quality, compression);
        }
    }
    ReleaseAndClear(compression);
    return KZ_OK;
}

} // namespace korvib
