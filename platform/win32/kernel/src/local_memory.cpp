// LocalAlloc and LocalFree over malloc, with a table that rejects foreign pointers.
#include <win32/local_memory.h>

#include <cstdlib>
#include <mutex>
#include <new>
#include <unordered_set>

namespace {

struct LocalBlocks {
    std::mutex lock; // guards blocks
    std::unordered_set<void*> blocks;
};

LocalBlocks& localBlocks() {
    static auto* blocks = new LocalBlocks;
    return *blocks;
}

} // namespace

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~LMEM_ZEROINIT) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // At least one byte, so that every block has its own address.
    void* block =
        (flags & LMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1) : std::malloc(bytes ? bytes : 1);
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    try {
        LocalBlocks& t = localBlocks();
        std::lock_guard guard(t.lock);
        t.blocks.insert(block);
    } catch (const std::bad_alloc&) {
        std::free(block);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return block;
}

HLOCAL LocalFree(HLOCAL block) {
    if (!block)
        return nullptr;
    {
        LocalBlocks& t = localBlocks();
        std::lock_guard guard(t.lock);
        if (t.blocks.erase(block) == 0) {
            SetLastError(ERROR_INVALID_HANDLE);
            return block;
        }
    }
    std::free(block);
    return nullptr;
}
