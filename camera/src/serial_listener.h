// SerialListener: the device's trigger port and the thread that polls it and posts to the notify window.
#pragma once

#include <memory>

#include <win32/kernel.h>

#include "serial_port.h"

namespace korvib {

// States: No port --OpenSerial succeeds--> Listening --CloseSerial--> No port. OpenSerial and CloseSerial
// run on the device's caller thread; the listener thread reads only what they set before starting it and
// clear after it has ended.
class SerialListener {
public:
    explicit SerialListener(HWND notifyWnd) : notifyWnd_(notifyWnd) {}
    // Stops and joins the listener and closes the port.
    ~SerialListener() { CloseSerial(); }
    SerialListener(const SerialListener&) = delete;
    SerialListener& operator=(const SerialListener&) = delete;

    // Opens COM<comPort> and starts the listener. A port that cannot be opened only writes "Fail Open!\n"
    // to the debugger output: the device works on without it.
    void OpenSerial(int comPort);
    // Stops the listener, waits until it has ended, then closes the port. Nothing while no port is open.
    void CloseSerial();
    [[nodiscard]] bool Listening() const { return thread_ != nullptr; }

private:
    // Every 100 ms on the platform clock until the stop event: posts WM_SERIAL_RING while the ring line is
    // on and WM_SERIAL_DATA for a read that brought bytes, which are dropped. Listener thread.
    static DWORD WINAPI Listen(LPVOID self);

    HWND notifyWnd_;
    std::unique_ptr<SerialPort> port_;
    HANDLE thread_ = nullptr;
    HANDLE stopEvent_ = nullptr;
};

} // namespace korvib
