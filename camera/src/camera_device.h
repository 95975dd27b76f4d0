// CameraDevice: the object behind a KZ_HANDLE — graph, preview state, parameters and the frame pipeline.
#pragma once

#include <atomic>
#include <memory>

#include <dshow/capture.h>
#include <win32/timing.h>

#include "auto_focus.h"
#include "capture_formats.h"
#include "frame_pipeline.h"
#include "grabber_callback.h"
#include "register_access.h"
#include "serial_listener.h"

namespace korvib {

// One device per process. Every public function runs on the caller's thread unless it says otherwise.
class CameraDevice : public FormatSource {
public:
    explicit CameraDevice(HWND notifyWnd);
    // Stops the preview, clears the callbacks and releases everything; forgets itself as the current device.
    ~CameraDevice() override;
    CameraDevice(const CameraDevice&) = delete;
    CameraDevice& operator=(const CameraDevice&) = delete;

    // Builds the graph around the camera's capture filter. False (after an error box) when the graph or the
    // camera is missing; the object is then destroyed by its owner.
    [[nodiscard]] bool Open(int comPort);

    // Parameters KZ_PARAM_*: false for ids 0 to 9 the camera refuses; GetParam gives -1 when unavailable.
    [[nodiscard]] bool SetParam(int id, int value);
    [[nodiscard]] int GetParam(int id);
    // Moves the display rectangle; KZ_ERR_FAILED when the running video window refuses it.
    [[nodiscard]] int SetViewWin(const int* rect);

    // Preview: builds and runs the preview branch; false when it could not start (the device is stopped).
    [[nodiscard]] bool StartPreview(DWORD style, int x, int y, int width, int height, HWND owner,
                                    int renderMode);
    // Stops the preview in any state. False only when called from inside a frame of this device.
    bool StopPreview();
    [[nodiscard]] bool PreviewRunning() const {
        return state_.load(std::memory_order_acquire) == State::Previewing;
    }
    [[nodiscard]] bool RecordingRunning() const {
        return state_.load(std::memory_order_acquire) == State::Recording;
    }
    // Recording into an AVI file: stops the preview (remembering whether it ran) and runs the capture
    // stream through the registry's compressor into the multiplexer. False after an error box and a full
    // stop when a step fails, and at once, changing nothing, while a recording runs. Caller's thread, never
    // inside a frame.
    [[nodiscard]] bool StartCapture(const char* aviPath);
    // Ends the recording (the file gets its index), removes its filters and restarts the preview with the
    // stored KZ_Start arguments when the last start found it running; without a recording only that
    // restart happens. Caller's thread, never inside a frame.
    void StopCapture();

    // When the graph has reported the camera lost or its stream aborted, stops the preview, or the
    // recording (its file is closed, the preview not restarted); true then. The calls that need a running
    // stream ask this first. Caller's thread; false, doing nothing, inside a frame of this device.
    bool EndLostStream();

    // The capture source's compression settings: set nonzero writes the three values, 0 reads them.
    [[nodiscard]] int DeviceCompressor(LONG* keyFrameRate, LONG* pFramesPerKeyFrame, double* quality,
                                       int set);

    // Frames per second of the last 5000 ms period; 0.0 before the first tick. Any thread.
    [[nodiscard]] float FrameRate() const { return frameRate_.load(std::memory_order_relaxed); }

    // Streaming thread: the per-frame pipeline on one delivered buffer.
    void OnFrame(BYTE* frame, std::size_t length);
    // The running format: capture pin's header, 24 bits, biSizeImage = biHeight x stride. Any thread.
    [[nodiscard]] bool GetCurrentFormat(BITMAPINFOHEADER* format) override;
    // Streaming thread: the auto-focus steps, inside the pipeline's frame handshake.
    void FocusSteps(BYTE* frame, std::size_t length, const BITMAPINFOHEADER& format) override;

    // One copy of the next frame into buffer (biHeight x stride bytes of the running format).
    [[nodiscard]] int CaptureToBuf(BYTE* buffer);
    // Waits for the streaming thread to serve `request`, placed by the caller: true when it got its frame;
    // false, the request withdrawn, when none came within 5 s or the stream was lost meanwhile. Caller's
    // thread.
    [[nodiscard]] bool WaitForFrame(FrameRequest& request);

