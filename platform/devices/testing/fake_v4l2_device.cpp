// The in-memory V4L2 camera of the V4L2 source's tests.
#include "fake_v4l2_device.h"

#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace platform::devices::testing {
namespace {

constexpr int kFd = 42;
constexpr off_t kBufferSpacing = 1 << 24; // mmap offset of buffer i: i times this

int fail(int error)
{
    errno = error;
    return -1;
}

} // namespace

bool FakeV4l2Device::deliverFrame(uint8_t fill)
{
    std::lock_guard guard(mutex_);
    if (queued_.empty())
        return false;
    // Row padding holds another value, so a frame that keeps it shows.
    std::vector<uint8_t>& buffer = buffers_[queued_.front()];
    std::fill(buffer.begin(), buffer.end(), uint8_t(~fill));
    for (std::size_t row = 0; row < format_.height; ++row)
        std::fill_n(buffer.begin() + row * format_.bytesperline, format_.width * 2, fill);
    finishFrame(uint32_t(buffer.size()));
    return true;
}

bool FakeV4l2Device::deliverFrame(const std::vector<uint8_t>& data)
{
    std::lock_guard guard(mutex_);
    if (queued_.empty() || data.size() > buffers_[queued_.front()].size())
        return false;
    std::copy(data.begin(), data.end(), buffers_[queued_.front()].begin());
    finishFrame(uint32_t(data.size()));
    return true;
}

void FakeV4l2Device::finishFrame(uint32_t used)
{
    const uint32_t index = queued_.front();
    queued_.pop_front();
    used_[index] = used;
    done_.push_back(index);
    ready_.notify_all();
}

void FakeV4l2Device::failCalls(int error)
{
    std::lock_guard guard(mutex_);
    failure_ = error;
    ready_.notify_all();
}

bool FakeV4l2Device::waitForFailedCall()
{
    std::unique_lock guard(mutex_);
    return ready_.wait_for(guard, std::chrono::seconds(5), [&] { return failedCalls_ > 0; });
}

void FakeV4l2Device::plugIn()
{
    std::lock_guard guard(mutex_);
    failure_ = 0;
    failedCalls_ = 0;
    streaming_ = false;
    buffers_.clear();
    used_.clear();
    queued_.clear();
    done_.clear();
}

bool FakeV4l2Device::streaming() const
{
    std::lock_guard guard(mutex_);
    return streaming_;
}

std::size_t FakeV4l2Device::mappedBuffers() const
{
    std::lock_guard guard(mutex_);
    return mapped_;
}

std::size_t FakeV4l2Device::queuedBuffers() const
{
    std::lock_guard guard(mutex_);
    return queued_.size();
}

v4l2_pix_format FakeV4l2Device::negotiated() const
{
    std::lock_guard guard(mutex_);
    return format_;
}

int32_t FakeV4l2Device::controlValue(uint32_t id) const
{
    std::lock_guard guard(mutex_);
    return valueOf(id);
}

int32_t FakeV4l2Device::valueOf(uint32_t id) const
{
    if (const auto set = values_.find(id); set != values_.end())
        return set->second;
    for (const Control& c : controls)
        if (c.id == id)
            return c.initial;
    return 0;
}

long FakeV4l2Device::calls() const
{
    std::lock_guard guard(mutex_);
    return calls_;
}

int FakeV4l2Device::open(const char*, int)
{
    std::lock_guard guard(mutex_);
    return failure_ ? fail(failure_) : kFd;
}

int FakeV4l2Device::close(int fd)
{
    return fd == kFd ? 0 : fail(EBADF);
}

int FakeV4l2Device::ioctl(int fd, unsigned long request, void* arg)
{
    std::lock_guard guard(mutex_);
    ++calls_;
    if (fd != kFd)
        return fail(EBADF);
    if (failure_) {
        ++failedCalls_;
        ready_.notify_all();
        return fail(failure_);
    }
    switch (request) {
    case VIDIOC_QUERYCAP:
        return capabilityRequest(arg);
    case VIDIOC_QUERYCTRL:
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL:
        return controlRequest(request, arg);
    case VIDIOC_ENUM_FMT:
    case VIDIOC_ENUM_FRAMESIZES:
    case VIDIOC_G_PARM:
    case VIDIOC_S_FMT:
        return formatRequest(request, arg);
    default:
        return bufferRequest(request, arg);
    }
}

int FakeV4l2Device::capabilityRequest(void* arg)
{
    auto* cap = static_cast<v4l2_capability*>(arg);
    *cap = {};
    std::strncpy(reinterpret_cast<char*>(cap->card), "Scripted camera", sizeof cap->card);
    cap->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
    return 0;
}

