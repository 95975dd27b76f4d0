// V4L2 capture: format discovery, mmap streaming, conversion into the layer's frame layout, controls.
#include "v4l2_source.h"

#include "mjpeg_frame.h"

#include <win32/clock.h>
#include <win32/debug_output.h>
#include <win32/dib.h>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform::devices {
namespace {

std::optional<PixelFormat> pixelsOf(uint32_t fourcc)
{
    switch (fourcc) {
    case V4L2_PIX_FMT_YUYV:
        return PixelFormat::Yuy2;
    case V4L2_PIX_FMT_UYVY:
        return PixelFormat::Uyvy;
    case V4L2_PIX_FMT_YUV420:
        return PixelFormat::I420;
    case V4L2_PIX_FMT_BGR24:
    case V4L2_PIX_FMT_RGB24:
    case V4L2_PIX_FMT_MJPEG: // decoded into RGB24
        return PixelFormat::Rgb24;
    default:
        return std::nullopt;
    }
}

// Processing amplifier property -> V4L2 control.
std::optional<uint32_t> controlOf(LONG property)
{
    static const uint32_t kControls[10] = {
        V4L2_CID_BRIGHTNESS, V4L2_CID_CONTRAST,   V4L2_CID_HUE, V4L2_CID_SATURATION, V4L2_CID_SHARPNESS,
        V4L2_CID_GAMMA,      0,                   V4L2_CID_WHITE_BALANCE_TEMPERATURE,
        V4L2_CID_BACKLIGHT_COMPENSATION,          V4L2_CID_GAIN,
    };
    if (property < 0 || property >= 10 || kControls[property] == 0)
        return std::nullopt;
    return kControls[property];
}

// Tells `failed` (when given) how the stream ended after a call failed with `error`.
void reportFailure(const StreamFailed& failed, int error)
{
    if (failed)
        failed(error == ENODEV ? StreamFailure::DeviceLost : StreamFailure::Aborted);
}

} // namespace

std::shared_ptr<V4l2Source> V4l2Source::open(const std::string& path, V4l2Io& io)
{
    const int fd = io.open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    std::shared_ptr<V4l2Source> source(new V4l2Source(io, fd));
    source->listFormats();
    if (source->caps_.empty())
        return nullptr;
    return source;
}

V4l2Source::~V4l2Source()
{
    stopStream();
    io_.close(fd_);
}

// An ioctl of the camera, repeated when a signal interrupts it.
int V4l2Source::ioctl(unsigned long request, void* arg) const
{
    int r;
    do
        r = io_.ioctl(fd_, request, arg);
    while (r < 0 && errno == EINTR);
    return r;
}

// Discrete sizes of every handled pixel format; stepwise ranges contribute the two sizes the
// camera library asks for when they lie inside.
void V4l2Source::listFormats()
{
    for (uint32_t i = 0;; ++i) {
        v4l2_fmtdesc desc{};
        desc.index = i;
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (ioctl(VIDIOC_ENUM_FMT, &desc) < 0)
            break;
        const auto pixels = pixelsOf(desc.pixelformat);
        if (!pixels)
            continue;
        auto add = [&](uint32_t w, uint32_t h) {
            const VideoFormat f{*pixels, LONG(w), LONG(h)};
            if (std::find(caps_.begin(), caps_.end(), f) != caps_.end())
                return;
            caps_.push_back(f);
            fourccs_.push_back(desc.pixelformat);
        };
        for (uint32_t j = 0;; ++j) {
            v4l2_frmsizeenum size{};
            size.index = j;
            size.pixel_format = desc.pixelformat;
            if (ioctl(VIDIOC_ENUM_FRAMESIZES, &size) < 0)
                break;
            if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
                add(size.discrete.width, size.discrete.height);
                continue;
            }
            for (auto [w, h] : {std::pair<uint32_t, uint32_t>{640, 480}, {1280, 1024}})
                if (w >= size.stepwise.min_width && w <= size.stepwise.max_width && h >= size.stepwise.min_height &&
                    h <= size.stepwise.max_height)
                    add(w, h);
            break;
        }
    }
    if (caps_.empty())
        return;
    format_ = caps_.front();
    v4l2_streamparm parm{};
    parm.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (ioctl(VIDIOC_G_PARM, &parm) == 0 && parm.parm.capture.timeperframe.numerator > 0)
        fps_ = double(parm.parm.capture.timeperframe.denominator) / parm.parm.capture.timeperframe.numerator;
}

