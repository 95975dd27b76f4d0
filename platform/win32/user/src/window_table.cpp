// The table of live window handles.
#include "window.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace platform::user {
namespace {

struct Table {
    std::mutex lock; // guards windows, order and next
    std::unordered_map<HWND, WindowPtr> windows;
    std::vector<HWND> order; // every live window in creation order
    uintptr_t next = 0x10010;
};

Table& table() {
    static Table t;
    return t;
}

} // namespace

WindowPtr addWindow() {
    Table& t = table();
    auto window = std::make_shared<Window>();
    std::lock_guard guard(t.lock);
    window->hwnd = reinterpret_cast<HWND>(t.next);
    t.next += 4;
    t.windows.emplace(window->hwnd, window);
    t.order.push_back(window->hwnd);
    return window;
}

WindowPtr findWindow(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    Table& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.windows.find(hwnd);
    return it == t.windows.end() ? nullptr : it->second;
}

WindowPtr checkedWindow(HWND hwnd) {
    WindowPtr window = findWindow(hwnd);
    if (!window)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

void removeWindow(HWND hwnd) {
    Table& t = table();
    std::lock_guard guard(t.lock);
    t.windows.erase(hwnd);
    t.order.erase(std::remove(t.order.begin(), t.order.end(), hwnd), t.order.end());
}

std::vector<HWND> topLevelWindows() {
    Table& t = table();
    std::lock_guard guard(t.lock);
    std::vector<HWND> result;
    for (HWND hwnd : t.order) {
        if (!t.windows.at(hwnd)->isChild())
            result.push_back(hwnd);
    }
    return result;
}

HWND topLevelOf(HWND hwnd) {
    WindowPtr window = findWindow(hwnd);
    while (window && window->parent)
        window = findWindow(window->parent);
    return window ? window->hwnd : nullptr;
}

bool isShown(const Window& window) {
    if (!(window.style & WS_VISIBLE))
        return false;
    WindowPtr parent = findWindow(window.parent);
    return !parent || isShown(*parent);
}

} // namespace platform::user
