// FileSource: a media file as a source filter with a video pin, seeking and volume.
//
// Frames go downstream only while the graph is paused or running; the file keeps its place and frame
// while the graph is stopped.
//
//   Stopped --Pause--> Paused (current frame sent) --Run--> Running (every frame sent)
//   Running --Pause--> Paused --Stop--> Stopped (nothing sent; the pipeline stays paused)
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <string>

#include <win32/codepage.h>
#include <win32/native_path.h>

#include <dshow/errors.h>
#include <dshow/filter_base.h>

#include "file_pipeline.h"
#include "file_source.h"
#include "owned_media_type.h"

namespace platform::dshow {
namespace {

const CLSID kFileSourceClsid = {0x7B52E0C4, 0x3F1D, 0x4A86, {0xB4, 0x2E, 0x61, 0x0D, 0x9C, 0x73, 0xA5, 0x38}};

constexpr double kUnitsPerSecond = 10'000'000.0;
constexpr LONG kSilence = -10000; // IBasicAudio volume: hundredths of a decibel, 0 is full volume

// Bottom-up RGB24 frames of width x height.
OwnedMediaType rgbType(LONG width, LONG height) {
    VIDEOINFOHEADER info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(DibStride(width, 24)) * static_cast<DWORD>(height);
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = info.bmiHeader.biSizeImage;
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(VIDEOINFOHEADER);
    type.pbFormat = reinterpret_cast<BYTE*>(&info);
    return OwnedMediaType(type);
}

class VideoPin final : public OutputPin {
public:
    VideoPin(FilterBase& filter, LONG width, LONG height)
        : OutputPin(filter, L"Video"), type_(rgbType(width, height)), width_(width), height_(height) {}

    HRESULT getMediaType(int index, AM_MEDIA_TYPE* type) override {
        return index == 0 ? CopyMediaType(type, &type_.get()) : VFW_S_NO_MORE_ITEMS;
    }

