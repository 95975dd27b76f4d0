// FocusSwitch: the on flag of one auto-focus procedure, switched by the caller and taken by the stream.
#pragma once

#include <atomic>

namespace korvib {

// Bit 0 of the word is the on flag; the bits above count the switch calls, so the streaming thread sees
// every call (also one that leaves the flag as it was) and resets its procedure at its next frame. The
// procedure's state itself belongs to the streaming thread alone.
class FocusSwitch {
public:
    // Caller's thread: switches on or off; the procedure starts afresh at the next frame.
    void Set(bool on);
    // Any thread: switches off without a fresh start.
    void Clear() { word_.fetch_and(~1u, std::memory_order_acq_rel); }
    // Streaming thread: the flag now, in *on; true when Set was called since the last Take.
    [[nodiscard]] bool Take(bool* on);
    // Streaming thread: the procedure ended by itself. A switch call since the last Take is kept.
    void Finish();
    // Any thread.
    [[nodiscard]] bool On() const { return (word_.load(std::memory_order_acquire) & 1u) != 0; }

private:
    std::atomic<unsigned> word_{0};
    unsigned taken_ = 0; // streaming thread: the word as last taken
};

} // namespace korvib
