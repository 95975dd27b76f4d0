// FramePipeline: the fixed order of the per-frame steps and the callback setters.
//
// Order for one frame: count it; reset frame-done; read the running format (unreadable: serve a snapshot
// request from the raw frame, done); skip a frame whose length is not the format's image size; the auto
// focus steps; auto white balance and auto exposure while switched on; green gamma; dark frame on every frame; mask drawn before
// the callbacks; dark frame for a snapshot only; snapshot copy; buffer copy; mask callback; mask drawn after
// the callbacks; GDI drawing (KZ_RENDER_GDI); frame callback into the alternating copy buffers; set
// frame-done.
#include "frame_pipeline.h"

#include <cstring>
#include <new>

#include <win32/gdi.h>
#include <win32/kernel.h>
#include <win32/user.h>

#include "auto_loops.h"
#include "debug_output.h"
#include "gamma.h"

namespace korvib {
namespace {

thread_local const FramePipeline* tInsideFrame = nullptr;

// Marks the calling thread as inside one pipeline's OnFrame for the guard's lifetime.
class InsideFrameScope {
public:
    explicit InsideFrameScope(const FramePipeline* pipeline) : previous_(tInsideFrame) { tInsideFrame = pipeline; }
    ~InsideFrameScope() { tInsideFrame = previous_; }
    InsideFrameScope(const InsideFrameScope&) = delete;
    InsideFrameScope& operator=(const InsideFrameScope&) = delete;

private:
    const FramePipeline* previous_;
};

} // namespace

FramePipeline::FramePipeline() {
    copies_[0].reset(new (std::nothrow) BYTE[kFrameCopyBytes]);
    copies_[1].reset(new (std::nothrow) BYTE[kFrameCopyBytes]);
    frameDone_ = CreateEvent(nullptr, TRUE, TRUE, nullptr);
}

FramePipeline::~FramePipeline() {
    if (frameDone_ != nullptr) {
        CloseHandle(frameDone_);
    }
}

void FramePipeline::OnFrame(BYTE* frame, std::size_t length, FormatSource& source) {
    InsideFrameScope inside(this);
    const int counted = framesInPeriod_.fetch_add(1, std::memory_order_relaxed) + 1;
    DebugLine("==============%d", counted);
    ResetEvent(frameDone_);

    BITMAPINFOHEADER format{};
    if (!source.GetCurrentFormat(&format)) {
        snapshotRequest_.Serve(frame, length);
        SetEvent(frameDone_);
        return;
    }
    // Every in-place step below walks the format's rows: a frame of another length is passed on untouched.
    if (frame == nullptr || length != format.biSizeImage) {
        SetEvent(frameDone_);
        return;
    }

    source.FocusSteps(frame, length, format);
    RunAutoLoops(frame, format.biWidth, format.biHeight);
    if (greenGammaOn_.load(std::memory_order_relaxed)) {
        ApplyGreenGamma(frame, format.biWidth, format.biHeight, greenGamma_.load(std::memory_order_relaxed));
    }
    // Only a mask or dark frame of the running format is laid on the frame.
    const FrameOverlays overlays = overlays_.ForFrame(format);
    overlays.CorrectEveryFrame(frame);
    overlays.DrawEarlyMask(frame);
    if (snapshotRequest_.Pending()) {
        overlays.CorrectSnapshot(frame);
    }
    snapshotRequest_.Serve(frame, length);
    bufferRequest_.Serve(frame, length);

    const Callbacks callbacks = TakeCallbacks();
    if (callbacks.mask != nullptr) {
        callbacks.mask(callbacks.maskUser, frame);
    }
    overlays.DrawLateMask(frame);
    if (display_.renderMode.load(std::memory_order_relaxed) == KZ_RENDER_GDI) {
        DrawFrame(frame, format);
    }
    CallFrameCallbacks(callbacks, frame, length, format);
    SetEvent(frameDone_);
}

bool FramePipeline::InsideFrame() const {
    return tInsideFrame == this;
}

FramePipeline::Callbacks FramePipeline::TakeCallbacks() {
    std::lock_guard<std::mutex> hold(callbacksLock_);
    return callbacks_;
}

void FramePipeline::DrawFrame(const BYTE* frame, const BITMAPINFOHEADER& format) {
    const HWND owner = display_.owner.load(std::memory_order_relaxed);
    if (owner == nullptr) {
        return;
    }
    const HDC dc = GetDC(owner);
    if (dc == nullptr) {
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader = format;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, display_.x.load(std::memory_order_relaxed), display_.y.load(std::memory_order_relaxed),
                  display_.width.load(std::memory_order_relaxed), display_.height.load(std::memory_order_relaxed),
                  0, 0, format.biWidth, format.biHeight, frame, &info, DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(owner, dc);
}

void FramePipeline::CallFrameCallbacks(const Callbacks& callbacks, const BYTE* frame, std::size_t length,
                                       const BITMAPINFOHEADER& format) {
    const bool extended = callbacks.extended != nullptr && callbacks.useExtended;
    const bool plain = callbacks.frame != nullptr && !callbacks.useExtended;
    if ((!extended && !plain) || length > kFrameCopyBytes) {
        return;
    }
    const unsigned counter = frameCounter_.load(std::memory_order_relaxed);
    BYTE* copy = copies_[counter & 1].get();
    if (copy == nullptr) {
        return;
    }
    std::memcpy(copy, frame, length);
    if (extended) {
        FrameInfo info{callbacks.extendedUser, format.biWidth, format.biHeight, copy};
        callbacks.extended(&info);
    } else {
        callbacks.frame(callbacks.frameUser, copy);
    }
    frameCounter_.store(counter + 1, std::memory_order_relaxed);
}

bool FramePipeline::SetFrameCallBack(KZ_FrameCallBack callback, void* user) {
    const bool refused = callback != nullptr && (copies_[0] == nullptr || copies_[1] == nullptr);
    {
        std::lock_guard<std::mutex> hold(callbacksLock_);
        callbacks_.useExtended = false;
        callbacks_.frame = refused ? nullptr : callback;
        callbacks_.frameUser = user;
    }
    frameCounter_.store(0, std::memory_order_relaxed);
    return !refused;
}

bool FramePipeline::SetFrameCallBackEx(KZ_FrameCallBackEx callback, void* user) {
    const bool refused = callback != nullptr && (copies_[0] == nullptr || copies_[1] == nullptr);
    {
        std::lock_guard<std::mutex> hold(callbacksLock_);
        callbacks_.extended = refused ? nullptr : callback;
        callbacks_.useExtended = true;
        callbacks_.extendedUser = user;
    }
    frameCounter_.store(0, std::memory_order_relaxed);
    return !refused;
}

void FramePipeline::SetMaskCallBack(KZ_MaskCallBack callback, void* user) {
    std::lock_guard<std::mutex> hold(callbacksLock_);
    callbacks_.mask = callback;
    callbacks_.maskUser = user;
}

void FramePipeline::ClearFrameCallbacks() {
    std::lock_guard<std::mutex> hold(callbacksLock_);
    callbacks_.frame = nullptr;
    callbacks_.frameUser = nullptr;
    callbacks_.useExtended = false;
    callbacks_.extended = nullptr;
    callbacks_.extendedUser = nullptr;
}

void FramePipeline::SetGreenGamma(float gamma, bool enable) {
    greenGamma_.store(gamma, std::memory_order_relaxed);
    greenGammaOn_.store(enable, std::memory_order_relaxed);
}

void FramePipeline::ResetFrameCounter() {
    frameCounter_.store(0, std::memory_order_relaxed);
}

int FramePipeline::TakeFramesInPeriod() {
    return framesInPeriod_.exchange(0, std::memory_order_relaxed);
}

void FramePipeline::WaitFrameDone() {
    WaitForSingleObject(frameDone_, INFINITE);
}

} // namespace korvib
