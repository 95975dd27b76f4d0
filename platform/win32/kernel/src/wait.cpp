// WaitForSingleObject on the active clock.
#include "handle_table.h"

#include <win32/clock.h>
#include <win32/sync.h>

#include <chrono>

using platform::kernel::Waitable;

namespace {

// Takes the signal (clearing it for an auto-reset object); call with the object's lock held.
bool takeSignal(Waitable& object) {
    if (!object.signaled)
        return false;
    if (!object.manualReset)
        object.signaled = false;
    return true;
}

} // namespace

// On the steady clock the wait sleeps until signalled or the deadline; on a stepped clock it rechecks the
// clock every real millisecond, since only advances on other threads move its time.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto object = platform::kernel::lookupAs<Waitable>(handle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    platform::Clock& clock = platform::activeClock();
    const bool stepped = dynamic_cast<platform::SteppedClock*>(&clock) != nullptr;
    const uint64_t deadline = clock.nowMs() + milliseconds;
    std::unique_lock guard(object->lock);
    for (;;) {
        if (takeSignal(*object))
            return WAIT_OBJECT_0;
        if (milliseconds == INFINITE) {
            object->changed.wait(guard);
            continue;
        }
        const uint64_t now = clock.nowMs();
        if (now >= deadline)
            return WAIT_TIMEOUT;
        const uint64_t slice = stepped ? 1 : deadline - now;
        object->changed.wait_for(guard, std::chrono::milliseconds(slice));
    }
}
