// Unnamed manual- and auto-reset events.
#include "handle_table.h"

#include <win32/sync.h>

#include <new>

using platform::kernel::Waitable;

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCTSTR name) {
    if (name) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    try {
        auto event = std::make_shared<Waitable>();
        event->manualReset = manualReset != FALSE;
        event->signaled = initialState != FALSE;
        return platform::kernel::insertHandle(std::move(event));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

namespace {

// Events only: a thread handle is waitable but cannot be set.
BOOL setEventState(HANDLE event, bool on) {
    auto object = platform::kernel::lookupAs<Waitable>(event);
    if (!object || typeid(*object) != typeid(Waitable)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object->setSignaled(on);
    return TRUE;
}

} // namespace

BOOL SetEvent(HANDLE event) {
    return setEventState(event, true);
}

BOOL ResetEvent(HANDLE event) {
    return setEventState(event, false);
}
