// The checked table of kernel handles and the signalled state that waits use.
#pragma once

#include <win32/types.h>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace platform::kernel {

// Anything a kernel handle can name.
struct KernelObject {
    virtual ~KernelObject() = default;
};

// An object that WaitForSingleObject can wait on.
struct Waitable : KernelObject {
    std::mutex lock; // guards signaled
    std::condition_variable changed;
    bool signaled = false;
    bool manualReset = true; // false: a successful wait clears `signaled`

    // Sets or clears the state and wakes the waiters. Any thread.
    void setSignaled(bool on);
};

// Adds `object` and returns its new handle (never reused, never NULL or INVALID_HANDLE_VALUE).
HANDLE insertHandle(std::shared_ptr<KernelObject> object);
// The object of an open handle, or null.
std::shared_ptr<KernelObject> lookupHandle(HANDLE handle);
// Removes the handle; false when it was not open.
bool removeHandle(HANDLE handle);

template <class T> std::shared_ptr<T> lookupAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(lookupHandle(handle));
}

} // namespace platform::kernel