VideoFormat V4l2Source::format() const
{
    std::lock_guard guard(mutex_);
    return format_;
}

bool V4l2Source::setFormat(const VideoFormat& format)
{
    const auto it = std::find(caps_.begin(), caps_.end(), format);
    if (it == caps_.end())
        return false;
    std::lock_guard guard(mutex_);
    format_ = format;
    formatIndex_ = std::size_t(it - caps_.begin());
    return true;
}

bool V4l2Source::startCapture(const VideoFormat& format)
{
    v4l2_format fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    fmt.fmt.pix.width = uint32_t(format.width);
    fmt.fmt.pix.height = uint32_t(format.height);
    fmt.fmt.pix.pixelformat = fourcc_;
    fmt.fmt.pix.field = V4L2_FIELD_NONE;
    if (ioctl(VIDIOC_S_FMT, &fmt) < 0 || fmt.fmt.pix.width != uint32_t(format.width) ||
        fmt.fmt.pix.height != uint32_t(format.height) || fmt.fmt.pix.pixelformat != fourcc_)
        return false;
    bytesPerLine_ = fmt.fmt.pix.bytesperline;

    v4l2_requestbuffers request{};
    request.count = 4;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (ioctl(VIDIOC_REQBUFS, &request) < 0 || request.count == 0)
        return false;
    for (uint32_t i = 0; i < request.count; ++i) {
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        buffer.index = i;
        if (ioctl(VIDIOC_QUERYBUF, &buffer) < 0)
            return false;
        void* start = io_.mmap(buffer.length, fd_, buffer.m.offset);
        if (start == MAP_FAILED)
            return false;
        buffers_.push_back({start, buffer.length});
        if (ioctl(VIDIOC_QBUF, &buffer) < 0)
            return false;
    }
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    return ioctl(VIDIOC_STREAMON, &type) == 0;
}

void V4l2Source::endCapture()
{
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    ioctl(VIDIOC_STREAMOFF, &type);
    for (const Buffer& b : buffers_)
        io_.munmap(b.start, b.length);
    buffers_.clear();
    v4l2_requestbuffers release{};
    release.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    release.memory = V4L2_MEMORY_MMAP;
    ioctl(VIDIOC_REQBUFS, &release);
}

void V4l2Source::startStream(FrameSink sink, FrameTarget, StreamFailed failed)
{
    std::lock_guard stream(streamMutex_);
    if (thread_.joinable())
        return;
    VideoFormat format;
    {
        std::lock_guard guard(mutex_);
        format = format_;
        fourcc_ = fourccs_[formatIndex_];
    }
    errno = 0;
    if (!startCapture(format)) {
        const int error = errno;
        OutputDebugString("V4L2: the camera did not start streaming\n");
        endCapture();
        reportFailure(failed, error);
        return;
    }
    sink_ = std::move(sink);
    failed_ = std::move(failed);
    frame_.assign(frameBytes(format), 0);
    frames_ = 0;
    stop_ = false;
    // A failure is reported even when a stop came meanwhile: stopStream returns after the report.
    thread_ = std::thread([this] {
        if (const int error = loop()) {
            OutputDebugString("V4L2: the camera stopped streaming\n");
            reportFailure(failed_, error);
        }
    });
}

void V4l2Source::stopStream()
{
    std::lock_guard stream(streamMutex_);
    if (!thread_.joinable())
        return;
    stop_ = true;
    thread_.join();
    endCapture();
    sink_ = nullptr;
    failed_ = nullptr;
}

