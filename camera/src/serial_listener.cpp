// SerialListener: opening the trigger port, the polling thread and its stop.
#include "serial_listener.h"

#include <cstdio>
#include <new>

#include "debug_output.h"

namespace korvib {
namespace {

constexpr DWORD kPollMs = 100;
constexpr int kReadBytes = 100;

} // namespace

void SerialListener::OpenSerial(int comPort) {
    if (port_ != nullptr) {
        return;
    }
    port_.reset(new (std::nothrow) SerialPort);
    char name[16];
    std::snprintf(name, sizeof(name), "COM%d", comPort);
    if (port_ == nullptr || !port_->Open(name)) {
        DebugLine("Fail Open!\n");
        port_.reset();
        return;
    }
    DebugLine("Com1 Open Success!\n");
    stopEvent_ = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    if (stopEvent_ != nullptr) {
        thread_ = CreateThread(nullptr, 0, Listen, this, 0, nullptr);
    }
    // Without its thread the port would only be held: give it back.
    if (thread_ == nullptr) {
        DebugLine("Fail Open!\n");
        CloseSerial();
    }
}

// The wait is not bounded: a read ends within its time-outs, and the port must not be closed under it.
void SerialListener::CloseSerial() {
    if (port_ == nullptr) {
        return;
    }
    if (stopEvent_ != nullptr) {
        SetEvent(stopEvent_);
    }
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (stopEvent_ != nullptr) {
        CloseHandle(stopEvent_);
        stopEvent_ = nullptr;
    }
    port_->Close();
    port_.reset();
}

DWORD WINAPI SerialListener::Listen(LPVOID self) {
    auto* listener = static_cast<SerialListener*>(self);
    SerialPort& port = *listener->port_;
    while (WaitForSingleObject(listener->stopEvent_, kPollMs) == WAIT_TIMEOUT) {
        if (port.GetRingStatus() == 1 && listener->notifyWnd_ != nullptr) {
            PostMessage(listener->notifyWnd_, WM_SERIAL_RING, 0, 0);
        }
        char buffer[kReadBytes + 1];
        int bytesToRead = kReadBytes;
        DWORD bytesRead = 0;
        if (port.Read(buffer, &bytesToRead, &bytesRead) && bytesRead > 0 && listener->notifyWnd_ != nullptr) {
            PostMessage(listener->notifyWnd_, WM_SERIAL_DATA, 0, 0);
        }
    }
    return 0;
}

} // namespace korvib
