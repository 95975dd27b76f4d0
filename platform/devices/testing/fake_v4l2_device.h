// A V4L2 camera in memory for tests of the V4L2 source and of what runs on it: the formats and controls it
// offers, mmap buffers the test fills one frame at a time, failing calls, unplugging and plugging back.
#pragma once

#include <devices/v4l2_io.h>

#include <linux/videodev2.h>

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace platform::devices::testing {

class FakeV4l2Device final : public V4l2Io {
public:
    struct Format {
        uint32_t fourcc;
        std::vector<std::pair<uint32_t, uint32_t>> sizes; // discrete; empty for the stepwise range below
    };
    struct Control {
        uint32_t id;
        int32_t minimum, maximum, step, initial;
    };

    std::vector<Format> formats;
    v4l2_frmsize_stepwise stepwise{}; // offered for formats without discrete sizes
    std::vector<Control> controls;
    uint32_t rowPadding = 0;    // bytes after each row of a streamed frame
    bool refuseSizes = false;   // S_FMT answers with a size of its own, as a driver does for one it lacks

    // Writes `fill` into the picture bytes of the next queued buffer and makes it ready to dequeue; false
    // when none is queued.
    bool deliverFrame(uint8_t fill);
    // Puts `data` (a compressed frame) into the next queued buffer; false when none is queued.
    bool deliverFrame(const std::vector<uint8_t>& data);
    // From now on every call fails with ENODEV and poll reports an error, as for a camera pulled out.
    void unplug() { failCalls(ENODEV); }
    // From now on every call fails with `error` and poll reports an error.
    void failCalls(int error);
    // Plugged in again: a new open reaches a camera that has not started streaming.
    void plugIn();
    // Waits up to 5 s for an ioctl to fail after failCalls; false when none did.
    bool waitForFailedCall();

    bool streaming() const;
    std::size_t mappedBuffers() const;
    std::size_t queuedBuffers() const; // handed back by the source, waiting for a frame
    v4l2_pix_format negotiated() const;
    int32_t controlValue(uint32_t id) const;
    long calls() const; // poll and ioctl calls so far

    int open(const char* path, int flags) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void* arg) override;
    void* mmap(std::size_t length, int fd, off_t offset) override;
    int munmap(void* start, std::size_t length) override;
    int poll(pollfd* fds, nfds_t count, int timeoutMs) override;

private:
    int controlRequest(unsigned long request, void* arg);
    int formatRequest(unsigned long request, void* arg);
    int bufferRequest(unsigned long request, void* arg);
    int32_t valueOf(uint32_t id) const;
    int capabilityRequest(void* arg);
    // The first queued buffer, holding `used` bytes, becomes ready to dequeue (lock held).
    void finishFrame(uint32_t used);

    mutable std::mutex mutex_;
    std::condition_variable ready_;
    int failure_ = 0; // the errno every call fails with, 0 while the camera works
    long failedCalls_ = 0;
    bool streaming_ = false;
    long calls_ = 0;
    v4l2_pix_format format_{};
    std::vector<std::vector<uint8_t>> buffers_;
    std::vector<uint32_t> used_; // bytes of each buffer that hold the frame
    std::size_t mapped_ = 0;
    std::deque<uint32_t> queued_;
    std::deque<uint32_t> done_;
    std::map<uint32_t, int32_t> values_; // controls set so far
};

} // namespace platform::devices::testing
