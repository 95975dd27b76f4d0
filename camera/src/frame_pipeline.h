// The per-frame pipeline: green gamma, dark frame, mask, copy requests, mask callback, GDI drawing and the
// frame callbacks.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>

#include <win32/dib.h>
#include <win32/types.h>

#include <camera/korvib.h>

#include "frame_request.h"
#include "overlay_images.h"

namespace korvib {

// Bytes of each frame-copy buffer (1280 x 1024 x 3) and of the snapshot buffer.
constexpr std::size_t kFrameCopyBytes = 3932160;
constexpr std::size_t kSnapshotBytes = 5242880;

// Reads the running format of the stream: biWidth, biHeight, 24 bits, biSizeImage = biHeight x stride.
class FormatSource {
public:
    virtual ~FormatSource() = default;
    [[nodiscard]] virtual bool GetCurrentFormat(BITMAPINFOHEADER* format) = 0;
    // Streaming thread, inside the frame handshake: the auto-focus steps on a frame of `length` bytes in the
    // running `format`, before any other step touches it.
    virtual void FocusSteps(BYTE* /*frame*/, std::size_t /*length*/, const BITMAPINFOHEADER& /*format*/) {}
};

// Where KZ_RENDER_GDI frames are drawn; written by the caller's thread, read for every frame.
struct DisplayTarget {
    std::atomic<int> renderMode{KZ_RENDER_DS};
    std::atomic<HWND> owner{nullptr};
    std::atomic<int> x{0};
    std::atomic<int> y{0};
    std::atomic<int> width{0};
    std::atomic<int> height{0};
};

class FramePipeline {
public:
    // Allocates the two frame-copy buffers (a failed allocation leaves that buffer missing) and creates the
    // frame-done event, signalled.
    FramePipeline();
    ~FramePipeline();
    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    // Runs every step for one delivered frame of `length` bytes, in place. Streaming thread.
    void OnFrame(BYTE* frame, std::size_t length, FormatSource& source);

    // True on the thread that is inside OnFrame of this pipeline (a callback calling back into the device).
    [[nodiscard]] bool InsideFrame() const;

    // Callback setters, caller's thread. The last frame setter decides which kind is called; a null callback
    // switches both kinds off. False (nothing published) when a frame-copy buffer is missing.
    [[nodiscard]] bool SetFrameCallBack(KZ_FrameCallBack callback, void* user);
    [[nodiscard]] bool SetFrameCallBackEx(KZ_FrameCallBackEx callback, void* user);
    void SetMaskCallBack(KZ_MaskCallBack callback, void* user);
    // Switches both frame callback kinds off and forgets them.
    void ClearFrameCallbacks();

    // Green gamma from the next frame on. Caller's thread.
    void SetGreenGamma(float gamma, bool enable);

    // Frame counter (selects the frame-copy buffer); reset by the preview start and stop. Caller's thread.
    void ResetFrameCounter();

    // Frames counted since the last call, which restarts the count. Any thread (the frame-rate timer).
    int TakeFramesInPeriod();

    // Waits until no frame is inside OnFrame. Caller's thread, never from inside a frame.
    void WaitFrameDone();

    DisplayTarget& Display() { return display_; }
    FrameRequest& BufferRequest() { return bufferRequest_; }
    FrameRequest& SnapshotRequest() { return snapshotRequest_; }
    OverlayImages& Overlays() { return overlays_; }

private:
    // The callbacks and their user pointers, taken together once per frame.
    struct Callbacks {
        KZ_FrameCallBack frame = nullptr;
        void* frameUser = nullptr;
        KZ_FrameCallBackEx extended = nullptr;
        void* extendedUser = nullptr;
        bool useExtended = false;
        KZ_MaskCallBack mask = nullptr;
        void* maskUser = nullptr;
    };

    [[nodiscard]] Callbacks TakeCallbacks();
    void DrawFrame(const BYTE* frame, const BITMAPINFOHEADER& format);
    void CallFrameCallbacks(const Callbacks& callbacks, const BYTE* frame, std::size_t length,
                            const BITMAPINFOHEADER& format);

    HANDLE frameDone_ = nullptr; // manual reset; reset while a frame is inside OnFrame
    std::unique_ptr<BYTE[]> copies_[2];
    std::atomic<unsigned> frameCounter_{0};
    std::atomic<int> framesInPeriod_{0};
    std::atomic<float> greenGamma_{1.0f};
    std::atomic<bool> greenGammaOn_{false};
    std::mutex callbacksLock_; // guards callbacks_; held only to copy or replace them, never during a call
    Callbacks callbacks_;
    DisplayTarget display_;
    FrameRequest bufferRequest_;
    FrameRequest snapshotRequest_;
    OverlayImages overlays_;
};

} // namespace korvib