int FakeV4l2Device::controlRequest(unsigned long request, void* arg)
{
    if (request == VIDIOC_QUERYCTRL) {
        auto* query = static_cast<v4l2_queryctrl*>(arg);
        for (const Control& c : controls)
            if (c.id == query->id) {
                query->minimum = c.minimum;
                query->maximum = c.maximum;
                query->step = c.step;
                query->default_value = c.initial;
                return 0;
            }
        return fail(EINVAL);
    }
    auto* control = static_cast<v4l2_control*>(arg);
    if (std::none_of(controls.begin(), controls.end(), [&](const Control& c) { return c.id == control->id; }))
        return fail(EINVAL);
    if (request == VIDIOC_G_CTRL)
        control->value = valueOf(control->id);
    else
        values_[control->id] = control->value;
    return 0;
}

int FakeV4l2Device::formatRequest(unsigned long request, void* arg)
{
    if (request == VIDIOC_ENUM_FMT) {
        auto* desc = static_cast<v4l2_fmtdesc*>(arg);
        if (desc->index >= formats.size())
            return fail(EINVAL);
        desc->pixelformat = formats[desc->index].fourcc;
        return 0;
    }
    if (request == VIDIOC_ENUM_FRAMESIZES) {
        auto* size = static_cast<v4l2_frmsizeenum*>(arg);
        const auto format = std::find_if(formats.begin(), formats.end(),
                                         [&](const Format& f) { return f.fourcc == size->pixel_format; });
        if (format == formats.end())
            return fail(EINVAL);
        if (format->sizes.empty()) {
            if (size->index > 0)
                return fail(EINVAL);
            size->type = V4L2_FRMSIZE_TYPE_STEPWISE;
            size->stepwise = stepwise;
            return 0;
        }
        if (size->index >= format->sizes.size())
            return fail(EINVAL);
        size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
        size->discrete = {format->sizes[size->index].first, format->sizes[size->index].second};
        return 0;
    }
    if (request == VIDIOC_G_PARM) {
        static_cast<v4l2_streamparm*>(arg)->parm.capture.timeperframe = {1, 30};
        return 0;
    }
    auto& pix = static_cast<v4l2_format*>(arg)->fmt.pix;
    if (refuseSizes) {
        pix.width = 320;
        pix.height = 240;
    }
    pix.bytesperline = pix.width * 2 + rowPadding;
    pix.sizeimage = pix.bytesperline * pix.height;
    format_ = pix;
    return 0;
}

int FakeV4l2Device::bufferRequest(unsigned long request, void* arg)
{
    switch (request) {
    case VIDIOC_REQBUFS: {
        auto* reqbufs = static_cast<v4l2_requestbuffers*>(arg);
        queued_.clear();
        done_.clear();
        buffers_.assign(std::min<uint32_t>(reqbufs->count, 3), std::vector<uint8_t>(format_.sizeimage));
        used_.assign(buffers_.size(), 0);
        reqbufs->count = uint32_t(buffers_.size());
        return 0;
    }
    case VIDIOC_QUERYBUF: {
        auto* buffer = static_cast<v4l2_buffer*>(arg);
        if (buffer->index >= buffers_.size())
            return fail(EINVAL);
        buffer->length = uint32_t(buffers_[buffer->index].size());
        buffer->m.offset = uint32_t(buffer->index * kBufferSpacing);
        return 0;
    }
    case VIDIOC_QBUF:
        queued_.push_back(static_cast<v4l2_buffer*>(arg)->index);
        return 0;
    case VIDIOC_DQBUF: {
        if (done_.empty())
            return fail(EAGAIN);
        auto* buffer = static_cast<v4l2_buffer*>(arg);
        buffer->index = done_.front();
        buffer->bytesused = used_[buffer->index];
        done_.pop_front();
        return 0;
    }
    case VIDIOC_STREAMON:
    case VIDIOC_STREAMOFF:
        streaming_ = request == VIDIOC_STREAMON;
        return 0;
    default:
        return fail(ENOTTY);
    }
}

void* FakeV4l2Device::mmap(std::size_t length, int fd, off_t offset)
{
    std::lock_guard guard(mutex_);
    const auto index = std::size_t(offset / kBufferSpacing);
    if (fd != kFd || failure_ || index >= buffers_.size() || length != buffers_[index].size())
        return MAP_FAILED;
    ++mapped_;
    return buffers_[index].data();
}

int FakeV4l2Device::munmap(void*, std::size_t)
{
    std::lock_guard guard(mutex_);
    --mapped_;
    return 0;
}

int FakeV4l2Device::poll(pollfd* fds, nfds_t, int timeoutMs)
{
    std::unique_lock guard(mutex_);
    ++calls_;
    ready_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return failure_ || !done_.empty(); });
    fds->revents = failure_ ? short(POLLERR | POLLHUP) : !done_.empty() ? short(POLLIN) : short(0);
    return fds->revents ? 1 : 0;
}

} // namespace platform::devices::testing
