// Communications ports: port names, opening the tty behind COMn, reads under the port's time-outs.
#include "serial_port.h"

#include "native_errors.h"

#include <seams/serial_ports.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <string>

namespace platform::kernel {
namespace {

constexpr int kHighestPort = 255;

// The tty of port `number`: the seam, then $ORVANEL_COM<n>, then /dev/ttyS<n-1>.
std::string ttyPath(int number) {
    std::string path = seams::comPortPath(number);
    if (!path.empty())
        return path;
    const std::string variable = "ORVANEL_COM" + std::to_string(number);
    if (const char* value = std::getenv(variable.c_str()); value && *value)
        return value;
    return "/dev/ttyS" + std::to_string(number - 1);
}

// True when `fd` is a tty the kernel writes its console to: that line is in use and keeps its settings.
bool isSystemConsole(int fd) {
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || !S_ISCHR(opened.st_mode))
        return false;
    std::ifstream active("/sys/class/tty/console/active");
    std::string name;
    while (active >> name) {
        struct stat console {};
        if (stat(("/dev/" + name).c_str(), &console) == 0 && console.st_rdev == opened.st_rdev)
            return true;
    }
    return false;
}

using Clock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, never below 0.
int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

} // namespace

ComPort::~ComPort() {
    if (fd >= 0)
        close(fd); // also drops the lock on the tty
}

int comPortNumber(LPCTSTR path) {
    if (!path)
        return -1;
    if (std::strncmp(path, "\\\\.\\", 4) == 0)
        path += 4;
    if (strncasecmp(path, "COM", 3) != 0)
        return -1;
    const char* digits = path + 3;
    const std::size_t count = std::strlen(digits);
    if (count == 0 || count > 3 || !std::all_of(digits, digits + count, [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return -1;
    return std::atoi(digits);
}

HANDLE openComPort(int number, DWORD access, DWORD disposition) {
    if (disposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (number < 1 || number > kHighestPort) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
    const int mode = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    const int fd = open(ttyPath(number).c_str(), mode | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        setLastErrorFromErrno();
        return INVALID_HANDLE_VALUE;
    }
    // Ports are never shared: a second open, in this process or another, finds the lock taken.
    if (isSystemConsole(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    // A port carries bytes unchanged from the start; a descriptor that is no tty fails at GetCommState.
    termios line{};
    if (tcgetattr(fd, &line) == 0) {
        makeRawLine(line);
        tcsetattr(fd, TCSANOW, &line);
    }
    try {
        auto port = std::make_shared<ComPort>();
        port->fd = fd;
        port->number = number;
        HANDLE handle = insertHandle(std::move(port));
        SetLastError(ERROR_SUCCESS);
        return handle;
    } catch (const std::bad_alloc&) {
        close(fd);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
}

std::shared_ptr<ComPort> findComPort(HANDLE handle) {
    return lookupAs<ComPort>(handle);
}

std::shared_ptr<ComPort> comPortOf(HANDLE handle) {
    auto port = findComPort(handle);
    if (!port)
        SetLastError(ERROR_INVALID_HANDLE);
    return port;
}

std::shared_ptr<ComPort> comPortWith(HANDLE handle, const void* argument) {
    auto port = comPortOf(handle);
    if (port && !argument) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return port;
}

// Waits for bytes with poll: until the total deadline, and after the first byte at most the interval
// time-out between two bytes.
BOOL readComPort(ComPort& port, char* buffer, DWORD bytes, LPDWORD done, LPOVERLAPPED overlapped) {
    if (done)
        *done = 0;
    if (overlapped || (!buffer && bytes > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    COMMTIMEOUTS t;
    {
        std::lock_guard guard(port.lock);
        t = port.timeouts;
    }
    const bool total = t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0;
    const bool immediate = t.ReadIntervalTimeout == MAXDWORD && !total;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(uint64_t{t.ReadTotalTimeoutMultiplier} * bytes +
                                                 t.ReadTotalTimeoutConstant);
    DWORD got = 0;
    while (got < bytes) {
        int wait = immediate ? 0 : total ? msLeft(deadline) : -1; // -1: no limit
        if (got > 0 && t.ReadIntervalTimeout != 0 && !immediate) {
            const int interval = static_cast<int>(std::min<DWORD>(t.ReadIntervalTimeout, INT32_MAX));
            wait = wait < 0 ? interval : std::min(wait, interval);
        }
        pollfd ready{port.fd, POLLIN, 0};
        const int polled = poll(&ready, 1, wait);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled == 0)
            break;
        const ssize_t n = polled < 0 ? -1 : read(port.fd, buffer + got, bytes - got);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0) {
            if (done)
                *done = got;
            SetLastError(ERROR_READ_FAULT);
            return FALSE;
        }
        got += static_cast<DWORD>(n);
    }
    if (done)
        *done = got;
    return TRUE;
}

void setLastErrorFromTty() {
    if (errno == ENOTTY || errno == EINVAL)
        SetLastError(ERROR_INVALID_FUNCTION);
    else
        setLastErrorFromErrno();
}

} // namespace platform::kernel
