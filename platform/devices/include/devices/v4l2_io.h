// The system calls a V4L2 camera is driven through, behind an interface so a scripted device can stand in.
#pragma once

#include <poll.h>
#include <sys/types.h>

#include <cstddef>

namespace platform::devices {

// Each call behaves as the system call of the same name, errno included. Any thread.
class V4l2Io {
public:
    virtual ~V4l2Io() = default;
    virtual int open(const char* path, int flags) = 0;
    virtual int close(int fd) = 0;
    virtual int ioctl(int fd, unsigned long request, void* arg) = 0;
    // A shared read-write mapping of `length` bytes of the device at `offset`; MAP_FAILED on failure.
    virtual void* mmap(std::size_t length, int fd, off_t offset) = 0;
    virtual int munmap(void* start, std::size_t length) = 0;
    virtual int poll(pollfd* fds, nfds_t count, int timeoutMs) = 0;
};

// The real system calls.
V4l2Io& systemV4l2Io();

} // namespace platform::devices
