// SerialPort: the camera library's trigger port on a COM line, 300 baud 8N1, read in polls.
#pragma once

#include <win32/kernel.h>
#include <win32/user.h>

namespace korvib {

// Posted with zero parameters to the notify window of KZ_Initial by the serial listener.
constexpr UINT WM_SERIAL_DATA = WM_USER + 100; // bytes were read in this poll
constexpr UINT WM_SERIAL_RING = WM_USER + 101; // the ring line is on at this poll

// One open port. Open and Close run on the device's caller thread; Read and GetRingStatus on the listener
// thread while the port is open. Trouble goes to the debugger output only.
class SerialPort {
public:
    SerialPort() = default;
    // Closes a port still open.
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens `portName` ("COM1") and sets 300 baud, 8 data bits, no parity, 1 stop bit, keeping the rest of
    // the line's settings, and the poll's read time-outs. FALSE when already open (nothing changes) or the
    // port cannot be opened or set up.
    BOOL Open(const char* portName);
    // FALSE when not open or the handle would not close.
    BOOL Close();
    // Reads up to *bytesToRead bytes, ending 3 ms after a byte without the next or 3 ms per byte + 2 ms
    // after it began, and NUL-terminates them when any came; `buffer` holds *bytesToRead + 1 bytes. Drops
    // what the line holds beyond them. FALSE (the line's error state cleared) when the read fails or an
    // argument is unusable.
    BOOL Read(char* buffer, int* bytesToRead, DWORD* bytesRead);
    // 1 while the ring indicator is on, else 0 (also when closed or the lines cannot be read).
    int GetRingStatus();

    [[nodiscard]] bool IsOpen() const { return isOpen_ == 1; }

private:
    int isOpen_ = 0;
    HANDLE port_ = nullptr;
    DCB dcb_{};
};

} // namespace korvib
