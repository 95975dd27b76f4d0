// The framework's pre-translation hook and the main and modal message loops built on it.
#include <win32/message_loop.h>
#include <win32/user.h>

#include "focus_capture.h"
#include "message_queue.h"
#include "window.h"

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

void markServedByOwnThread(HWND hwnd) {
    if (WindowPtr window = findWindow(hwnd))
        window->servedByOwnThread = true;
}

bool runPreTranslateHook(MSG& msg) {
    if (WindowPtr window = findWindow(msg.hwnd); window && window->servedByOwnThread)
        return false;
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

bool runModalLoop(const std::function<bool()>& finished, const std::function<bool(MSG&)>& own) {
    return pumpUntil(finished, true, own);
}

void runOwnedDialog(HWND owner, const std::function<void()>& dialog) {
    const HWND top = topLevelOf(owner);
    const bool disable = top && IsWindowEnabled(top);
    if (disable)
        EnableWindow(top, FALSE);
    dialog();
    if (disable && IsWindow(top))
        EnableWindow(top, TRUE);
    if (IsWindowVisible(top))
        activateTopLevel(top);
}

} // namespace platform::user
