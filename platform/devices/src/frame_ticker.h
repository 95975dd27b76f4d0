// The live streaming thread: calls a frame function at a fixed rate on the platform clock.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform::devices {

class FrameTicker {
public:
    FrameTicker() = default;
    ~FrameTicker() { stop(); }
    FrameTicker(const FrameTicker&) = delete;
    FrameTicker& operator=(const FrameTicker&) = delete;

    // Starts the thread, which calls `tick` every 1000 / fps ms of the active clock. Not while running.
    void start(double fps, std::function<void()> tick);
    // Ends the thread and joins it: afterwards `tick` is not running. Never from inside `tick`.
    void stop();
    bool running() const { return thread_.joinable(); }

private:
    void loop(double fps);

    std::thread thread_;
    std::function<void()> tick_;
    std::mutex mutex_; // guards stop_
    std::condition_variable wake_;
    bool stop_ = false;
};

} // namespace platform::devices
