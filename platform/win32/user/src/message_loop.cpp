// The framework's pre-translation hook and the main and modal message loops built on it.
#include <win32/message_loop.h>

#include "message_queue.h"

namespace platform::user {
namespace {

std::function<bool(MSG&)>& hook() {
    static std::function<bool(MSG&)> slot;
    return slot;
}

} // namespace

void setPreTranslateHook(std::function<bool(MSG&)> h) {
    hook() = std::move(h);
}

bool runPreTranslateHook(MSG& msg) {
    // A copy: the hook may replace itself while it runs.
    auto current = hook();
    return current && current(msg);
}

bool pumpMessage(MSG* quit) {
    MSG msg;
    if (GetMessage(&msg, nullptr, 0, 0) <= 0) {
        if (quit)
            *quit = msg;
        return false;
    }
    if (!runPreTranslateHook(msg)) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return true;
}

int runMessageLoop() {
    MSG quit{};
    while (pumpMessage(&quit)) {
    }
    return static_cast<int>(quit.wParam);
}

bool runModalLoop(const std::function<bool()>& finished) {
    return pumpUntil(finished, true);
}

} // namespace platform::user
