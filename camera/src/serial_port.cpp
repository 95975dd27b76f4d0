// SerialPort: open with the line settings and time-outs, close, polled reads and the ring line.
#include "serial_port.h"

#include "debug_output.h"

namespace korvib {

SerialPort::~SerialPort() {
    if (isOpen_ == 1) {
        Close();
    }
}

BOOL SerialPort::Open(const char* portName) {
    if (isOpen_ != 0) {
        return FALSE;
    }
    HANDLE port = CreateFile(portName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return FALSE;
    }
    // Every failure after the open closes the handle again: the port stays free for the next attempt.
    if (!GetCommState(port, &dcb_)) {
        DebugLine("Get configuration port has problem.");
        CloseHandle(port);
        return FALSE;
    }
    dcb_.BaudRate = 300;
    dcb_.ByteSize = 8;
    dcb_.Parity = NOPARITY;
    dcb_.StopBits = ONESTOPBIT;
    if (!SetCommState(port, &dcb_)) {
        DebugLine("Set configuration port has problem.");
        CloseHandle(port);
        return FALSE;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 3;
    timeouts.ReadTotalTimeoutMultiplier = 3;
    timeouts.ReadTotalTimeoutConstant = 2;
    timeouts.WriteTotalTimeoutMultiplier = 3;
    timeouts.WriteTotalTimeoutConstant = 2;
    SetCommTimeouts(port, &timeouts);
    port_ = port;
    isOpen_ = 1;
    return TRUE;
}

BOOL SerialPort::Close() {
    if (isOpen_ != 1) {
        return FALSE;
    }
    isOpen_ = 0;
    HANDLE port = port_;
    port_ = nullptr;
    if (!CloseHandle(port)) {
        DebugLine("Port Closeing isn't successed.");
        return FALSE;
    }
    return TRUE;
}

BOOL SerialPort::Read(char* buffer, int* bytesToRead, DWORD* bytesRead) {
    if (buffer == nullptr || bytesToRead == nullptr || *bytesToRead < 0 || bytesRead == nullptr) {
        return FALSE;
    }
    *bytesRead = 0;
    const DWORD wanted = static_cast<DWORD>(*bytesToRead);
    if (!ReadFile(port_, buffer, wanted, bytesRead, nullptr)) {
        DWORD errors = 0;
        COMSTAT status{};
        ClearCommError(port_, &errors, &status);
        DebugLine("Reading of serial communication has problem.");
        return FALSE;
    }
    PurgeComm(port_, PURGE_RXABORT | PURGE_RXCLEAR);
    if (*bytesRead > 0 && *bytesRead <= wanted) {
        buffer[*bytesRead] = '\0';
    }
    return TRUE;
}

int SerialPort::GetRingStatus() {
    DWORD lines = 0;
    if (port_ == nullptr || !GetCommModemStatus(port_, &lines)) {
        return 0;
    }
    return (lines & MS_RING_ON) != 0 ? 1 : 0;
}

} // namespace korvib
