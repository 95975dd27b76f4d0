// Per-thread COM initialisation and task memory.
#include <cstdlib>

#include <dshow/com.h>

#include "com_init.h"

namespace {

struct ThreadApartment {
    unsigned count = 0;
    DWORD mode = COINIT_APARTMENTTHREADED;
};
thread_local ThreadApartment apartment;

} // namespace

namespace platform::dshow {

bool comInitialisedOnThisThread() { return apartment.count > 0; }

} // namespace platform::dshow

HRESULT CoInitialize(LPVOID reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

// The first call fixes the thread's mode; later calls in that mode count, the other mode is refused.
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit) {
    if (reserved)
        return E_INVALIDARG;
    DWORD mode = (coInit & COINIT_APARTMENTTHREADED) ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED;
    if (apartment.count > 0 && apartment.mode != mode)
        return RPC_E_CHANGED_MODE;
    apartment.mode = mode;
    return apartment.count++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (apartment.count > 0)
        --apartment.count;
}

LPVOID CoTaskMemAlloc(std::size_t size) { return std::malloc(size ? size : 1); }

void CoTaskMemFree(LPVOID block) { std::free(block); }
