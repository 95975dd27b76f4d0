// The preview: building, running and tearing down the grabber branch, and the frame-rate timer.
//
//   Stopped --StartPreview--> Previewing --StopPreview (KZ_Stop, a new start, recording, destruction)--> Stopped
//   A start that fails after the stop of the previous preview runs StopPreview and stays Stopped.
//   Previewing --the camera lost or the stream aborted, found by the next call that needs it--> Stopped
#include "camera_device.h"

#include <win32/kernel.h>

#include <dshow/renderers.h>

#include "com_release.h"
#include "debug_output.h"
#include "error_boxes.h"
#include "graph_helpers.h"
#include "library_state.h"
#include "registry_settings.h"

namespace korvib {
namespace {

constexpr UINT kFrameRatePeriodMs = 5000;

} // namespace

// Starts the preview into `owner`; false after StopPreview when a step fails: format index outside the
// table, a capture size the frame-copy buffers cannot hold, no stream configuration, no decoder, no grabber,
// or a video window that refuses its set-up (mode KZ_RENDER_DS). Caller's thread, never inside a frame.
bool CameraDevice::StartPreview(DWORD style, int x, int y, int width, int height, HWND owner, int renderMode) {
    if (InsideFrame()) {
        return false;
    }
    DebugLine("Enter Start!");
    if (RecordingRunning()) {
        StopCapture();
    }
    StopPreview();
    // What the stopped stream reported does not concern the new one.
    static_cast<void>(TakeStreamFailure());
    if (!BuildPreview(style, x, y, width, height, owner, renderMode)) {
        StopPreview();
        return false;
    }
    pipeline_.ResetFrameCounter();
    mediaControl_ = nullptr;
    graph_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&mediaControl_));

    const DWORD customProp = ReadRegDword(Library().settingsKey, "bCustomProp", 1);
    Library().customProp.store(customProp, std::memory_order_relaxed);
    if (customProp == 0) {
        WriteStoredSensorValues();
    }
    if (mediaControl_ != nullptr) {
        mediaControl_->Run();
    }

    pipeline_.TakeFramesInPeriod();
    frameRate_.store(0.0f, std::memory_order_relaxed);
    lastTick_.store(timeGetTime(), std::memory_order_relaxed);
    timerId_ = timeSetEvent(kFrameRatePeriodMs, 0, &CameraDevice::FrameRateTimerProc, reinterpret_cast<DWORD_PTR>(this),
                            TIME_PERIODIC);
    state_.store(State::Previewing, std::memory_order_release);
    return true;
}

bool CameraDevice::BuildPreview(DWORD style, int x, int y, int width, int height, HWND owner, int renderMode) {
    const CaptureFormat* row = FindCaptureFormat(formatIndex_);
    if (row == nullptr || !FitsFrameCopyBuffers(captureWidth_, captureHeight_) || builder_ == nullptr) {
        return false;
    }
    HRESULT hr = builder_->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source_, IID_IAMStreamConfig,
                                         reinterpret_cast<void**>(&streamConfig_));
    if (FAILED(hr) || streamConfig_ == nullptr) {
        streamConfig_ = nullptr;
        ShowComError(0);
        return false;
    }
    ApplyCaptureFormat(*row);

    if (row->needsDecoder) {
        hr = AddFilterByClsid(graph_, CLSID_AVIDec, nullptr, &decoder_);
        if (FAILED(hr)) {
            ShowComError(hr);
            return false;
        }
    }
    grabber_ = std::make_unique<GrabberCallback>(graph_, builder_, source_, this, renderMode);
    if (!grabber_->Created()) {
        return false;
    }

    windowStyle_ = style;
    DisplayTarget& display = pipeline_.Display();
    display.x.store(x, std::memory_order_relaxed);
    display.y.store(y, std::memory_order_relaxed);
    display.width.store(width, std::memory_order_relaxed);
    display.height.store(height, std::memory_order_relaxed);
    display.owner.store(owner, std::memory_order_relaxed);
    display.renderMode.store(renderMode, std::memory_order_relaxed);
    if (renderMode != KZ_RENDER_DS) {
        return true;
    }

    hr = graph_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&videoWindow_));
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->put_Owner(reinterpret_cast<OAHWND>(owner));
    }
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->put_WindowStyle(static_cast<LONG>(style));
    }
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->SetWindowPosition(x, y, width, height);
    }
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->put_Visible(OATRUE);
    }
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->put_Caption(L"Korvi");
    }
    if (FAILED(hr)) {
        ShowComError(hr);
        return false;
    }
    return true;
}