    // Registers, ranges, focus pulses and GPIO of the register object; KZ_ERR_MISSING while the device has
    // none. Any thread: the streaming thread's auto loops use them too.
    [[nodiscard]] int RegOperation(int index, int* value, int write);
    [[nodiscard]] int GetRegRange(int index, int* min, int* max);
    [[nodiscard]] int FocusOperation(int direction, int milliseconds);
    [[nodiscard]] int GPIOOperation(unsigned* value, int write);
    // The focus motor's end-stop position (kMotor*); kMotorUnknown while the device has no register object.
    [[nodiscard]] int MotorPosition();
    // True when the focus-motor controller answers a probe of its bus address.
    [[nodiscard]] bool MotorAnswers();

    // Auto focus switches: the hill climb (SubAF) and the end-stop sweep (AF); effective from the next
    // frame. KZ_OK. Any thread.
    int SetDoSubAF(int on) {
        autoFocus_.SetDoSubAF(on != 0);
        return KZ_OK;
    }
    int SetDoAF(int on) {
        autoFocus_.SetDoAF(on != 0);
        return KZ_OK;
    }
    const AutoFocus& Focus() const { return autoFocus_; }

    // True on a thread inside a frame of this device: calls that would stop its graph are refused there.
    [[nodiscard]] bool InsideFrame() const { return pipeline_.InsideFrame(); }

    FramePipeline& Pipeline() { return pipeline_; }
    // The camera's capture filter; null only before Open has found it.
    [[nodiscard]] IBaseFilter* Source() const { return source_; }

    // The device most recently opened, null when none; the property dialog and auto loops reach it.
    static CameraDevice* Current();

private:
    static void CALLBACK FrameRateTimerProc(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
    void FrameRateTick();
    [[nodiscard]] bool BuildPreview(DWORD style, int x, int y, int width, int height, HWND owner,
                                    int renderMode);
    // frameTime 0 keeps the pin's frame rate.
    void ApplyCaptureFormat(const CaptureFormat& row, REFERENCE_TIME frameTime = 0);
    [[nodiscard]] HRESULT BuildRecording(const char* aviPath);
    [[nodiscard]] HRESULT ShowRecordingWindow();
    void TearDownRecording();
    void RestorePreview();
    void WriteStoredSensorValues();
    void ReleaseGraph();
    // Takes every event the graph has queued; true when one reports that the stream failed.
    [[nodiscard]] bool TakeStreamFailure();

    bool comInitialized_ = false;
    IGraphBuilder* graph_ = nullptr;
    ICaptureGraphBuilder2* builder_ = nullptr;
    IBaseFilter* source_ = nullptr;
    IBaseFilter* decoder_ = nullptr;
    IMediaControl* mediaControl_ = nullptr;
    std::unique_ptr<GrabberCallback> grabber_;
    IAMStreamConfig* streamConfig_ = nullptr;
    IVideoWindow* videoWindow_ = nullptr;
    // Held while recording.
    IBaseFilter* mux_ = nullptr;
    IBaseFilter* compressor_ = nullptr;
    // Whether the preview ran when the last recording started; the recording's stop restarts it.
    bool previewWasRunning_ = false;

    // Read at the next start.
    int formatIndex_ = 6;
    // Also read by auto focus on the streaming thread.
    std::atomic<int> captureHeight_{1024};
    std::atomic<int> captureWidth_{1280};
    DWORD windowStyle_ = 0x00CF0000;

    // What the graph is doing; the preview and a recording exclude each other.
    enum class State { Stopped, Previewing, Recording };
    std::atomic<State> state_{State::Stopped};

    // Frame rate: the timer thread computes it from the pipeline's count.
    std::atomic<float> frameRate_{0.0f};
    UINT timerId_ = 0;
    std::atomic<DWORD> lastTick_{0};

    FramePipeline pipeline_;
    AutoFocus autoFocus_{*this};

    // Built before the graph, deleted after it; null when the bridge chip could not be opened.
    std::unique_ptr<RegisterAccess> registers_;

    // The serial trigger port posting to KZ_Initial's notify window: opened last by Open, closed first by
    // the destructor.
    SerialListener serial_;
};

} // namespace korvib
