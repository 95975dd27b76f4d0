// Communications port objects behind kernel handles, shared by CreateFile, ReadFile and the Comm functions.
#pragma once

#include "handle_table.h"

#include <win32/files.h>
#include <win32/serial.h>

#include <memory>
#include <mutex>

struct termios;

namespace platform::kernel {

// One open tty. The descriptor is non-blocking; reads wait with poll under the port's time-outs.
struct ComPort : KernelObject {
    int fd = -1;
    int number = 0;
    std::mutex lock; // guards timeouts
    COMMTIMEOUTS timeouts{};
    ~ComPort() override;
};

// The port number of a port name ("COM3", "\\.\com12"), or -1 when `path` names no port. Any thread.
int comPortNumber(LPCTSTR path);

// CreateFile on port `number`: OPEN_EXISTING only (else ERROR_INVALID_PARAMETER), ERROR_FILE_NOT_FOUND for a
// number below 1 or a missing tty, ERROR_ACCESS_DENIED when the tty is in use or the system console. Any thread.
HANDLE openComPort(int number, DWORD access, DWORD disposition);

// The port of an open handle, or null (without touching the last error). Any thread.
std::shared_ptr<ComPort> findComPort(HANDLE handle);
// As findComPort, setting ERROR_INVALID_HANDLE when it gives null.
std::shared_ptr<ComPort> comPortOf(HANDLE handle);
// As comPortOf, and null with ERROR_INVALID_PARAMETER when the port's `argument` is null.
std::shared_ptr<ComPort> comPortWith(HANDLE handle, const void* argument);

// ReadFile on a port: up to `bytes` bytes under the port's time-outs, measured in real time since the
// line is a real device. FALSE with ERROR_INVALID_PARAMETER (overlapped I/O, a null buffer) or
// ERROR_READ_FAULT (the line failed or hung up). Any thread.
BOOL readComPort(ComPort& port, char* buffer, DWORD bytes, LPDWORD done, LPOVERLAPPED overlapped);

// Turns `line` into a raw line (bytes unchanged, no echo, no line editing) and keeps its frame, parity
// checking and flow control.
void makeRawLine(termios& line);

// Sets the last error for a failed tty call: ERROR_INVALID_FUNCTION for a descriptor that is no terminal
// or has no such line, else the errno translation.
void setLastErrorFromTty();

} // namespace platform::kernel
