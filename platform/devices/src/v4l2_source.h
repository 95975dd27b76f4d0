// A V4L2 camera as a capture source: its YUYV/UYVY/YUV420/RGB formats, and motion JPEG decoded into RGB,
// at their discrete sizes, mmap streaming on a thread of its own, and its controls as the processing
// amplifier.
#pragma once

#include "capture_source.h"
#include <devices/v4l2_io.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace platform::devices {

class V4l2Source : public CaptureSource {
public:
    // The camera at `path`, or null when it cannot be opened or offers no format this layer handles.
    static std::shared_ptr<V4l2Source> open(const std::string& path, V4l2Io& io = systemV4l2Io());
    ~V4l2Source() override;
    V4l2Source(const V4l2Source&) = delete;
    V4l2Source& operator=(const V4l2Source&) = delete;

    VideoFormat format() const override;
    bool setFormat(const VideoFormat& format) override;
    std::vector<VideoFormat> capabilities() const override { return caps_; }
    double frameRate() const override { return fps_; }

    // A device that fails to start streaming, or fails while streaming, delivers nothing more: the
    // failure goes to the debugger output and to `failed` (DeviceLost for ENODEV, the camera unplugged),
    // and stopStream still ends the stream. Frames arrive in the driver's buffers, so the target is not
    // used.
    void startStream(FrameSink sink, FrameTarget target, StreamFailed failed) override;
    void stopStream() override;

    std::optional<ProcAmpRange> procAmpRange(LONG property) const override;
    bool setProcAmp(LONG property, LONG value) override;
    std::optional<LONG> procAmp(LONG property) const override;

    // No bridge chip behind a V4L2 camera: E_NOTIMPL.
    HRESULT propertySet(ULONG, const void*) override { return E_NOTIMPL; }
    HRESULT propertyGet(ULONG, void*) override { return E_NOTIMPL; }

private:
    struct Buffer {
        void* start = nullptr;
        std::size_t length = 0;
    };

    V4l2Source(V4l2Io& io, int fd) : io_(io), fd_(fd) {}
    int ioctl(unsigned long request, void* arg) const;
    void listFormats();
    bool startCapture(const VideoFormat& format);
    void endCapture();
    // Streams until stop_ or a failure; the errno of the failure, or 0 when stopped.
    int loop();
    // Converts one captured buffer into `frame_` in the layer's layout; false when it is short.
    bool convert(const BYTE* data, std::size_t bytes);

    V4l2Io& io_;
    const int fd_;
    std::vector<VideoFormat> caps_;
    std::vector<uint32_t> fourccs_; // V4L2 pixel format of each capability
    double fps_ = 15;
    mutable std::mutex mutex_; // guards format_, formatIndex_
    VideoFormat format_;
    std::size_t formatIndex_ = 0;

    // Owned by the streaming thread between startStream and stopStream.
    FrameSink sink_;
    StreamFailed failed_;
    std::vector<Buffer> buffers_;
    std::vector<BYTE> frame_;
    uint32_t fourcc_ = 0;
    uint32_t bytesPerLine_ = 0;
    uint64_t frames_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex streamMutex_; // serialises startStream and stopStream
};

} // namespace platform::devices