// Asks the capture pin for the row's subtype at the capture size (and frameTime, when not 0); a refusal
// leaves the pin's own format.
void CameraDevice::ApplyCaptureFormat(const CaptureFormat& row, REFERENCE_TIME frameTime) {
    AM_MEDIA_TYPE* type = nullptr;
    if (FAILED(streamConfig_->GetFormat(&type)) || type == nullptr) {
        return;
    }
    if (type->majortype == MEDIATYPE_Video) {
        PatchVideoFormat(*type, row, captureWidth_, captureHeight_);
        if (frameTime != 0 && type->pbFormat != nullptr && type->cbFormat >= sizeof(VIDEOINFOHEADER)) {
            reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->AvgTimePerFrame = frameTime;
        }
        streamConfig_->SetFormat(type);
    }
    DeleteMediaType(type);
}

// Sends the stored gains and exposure to the sensor of the current device; results are not examined.
void CameraDevice::WriteStoredSensorValues() {
    CameraDevice* device = Current();
    if (device == nullptr) {
        return;
    }
    for (RegisterWrite write : StoredSensorWrites(Library().settingsKey)) {
        static_cast<void>(device->RegOperation(write.index, &write.value, 1));
    }
}

// Stops the preview in any state: unhooks the grabber and waits for the frame in progress, stops the graph,
// removes everything downstream of the source and kills the frame-rate timer. False, doing nothing, when
// called from inside a frame of this device (the stop would wait for itself). Caller's thread.
bool CameraDevice::StopPreview() {
    if (InsideFrame()) {
        return false;
    }
    // The sweep stays on and goes on with the next preview; the climb does not.
    autoFocus_.StopSubAF();
    if (mediaControl_ != nullptr) {
        if (grabber_ != nullptr) {
            grabber_->Unhook();
        }
        pipeline_.WaitFrameDone();
        mediaControl_->Stop();
        ReleaseAndClear(mediaControl_);
    }
    pipeline_.ResetFrameCounter();
    if (videoWindow_ != nullptr) {
        videoWindow_->put_Visible(OAFALSE);
        videoWindow_->put_Owner(0);
        ReleaseAndClear(videoWindow_);
    }
    RemoveDownstream(graph_, source_);
    ReleaseAndClear(decoder_);
    ReleaseAndClear(streamConfig_);
    grabber_.reset();
    if (timerId_ != 0) {
        timeKillEvent(timerId_);
        timerId_ = 0;
    }
    pipeline_.TakeFramesInPeriod();
    State previewing = State::Previewing;
    state_.compare_exchange_strong(previewing, State::Stopped, std::memory_order_acq_rel);
    return true;
}

void CALLBACK CameraDevice::FrameRateTimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    reinterpret_cast<CameraDevice*>(user)->FrameRateTick();
}

// Timer thread: frames of the period over its length in milliseconds.
void CameraDevice::FrameRateTick() {
    const DWORD now = timeGetTime();
    const int frames = pipeline_.TakeFramesInPeriod();
    const auto elapsed = static_cast<int32_t>(now - lastTick_.exchange(now, std::memory_order_relaxed));
    if (elapsed > 0) {
        frameRate_.store(static_cast<float>(frames * 1000) / static_cast<float>(elapsed), std::memory_order_relaxed);
    }
}

} // namespace korvib
