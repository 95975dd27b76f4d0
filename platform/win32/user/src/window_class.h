// Registered window classes, the user's and the standard controls'.
#pragma once

#include <memory>
#include <string>

#include <win32/user_window.h>

namespace platform::user {

struct WindowClass {
    std::string name; // as registered; looked up without case
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc{};
    HINSTANCE instance{};
    HCURSOR cursor{};
    HBRUSH background{};
};

// The class of a name or atom, or null. GUI thread.
std::shared_ptr<const WindowClass> findClass(LPCSTR nameOrAtom);

// Registers one of the platform's own classes (standard controls). GUI thread.
void registerSystemClass(const char* name, UINT style, WNDPROC proc, LPCSTR cursorId);

} // namespace platform::user
