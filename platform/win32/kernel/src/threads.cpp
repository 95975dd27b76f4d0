// Threads started by CreateThread; their handle signals when the thread has returned.
#include "handle_table.h"

#include <win32/sync.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <system_error>
#include <thread>

using platform::kernel::Waitable;

namespace {

// Its own type, so that SetEvent refuses thread handles.
struct ThreadObject : Waitable {};

} // namespace

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(syscall(SYS_gettid));
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD flags, LPDWORD threadId) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (flags & CREATE_SUSPENDED) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    try {
        auto thread = std::make_shared<ThreadObject>();
        std::mutex idLock;
        std::condition_variable idKnown;
        DWORD id = 0;
        // The thread keeps its object alive after its handle is closed, until it has signalled it.
        std::thread([thread, start, parameter, &idLock, &idKnown, &id] {
            {
                // Notified under the lock: the creator's locals are gone once it sees the id.
                std::lock_guard guard(idLock);
                id = GetCurrentThreadId();
                idKnown.notify_one();
            }
            start(parameter);
            thread->setSignaled(true);
        }).detach();
        std::unique_lock guard(idLock);
        idKnown.wait(guard, [&] { return id != 0; });
        if (threadId)
            *threadId = id;
        return platform::kernel::insertHandle(std::move(thread));
    } catch (const std::system_error&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}
