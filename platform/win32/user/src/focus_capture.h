// Keyboard focus and mouse capture state.
#pragma once

#include <win32/types.h>

namespace platform::user {

// Moves the focus to `hwnd` (may be null) with WM_KILLFOCUS/WM_SETFOCUS, without touching Qt's focus
// (used when a Qt control inside a window took the focus itself). GUI thread.
HWND moveFocus(HWND hwnd);
// Drops focus and capture of a window being destroyed, without messages. GUI thread.
void forgetFocusAndCapture(HWND hwnd);

} // namespace platform::user