int V4l2Source::loop()
{
    const VideoFormat format = this->format();
    while (!stop_) {
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = io_.poll(&waiting, 1, 100);
        if (ready < 0 && errno != EINTR)
            return errno;
        if (ready <= 0)
            continue;
        v4l2_buffer buffer{};
        buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buffer.memory = V4L2_MEMORY_MMAP;
        if (ioctl(VIDIOC_DQBUF, &buffer) < 0) {
            if (errno == EAGAIN)
                continue;
            return errno;
        }
        if (buffer.index < buffers_.size() &&
            convert(static_cast<const BYTE*>(buffers_[buffer.index].start), buffer.bytesused))
            sink_(FrameView{format, frame_.data(), DWORD(frame_.size()), ++frames_, activeClock().nowMs()});
        if (ioctl(VIDIOC_QBUF, &buffer) < 0)
            return errno;
    }
    return 0;
}

// RGB rows, and motion-JPEG pictures, become bottom-up BGR rows padded to 4 bytes; YUV data is copied row
// by row without the device's row padding.
bool V4l2Source::convert(const BYTE* data, std::size_t bytes)
{
    const VideoFormat f = format();
    if (fourcc_ == V4L2_PIX_FMT_MJPEG)
        return decodeMjpegFrame(data, bytes, f.width, f.height, frame_.data());
    if (f.pixels == PixelFormat::Rgb24) {
        const std::size_t row = std::size_t(f.width) * 3;
        const std::size_t pitch = std::max<std::size_t>(bytesPerLine_, row);
        if (bytes < pitch * (f.height - 1) + row)
            return false;
        const LONG stride = DibStride(f.width, 24);
        for (LONG y = 0; y < f.height; ++y) {
            const BYTE* in = data + std::size_t(y) * pitch;
            BYTE* out = frame_.data() + std::size_t(f.height - 1 - y) * stride;
            for (LONG x = 0; x < f.width; ++x) {
                const bool rgb = fourcc_ == V4L2_PIX_FMT_RGB24;
                out[x * 3 + 0] = in[x * 3 + (rgb ? 2 : 0)];
                out[x * 3 + 1] = in[x * 3 + 1];
                out[x * 3 + 2] = in[x * 3 + (rgb ? 0 : 2)];
            }
        }
        return true;
    }
    if (f.pixels == PixelFormat::I420 || bytesPerLine_ <= std::size_t(f.width) * 2) {
        if (bytes < frame_.size())
            return false;
        std::memcpy(frame_.data(), data, frame_.size());
        return true;
    }
    const std::size_t row = std::size_t(f.width) * 2;
    if (bytes < std::size_t(bytesPerLine_) * (f.height - 1) + row)
        return false;
    for (LONG y = 0; y < f.height; ++y)
        std::memcpy(frame_.data() + y * row, data + std::size_t(y) * bytesPerLine_, row);
    return true;
}

std::optional<ProcAmpRange> V4l2Source::procAmpRange(LONG property) const
{
    const auto id = controlOf(property);
    if (!id)
        return std::nullopt;
    v4l2_queryctrl query{};
    query.id = *id;
    if (ioctl(VIDIOC_QUERYCTRL, &query) < 0 || (query.flags & V4L2_CTRL_FLAG_DISABLED))
        return std::nullopt;
    return ProcAmpRange{query.minimum, query.maximum, std::max(query.step, 1), query.default_value};
}

bool V4l2Source::setProcAmp(LONG property, LONG value)
{
    const auto range = procAmpRange(property);
    if (!range || value < range->min || value > range->max)
        return false;
    v4l2_control control{*controlOf(property), value};
    return ioctl(VIDIOC_S_CTRL, &control) == 0;
}

std::optional<LONG> V4l2Source::procAmp(LONG property) const
{
    const auto id = controlOf(property);
    if (!id)
        return std::nullopt;
    v4l2_control control{*id, 0};
    if (ioctl(VIDIOC_G_CTRL, &control) < 0)
        return std::nullopt;
    return control.value;
}

} // namespace platform::devices
