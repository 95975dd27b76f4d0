// A one-frame copy request between the caller's thread and the streaming thread.
#pragma once

#include <atomic>
#include <cstddef>

#include <win32/types.h>

namespace korvib {

// The caller places a request with a target; the streaming thread copies the next frame into it and
// clears the request. A frame longer than the target is refused, never copied past its end.
class FrameRequest {
public:
    FrameRequest() = default;
    FrameRequest(const FrameRequest&) = delete;
    FrameRequest& operator=(const FrameRequest&) = delete;

    // Places a request for one frame into target (capacity bytes). Caller's thread, no request pending.
    void Place(BYTE* target, std::size_t capacity);

    // Copies the frame when a request is pending and clears it. Streaming thread.
    void Serve(const BYTE* frame, std::size_t length);

    // True while the request waits for a frame. Any thread.
    [[nodiscard]] bool Pending() const;

    // Takes a pending request back; if the streaming thread is copying, waits until it is done.
    // Caller's thread.
    void Withdraw();

    // Whether the last served request received its frame (false after a refusal or a withdrawal).
    [[nodiscard]] bool Copied() const;

private:
    enum : int { kIdle, kPending, kCopying };
    std::atomic<int> state_{kIdle};
    // Written by the caller before it publishes kPending, read by the streaming thread after it took it.
    BYTE* target_ = nullptr;
    std::size_t capacity_ = 0;
    std::atomic<bool> copied_{false};
};

} // namespace korvib
