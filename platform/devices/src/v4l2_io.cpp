// The real system calls behind the V4L2 seam.
#include <devices/v4l2_io.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform::devices {
namespace {

class SystemV4l2Io final : public V4l2Io {
public:
    int open(const char* path, int flags) override { return ::open(path, flags); }
    int close(int fd) override { return ::close(fd); }
    int ioctl(int fd, unsigned long request, void* arg) override { return ::ioctl(fd, request, arg); }
    void* mmap(std::size_t length, int fd, off_t offset) override {
        return ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, offset);
    }
    int munmap(void* start, std::size_t length) override { return ::munmap(start, length); }
    int poll(pollfd* fds, nfds_t count, int timeoutMs) override { return ::poll(fds, count, timeoutMs); }
};

} // namespace

V4l2Io& systemV4l2Io()
{
    static SystemV4l2Io io;
    return io;
}

} // namespace platform::devices