    HRESULT checkMediaType(const AM_MEDIA_TYPE& type) override {
        if (type.majortype != MEDIATYPE_Video || type.subtype != MEDIASUBTYPE_RGB24 ||
            type.formattype != FORMAT_VideoInfo || !type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
            return VFW_E_TYPE_NOT_ACCEPTED;
        const auto& header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
        return header.biWidth == width_ && header.biHeight == height_ && header.biBitCount == 24
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }

    // Turns the top-down frame into a bottom-up DIB sample and delivers it. A frame of another size is
    // dropped. Streaming thread, or the graph's thread for the frame shown on pause.
    void send(const VideoFrame& frame) {
        if (frame.width != width_ || frame.height != height_ || !isConnected())
            return;
        const std::size_t stride = static_cast<std::size_t>(DibStride(width_, 24));
        const std::size_t row = static_cast<std::size_t>(width_) * 3;
        ComPtr<MediaSample> sample;
        if (FAILED(getSample(stride * static_cast<std::size_t>(height_), sample)))
            return;
        BYTE* out = sample->data();
        for (LONG y = 0; y < height_; ++y)
            std::memcpy(out + (height_ - 1 - y) * stride, frame.bits + y * frame.stride, row);
        sample->SetActualDataLength(static_cast<LONG>(stride * static_cast<std::size_t>(height_)));
        deliver(sample.get());
    }

private:
    OwnedMediaType type_;
    LONG width_;
    LONG height_;
};

class FileSource final
    : public WithInterfaces<FilterBase, IMediaSeeking, IMediaPosition, IBasicVideo, IBasicAudio> {
public:
    FileSource() : WithInterfaces(kFileSourceClsid) {}
    ~FileSource() override { pipeline_.reset(); }

    // Opens the file; the video pin is added before the filter joins a graph.
    HRESULT open(const std::string& path) {
        HRESULT hr = FilePipeline::open(
            path, [this](const VideoFrame& frame) { onFrame(frame); }, [this](LONG code) { onEvent(code); },
            pipeline_);
        if (FAILED(hr))
            return hr;
        try {
            if (pipeline_->hasVideo())
                video_ = addPin(std::make_unique<VideoPin>(*this, pipeline_->width(), pipeline_->height()));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    // IMediaSeeking in TIME_FORMAT_MEDIA_TIME.
    HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override {
        if (!format)
            return E_POINTER;
        return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
    }

    HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override {
        return duration ? pipeline_->duration(duration) : E_POINTER;
    }

    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* position) override {
        return position ? pipeline_->position(position) : E_POINTER;
    }

    // Absolute or relative current positions; the stop position is the end of the file and cannot move.
    HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*,
                                           DWORD stopFlags) override {
        constexpr DWORD kPositioning = AM_SEEKING_AbsolutePositioning | AM_SEEKING_RelativePositioning;
        if ((stopFlags & kPositioning) != AM_SEEKING_NoPositioning)
            return E_NOTIMPL;
        DWORD how = currentFlags & kPositioning;
        if (how == AM_SEEKING_NoPositioning)
            return S_OK;
        if (!current)
            return E_POINTER;
        LONGLONG target = *current;
        if (how == AM_SEEKING_RelativePositioning) {
            LONGLONG now = 0;
            HRESULT hr = pipeline_->position(&now);
            if (FAILED(hr))
                return hr;
            target += now;
        } else if (how != AM_SEEKING_AbsolutePositioning) {
            return E_INVALIDARG;
        }
        return pipeline_->seek(target, (currentFlags & AM_SEEKING_SeekToKeyFrame) != 0);
    }

    // IMediaPosition in seconds.
    HRESULT STDMETHODCALLTYPE get_Duration(REFTIME* length) override {
        return inSeconds(length, &FilePipeline::duration);
    }

    HRESULT STDMETHODCALLTYPE get_CurrentPosition(REFTIME* time) override {
        return inSeconds(time, &FilePipeline::position);
    }

    HRESULT STDMETHODCALLTYPE put_CurrentPosition(REFTIME time) override {
        if (!std::isfinite(time))
            return E_INVALIDARG;
        return pipeline_->seek(static_cast<LONGLONG>(std::clamp(time, 0.0, 9.2e11) * kUnitsPerSecond), false);
    }

    // IBasicVideo; E_NOINTERFACE for a file without video.
    HRESULT STDMETHODCALLTYPE get_VideoWidth(LONG* width) override {
        return videoSize(width, pipeline_->width());
    }
    HRESULT STDMETHODCALLTYPE get_VideoHeight(LONG* height) override {
        return videoSize(height, pipeline_->height());
    }

    // IBasicAudio from kSilence to 0; E_NOINTERFACE for a file without audio.
    HRESULT STDMETHODCALLTYPE put_Volume(LONG volume) override {
        if (!pipeline_->hasAudio())
            return E_NOINTERFACE;
        if (volume < kSilence || volume > 0)
            return E_INVALIDARG;
        pipeline_->setVolume(volume == kSilence ? 0.0 : std::pow(10.0, volume / 2000.0));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Volume(LONG* volume) override {
        if (!volume)
            return E_POINTER;
        if (!pipeline_->hasAudio())
            return E_NOINTERFACE;
        double linear = pipeline_->volume();
        double level = linear > 0.0 ? 2000.0 * std::log10(linear) : kSilence;
        *volume = static_cast<LONG>(std::lround(std::clamp(level, static_cast<double>(kSilence), 0.0)));
        return S_OK;
    }

protected:
    // The renderer downstream is paused already, so the frame the file stands on shows.
    HRESULT onPause() override {
        {
            std::lock_guard guard(deliverLock_);
            delivering_ = true;
        }
        pipeline_->showCurrentFrame();
        return S_OK;
    }

    HRESULT onRun(REFERENCE_TIME) override { return pipeline_->play(); }

    void onPauseFromRun() override { pipeline_->pause(); }

    // Once the flag is down under the lock, no streaming thread is inside the pin.
    void onStop() override {
        std::lock_guard guard(deliverLock_);
        delivering_ = false;
    }

private:
    void onFrame(const VideoFrame& frame) {
        std::lock_guard guard(deliverLock_);
        if (delivering_ && video_)
            video_->send(frame);
    }

    void onEvent(LONG code) { notifyGraph(code, code == EC_COMPLETE ? S_OK : E_FAIL, 0); }

    HRESULT inSeconds(REFTIME* seconds, HRESULT (FilePipeline::*query)(LONGLONG*) const) {
        if (!seconds)
            return E_POINTER;
        LONGLONG units = 0;
        HRESULT hr = (pipeline_.get()->*query)(&units);
        if (SUCCEEDED(hr))
            *seconds = static_cast<double>(units) / kUnitsPerSecond;
        return hr;
    }

    HRESULT videoSize(LONG* out, LONG value) {
        if (!out)
            return E_POINTER;
        if (!pipeline_->hasVideo())
            return E_NOINTERFACE;
        *out = value;
        return S_OK;
    }

    VideoPin* video_ = nullptr;
    std::mutex deliverLock_; // guards delivering_; held while a frame goes downstream
    bool delivering_ = false;
    std::unique_ptr<FilePipeline> pipeline_; // last, so its streaming threads end before the rest goes
};

} // namespace

HRESULT openFileSource(LPCWSTR path, ComPtr<IBaseFilter>& source) {
    source.reset();
    if (!path)
        return E_POINTER;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, path, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return VFW_E_NOT_FOUND;
    try {
        std::string text(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(CP_UTF8, 0, path, -1, text.data(), bytes, nullptr, nullptr);
        text.pop_back();
        auto* raw = new FileSource();
        ComPtr<FileSource> filter = ComPtr<FileSource>::adopt(raw);
        HRESULT hr = filter->open(platform::toNativePath(text));
        if (FAILED(hr))
            return hr;
        source = ComPtr<IBaseFilter>(static_cast<IBaseFilter*>(filter.get()));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace platform::dshow
