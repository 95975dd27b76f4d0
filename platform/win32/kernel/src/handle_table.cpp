// The checked kernel handle table and CloseHandle.
#include "handle_table.h"

#include <win32/sync.h>

#include <unordered_map>

namespace platform::kernel {
namespace {

struct HandleTable {
    std::mutex lock; // guards objects and next
    std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
    uintptr_t next = 0x10000;
};

// Never destroyed: threads may close handles while the process exits.
HandleTable& handles() {
    static auto* table = new HandleTable;
    return *table;
}

} // namespace

void Waitable::setSignaled(bool on) {
    {
        std::lock_guard guard(lock);
        signaled = on;
    }
    changed.notify_all();
}

HANDLE insertHandle(std::shared_ptr<KernelObject> object) {
    HandleTable& t = handles();
    std::lock_guard guard(t.lock);
    t.next += 4;
    t.objects.emplace(t.next, std::move(object));
    return reinterpret_cast<HANDLE>(t.next);
}

std::shared_ptr<KernelObject> lookupHandle(HANDLE handle) {
    HandleTable& t = handles();
    std::lock_guard guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == t.objects.end() ? nullptr : it->second;
}

bool removeHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object; // destroyed outside the table's lock
    HandleTable& t = handles();
    std::lock_guard guard(t.lock);
    auto it = t.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == t.objects.end())
        return false;
    object = std::move(it->second);
    t.objects.erase(it);
    return true;
}

} // namespace platform::kernel

BOOL CloseHandle(HANDLE handle) {
    if (!platform::kernel::removeHandle(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
