// Recording: the capture stream through the chosen compressor into an AVI file, the preview handed back.
//
//   Stopped/Previewing --StartCapture--> Recording --StopCapture (KZ_StopCapture, KZ_Start, destruction)-->
//   Stopped, then Previewing again when the preview ran at the start. A failed start shows the error, runs
//   StopCapture and so ends as the start found it. Recording --the camera lost or the stream aborted, found by
//   the next call that needs the stream--> Stopped, the file closed and the preview not restarted.
#include "camera_device.h"

#include <climits>

#include <win32/codepage.h>

#include <dshow/device_enum.h>

#include "com_release.h"
#include "error_boxes.h"
#include "graph_helpers.h"
#include "library_state.h"
#include "registry_settings.h"

namespace korvib {
namespace {

constexpr int kMaxPathChars = 260;
constexpr REFERENCE_TIME kThirtyFramesPerSecond = 333333;

} // namespace

// Starts recording into aviPath (ANSI code page). Caller's thread, never inside a frame.
bool CameraDevice::StartCapture(const char* aviPath) {
    if (InsideFrame() || RecordingRunning()) {
        return false;
    }
    // A lost camera's preview is stopped here and not restarted after the recording; what an earlier
    // stream reported does not concern the recording.
    static_cast<void>(EndLostStream());
    previewWasRunning_ = PreviewRunning();
    if (previewWasRunning_) {
        StopPreview();
    }
    HRESULT hr = BuildRecording(aviPath);
    if (SUCCEEDED(hr)) {
        const DWORD customProp = ReadRegDword(Library().settingsKey, "bCustomProp", 1);
        Library().customProp.store(customProp, std::memory_order_relaxed);
        if (customProp == 0) {
            WriteStoredSensorValues();
        }
        // The file is opened when the graph runs: a file that cannot be written fails here.
        hr = mediaControl_ != nullptr ? mediaControl_->Run() : E_NOINTERFACE;
    }
    if (FAILED(hr)) {
        ShowComError(hr);
        TearDownRecording();
        RestorePreview();
        return false;
    }
    state_.store(State::Recording, std::memory_order_release);
    return true;
}

// The recording branch: capture format, multiplexer, compressor, connections and, when the preview ran,
// the live picture in a video window. The first failing HRESULT.
HRESULT CameraDevice::BuildRecording(const char* aviPath) {
    if (builder_ == nullptr || graph_ == nullptr) {
        return E_UNEXPECTED;
    }
    REFERENCE_TIME never = LLONG_MAX;
    builder_->ControlStream(&PIN_CATEGORY_CAPTURE, nullptr, nullptr, &never, nullptr, 0, 0);
    builder_->ControlStream(&PIN_CATEGORY_CAPTURE, nullptr, nullptr, nullptr, &never, 0, 0);

    const HRESULT found =
        builder_->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source_, IID_IAMStreamConfig,
                                reinterpret_cast<void**>(&streamConfig_));
    const CaptureFormat* row = FindCaptureFormat(formatIndex_);
    if (SUCCEEDED(found) && streamConfig_ != nullptr && row != nullptr) {
        ApplyCaptureFormat(*row, kThirtyFramesPerSecond);
    }

    // A path that does not fit the buffer converts to nothing and is refused by the multiplexer.
    WCHAR path[kMaxPathChars] = {};
    if (aviPath == nullptr || MultiByteToWideChar(CP_ACP, 0, aviPath, -1, path, kMaxPathChars) == 0) {
        path[0] = 0;
    }
    HRESULT hr = builder_->SetOutputFileName(&MEDIASUBTYPE_Avi, path, &mux_, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    hr = FindFilterByName(CLSID_VideoCompressorCategory, Library().compressorName, &compressor_);
    if (FAILED(hr)) {
        return hr;
    }
    if (compressor_ != nullptr) {
        graph_->AddFilter(compressor_, nullptr);
    }
    hr = builder_->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source_, compressor_, mux_);
    if (FAILED(hr)) {
        return hr;
    }
    if (previewWasRunning_) {
        hr = ShowRecordingWindow();
        if (FAILED(hr)) {
            return hr;
        }
    }
    graph_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&mediaControl_));
    return S_OK;
}

// The preview pin into the default renderer, its window placed where KZ_Start put the preview, whatever
// the render mode was.
HRESULT CameraDevice::ShowRecordingWindow() {
    builder_->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, source_, nullptr, nullptr);
    const DisplayTarget& display = pipeline_.Display();
    HRESULT hr = graph_->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&videoWindow_));
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->put_Owner(reinterpret_cast<OAHWND>(display.owner.load(std::memory_order_relaxed)));
    }
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->put_WindowStyle(static_cast<LONG>(windowStyle_));
    }
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->SetWindowPosition(
            display.x.load(std::memory_order_relaxed), display.y.load(std::memory_order_relaxed),
            display.width.load(std::memory_order_relaxed), display.height.load(std::memory_order_relaxed));
    }
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->put_Visible(OATRUE);
    }
    if (SUCCEEDED(hr)) {
        hr = videoWindow_->put_Caption(L"Korvi");
    }
    return hr;
}

void CameraDevice::StopCapture() {
    if (RecordingRunning()) {
        TearDownRecording();
    }
    RestorePreview();
}

// Stops the graph (the multiplexer closes its file) and removes everything downstream of the source.
void CameraDevice::TearDownRecording() {
    if (mediaControl_ != nullptr) {
        mediaControl_->Stop();
        ReleaseAndClear(mediaControl_);
    }
    if (videoWindow_ != nullptr) {
        videoWindow_->put_Visible(OAFALSE);
        videoWindow_->put_Owner(0);
        ReleaseAndClear(videoWindow_);
    }
    RemoveDownstream(graph_, source_);
    ReleaseAndClear(compressor_);
    ReleaseAndClear(mux_);
    ReleaseAndClear(streamConfig_);
    State recording = State::Recording;
    state_.compare_exchange_strong(recording, State::Stopped, std::memory_order_acq_rel);
}

// Starts the preview again with the stored KZ_Start arguments when the last recording start found it running.
void CameraDevice::RestorePreview() {
    if (!previewWasRunning_) {
        return;
    }
    const DisplayTarget& display = pipeline_.Display();
    static_cast<void>(StartPreview(
        windowStyle_, display.x.load(std::memory_order_relaxed), display.y.load(std::memory_order_relaxed),
        display.width.load(std::memory_order_relaxed), display.height.load(std::memory_order_relaxed),
        display.owner.load(std::memory_order_relaxed), display.renderMode.load(std::memory_order_relaxed)));
}

} // namespace korvib
