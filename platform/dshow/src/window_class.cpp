// Registering the layer's own window classes once each.
#include <mutex>
#include <set>
#include <string>

#include "window_class.h"

namespace platform::dshow {

bool registerWindowClass(const char* name, WNDPROC procedure) {
    static std::mutex lock; // guards registered
    static std::set<std::string> registered;
    std::lock_guard guard(lock);
    if (registered.count(name))
        return true;
    WNDCLASS cls{};
    cls.lpfnWndProc = procedure;
    cls.lpszClassName = name;
    if (!RegisterClass(&cls))
        return false;
    registered.insert(name);
    return true;
}

} // namespace platform::dshow
