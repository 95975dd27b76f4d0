// FilterGraph events: a queue filled by filters (Notify), read with GetEvent, and the window to notify.
#include <chrono>
#include <new>

#include <win32/user.h>

#include "filter_graph.h"

namespace platform::dshow {

// A negative timeout waits without limit.
HRESULT FilterGraph::GetEvent(LONG* code, LONG_PTR* param1, LONG_PTR* param2, LONG timeoutMs) {
    if (!code || !param1 || !param2)
        return E_POINTER;
    std::unique_lock guard(eventLock_);
    auto ready = [&] { return !events_.empty(); };
    if (timeoutMs < 0)
        eventArrived_.wait(guard, ready);
    else if (!eventArrived_.wait_for(guard, std::chrono::milliseconds(timeoutMs), ready))
        return E_ABORT;
    Event event = events_.front();
    events_.pop_front();
    *code = event.code;
    *param1 = event.param1;
    *param2 = event.param2;
    return S_OK;
}

// Event parameters here never own memory.
HRESULT FilterGraph::FreeEventParams(LONG, LONG_PTR, LONG_PTR) { return S_OK; }

HRESULT FilterGraph::SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instance) {
    std::lock_guard guard(eventLock_);
    notifyWindow_ = window;
    notifyMessage_ = message;
    notifyInstance_ = instance;
    return S_OK;
}

// Queues the event and posts the notification; from any thread, so the window is only posted to.
// E_OUTOFMEMORY when the queue cannot grow.
HRESULT FilterGraph::Notify(LONG code, LONG_PTR param1, LONG_PTR param2) {
    OAHWND window;
    LONG message;
    LONG_PTR instance;
    {
        std::lock_guard guard(eventLock_);
        try {
            events_.push_back({code, param1, param2});
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        window = notifyWindow_;
        message = notifyMessage_;
        instance = notifyInstance_;
    }
    eventArrived_.notify_one();
    if (window)
        PostMessage(reinterpret_cast<HWND>(window), static_cast<UINT>(message), 0, instance);
    return S_OK;
}

} // namespace platform::dshow
