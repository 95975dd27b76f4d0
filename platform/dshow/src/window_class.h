// Registering the layer's own window classes.
#pragma once

#include <win32/user.h>

namespace platform::dshow {

// Registers class `name` with `procedure` the first time it is asked for; whether it is registered.
// GUI thread.
bool registerWindowClass(const char* name, WNDPROC procedure);

} // namespace platform::dshow
