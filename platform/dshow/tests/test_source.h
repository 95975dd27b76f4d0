// A test capture source: one video type on a capture and a preview pin, frames from a streaming thread
// while running or pushed by the test.
#pragma once

#include <atomic>
#include <cstring>
#include <thread>

#include <dshow/capture.h>
#include <dshow/filter_base.h>

namespace testing_dshow {

using namespace platform::dshow;

inline const CLSID kTestSourceClsid = {0x3D1A5B72, 0x11AA, 0x4C0B, {0x9E, 0x01, 0x52, 0x7C, 0x44, 0x18, 0x90, 0x2E}};

// A VideoInfo media type of `subtype` at width x height; the caller frees it.
inline AM_MEDIA_TYPE videoType(const GUID& subtype, LONG width, LONG height, WORD bits) {
    auto* info = static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    *info = VIDEOINFOHEADER{};
    info->AvgTimePerFrame = 666666;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = bits;
    info->bmiHeader.biCompression = subtype == MEDIASUBTYPE_RGB24 ? BI_RGB : subtype.Data1;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(DibStride(width, bits)) * height;
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = subtype;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = info->bmiHeader.biSizeImage;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(VIDEOINFOHEADER);
    type.pbFormat = reinterpret_cast<BYTE*>(info);
    return type;
}

class TestSource;

class TestSourcePin final : public WithInterfaces<OutputPin, IAMStreamConfig> {
public:
    TestSourcePin(FilterBase& filter, const wchar_t* name, const GUID& category, const AM_MEDIA_TYPE& type)
        : WithInterfaces(filter, name, category) {
        CopyMediaType(&format_, &type);
    }
    ~TestSourcePin() override { FreeMediaType(format_); }

    HRESULT getMediaType(int index, AM_MEDIA_TYPE* type) override {
        return index == 0 ? CopyMediaType(type, &format_) : VFW_S_NO_MORE_ITEMS;
    }
    HRESULT checkMediaType(const AM_MEDIA_TYPE& type) override {
        return type.majortype == format_.majortype && type.subtype == format_.subtype ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* type) override {
        FreeMediaType(format_);
        return CopyMediaType(&format_, type);
    }
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** type) override {
        *type = CreateMediaType(&format_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) override {
        *count = 1;
        *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int, AM_MEDIA_TYPE**, BYTE*) override { return E_NOTIMPL; }

    // Delivers one frame whose bytes all hold `value`.
    HRESULT push(BYTE value) {
        ComPtr<MediaSample> sample;
        HRESULT hr = getSample(format_.lSampleSize, sample);
        if (FAILED(hr))
            return hr;
        std::memset(sample->data(), value, format_.lSampleSize);
        return deliver(sample.get());
    }

private:
    AM_MEDIA_TYPE format_{};
};

// Frames stream on a thread of the filter while it runs (when `streaming`), else only through push().
class TestSource final : public FilterBase {
public:
    TestSource(const AM_MEDIA_TYPE& type, bool streaming) : FilterBase(kTestSourceClsid), streaming_(streaming) {
        capture_ = addPin(std::make_unique<TestSourcePin>(*this, L"Capture", PIN_CATEGORY_CAPTURE, type));
        preview_ = addPin(std::make_unique<TestSourcePin>(*this, L"Preview", PIN_CATEGORY_PREVIEW, type));
    }
    ~TestSource() override { stopStreaming(); }

    TestSourcePin& capturePin() { return *capture_; }
    TestSourcePin& previewPin() { return *preview_; }
    int framesSent() const { return sent_; }

protected:
    HRESULT onRun(REFERENCE_TIME) override {
        if (streaming_) {
            running_ = true;
            thread_ = std::thread([this] {
                for (BYTE n = 0; running_; ++n) {
                    if (capture_->isConnected() && SUCCEEDED(capture_->push(n)))
                        ++sent_;
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            });
        }
        return S_OK;
    }
    void onPauseFromRun() override { stopStreaming(); }

private:
    void stopStreaming() {
        running_ = false;
        if (thread_.joinable())
            thread_.join();
    }

    bool streaming_;
    TestSourcePin* capture_;
    TestSourcePin* preview_;
    std::atomic<bool> running_{false};
    std::atomic<int> sent_{0};
    std::thread thread_;
};

} // namespace testing_dshow
